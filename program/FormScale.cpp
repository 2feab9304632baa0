#include "program/FormScale.h"

#include <cmath>

namespace pv {

TaskbarEdge taskbarEdge(const ScaleRect& taskbar, int screenWidth, int screenHeight) {
    if (taskbar.top > 0) return TaskbarEdge::Bottom;
    if (taskbar.bottom < screenHeight) return TaskbarEdge::Top;
    if (taskbar.right < screenWidth) return TaskbarEdge::Left;
    return TaskbarEdge::Right;
}

ScaleSize workArea(const ScreenMetrics& s, TaskbarEdge edge) {
    const ScaleRect& t = s.taskbar;
    switch (edge) {
    case TaskbarEdge::Top:
        return {s.width, s.height - t.bottom};
    case TaskbarEdge::Bottom:
        return {s.width, s.height - t.bottom + t.top - 1};
    case TaskbarEdge::Left:
        return {s.width - t.right - 1, s.height};
    case TaskbarEdge::Right:
        return {s.width - t.right + t.left, s.height};
    }
    return {s.width, s.height};
}

std::optional<double> scaleFactor(const ScreenMetrics& screen, const ScaleDesign& design,
                                  bool maximised) {
    const ScaleSize area =
        workArea(screen, taskbarEdge(screen.taskbar, screen.width, screen.height));
    const ScaleSize& d = design.size;
    const bool fits = area.height >= d.height && area.width >= d.width;
    if (screen.pixelsPerInch == design.pixelsPerInch &&
        (screen.height >= design.screenHeight || fits))
        return std::nullopt;
    if (maximised) return std::nullopt;
    if (screen.height < design.screenHeight) return double(screen.height) / design.screenHeight;
    const double g = double(screen.pixelsPerInch) / design.pixelsPerInch;
    if (area.width >= d.width * g && area.height >= d.height * g) return g;
    const double byWidth = double(area.width) / d.width;
    const double byHeight = double(area.height) / d.height;
    return byHeight < byWidth ? byHeight : byWidth;
}

ScaleSize scaledSize(const ScaleSize& design, double factor) {
    // nearbyint rounds halves to even in the default rounding mode.
    return {int(std::nearbyint(design.width * factor)),
            int(std::nearbyint(design.height * factor))};
}

std::optional<ScalePoint> placeOffTaskbar(TaskbarEdge edge, const ScaleRect& t,
                                          const ScaleRect& w) {
    const int width = w.right - w.left;
    const int height = w.bottom - w.top;
    switch (edge) {
    case TaskbarEdge::Top:
        if (w.top < t.bottom) return ScalePoint{w.left, t.bottom + 1};
        break;
    case TaskbarEdge::Bottom:
        if (w.top + height > t.top) return ScalePoint{w.left, 0};
        break;
    case TaskbarEdge::Left:
        if (w.left < t.right) return ScalePoint{t.right + 1, w.top};
        break;
    case TaskbarEdge::Right:
        if (w.left + width > t.left) return ScalePoint{0, w.top};
        break;
    }
    return std::nullopt;
}

ScaleRect taskbarFromAvailable(const ScaleRect& s, const ScaleRect& a) {
    const int w = s.right - s.left;
    const int h = s.bottom - s.top;
    const ScaleRect rel{a.left - s.left, a.top - s.top, a.right - s.left, a.bottom - s.top};
    if (rel.top > 0) return {0, 0, w, rel.top};
    if (rel.bottom < h) return {0, rel.bottom, w, h};
    if (rel.left > 0) return {0, 0, rel.left, h};
    if (rel.right < w) return {rel.right, 0, w, h};
    return {};
}

} // namespace pv
