#include "report/qt/ShowPreview.h"

#include "report/prepared/PreparedPages.h"
#include "report/template/Report.h"

namespace pv {

TfrPreviewForm* ShowPreview(TfrReport& report, const PreviewHooks& hooks) {
    if (report.EMFPages().Count() == 0) return nullptr;
    auto* form = new TfrPreviewForm(report, hooks.parent);
    if (hooks.print) form->setPrintHook(hooks.print);
    form->restorePlacement();
    form->takePages();
    if (report.ModalPreview) {
        form->exec();
        delete form;
        return nullptr;
    }
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    return form;
}

} // namespace pv
