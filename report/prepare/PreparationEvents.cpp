#include "report/prepare/PreparationEvents.h"

#include "report/template/ReportEvents.h"

namespace pv {

template <class Call> void PreparationEvents::both(Call call) const {
    call(member_);
    if (&composite_ != &member_) call(composite_);
}

void PreparationEvents::beginPage(int page) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnBeginPage) e.OnBeginPage(page);
    });
}

void PreparationEvents::endPage(int page) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnEndPage) e.OnEndPage(page);
    });
}

void PreparationEvents::beginBand(TfrBandView* band) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnBeginBand) e.OnBeginBand(band);
    });
}

void PreparationEvents::endBand(TfrBandView* band) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnEndBand) e.OnEndBand(band);
    });
}

bool PreparationEvents::beforePrint(Lines& lines, TfrView& view) const {
    if (!member_.OnBeforePrint && !composite_.OnBeforePrint) return false;
    const Lines before = lines;
    both([&](const TfrReportEvents& e) {
        if (e.OnBeforePrint) e.OnBeforePrint(lines, view);
    });
    return lines != before;
}

void PreparationEvents::beginColumn(TfrBandView* band) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnBeginColumn) e.OnBeginColumn(band);
    });
}

void PreparationEvents::printColumn(int column, int& width) const {
    both([&](const TfrReportEvents& e) {
        if (e.OnPrintColumn) e.OnPrintColumn(column, width);
    });
}

} // namespace pv
