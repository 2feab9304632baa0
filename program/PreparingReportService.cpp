#include "program/PreparingReportService.h"

#include "report/prepared/PreparedPages.h"
#include "report/prepare/ReportPreparation.h"

namespace pv {

PreparingReportService::PreparingReportService(const DataSourceRegistry& sources, Ui& ui,
                                               ReportPresenter& presenter)
    : sources_(sources), presenter_(presenter) {
    for (ReportId id : {ReportId::frReport1, ReportId::frReport2, ReportId::frReport3,
                        ReportId::frCompositeReport1}) {
        TfrReport& r = reports_.try_emplace(id).first->second;
        r.setUi(&ui);
    }
    for (ReportId id : {ReportId::frReport1, ReportId::frCompositeReport1}) {
        TfrReport& r = reports_.at(id);
        r.InitialZoom = TfrPreviewZoom::pzPageWidth;
        r.PreviewButtons = pbZoom | pbSave | pbPrint | pbExit;
    }
    reports_.at(ReportId::frReport1).ModifyPrepared = false;
}

bool PreparingReportService::hasTemplate(ReportId id) const {
    auto it = loaded_.find(id);
    return it != loaded_.end() && it->second;
}

void PreparingReportService::LoadFromFile(ReportId id, const std::string& path) {
    if (reports_.at(id).LoadFromFile(path)) loaded_[id] = true;
}

void PreparingReportService::PrepareAndPreview(ReportId id) {
    // The composite report has no preparation of its own yet: its members are
    // shown as they stand, without pages.
    if (id == ReportId::frCompositeReport1 || !hasTemplate(id)) {
        presenter_.present(id, nullptr);
        return;
    }
    TfrReport& r = reports_.at(id);
    ReportPreparation preparation(r, sources_);
    preparation.setComponentName(reportName(id));
    preparation.Prepare();
    presenter_.present(id, r.EMFPages().Count() > 0 ? &r : nullptr);
}

} // namespace pv
