#pragma once

#include "report/template/Report.h"

#include <optional>
#include <string>

namespace pv {

class DataSourceRegistry;
class TfrReport;
class TfrVariables;

// Prepares a report: forms the prepared pages of its template over the
// registered data sources, in one pass or, for a double-pass template, a
// counting pass and the final one. The template is saved before and reloaded
// after, so whatever scripts changed on its objects is undone.
class ReportPreparation {
public:
    ReportPreparation(TfrReport& report, const DataSourceRegistry& sources);

    // The report's component name, which the error message names.
    void setComponentName(std::string name) { componentName_ = std::move(name); }
    // Off: a page whose master data has no rows prints nothing at all.
    void setPrintIfEmpty(bool on) { printIfEmpty_ = on; }

    // False when cancelled; nothing cancels a preparation without a progress
    // window. STOPREPORT keeps the pages formed so far. An expression or
    // script error discards the pages and shows its message on the report's
    // Ui afterwards; a data source that cannot be opened propagates.
    bool Prepare();

    // The message of the last preparation's expression or script error.
    const std::optional<std::string>& errorMessage() const { return error_; }

private:
    void runPass(bool finalPass, int totalPages, bool& terminated);

    TfrReport& report_;
    const DataSourceRegistry& sources_;
    std::string componentName_ = "frReport1";
    bool printIfEmpty_ = true;
    double startTime_ = 0;
    TfrReportInfo info_;
    std::optional<std::string> error_;
};

} // namespace pv
