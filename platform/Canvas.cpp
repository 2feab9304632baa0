#include "platform/Canvas.h"

#include "platform/FontService.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace pv {

int advanceSum(std::span<const int> advances) {
    const std::int64_t sum = std::accumulate(advances.begin(), advances.end(), std::int64_t(0));
    return int(std::clamp<std::int64_t>(sum, INT32_MIN / 2, INT32_MAX / 2));
}

Canvas::Canvas(FontService& fonts, int pixelsPerInch) : fonts_(fonts), ppi_(pixelsPerInch) {
    state_.font.faceName = "Arial";
    state_.font.height = fontHeightForPoints(10);
}

Canvas::~Canvas() = default;

int Canvas::fontHeightForPoints(double points) const {
    return -int(std::lround(points * ppi_ / 72.0));
}

void Canvas::SetPen(const Pen& pen) {
    if (pen == state_.pen) return;
    state_.pen = pen;
    penChanged();
}

void Canvas::SetBrush(const Brush& brush) {
    if (brush == state_.brush) return;
    state_.brush = brush;
    brushChanged();
}

void Canvas::SetFont(const LogFont& font) {
    if (font == state_.font) return;
    state_.font = font;
    if (state_.font.faceName.size() > 31) state_.font.faceName.resize(31);
    fontChanged();
}

void Canvas::SetTextColor(Color color) {
    if (color == state_.textColor) return;
    state_.textColor = color;
    textColorChanged();
}

void Canvas::SetBkColor(Color color) {
    if (color == state_.bkColor) return;
    state_.bkColor = color;
    bkColorChanged();
}

void Canvas::SetBkMode(BkMode mode) {
    if (mode == state_.bkMode) return;
    state_.bkMode = mode;
    bkModeChanged();
}

void Canvas::SetTextAlign(std::uint32_t align) {
    if (align == state_.textAlign) return;
    state_.textAlign = align;
    textAlignChanged();
}

void Canvas::SetTextCharacterExtra(int extra) {
    state_.charExtra = extra; // consumed by the advances; metafiles carry it in them
}

void Canvas::SetStretchBltMode(StretchMode mode) {
    if (mode == state_.stretchMode) return;
    state_.stretchMode = mode;
    stretchModeChanged();
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    ExtTextOut(x, y, 0, nullptr, text);
}

void Canvas::ExtTextOut(int x, int y, std::uint32_t options, const Rect* rect,
                        std::string_view text, std::span<const int> dx) {
    std::vector<int> advances;
    if (dx.size() >= text.size())
        advances.assign(dx.begin(), dx.begin() + long(text.size()));
    else
        advances = textAdvances(text);
    Point origin{x, y};
    const bool updateCp = state_.textAlign & textalign::UpdateCp;
    if (updateCp) origin = state_.position;
    if (text.empty() && !(rect && (options & eto::Opaque))) return;
    drawText(origin, options, rect, text, advances);
    if (updateCp)
        state_.position.x = int(std::clamp<std::int64_t>(
            std::int64_t(origin.x) + advanceSum(advances), INT32_MIN, INT32_MAX));
}

void Canvas::MoveTo(int x, int y) {
    state_.position = {x, y};
    drawMoveTo(state_.position);
}

void Canvas::LineTo(int x, int y) {
    const Point from = state_.position;
    state_.position = {x, y};
    drawLine(from, state_.position);
}

void Canvas::Polyline(std::span<const Point> points) {
    if (points.size() >= 2) drawPolyline(points);
}

void Canvas::Polygon(std::span<const Point> points) {
    if (points.size() >= 2) drawPolygon(points);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    drawRectangle({std::min(left, right), std::min(top, bottom), std::max(left, right),
                   std::max(top, bottom)});
}

void Canvas::FillRect(const Rect& rect, const Brush& brush) {
    if (!rect.isEmpty() && !brush.isHollow()) drawFillRect(rect, brush);
}

void Canvas::StretchDIBits(const Rect& dest, const Dib& dib) {
    if (dib.width > 0 && dib.height > 0 && !dest.isEmpty()) drawDib(dest, dib);
}

void Canvas::IntersectClipRect(const Rect& rect) {
    state_.clip = state_.clip ? intersection(rect, *state_.clip) : rect;
    clipIntersected(rect);
}

void Canvas::RemoveClip() {
    state_.clip.reset();
    clipRemoved();
}

int Canvas::SaveDC() {
    savedStates_.push_back(state_);
    saved();
    return int(savedStates_.size());
}

bool Canvas::RestoreDC(int level) {
    const std::int64_t depth = std::int64_t(savedStates_.size());
    const std::int64_t levels = level < 0 ? -std::int64_t(level) : depth - level + 1;
    if (level == 0 || levels <= 0 || levels > depth) return false;
    state_ = savedStates_[std::size_t(depth - levels)];
    savedStates_.resize(std::size_t(depth - levels));
    restored(int(levels));
    return true;
}

Size Canvas::GetTextExtent(std::string_view text) const {
    return fonts_.textExtent(state_.font, text, state_.charExtra);
}

std::vector<int> Canvas::textAdvances(std::string_view text) const {
    return fonts_.advances(state_.font, text, state_.charExtra);
}

} // namespace pv
