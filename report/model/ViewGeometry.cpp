#include "report/model/ViewGeometry.h"

#include "report/model/View.h"

namespace pv {

ViewGeometry ApplyScale(const TfrView& view, const DrawScale& s) {
    return ApplyScale(view, view.Left, view.Top, view.Width, view.Height, s);
}

ViewGeometry ApplyScale(const TfrView& view, int left, int top, int width, int height,
                        const DrawScale& s) {
    ViewGeometry g;
    g.x = roundEven(left * s.sx) + s.ox;
    g.y = roundEven(top * s.sy) + s.oy;
    g.width = roundEven(s.sx * width);
    g.height = roundEven(s.sy * height);
    const double w = view.FrameWidth;
    g.frameWidth = s.sx * w;
    g.hx = roundEven(s.sx * w / 2);
    g.hy = roundEven(s.sy * w / 2);
    const int fx = roundEven((s.sx * w - 1) / 2);
    const int fy = roundEven((s.sy * w - 1) / 2);
    g.gx = roundEven(s.sx * view.GapX) + g.hx;
    g.gy = roundEven(s.sy * view.GapY) + g.hy / 2;
    g.right = roundEven((left + width) * s.sx + s.ox);
    g.bottom = roundEven((top + height) * s.sy + s.oy);
    const auto side = [&view](uint16_t bit) { return (view.FrameTyp & bit) != 0; };
    g.box.left = side(frftLeft) ? g.x + fx : g.x;
    g.box.top = side(frftTop) ? g.y + fy : g.y;
    g.box.right = (side(frftRight) ? g.right - g.hx : g.right) + 1;
    g.box.bottom = (side(frftBottom) ? g.bottom - g.hy : g.bottom) + 1;
    return g;
}

} // namespace pv
