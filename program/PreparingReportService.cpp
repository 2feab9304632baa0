#include "program/PreparingReportService.h"

#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"

namespace pv {

PreparingReportService::PreparingReportService(const DataSourceRegistry& sources, Ui& ui,
                                               ReportPresenter& presenter)
    : sources_(sources), presenter_(presenter) {
    for (ReportId id : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3})
        reports_.try_emplace(id).first->second.setUi(&ui);
    frCompositeReport1.setUi(&ui);
    for (ReportId id : {ReportId::frReport1, ReportId::frCompositeReport1}) {
        TfrReport& r = report(id);
        r.InitialZoom = TfrPreviewZoom::pzPageWidth;
        r.PreviewButtons = pbZoom | pbSave | pbPrint | pbExit;
    }
    reports_.at(ReportId::frReport1).ModifyPrepared = false;
}

TfrReport& PreparingReportService::report(ReportId id) {
    if (id == ReportId::frCompositeReport1) return frCompositeReport1;
    return reports_.at(id);
}

bool PreparingReportService::hasTemplate(ReportId id) const {
    auto it = loaded_.find(id);
    return it != loaded_.end() && it->second;
}

void PreparingReportService::LoadFromFile(ReportId id, const std::string& path) {
    // A template that failed to load leaves the report holding the last
    // batch's form, which must not print for this batch.
    loaded_[id] = report(id).LoadFromFile(path);
}

void PreparingReportService::ClearCompositeReports() {
    members_.clear();
}

void PreparingReportService::AddCompositeReport(ReportId member) {
    if (member != ReportId::frCompositeReport1) members_.push_back(member); // not itself
}

void PreparingReportService::PrepareAndPreview(ReportId id) {
    if (id == ReportId::frCompositeReport1) {
        prepareComposite();
        return;
    }
    if (!hasTemplate(id)) {
        presenter_.present(id, nullptr);
        return;
    }
    TfrReport& r = report(id);
    ReportPreparation preparation(r, sources_);
    preparation.setComponentName(reportName(id));
    preparation.Prepare();
    presenter_.present(id, r.EMFPages().Count() > 0 ? &r : nullptr);
}

// Members whose template never loaded are left out, as a report without a
// template prints nothing of its own.
void PreparingReportService::prepareComposite() {
    TfrCompositeReport& composite = frCompositeReport1;
    composite.ClearReports();
    for (ReportId member : members_)
        if (hasTemplate(member)) composite.AddReport(report(member), reportName(member));
    if (composite.Reports().empty()) {
        presenter_.present(ReportId::frCompositeReport1, nullptr);
        return;
    }
    ReportPreparation preparation(composite, sources_);
    preparation.Prepare();
    presenter_.present(ReportId::frCompositeReport1,
                       composite.EMFPages().Count() > 0 ? &composite : nullptr);
}

} // namespace pv
