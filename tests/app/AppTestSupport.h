#pragma once

#include "batch/ReportService.h"
#include "report/value/Variables.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QWidget;

namespace pv::test {

// A header fixture of tests/fixtures/header (UTF-8), written into `dir` in 866,
// changed by `edit` first. Returns the path (UTF-8).
std::string batchFromFixture(const QTemporaryDir& dir, const std::string& fixture,
                             const std::function<void(std::string&)>& edit = {});

// Records what the driver asks of the report engine; `onShow` runs inside the "preview".
class RecordingReports : public ReportService {
public:
    void LoadFromFile(ReportId report, const std::string& path) override;
    void PrepareAndPreview(ReportId report) override;

    std::vector<std::pair<ReportId, std::string>> loads; // full paths
    std::vector<ReportId> shown;
    TfrVariables variablesAtShow;
    std::function<void()> onShow;
};

// Calls `act` with the first modal window to appear (polling the event loop), at most `ms` long.
void whenModalAppears(const std::function<void(QWidget*)>& act, int ms = 5000);

// A row description such as "missing file" as a test name: "MissingFile".
std::string testName(std::string_view description);

} // namespace pv::test

// Failures show Qt values as text rather than as bytes.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << 'x' << s.height();
}
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << '(' << r.x() << ", " << r.y() << ") " << r.width() << 'x' << r.height();
}
