#pragma once

#include "report/template/Report.h"

#include <optional>
#include <string>
#include <vector>

namespace pv {

class DataSourceRegistry;
class ReportProgress;
class TfrReport;
class TfrVariables;
struct PassState;
struct SheetContinuation;

// Prepares a report: forms the prepared pages of its template over the
// registered data sources, in one pass or, for a double-pass template, a
// counting pass and the final one. The template is saved before and reloaded
// after, so whatever scripts changed on its objects is undone.
//
// A composite report is prepared member by member into its own pages, with
// one page numbering; its double-pass flag counts the pages of all members.
class ReportPreparation {
public:
    // A TfrCompositeReport is prepared from its members.
    ReportPreparation(TfrReport& report, const DataSourceRegistry& sources);

    // The report's component name, which the error message names (a
    // composite report's members have their own).
    void setComponentName(std::string name);
    // Off: a page whose master data has no rows prints nothing at all.
    void setPrintIfEmpty(bool on) { printIfEmpty_ = on; }
    // For templates nobody vouches for: a script longer than `scriptSteps`
    // instructions fails, and a pass ends once it has `pageLimit` sheets.
    void setLimits(long scriptSteps, int pageLimit) {
        scriptSteps_ = scriptSteps;
        pageLimit_ = pageLimit;
    }

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
    struct Member {
        TfrReport* report;
        std::string componentName;
    };

    // False when the user cancelled a pass.
    bool runPasses(ReportProgress& progress);
    bool runPass(bool finalPass, int totalPages, ReportProgress& progress);
    void runMember(const Member& member, PassState& pass, SheetContinuation& continuation,
                   bool continueIntoNext);
    bool continuesInto(const Member& member, const Member& next) const;

    TfrReport& report_;
    const DataSourceRegistry& sources_;
    std::vector<Member> members_;
    bool composite_ = false;
    bool printIfEmpty_ = true;
    std::optional<long> scriptSteps_;
    int pageLimit_ = 0;
    double startTime_ = 0;
    TfrReportInfo info_;
    std::optional<std::string> error_;
};

} // namespace pv
