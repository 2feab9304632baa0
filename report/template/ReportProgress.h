#pragma once

#include "report/export/ExportProgress.h"

#include <functional>
#include <optional>
#include <string>

namespace pv {

class ProgressWindow;
class TfrReport;

// How one long operation of a report shows its progress: with OnProgress
// assigned the handler gets the page numbers and no window is shown;
// otherwise, with ShowProgress on and a progress window given to the report,
// the work runs inside that window, whose caption names the report and whose
// label shows the page reached; otherwise the work runs directly and only
// stops when told to.
class ReportProgress : public ExportProgress {
public:
    // `labelText` (1251) is what the label shows before the page number.
    ReportProgress(TfrReport& report, std::string labelText);

    // Runs the work, inside the window when there is one.
    void run(const std::function<void()>& work);
    void setLabelText(std::string text) { labelText_ = std::move(text); }
    // The page reached, with the total when it is known.
    void page(int number, std::optional<int> total = {});
    // True once the user cancelled in the window.
    bool cancelled() { return Cancelled(); }
    bool windowShown() const { return window_ != nullptr; }

    // ExportProgress
    void PageExported(int page, int total) override { this->page(page, total); }
    bool Cancelled() const override;

private:
    TfrReport& report_;
    ProgressWindow* window_ = nullptr;
    std::string labelText_;
    std::string label_; // as shown
    mutable bool cancelled_ = false;
};

} // namespace pv
