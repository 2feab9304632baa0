#pragma once

#include <string>

namespace pv {

enum class ReportId { frReport1, frReport2, frReport3, frCompositeReport1 };

const char* reportName(ReportId id);

// What the batch driver asks of the report engine: load a template into one of
// the program's reports, and prepare and show a report (returning when its
// preview is closed).
class ReportService {
public:
    virtual ~ReportService() = default;
    // Leaves the report unchanged when the file does not exist.
    virtual void LoadFromFile(ReportId report, const std::string& path) = 0;
    virtual void PrepareAndPreview(ReportId report) = 0;

    // The composite report frCompositeReport1, which prepares its member
    // reports one after the other into one preview.
    virtual void SetDoublePassReport(bool /*value*/) {}
    virtual void ClearCompositeReports() {}
    virtual void AddCompositeReport(ReportId /*member*/) {}
};

} // namespace pv
