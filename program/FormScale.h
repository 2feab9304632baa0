#pragma once

#include <optional>

namespace pv {

// The window-fitting rules of the program's three windows, laid out for a
// 1024 x 768 screen at 96 pixels per inch: pure functions of the screen, the
// taskbar and the design size, so the toolkit only feeds them numbers.

struct ScaleRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScaleSize {
    int width = 0, height = 0;
};

enum class TaskbarEdge { Left = 0, Top = 1, Right = 2, Bottom = 3 };

struct ScreenMetrics {
    int width = 0;
    int height = 0;
    int pixelsPerInch = 96;
    ScaleRect taskbar; // all zero when there is none
};

struct ScaleDesign {
    int pixelsPerInch = 96;
    int screenHeight = 768;
    ScaleSize size; // the window's outer size as designed
};

// Where the taskbar lies, judged from its rectangle.
TaskbarEdge taskbarEdge(const ScaleRect& taskbar, int screenWidth, int screenHeight);

// The screen less the taskbar.
ScaleSize workArea(const ScreenMetrics& screen, TaskbarEdge edge);

// The factor the window and its contents are scaled by; none when the window
// stays as designed (or is maximised).
std::optional<double> scaleFactor(const ScreenMetrics& screen, const ScaleDesign& design,
                                  bool maximised);

// The design size times `factor`, each to the nearest integer, halves to even.
ScaleSize scaledSize(const ScaleSize& design, double factor);

// The first painting: the window's new top-left corner when it overlaps the
// taskbar on `edge`, else none.
struct ScalePoint {
    int x = 0, y = 0;
};
std::optional<ScalePoint> placeOffTaskbar(TaskbarEdge edge, const ScaleRect& taskbar,
                                          const ScaleRect& window);

// The taskbar as the difference between the screen's geometry and its
// available geometry (in screen-relative pixels, right and bottom exclusive).
ScaleRect taskbarFromAvailable(const ScaleRect& screen, const ScaleRect& available);

} // namespace pv
