#pragma once

#include <algorithm>
#include <cstdint>

namespace pv {

// Device coordinates: integer pixels, x to the right, y downwards.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as the drawing calls take them.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // Held to the int range: rectangles read from metafiles may span anything.
    int width() const { return span(left, right); }
    int height() const { return span(top, bottom); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;

private:
    static int span(int from, int to) {
        return int(std::clamp<std::int64_t>(std::int64_t(to) - from, INT32_MIN, INT32_MAX));
    }
};

// The overlap of two rectangles kept as edges: Rect here, and the metafile
// rectangles alike. Where they do not meet the result is empty.
template <class Edges>
requires requires(Edges e) {
    e.left, e.top, e.right, e.bottom;
}
Edges intersection(Edges a, const Edges& b) {
    a.left = std::max(a.left, b.left);
    a.top = std::max(a.top, b.top);
    a.right = std::min(a.right, b.right);
    a.bottom = std::min(a.bottom, b.bottom);
    return a;
}

} // namespace pv
