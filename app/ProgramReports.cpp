// The PDF writer's headers come before any Qt header, whose keyword macros
// clash with its names.
#include "pdf/PDFExport.h"

#include "app/ProgramReports.h"

#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"
#include "report/qt/PrintFromPreview.h"
#include "report/qt/ShowPreview.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"
#include "report/qt/ProgressForm.h"
#include "report/template/ReportProgress.h"

namespace pv {

ProgramReports::ProgramReports(const DataSourceRegistry& sources, Ui& ui)
    : sources_(sources), ui_(ui), progress_(std::make_unique<TfrProgressForm>()),
      engine_(sources, ui, *this), frPDFExport1(std::make_unique<TfrPDFExport>()) {
    for (ReportId id : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3,
                        ReportId::frCompositeReport1})
        engine_.report(id).setProgressWindow(progress_.get());
}

ProgramReports::~ProgramReports() = default;

void ProgramReports::setParentWidget(QWidget* parent) {
    parent_ = parent;
}

void ProgramReports::LoadFromFile(ReportId report, const std::string& path) {
    engine_.LoadFromFile(report, path);
    templatePaths_[report] = path;
}

void ProgramReports::PrepareAndPreview(ReportId report) {
    engine_.PrepareAndPreview(report);
}

void ProgramReports::previewTemplate(TfrReport& report) {
    ReportPreparation preparation(report, sources_);
    preparation.setComponentName(reportName(ReportId::frReport1));
    preparation.Prepare();
    present(ReportId::frReport1, report.EMFPages().Count() > 0 ? &report : nullptr);
}

void ProgramReports::present(ReportId id, TfrReport* prepared) {
    if (!prepared) {
        // A missing template is named, so the user knows what to reinstall;
        // otherwise the engine has said why nothing was prepared, or the
        // template printed nothing: there is nothing to show.
        if (id != ReportId::frCompositeReport1) {
            if (!engine_.hasTemplate(id)) reportMissingTemplate(id);
            return;
        }
        for (const auto& [member, path] : templatePaths_)
            if (member != id && !engine_.hasTemplate(member)) {
                reportMissingTemplate(member);
                break;
            }
        return;
    }
    PreviewHooks hooks;
    hooks.parent = parent_.data();
    hooks.print = [this](TfrReport& report, int currentPage) {
        ReportProgress progress(report, ru("Печатается страница:"));
        PreviewPrintSettings settings;
        settings.title = report.Title;
        settings.parent = parent_.data();
        settings.reportProgress = &progress;
        PrintFromPreview(report.EMFPages(), currentPage, settings, frPrinter());
    };
    ShowPreview(*prepared, hooks);
}

// The user has to know which file to reinstall.
void ProgramReports::reportMissingTemplate(ReportId id) {
    auto it = templatePaths_.find(id);
    const std::string path = it == templatePaths_.end() ? std::string() : it->second;
    std::string text = ru("Не найден файл шаблона отчета");
    text += path.empty() ? ru(".") : ":\r\n" + utf8ToCp1251(path);
    text += "\r\n" + ru("Переустановите программу.");
    ui_.messageBox(text, ru("Ошибка"), MsgIcon::Error, MsgButtons::Ok);
}

} // namespace pv
