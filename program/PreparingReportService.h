#pragma once

#include "batch/ReportPresenter.h"
#include "batch/ReportService.h"
#include "report/template/CompositeReport.h"
#include "report/template/Report.h"

#include <map>
#include <vector>

namespace pv {

class DataSourceRegistry;
class Ui;

// The program's reports frReport1…frReport3 and frCompositeReport1: loads
// their templates, prepares a report over the registered data sources and
// hands the prepared pages to the presenter.
class PreparingReportService : public ReportService {
public:
    PreparingReportService(const DataSourceRegistry& sources, Ui& ui, ReportPresenter& presenter);

    void LoadFromFile(ReportId report, const std::string& path) override;
    void PrepareAndPreview(ReportId report) override;
    void SetDoublePassReport(bool value) override { frCompositeReport1.DoublePass = value; }
    void ClearCompositeReports() override;
    void AddCompositeReport(ReportId member) override;

    TfrReport& report(ReportId id);
    // Whether a template was ever loaded into the report.
    bool hasTemplate(ReportId id) const;
    bool doublePass() const { return frCompositeReport1.DoublePass != 0; }
    const std::vector<ReportId>& members() const { return members_; }

private:
    void prepareComposite();

    const DataSourceRegistry& sources_;
    ReportPresenter& presenter_;
    std::map<ReportId, TfrReport> reports_;
    TfrCompositeReport frCompositeReport1;
    std::map<ReportId, bool> loaded_;
    std::vector<ReportId> members_;
};

} // namespace pv
