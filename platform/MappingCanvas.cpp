#include "platform/MappingCanvas.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace pv {
namespace {

// Mapped coordinates stay well inside the int range, so sums and spans taken
// from them further down cannot overflow whatever a metafile holds.
constexpr double kLimit = double(INT32_MAX / 4);

int held(double v) {
    return int(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

// A size scaled by `k`: never 0 when it was not.
int scaledSize(int size, double k) {
    if (size == 0) return 0;
    const int s = held(std::fabs(double(size) * k));
    return std::max(1, s) * (size < 0 ? -1 : 1);
}

} // namespace

MappingCanvas::MappingCanvas(Canvas& target, const Rect& from, const Rect& to)
    : Canvas(target.fonts(), target.pixelsPerInch()), target_(target), from_(from), to_(to),
      kx_(double(to.width()) / std::max(1, from.width())),
      ky_(double(to.height()) / std::max(1, from.height())), baseClip_(target.state().clip) {
    penChanged();
    brushChanged();
    fontChanged();
    textColorChanged();
    bkColorChanged();
    bkModeChanged();
    textAlignChanged();
    stretchModeChanged();
}

int MappingCanvas::mapX(double x) const {
    return held(to_.left + (x - from_.left) * kx_);
}

int MappingCanvas::mapY(double y) const {
    return held(to_.top + (y - from_.top) * ky_);
}

Point MappingCanvas::map(Point p) const {
    return {mapX(p.x), mapY(p.y)};
}

Rect MappingCanvas::map(const Rect& r) const {
    return {mapX(r.left), mapY(r.top), mapX(r.right), mapY(r.bottom)};
}

std::vector<Point> MappingCanvas::map(std::span<const Point> points) const {
    std::vector<Point> out;
    out.reserve(points.size());
    for (const Point& p : points)
        out.push_back(map(p));
    return out;
}

void MappingCanvas::penChanged() {
    Pen pen = state().pen;
    pen.width = scaledSize(pen.width, (kx_ + ky_) / 2);
    target_.SetPen(pen);
}

void MappingCanvas::brushChanged() {
    target_.SetBrush(state().brush);
}

void MappingCanvas::fontChanged() {
    LogFont font = state().font;
    font.height = scaledSize(font.height, ky_);
    font.width = scaledSize(font.width, kx_);
    target_.SetFont(font);
}

void MappingCanvas::textColorChanged() {
    target_.SetTextColor(state().textColor);
}

void MappingCanvas::bkColorChanged() {
    target_.SetBkColor(state().bkColor);
}

void MappingCanvas::bkModeChanged() {
    target_.SetBkMode(state().bkMode);
}

void MappingCanvas::textAlignChanged() {
    // The current position is followed here; the target gets finished origins.
    target_.SetTextAlign(state().textAlign & ~textalign::UpdateCp);
}

void MappingCanvas::stretchModeChanged() {
    target_.SetStretchBltMode(state().stretchMode);
}

void MappingCanvas::clipIntersected(const Rect& rect) {
    target_.IntersectClipRect(map(rect));
}

void MappingCanvas::clipRemoved() {
    target_.RemoveClip();
    if (baseClip_) target_.IntersectClipRect(*baseClip_);
}

void MappingCanvas::saved() {
    target_.SaveDC();
}

void MappingCanvas::restored(int levels) {
    target_.RestoreDC(-levels);
}

void MappingCanvas::drawText(Point origin, std::uint32_t options, const Rect* rect,
                             std::string_view text, const std::vector<int>& advances) {
    // Advances are mapped as running positions so that rounding does not add up.
    std::vector<int> mapped;
    mapped.reserve(advances.size());
    double run = 0;
    int previous = 0;
    for (int a : advances) {
        run += a;
        const int position = held(run * kx_);
        mapped.push_back(position - previous);
        previous = position;
    }
    const Rect mappedRect = rect ? map(*rect) : Rect{};
    target_.ExtTextOut(mapX(origin.x), mapY(origin.y), options, rect ? &mappedRect : nullptr, text,
                       mapped);
}

void MappingCanvas::drawMoveTo(Point to) {
    const Point p = map(to);
    target_.MoveTo(p.x, p.y);
}

void MappingCanvas::drawLine(Point from, Point to) {
    const Point a = map(from), b = map(to);
    target_.MoveTo(a.x, a.y);
    target_.LineTo(b.x, b.y);
}

void MappingCanvas::drawPolyline(std::span<const Point> points) {
    target_.Polyline(map(points));
}

void MappingCanvas::drawPolygon(std::span<const Point> points) {
    target_.Polygon(map(points));
}

void MappingCanvas::drawRectangle(const Rect& rect) {
    const Rect r = map(rect);
    target_.Rectangle(r.left, r.top, r.right, r.bottom);
}

void MappingCanvas::drawFillRect(const Rect& rect, const Brush& brush) {
    target_.FillRect(map(rect), brush);
}

void MappingCanvas::drawDib(const Rect& dest, const Dib& dib) {
    target_.StretchDIBits(map(dest), dib);
}

} // namespace pv
