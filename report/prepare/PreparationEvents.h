#pragma once

#include "report/model/View.h"

#include <string>
#include <string_view>

namespace pv {

class TfrBandView;
class TfrPage;
struct TfrReportEvents;

// The handlers a preparation calls: those of the report being formed and,
// for a member of a composite report, the composite's as well (each one
// once when the two are the same report).
class PreparationEvents {
public:
    PreparationEvents(const TfrReportEvents& member, const TfrReportEvents& composite)
        : member_(member), composite_(composite) {}

    void beginPage(int page) const;
    void endPage(int page) const;
    void beginBand(TfrBandView* band) const;
    void endBand(TfrBandView* band) const;
    // True when a handler changed the lines.
    bool beforePrint(Lines& lines, TfrView& view) const;
    void beginColumn(TfrBandView* band) const;
    void printColumn(int column, int& width) const;

    // The member report's own handlers.
    const TfrReportEvents& member() const { return member_; }

private:
    template <class Call> void both(Call call) const;

    const TfrReportEvents& member_;
    const TfrReportEvents& composite_;
};

} // namespace pv
