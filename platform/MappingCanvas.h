#pragma once

#include "platform/Canvas.h"

#include <optional>

namespace pv {

// A canvas whose drawing lands on another canvas, with every coordinate,
// advance, pen width and font height mapped from the rectangle `from` onto
// the rectangle `to`: what a picture drawn at its own coordinates needs to
// fill its place on a page. The target's state is set to this canvas's own
// when it is made and follows every change; saves and restores are passed on
// one for one. Removing the clip here goes back to the clip the target had
// when this canvas was made, never beyond it. The caller saves and restores
// the target's state around the drawing.
class MappingCanvas : public Canvas {
public:
    // `from` must not be empty.
    MappingCanvas(Canvas& target, const Rect& from, const Rect& to);

    Point map(Point p) const;
    Rect map(const Rect& r) const;

private:
    void penChanged() override;
    void brushChanged() override;
    void fontChanged() override;
    void textColorChanged() override;
    void bkColorChanged() override;
    void bkModeChanged() override;
    void textAlignChanged() override;
    void stretchModeChanged() override;
    void clipIntersected(const Rect& rect) override;
    void clipRemoved() override;
    void saved() override;
    void restored(int levels) override;
    void drawText(Point origin, std::uint32_t options, const Rect* rect, std::string_view text,
                  const std::vector<int>& advances) override;
    void drawMoveTo(Point to) override;
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawPolygon(std::span<const Point> points) override;
    void drawRectangle(const Rect& rect) override;
    void drawFillRect(const Rect& rect, const Brush& brush) override;
    void drawDib(const Rect& dest, const Dib& dib) override;

    int mapX(double x) const;
    int mapY(double y) const;
    std::vector<Point> map(std::span<const Point> points) const;

    Canvas& target_;
    Rect from_, to_;
    double kx_, ky_;
    std::optional<Rect> baseClip_;
};

} // namespace pv
