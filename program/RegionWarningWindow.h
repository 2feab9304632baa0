#pragma once

#include <string>

namespace pv {

class RegionWarningPresenter;

// The warning window as the check sees it: shown modally, it lets the user
// tick the box and press one of the two buttons through the presenter, and
// returns when it has closed.
class RegionWarningWindow {
public:
    virtual ~RegionWarningWindow() = default;
    // Runs the presenter's FormActivate for `regNom` once the window is on
    // screen, so a notice it raises comes over the window.
    virtual void showModal(RegionWarningPresenter& presenter, const std::string& regNom) = 0;
};

} // namespace pv
