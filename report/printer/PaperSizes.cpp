#include "report/printer/PaperSizes.h"

#include "platform/CodePage.h"

#include <cmath>

namespace pv {
namespace {

struct Row {
    int code;
    int width;
    int height;
    const char* utf8Name;
};

const Row kRows[] = {
#include "report/PaperSizeTable.inc"
};

std::vector<PaperSize> buildTable() {
    std::vector<PaperSize> table;
    for (const Row& r : kRows)
        table.push_back({r.code, r.width, r.height, ru(r.utf8Name)});
    table.push_back({kCustomPaper, 0, 0, ru("Другой")});
    return table;
}

} // namespace

const std::vector<PaperSize>& paperSizes() {
    static const std::vector<PaperSize> table = buildTable();
    return table;
}

const PaperSize* findPaperSize(int code) {
    for (const PaperSize& p : paperSizes())
        if (p.code == code) return &p;
    return nullptr;
}

int32_t tenthsMmToReportPixels(int32_t tenths) {
    return static_cast<int32_t>(std::lround(double(tenths) * (93 / 1.015) / 254));
}

} // namespace pv
