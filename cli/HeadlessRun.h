#pragma once

#include "program/RegistrationCheck.h"
#include "program/ScriptedRegionWarning.h"
#include "program/RegionWarningPresenter.h"
#include "batch/BatchDriver.h"
#include "batch/FormDataSources.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "program/PreparingReportService.h"
#include "cli/CommonOptions.h"
#include "platform/ScriptedUi.h"
#include "report/data/DataSourceRegistry.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>

namespace pv::cli {

// A batch run without a screen: messages are recorded and answered with their
// first button, the report is "shown" by taking a snapshot of what it would
// show. The tables the run filled are dumped when it ends, however it ends.
class HeadlessRun : public ReportService, private ReportPresenter {
public:
    // With `prepare`, the report shown is also prepared from its template
    // (found in the program directory's TempPlay) and its pages kept.
    HeadlessRun(const CommonOptions& options, const std::string& batchPath, bool prepare = false);

    // Runs the driver once; true when the report would be shown.
    bool run();

    void LoadFromFile(ReportId report, const std::string& path) override;
    void PrepareAndPreview(ReportId report) override;
    void SetDoublePassReport(bool value) override { doublePass_ = value; }
    void ClearCompositeReports() override { members_.clear(); }
    void AddCompositeReport(ReportId member) override { members_.push_back(member); }

    // The run as JSON: docType, templates, variables, tables, messages, shown,
    // and for a composite report its members as it was shown.
    nlohmann::ordered_json toJson() const;
    bool shown() const { return shown_; }
    // The header values the run read, as the title page takes them.
    const BatchHeader& header() const { return driver_.header(); }
    // The report shown with its prepared pages; null when nothing was
    // prepared (no template, no pages, or a run without preparation).
    TfrReport* prepared() const { return prepared_; }
    // The messages the run showed, one a line.
    std::string messagesText() const;

private:
    void present(ReportId id, TfrReport* prepared) override { prepared_ = prepared; }

    DriverContext context_;
    ScriptedUi ui_;
    BatchDriver driver_;
    // The region warning is recorded as a message and answered by --region-warning.
    RegionWarningPresenter showError_{context_, ui_};
    ScriptedRegionWarning regionWarning_{ui_};
    RegistrationCheck regionCheck_{context_, showError_, regionWarning_, ui_};
    FormTables formTables_;
    FormParsers parsers_;
    std::vector<std::string> templates_;
    std::map<ReportId, std::string> loaded_; // the last template asked for, by report
    bool doublePass_ = false;
    std::vector<ReportId> members_;
    nlohmann::ordered_json composite_;
    nlohmann::ordered_json variables_ = nlohmann::ordered_json::object();
    nlohmann::ordered_json tables_ = nlohmann::ordered_json::object();
    bool shown_ = false;
    DataSourceRegistry sources_;
    std::unique_ptr<FormDataSources> formSources_;
    std::unique_ptr<PreparingReportService> engine_;
    TfrReport* prepared_ = nullptr;
};

} // namespace pv::cli
