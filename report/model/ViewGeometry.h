#pragma once

#include "platform/Geometry.h"

#include <cmath>

namespace pv {

class TfrView;

// Rounding of the drawing code: to the nearest integer, halves to even.
inline int roundEven(double v) {
    return int(std::nearbyint(v));
}

// How report pixels map to device pixels in one drawing: device pixels per
// report pixel and the device origin of the page.
struct DrawScale {
    double sx = 1, sy = 1;
    int ox = 0, oy = 0;
    bool printing = false;       // drawing onto the printer's own canvas
    bool designer = false;       // drawing in the template designer
    bool firstPassOfTwo = false; // the dry first pass of a two-pass report
};

// A view's box in device pixels for one drawing. The view itself keeps its
// design geometry: everything scaled lives here for the drawing's length.
struct ViewGeometry {
    int x = 0, y = 0, width = 0, height = 0;
    double frameWidth = 0;
    int gx = 0, gy = 0;        // inner margins, frame half-widths included
    int hx = 0, hy = 0;        // half the frame width, rounded
    int right = 0, bottom = 0; // R and B, from the design values
    Rect box;                  // the rectangle inside the frame sides drawn
};

// Scales a view's geometry. The frame's half-widths push the inner margins in
// and the box rectangle off the sides that are drawn.
ViewGeometry ApplyScale(const TfrView& view, const DrawScale& scale);

// The design geometry of `view` with the given design rectangle: what the
// line view draws after turning itself horizontal or vertical.
ViewGeometry ApplyScale(const TfrView& view, int left, int top, int width, int height,
                        const DrawScale& scale);

} // namespace pv
