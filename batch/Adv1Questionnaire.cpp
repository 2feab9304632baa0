#include "batch/Adv1Questionnaire.h"

#include "batch/FormTables.h"
#include "batch/RecordLayout.h"
#include "platform/CodePage.h"

namespace pv {

const RecordLayout& Adv1Questionnaire::layout() {
    constexpr bool Q = true, B = false;
    static const RecordLayout layout({
        {"TipAnk", Q},    {"NomAnk", B},    {"DataAnk", Q},    {"FamAnk", Q},     {"NamAnk", Q},
        {"OtjAnk", Q},    {"SexAnk", Q},    {"TipDatBAnk", Q}, {"DatBurAnk", Q},  {"OcDayAnk", B},
        {"OcMecAnk", B},  {"OcGodAnk", B},  {"TipRojAnk", Q},  {"GorAnk", Q},     {"OblAnk", Q},
        {"RegAnk", Q},    {"CtrAnk", Q},    {"GragAnk", Q},    {"FidDocAnk", Q},  {"DocAnk", Q},
        {"SerAnk", Q},    {"SerIIAnk", Q},  {"NonDocAnk", B},  {"DataDocAnk", Q}, {"FanDocAnk", Q},
        {"AdrFakAnk", Q}, {"AdrRegAnk", Q}, {"TelAnk", Q},
    });
    return layout;
}

void Adv1Questionnaire::ADV1() {
    readRecordLines(driver_, ru("АНКТ"), layout(), tables_.TableAnk);
}

} // namespace pv
