#pragma once

namespace pv {

class RegionWarningPresenter;

// The warning window as the check sees it: shown modally, it lets the user
// tick the box and press one of the two buttons through the presenter, and
// returns when it has closed.
class RegionWarningWindow {
public:
    virtual ~RegionWarningWindow() = default;
    virtual void showModal(RegionWarningPresenter& presenter) = 0;
};

} // namespace pv
