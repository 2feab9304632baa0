#pragma once

#include "batch/BatchDriver.h"

namespace pv {

class RegionWarningDialog;
class ShowErrorPresenter;
class Ui;

// The registration-number check of a batch run: silent when the switch is
// "Нет" or the number fits, else the warning dialog decides.
class RegistrationCheck : public RegionCheck {
public:
    RegistrationCheck(DriverContext& context, ShowErrorPresenter& presenter,
                      RegionWarningDialog& dialog, Ui& ui);

    void clearStopRequested() override;
    bool allows(const std::string& regNom) override;

private:
    DriverContext& context_;
    ShowErrorPresenter& presenter_;
    RegionWarningDialog& dialog_;
    Ui& ui_;
};

} // namespace pv
