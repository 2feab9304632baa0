#pragma once

#include <optional>
#include <string>

namespace pv {

class DataSourceRegistry;
class ReportProgress;
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

    // Runs inside the report's progress window when it has one. False when
    // cancelled there: a single pass keeps the pages formed so far, a
    // cancelled first pass of a double-pass report leaves none. STOPREPORT
    // keeps the pages formed so far. An expression or script error discards
    // the pages and shows its message on the report's Ui afterwards; a data
    // source that cannot be opened propagates.
    bool Prepare();

    // The message of the last preparation's expression or script error.
    const std::optional<std::string>& errorMessage() const { return error_; }

private:
    // False when the user cancelled the pass.
    bool runPass(bool finalPass, int totalPages, ReportProgress& progress);
    bool runPasses(ReportProgress& progress);

    TfrReport& report_;
    const DataSourceRegistry& sources_;
    std::string componentName_ = "frReport1";
    bool printIfEmpty_ = true;
    double startTime_ = 0;
    std::optional<std::string> error_;
};

} // namespace pv
