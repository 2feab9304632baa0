#pragma once

#include "batch/ReportService.h"

#include <QPointer>

#include <map>
#include <string>

class QDialog;
class QWidget;

namespace pv {

// Stands in for the report engine until it exists: remembers which template
// each report holds and, when a report is shown, opens a modal window listing
// those templates and the report variables as they stand.
class PlaceholderPreview : public ReportService {
public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void LoadFromFile(ReportId report, const std::string& path) override;
    void PrepareAndPreview(ReportId report) override;

    // The template path a report holds; empty when none was loaded.
    std::string templateOf(ReportId report) const;

    // The window PrepareAndPreview shows (the caller runs it).
    QDialog* createWindow(ReportId report, QWidget* parent) const;

private:
    QPointer<QWidget> parent_;
    std::map<ReportId, std::string> templates_;
};

} // namespace pv
