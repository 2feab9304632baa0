#pragma once

#include <functional>
#include <string>

namespace pv {

// A modal window that shows how far a long operation (preparing, printing,
// exporting) has come and lets the user cancel it. The engine drives it
// through this interface; the Qt program supplies the window.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows the window with the caption (1251) and runs the work while it is
    // displayed; returns once the work has returned.
    virtual void Run(const std::string& caption, const std::function<void()>& work) = 0;
    // The label text (1251).
    virtual void SetLabel(const std::string& text) = 0;
    // True once the user pressed the cancel button; lets the window system
    // run, so that the button can be pressed at all.
    virtual bool Cancelled() = 0;
};

} // namespace pv
