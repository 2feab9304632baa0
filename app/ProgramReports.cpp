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

namespace pv {

ProgramReports::ProgramReports(const DataSourceRegistry& sources, Ui& ui)
    : sources_(sources), engine_(sources, ui, *this), frPDFExport1(std::make_unique<TfrPDFExport>()) {}

ProgramReports::~ProgramReports() = default;

void ProgramReports::setParentWidget(QWidget* parent) {
    parent_ = parent;
    placeholder_.setParentWidget(parent);
}

void ProgramReports::LoadFromFile(ReportId report, const std::string& path) {
    placeholder_.LoadFromFile(report, path);
    engine_.LoadFromFile(report, path);
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
    // A template-less run (or one whose template printed nothing) still
    // shows the user what the batch gave: the templates and variables.
    if (!prepared) {
        placeholder_.PrepareAndPreview(id);
        return;
    }
    PreviewHooks hooks;
    hooks.parent = parent_.data();
    hooks.print = [this](TfrReport& report, int currentPage) {
        PreviewPrintSettings settings;
        settings.title = report.Title;
        settings.parent = parent_.data();
        PrintFromPreview(report.EMFPages(), currentPage, settings, frPrinter());
    };
    ShowPreview(*prepared, hooks);
}

} // namespace pv
