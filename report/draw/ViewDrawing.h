#pragma once

#include "report/model/ViewGeometry.h"

#include <cstdint>

namespace pv {

class Canvas;
class TfrView;
class TfrLineView;

// Fills the view's rectangle with its fill colour. A transparent fill paints
// nothing, except white in the designer.
void DrawBackground(Canvas& canvas, const TfrView& view, const ViewGeometry& g,
                    const DrawScale& scale);

// Draws the frame sides `sides` (frft* bits) in the order right, left,
// bottom, top.
void DrawFrame(Canvas& canvas, const TfrView& view, const ViewGeometry& g, const DrawScale& scale,
               uint16_t sides);
inline void DrawFrame(Canvas& canvas, const TfrView& view, const ViewGeometry& g,
                      const DrawScale& scale);

// A line view is drawn as the top side of a flat rectangle when it is wider
// than high, else as the left side of a thin one.
void DrawLineView(Canvas& canvas, const TfrLineView& line, const DrawScale& scale);

// Where a picture of `pictureSize` (its own pixels) goes inside the box.
Rect PictureTarget(const ViewGeometry& g, int pictureWidth, int pictureHeight,
                   const DrawScale& scale, bool stretched, bool keepAspect, bool center);

} // namespace pv

#include "report/model/View.h"

inline void pv::DrawFrame(Canvas& canvas, const TfrView& view, const ViewGeometry& g,
                          const DrawScale& scale) {
    DrawFrame(canvas, view, g, scale, view.FrameTyp);
}
