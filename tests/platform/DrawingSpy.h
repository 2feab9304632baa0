#pragma once

#include "platform/Canvas.h"
#include "platform/FontService.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace pv::test {

// Keeps every drawing call with the clip in force when it came.
class DrawingSpy : public Canvas {
public:
    DrawingSpy() : Canvas(FontService::shared(), 96) {}
    struct Call {
        std::string what;
        Rect where; // the points' or rectangle's extent
        std::optional<Rect> clip;
    };
    std::vector<Call> calls;
    struct Text {
        LogFont font;
        std::string text;
        std::vector<int> advances;
    };
    std::vector<Text> texts;
    std::vector<Pen> linePens;

    const Call* find(const std::string& what) const {
        for (const Call& c : calls)
            if (c.what == what) return &c;
        return nullptr;
    }

private:
    void add(const std::string& what, Rect r) { calls.push_back({what, r, state().clip}); }
    static Rect extent(std::span<const Point> points) {
        Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const Point& p : points)
            r = {std::min(r.left, p.x), std::min(r.top, p.y), std::max(r.right, p.x),
                 std::max(r.bottom, p.y)};
        return r;
    }
    void drawText(Point origin, std::uint32_t, const Rect*, std::string_view text,
                  const std::vector<int>& advances) override {
        add("text", {origin.x, origin.y, origin.x + advanceSum(advances), origin.y});
        texts.push_back({state().font, std::string(text), advances});
    }
    void drawLine(Point from, Point to) override {
        const Point p[] = {from, to};
        add("line", extent(p));
        linePens.push_back(state().pen);
    }
    void drawPolygon(std::span<const Point> points) override { add("polygon", extent(points)); }
    void drawRectangle(const Rect& r) override { add("rectangle", r); }
    void drawFillRect(const Rect& r, const Brush&) override { add("fill", r); }
    void drawDib(const Rect& r, const Dib&) override { add("dib", r); }
};

inline bool inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace pv::test
