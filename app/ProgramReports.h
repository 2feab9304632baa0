#pragma once

#include "batch/ReportPresenter.h"
#include "program/PreparingReportService.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

class QWidget;

namespace pv {

class TfrPDFExport;
class TfrProgressForm;
class Ui;

// The main window's reports: prepared over the form tables' data sources and
// shown in the preview window, whose save offers the PDF filter. Preparing,
// printing and saving run inside the progress window.
class ProgramReports : public ReportService, private ReportPresenter {
public:
    ProgramReports(const DataSourceRegistry& sources, Ui& ui);
    ~ProgramReports() override;

    void setParentWidget(QWidget* parent);

    void LoadFromFile(ReportId report, const std::string& path) override;
    void PrepareAndPreview(ReportId report) override;
    void SetDoublePassReport(bool value) override { engine_.SetDoublePassReport(value); }
    void ClearCompositeReports() override { engine_.ClearCompositeReports(); }
    void AddCompositeReport(ReportId member) override { engine_.AddCompositeReport(member); }

    PreparingReportService& engine() { return engine_; }
    // Prepares a template as it stands (the designer's) over the form tables
    // and shows it as the program shows its reports.
    void previewTemplate(TfrReport& report);
    TfrProgressForm& progressForm() { return *progress_; }

private:
    void present(ReportId id, TfrReport* prepared) override;
    void reportMissingTemplate(ReportId id);

    const DataSourceRegistry& sources_;
    QPointer<QWidget> parent_;
    Ui& ui_;
    std::unique_ptr<TfrProgressForm> progress_;
    std::map<ReportId, std::string> templatePaths_; // as given, found or not
    PreparingReportService engine_;
    std::unique_ptr<TfrPDFExport> frPDFExport1;
};

} // namespace pv
