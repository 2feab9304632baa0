#include "report/template/ReportProgress.h"

#include "report/prepared/PrintPages.h"
#include "report/prepared/ProgressWindow.h"
#include "report/template/Report.h"

namespace pv {

ReportProgress::ReportProgress(TfrReport& report, std::string labelText)
    : report_(report), labelText_(std::move(labelText)), label_(labelText_) {
    if (report.ShowProgress && !report.Events.OnProgress) window_ = report.progressWindow();
}

void ReportProgress::run(const std::function<void()>& work) {
    if (!window_) {
        work();
        return;
    }
    window_->SetLabel(label_);
    window_->Run(printProgressCaption(report_.Title), work);
}

void ReportProgress::page(int number, std::optional<int> total) {
    if (report_.Events.OnProgress) {
        report_.Events.OnProgress(number);
        return;
    }
    label_ = progressLabel(labelText_, number, total);
    if (window_) window_->SetLabel(label_);
}

bool ReportProgress::Cancelled() const {
    if (window_ && !cancelled_) cancelled_ = window_->Cancelled();
    return cancelled_;
}

} // namespace pv
