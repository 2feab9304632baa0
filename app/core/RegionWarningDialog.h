#pragma once

namespace pv {

class ShowErrorPresenter;

// The warning window as the check sees it: shown modally, it lets the user
// tick the box and press one of the two buttons through the presenter, and
// returns when it has closed.
class RegionWarningDialog {
public:
    virtual ~RegionWarningDialog() = default;
    virtual void showModal(ShowErrorPresenter& presenter) = 0;
};

} // namespace pv
