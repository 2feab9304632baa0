#include "batch/Adv23Applications.h"

#include "batch/FormTables.h"
#include "batch/RecordLayout.h"
#include "platform/CodePage.h"

namespace pv {
namespace {

constexpr bool Q = true, B = false;

// The personal data now, as both applications write them.
const std::vector<LayoutField> kNowBlock = {
    {"NowFamAnk", Q},     {"NowNamAnk", Q},    {"NowPrtAnk", Q},   {"NowSexAnk", Q},
    {"NowTipDatBAnk", Q}, {"NowSDatBAnk", Q},  {"NowOcDayAnk", B}, {"NowOcMecAnk", B},
    {"NowOcGodAnk", B},   {"NowTipRojAnk", Q}, {"NowTwnAnk", Q},   {"NowDisAnk", Q},
    {"NowRegAnk", Q},     {"NowCtrAnk", Q},
};

// Citizenship, the two short codes, the identity document, addresses, telephones.
const std::vector<LayoutField> kDocumentBlock = {
    {"CitAnk", Q},    {"NoPrtAnk", Q},  {"NoBrjAnk", Q},  {"PspKodAnk", Q}, {"PspNameAnk", Q},
    {"PspSfiAnk", Q}, {"PspSneAnk", Q}, {"PspNbrAnk", B}, {"PspDatAnk", Q}, {"PspRegAnk", Q},
    {"AdrRegAnk", Q}, {"AdrFakAnk", Q}, {"PhnAnk", Q},
};

std::vector<LayoutField> joined(std::initializer_list<std::vector<LayoutField>> parts) {
    std::vector<LayoutField> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

const RecordLayout& Adv23Applications::exchangeLayout() {
    static const RecordLayout layout(joined({
        {{"TipAnk", Q},
         {"NomAnk", B},
         {"DatAnk", Q},
         {"SNabAnk", Q},
         {"FamAnk", Q},
         {"NamAnk", Q},
         {"PrtAnk", Q}},
        kNowBlock,
        kDocumentBlock,
    }));
    return layout;
}

const RecordLayout& Adv23Applications::duplicateLayout() {
    static const RecordLayout layout(joined({
        {{"TipAnk", Q},
         {"NomAnk", B},
         {"DatAnk", Q},
         {"FamAnk", Q},
         {"NamAnk", Q},
         {"PrtAnk", Q},
         {"SexAnk", Q},
         {"TipDatBAnk", Q},
         {"SDatBAnk", Q},
         {"OcDayAnk", B},
         {"OcMecAnk", B},
         {"OcGodAnk", B},
         {"TipRojAnk", Q},
         {"TwnAnk", Q},
         {"DisAnk", Q},
         {"RegAnk", Q},
         {"CtrAnk", Q}},
        kNowBlock,
        kDocumentBlock,
        {{"SNabAnk", Q}, {"SzvAnk", Q}},
    }));
    return layout;
}

void Adv23Applications::ADV2() {
    readRecordLines(driver_, ru("ОБМН"), exchangeLayout(), tables_.AnkTable);
}

void Adv23Applications::ADV3() {
    readRecordLines(driver_, ru("ДУБЛ"), duplicateLayout(), tables_.AnkTable);
}

} // namespace pv
