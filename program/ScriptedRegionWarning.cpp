#include "program/ScriptedRegionWarning.h"

#include "program/RegionWarningPresenter.h"
#include "platform/Ui.h"

namespace pv {

void ScriptedRegionWarning::showModal(RegionWarningPresenter& presenter,
                                      const std::string& regNom) {
    ++showings_;
    presenter.FormActivate(regNom);
    ui_.messageBox(presenter.message() + "\r\n" + presenter.number(), presenter.caption(),
                   MsgIcon::Warning, MsgButtons::Ok);
    if (tickBox_) presenter.setBoxChecked(true);
    if (answer_ == Answer::Exit)
        presenter.BitNoClick();
    else
        presenter.BitOkClick();
}

} // namespace pv
