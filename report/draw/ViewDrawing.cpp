#include "report/draw/ViewDrawing.h"

#include "platform/Canvas.h"
#include "report/model/LineView.h"
#include "report/model/View.h"

namespace pv {
namespace {

struct Side {
    Point from, to;
    bool vertical;
};

void line(Canvas& canvas, Point from, Point to) {
    canvas.MoveTo(from.x, from.y);
    canvas.LineTo(to.x, to.y);
}

Point shifted(Point p, bool vertical, int by) {
    return vertical ? Point{p.x + by, p.y} : Point{p.x, p.y + by};
}

PenStyle penStyleOf(uint16_t frameStyle) {
    switch (FrameStyle(frameStyle)) {
    case FrameStyle::Dash:
        return PenStyle::Dash;
    case FrameStyle::Dot:
        return PenStyle::Dot;
    case FrameStyle::DashDot:
        return PenStyle::DashDot;
    case FrameStyle::DashDotDot:
        return PenStyle::DashDotDot;
    default:
        return PenStyle::Solid;
    }
}

// A broken side keeps its pattern at any width: one-pixel lines side by
// side, the gaps painted with the fill.
void drawBrokenSide(Canvas& canvas, const Side& side, int width) {
    for (int off = -(width / 2); off <= width - 1 - width / 2; ++off)
        line(canvas, shifted(side.from, side.vertical, off), shifted(side.to, side.vertical, off));
}

void drawDoubleSide(Canvas& canvas, const TfrView& view, const Side& side, int width) {
    const Pen outer{PenStyle::Solid, width, view.FrameColor};
    canvas.SetPen(outer);
    line(canvas, shifted(side.from, side.vertical, -width),
         shifted(side.to, side.vertical, -width));
    // The middle line clears the gap; with a transparent fill there is
    // nothing to paint it with, and what lies beneath shows through.
    if (view.FillColor != clNone) {
        canvas.SetPen({PenStyle::Solid, width, view.FillColor});
        line(canvas, side.from, side.to);
        canvas.SetPen(outer);
    }
    line(canvas, shifted(side.from, side.vertical, width), shifted(side.to, side.vertical, width));
}

} // namespace

void DrawBackground(Canvas& canvas, const TfrView& view, const ViewGeometry& g,
                    const DrawScale& scale) {
    if (scale.firstPassOfTwo) return;
    canvas.SetBkMode(BkMode::Opaque);
    Color fill = view.FillColor;
    if (fill == clNone) {
        if (!scale.designer) return;
        fill = clWhite;
    }
    const Brush brush{BrushStyle::Solid, fill, 0};
    canvas.SetBrush(brush);
    canvas.FillRect(Rect{g.x, g.y, g.right, g.bottom}, brush);
}

void DrawFrame(Canvas& canvas, const TfrView& view, const ViewGeometry& g, const DrawScale& scale,
               uint16_t sides) {
    if (scale.firstPassOfTwo) return;
    const uint16_t all = frftRight | frftLeft | frftBottom | frftTop;
    if ((sides & all) == 0 && !scale.designer) return;
    const int width = roundEven(g.frameWidth);
    const FrameStyle style = FrameStyle(view.FrameStyle);
    const bool broken = style != FrameStyle::Solid && style != FrameStyle::Double &&
                        penStyleOf(view.FrameStyle) != PenStyle::Solid;
    const Side order[] = {
        {{g.right, g.y}, {g.right, g.bottom}, true},   // right
        {{g.x, g.y}, {g.x, g.bottom}, true},           // left
        {{g.x, g.bottom}, {g.right, g.bottom}, false}, // bottom
        {{g.x, g.y}, {g.right, g.y}, false},           // top
    };
    const uint16_t bits[] = {frftRight, frftLeft, frftBottom, frftTop};
    if (broken) {
        canvas.SetPen({penStyleOf(view.FrameStyle), 1, view.FrameColor});
        if (view.FillColor == clNone) {
            canvas.SetBkMode(BkMode::Transparent);
        } else {
            canvas.SetBkMode(BkMode::Opaque);
            canvas.SetBkColor(view.FillColor);
        }
    } else if (style != FrameStyle::Double) {
        canvas.SetPen({PenStyle::Solid, width, view.FrameColor});
    }
    for (int i = 0; i < 4; ++i) {
        if ((sides & bits[i]) == 0) continue;
        if (broken)
            drawBrokenSide(canvas, order[i], width);
        else if (style == FrameStyle::Double)
            drawDoubleSide(canvas, view, order[i], width);
        else
            line(canvas, order[i].from, order[i].to);
    }
}

void DrawLineView(Canvas& canvas, const TfrLineView& view, const DrawScale& scale) {
    const bool horizontal = view.Height < view.Width;
    const ViewGeometry g = ApplyScale(view, view.Left, view.Top, horizontal ? view.Width : 0,
                                      horizontal ? 0 : view.Height, scale);
    DrawFrame(canvas, view, g, scale, horizontal ? frftTop : frftLeft);
}

Rect PictureTarget(const ViewGeometry& g, int pw, int ph, const DrawScale& scale, bool stretched,
                   bool keepAspect, bool center) {
    const Rect& box = g.box;
    if (stretched) {
        Rect r = box;
        if (keepAspect && pw > 0 && ph > 0) {
            const double kx = double(g.width) / pw, ky = double(g.height) / ph;
            if (kx >= ky)
                r.right = r.left + roundEven(pw * ky);
            else
                r.bottom = r.top + roundEven(ph * kx);
            if (center) {
                const int dx = (box.width() - r.width()) / 2, dy = (box.height() - r.height()) / 2;
                r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
            }
        }
        return r;
    }
    const int w = roundEven(pw * scale.sx), h = roundEven(ph * scale.sy);
    int left = box.left, top = box.top;
    if (center) {
        left += (box.width() - w) / 2;
        top += (box.height() - h) / 2;
    }
    return {left, top, left + w, top + h};
}

} // namespace pv
