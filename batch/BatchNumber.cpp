#include "batch/BatchNumber.h"

#include "platform/ConversionError.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/value/NumberText.h"

namespace pv {

int32_t BatchInteger(std::string_view text) {
    if (auto v = parseInteger(text)) return *v;
    throw ConversionError("'" + std::string(text) + ru("' - неверное целое значение"));
}

double BatchFloat(std::string_view text) {
    if (auto v = parseFloat(text, systemFormat().decimalSeparator)) return *v;
    throw ConversionError("'" + std::string(text) + ru("' - неверное дробное значение"));
}

} // namespace pv
