#pragma once

#include "program/FormScale.h"

#include <QObject>
#include <functional>

class QWidget;

namespace pv {

// Fits a window laid out for 1024 x 768 at 96 pixels per inch to the screen:
// at its first showing it scales the window and its controls when the screen
// is shorter, the window does not fit beside the taskbar or the density
// differs; at its first painting it moves the window off the taskbar. The
// taskbar is whatever part of the screen lies outside its available geometry.
class TFormScale : public QObject {
public:
    // Records the window's size as its design size; owned by the window.
    explicit TFormScale(QWidget* window);

    int DesignPixelsPerInch = 96;
    int DesignWidth = 1024; // kept for completeness; no rule uses it
    int DesignHeight = 768;

    // The screen as the rules see it; the window's screen unless replaced (tests).
    std::function<ScreenMetrics()> screenMetrics;

    bool scaled() const { return scaled_; }
    bool placed() const { return placed_; }
    ScaleSize designSize() const { return design_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScreenMetrics currentScreen() const;
    void scaleStep();
    void placeStep();

    QWidget* window_;
    ScaleSize design_;
    ScaleRect taskbar_;
    TaskbarEdge edge_ = TaskbarEdge::Bottom;
    bool scaled_ = false;
    bool placed_ = false;
};

// Leaves the fitting of the windows to TFormScale alone: without this the
// toolkit enlarges every window by the desktop's density (Xft.dpi 120 gives
// 1.25) and shows the scaler a smaller screen at 96 dpi, so the density rules
// never apply. Call before the QApplication is created.
void switchOffToolkitScaling();

// Scales every control's position and size and every font under `window` by `ratio`.
void scaleWidgetTree(QWidget* window, double ratio);

} // namespace pv
