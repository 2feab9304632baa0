#pragma once

#include "batch/BatchDriver.h"

namespace pv {

class RegionWarningWindow;
class RegionWarningPresenter;
class Ui;

// The registration-number check of a batch run: silent when the switch is
// "Нет" or the number fits, else the warning dialog decides.
class RegistrationCheck : public RegionCheck {
public:
    RegistrationCheck(DriverContext& context, RegionWarningPresenter& presenter,
                      RegionWarningWindow& dialog, Ui& ui);

    void clearStopRequested() override;
    bool allows(const std::string& regNom) override;

private:
    DriverContext& context_;
    RegionWarningPresenter& presenter_;
    RegionWarningWindow& dialog_;
    Ui& ui_;
};

} // namespace pv
