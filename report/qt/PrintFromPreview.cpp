#include "report/qt/PrintFromPreview.h"
#include "report/qt/QtText.h"

#include "platform/CodePage.h"
#include "platform/ConversionError.h"
#include "platform/FontService.h"
#include "platform/Ui.h"
#include "report/prepared/PreparedPages.h"
#include "report/qt/PrintForm.h"
#include "report/qt/QtPrintJob.h"
#include "report/qt/QtInstalledPrinter.h"
#include "report/prepared/PageList.h"
#include "report/template/ReportProgress.h"

#include <QMessageBox>

namespace pv {
namespace {

void showError(const PreviewPrintSettings& settings, const std::string& text,
               const std::string& caption) {
    if (settings.ui) {
        settings.ui->messageBox(text, caption, MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    QMessageBox::critical(settings.parent, qt1251(caption, CrLf::Keep), qt1251(text, CrLf::ToLf));
}

} // namespace

std::vector<PrintedPage> printedPages(const TfrEMFPages& pages) {
    std::vector<PrintedPage> printed;
    for (int i = 0; i < pages.Count(); ++i) {
        const PreparedPage& p = pages.Page(i);
        PrintedPage page;
        page.paper = {p.size, p.width, p.height, p.orientation, p.bin};
        page.useMargins = p.useMargins != 0;
        page.margins = {p.leftMargin, p.topMargin, p.rightMargin, p.bottomMargin};
        printed.push_back(page);
    }
    return printed;
}

PrintOutcome PrintFromPreview(TfrEMFPages& pages, int currentPage,
                              const PreviewPrintSettings& settings, TfrPrinter& printer) {
    if (pages.Count() == 0 || printer.VirtualIndex() == 0) return PrintOutcome::NothingToPrint;

    PrintPagesOptions options;
    options.copies = std::max(settings.defaultCopies, 1);
    options.collate = settings.defaultCollate;
    options.title = settings.title;
    options.progress = settings.progress;
    if (settings.showPrintDialog) {
        PrintForm form(printer, settings.parent);
        form.setCopies(settings.defaultCopies);
        form.setCollate(settings.defaultCollate);
        if (form.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
        options.copies = form.copies();
        options.collate = form.collate();
        options.parity = form.parity();
        options.pageList = form.pageListText(currentPage);
        if (form.printerChanged() && settings.rebuild && !settings.rebuild()) {
            printer.SelectPrinter(form.previousPrinter());
            showError(settings, ru("Возникли проблемы с настройкой выбранного принтера."),
                      ru("Ошибка"));
            return PrintOutcome::Failed;
        }
    }

    auto device = std::dynamic_pointer_cast<QtInstalledPrinter>(printer.device());
    if (!device) return PrintOutcome::NothingToPrint;
    // The printer's settings may have changed since it was selected.
    printer.SelectPrinter(printer.PrinterIndex());
    QtPrintJob job(device->printer(), pages, FontService::shared());
    job.setCancelCheck(settings.cancelled);
    ReportProgress* shown = settings.reportProgress;
    if (shown) {
        options.progress = [shown, own = options.progress](int page) {
            shown->page(page);
            if (own) own(page);
        };
        job.setCancelCheck(
            [shown, own = settings.cancelled] { return shown->cancelled() || (own && own()); });
    }
    try {
        PrintOutcome outcome = PrintOutcome::NothingToPrint;
        // The page list is read before the window opens: a malformed one
        // prints nothing and is reported on its own.
        parsePageList(options.pageList, pages.Count());
        auto work = [&] { outcome = PrintPages(printedPages(pages), options, printer, job); };
        if (shown)
            shown->run(work);
        else
            work();
        return outcome == PrintOutcome::Printed && job.failed() ? PrintOutcome::Failed : outcome;
    } catch (const ConversionError& e) {
        showError(settings, e.text(), programName());
        return PrintOutcome::Failed;
    }
}

} // namespace pv
