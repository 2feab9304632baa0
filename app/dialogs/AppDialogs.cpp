#include "app/dialogs/AppDialogs.h"

namespace pv {

AppDialogs::AppDialogs(DriverContext& context, QWidget* mainWindow)
    : ownsDialogs_(mainWindow == nullptr), showErrorPresenter_(context, warningUi_),
      setupPresenter_(context, setupUi_, [this] { return showErrorPresenter_.lastChoice(); }) {
    fm_setup = new Tfm_setup(setupPresenter_, setupUi_, mainWindow);
    ShowError = new TShowError(mainWindow);
    setupUi_.setParentWidget(fm_setup);
    warningUi_.setParentWidget(ShowError);
    check_ =
        std::make_unique<RegistrationCheck>(context, showErrorPresenter_, *ShowError, warningUi_);
}

AppDialogs::~AppDialogs() {
    if (!ownsDialogs_) return;
    delete fm_setup;
    delete ShowError;
}

} // namespace pv
