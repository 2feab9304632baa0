#include "program/RegistrationCheck.h"

#include "program/RegionWarningWindow.h"
#include "program/RegionWarningText.h"
#include "program/SettingsFileError.h"
#include "program/RegionWarningPresenter.h"
#include "platform/Ui.h"

namespace pv {

RegistrationCheck::RegistrationCheck(DriverContext& context, RegionWarningPresenter& presenter,
                                     RegionWarningWindow& dialog, Ui& ui)
    : context_(context), presenter_(presenter), dialog_(dialog), ui_(ui) {}

void RegistrationCheck::clearStopRequested() {
    presenter_.clearStopRequested();
}

bool RegistrationCheck::allows(const std::string& regNom) {
    if (switchedOff(context_.settings.regionCheck)) return true;
    auto warning = regionWarningText(regNom);
    if (!warning) return true;
    presenter_.setMessage(*warning);
    try {
        dialog_.showModal(presenter_, regNom);
        presenter_.FormClose();
    } catch (const SettingsFileError& e) {
        // The choice could not be saved: the run ends with the system's error.
        ui_.messageBox(e.text(), programName(), MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
    return !presenter_.StopRequested();
}

} // namespace pv
