#include "report/prepared/PrintPlan.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace pv {

namespace {

bool wanted(int page, PageParity parity) {
    switch (parity) {
    case PageParity::Odd:
        return page % 2 != 0;
    case PageParity::Even:
        return page % 2 == 0;
    case PageParity::All:
        break;
    }
    return true;
}

// Pages in the order they are printed, before the odd/even choice.
std::vector<int> printOrder(const PrintRequest& request, int copies) {
    std::vector<int> order;
    if (request.collate) {
        for (int c = 0; c < copies; ++c)
            order.insert(order.end(), request.pages.begin(), request.pages.end());
        return order;
    }
    const int repeat = request.printerMakesCopies ? 1 : copies;
    for (int page : request.pages)
        order.insert(order.end(), repeat, page);
    return order;
}

class PlanBuilder {
public:
    explicit PlanBuilder(PrintPlan& plan) : plan_(plan) {}

    void print(int page, const PaperSettings& paper) {
        if (!job_ || !samePaper(*job_, paper)) {
            if (job_) plan_.actions.push_back(PrintAction::end());
            plan_.actions.push_back(PrintAction::begin(paper));
            job_ = paper;
        } else {
            plan_.actions.push_back(PrintAction::sheet());
        }
        plan_.actions.push_back(PrintAction::print(page));
    }

    void finish() {
        if (job_) plan_.actions.push_back(PrintAction::end());
    }

private:
    PrintPlan& plan_;
    std::optional<PaperSettings> job_;
};

// Report pixels to printer pixels by the ratio of the paper's two sizes.
int32_t toPrinterPixels(int32_t reportPixels, int32_t paperPx, int32_t paper) {
    if (paper == 0) return 0;
    return static_cast<int32_t>(std::lround(double(reportPixels) * paperPx / paper));
}

} // namespace

PrintPlan makePrintPlan(const PrintRequest& request,
                        const std::function<PaperSettings(int page)>& paperOf) {
    const int copies = std::max(request.copies, 1);
    PrintPlan plan;
    plan.deviceCopies = !request.collate && request.printerMakesCopies ? copies : 1;
    PlanBuilder builder(plan);
    for (int page : printOrder(request, copies))
        if (wanted(page, request.parity)) builder.print(page, paperOf(page));
    builder.finish();
    return plan;
}

Rect printerPageRect(const TfrPageInfo& info, bool useMargins, const PageMargins& margins) {
    if (useMargins)
        return {-info.offsetXPx, -info.offsetYPx, info.paperWidthPx - info.offsetXPx,
                info.paperHeightPx - info.offsetYPx};
    auto x = [&](int32_t v) { return toPrinterPixels(v, info.paperWidthPx, info.paperWidth); };
    auto y = [&](int32_t v) { return toPrinterPixels(v, info.paperHeightPx, info.paperHeight); };
    return {x(margins.left), y(margins.top), info.printableWidthPx - x(margins.right),
            info.printableHeightPx - y(margins.bottom)};
}

} // namespace pv
