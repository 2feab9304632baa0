#pragma once

#include "report/template/Report.h"

#include <string>
#include <vector>

namespace pv {

// A report that prepares its member reports one after the other into its
// own prepared pages, with one page numbering and one preview. Its own
// template is not used; its DoublePass flag (the published
// DoublePassReport) covers all members together. The members stay their
// owners'; the composite only lists them.
class TfrCompositeReport : public TfrReport {
public:
    struct Member {
        TfrReport* report;
        // The member's component name, which an error message names.
        std::string componentName;
    };

    void AddReport(TfrReport& report, std::string componentName);
    void ClearReports() { reports_.clear(); }
    // In print order.
    const std::vector<Member>& Reports() const { return reports_; }

private:
    std::vector<Member> reports_;
};

} // namespace pv
