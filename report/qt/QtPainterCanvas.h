#pragma once

#include "platform/Canvas.h"

class QPainter;
class QPaintDevice;

namespace pv {

// The canvas of the preview window and of the printer: draws on a QPainter.
// Text is drawn glyph by glyph from the same face files, glyph indices and
// advances as the measuring canvas uses, so a drawn line is exactly as wide
// as its measured width. Font heights are device pixels of the painter's
// device: on the screen the engine gives a pixel height, on a printer it
// gives the point size through fontHeightForPoints(), which converts with the
// printer's resolution.
class QtPainterCanvas : public Canvas {
public:
    QtPainterCanvas(QPainter& painter, FontService& fonts, int pixelsPerInch);
    // At the resolution of the painter's device.
    QtPainterCanvas(QPainter& painter, FontService& fonts);
    ~QtPainterCanvas() override;

    static int pixelsPerInchOf(const QPaintDevice& device);

private:
    void clipIntersected(const Rect& rect) override;
    void clipRemoved() override;
    void restored(int levels) override;
    void drawText(Point origin, std::uint32_t options, const Rect* rect, std::string_view text,
                  const std::vector<int>& advances) override;
    void drawLine(Point from, Point to) override;
    void drawPolyline(std::span<const Point> points) override;
    void drawPolygon(std::span<const Point> points) override;
    void drawRectangle(const Rect& rect) override;
    void drawFillRect(const Rect& rect, const Brush& brush) override;
    void drawDib(const Rect& dest, const Dib& dib) override;

    void applyPen();
    void applyBrush();
    void applyClip();

    QPainter& painter_;
};

} // namespace pv
