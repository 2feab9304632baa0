#pragma once

#include "platform/Dib.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pv {

class FontService;

// The sum of text advances, held to the range of a coordinate: advances read
// from a metafile may be anything.
int advanceSum(std::span<const int> advances);

// What a canvas holds between drawing calls.
struct CanvasState {
    Pen pen;
    Brush brush;
    LogFont font;
    Color textColor = rgb(0, 0, 0);
    Color bkColor = rgb(255, 255, 255);
    BkMode bkMode = BkMode::Opaque;
    StretchMode stretchMode = StretchMode::BlackOnWhite;
    std::uint32_t textAlign = textalign::Left | textalign::Top;
    int charExtra = 0;
    Point position;
    std::optional<Rect> clip; // the intersection of the clip rectangles set, if any
};

// The GDI-like surface every report object draws on. Coordinates are integer
// device pixels, texts are 1251 bytes (or the code page of the font's
// charset). The base keeps the state and computes text advances with the
// font service, so every implementation places characters alike; an
// implementation only overrides the hooks it needs.
class Canvas {
public:
    Canvas(FontService& fonts, int pixelsPerInch);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int pixelsPerInch() const { return ppi_; }
    FontService& fonts() const { return fonts_; }
    const CanvasState& state() const { return state_; }
    // The logical height of a font of `points` size on this device: the
    // device converts a point size into its own pixels.
    int fontHeightForPoints(double points) const;

    void SetPen(const Pen& pen);
    void SetBrush(const Brush& brush);
    void SetFont(const LogFont& font);
    void SetTextColor(Color color);
    void SetBkColor(Color color);
    void SetBkMode(BkMode mode);
    void SetTextAlign(std::uint32_t align);
    void SetTextCharacterExtra(int extra);
    void SetStretchBltMode(StretchMode mode);

    void TextOut(int x, int y, std::string_view text);
    // `options` are eto:: flags; `rect` is the clip or opaque rectangle;
    // `dx` the advance of each character (computed from the font when empty).
    void ExtTextOut(int x, int y, std::uint32_t options, const Rect* rect, std::string_view text,
                    std::span<const int> dx = {});
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const Point> points);
    void Polygon(std::span<const Point> points);
    // Outlined with the pen and filled with the brush; right and bottom exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    // Fills with `brush` without selecting it; right and bottom exclusive.
    void FillRect(const Rect& rect, const Brush& brush);
    void StretchDIBits(const Rect& dest, const Dib& dib);
    void IntersectClipRect(const Rect& rect);
    void RemoveClip();
    // Returns the new save level (1 for the first save).
    int SaveDC();
    // `saved` < 0 goes back that many levels, > 0 to the state saved at that
    // level. False, with nothing changed, for a level that was not saved.
    bool RestoreDC(int saved);

    Size GetTextExtent(std::string_view text) const;
    // The advance of every character in the current font, character extra included.
    std::vector<int> textAdvances(std::string_view text) const;

protected:
    // Hooks, called after the state has changed.
    virtual void penChanged() {}
    virtual void brushChanged() {}
    virtual void fontChanged() {}
    virtual void textColorChanged() {}
    virtual void bkColorChanged() {}
    virtual void bkModeChanged() {}
    virtual void textAlignChanged() {}
    virtual void stretchModeChanged() {}
    virtual void clipIntersected(const Rect&) {}
    virtual void clipRemoved() {}
    virtual void saved() {}
    // `levels` states were taken back (the state is already restored).
    virtual void restored(int levels) {}

    // Drawing hooks. Text comes with the final advances, one per character.
    virtual void drawText(Point origin, std::uint32_t options, const Rect* rect,
                          std::string_view text, const std::vector<int>& advances) {}
    virtual void drawMoveTo(Point to) {}
    virtual void drawLine(Point from, Point to) {}
    virtual void drawPolyline(std::span<const Point> points) {}
    virtual void drawPolygon(std::span<const Point> points) {}
    virtual void drawRectangle(const Rect& rect) {}
    virtual void drawFillRect(const Rect& rect, const Brush& brush) {}
    virtual void drawDib(const Rect& dest, const Dib& dib) {}

private:
    FontService& fonts_;
    int ppi_;
    CanvasState state_;
    std::vector<CanvasState> savedStates_;
};

} // namespace pv
