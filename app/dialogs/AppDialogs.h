#pragma once

#include "program/RegistrationCheck.h"
#include "program/SignaturesPresenter.h"
#include "program/RegionWarningPresenter.h"
#include "app/dialogs/RegionWarningDialog.h"
#include "app/dialogs/SignaturesDialog.h"
#include "app/dialogs/QtUi.h"

#include <memory>

namespace pv {

// The two dialogs the main window creates after itself, in this order, and
// keeps for the program's run: the signatures dialog and the registration
// warning with the check that shows it. Both share the main window's current
// setting values through `context`. The dialogs are children of the main
// window (deleted with it); without one, this object deletes them.
class AppDialogs {
public:
    AppDialogs(DriverContext& context, QWidget* mainWindow);
    ~AppDialogs();
    AppDialogs(const AppDialogs&) = delete;
    AppDialogs& operator=(const AppDialogs&) = delete;

    // The menu "Подписи к бланкам".
    void N1Click() { fm_setup->exec(); }
    // For BatchDriver::setRegionCheck.
    RegionCheck& regionCheck() { return *check_; }

    Tfm_setup* fm_setup;
    TShowError* ShowError;

private:
    bool ownsDialogs_;
    QtUi setupUi_;
    QtUi warningUi_;
    RegionWarningPresenter showErrorPresenter_;
    SignaturesPresenter setupPresenter_;
    std::unique_ptr<RegistrationCheck> check_;
};

} // namespace pv
