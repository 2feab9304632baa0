#include "report/value/FormatDisplay.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "report/value/DateTimeFormat.h"
#include "report/value/ExpressionError.h"
#include "report/value/FloatFormat.h"

namespace pv {
namespace {

std::string formatNumber(double n, int sub, int decimals, char sep, const std::string& custom) {
    switch (sub) {
    case 0:
        return FormatFloat("##0." + std::string(decimals, '#'), n, sep);
    case 1:
        return formatFixed(n, decimals, sep, false);
    case 2:
        return FormatFloat("#,##0." + std::string(decimals, '#'), n, sep);
    case 3:
        return formatFixed(n, decimals, sep, true);
    case 4:
        return FormatFloat(custom, n, sep);
    }
    throw ExpressionError("Unknown number format");
}

std::string formatDate(double days, int sub, const std::string& custom) {
    static const char* const patterns[] = {"dd.mm.yy", "dd.mm.yyyy", "d mmm yyyy"};
    if (sub >= 0 && sub <= 2) return FormatDateTime(patterns[sub], days);
    if (sub == 3) return FormatDateTime(systemFormat().longDateFormat, days);
    if (sub == 4) return FormatDateTime(custom, days);
    throw ExpressionError("Unknown date format");
}

std::string formatTime(double days, int sub, const std::string& custom) {
    static const char* const patterns[] = {"hh:nn:ss", "h:nn:ss", "hh:nn", "h:nn"};
    if (sub >= 0 && sub <= 3) return FormatDateTime(patterns[sub], days);
    if (sub == 4) return FormatDateTime(custom, days);
    throw ExpressionError("Unknown time format");
}

bool truthOf(const Variant& value) {
    if (value.kind() == Variant::Kind::Boolean) return value.boolean();
    if (auto n = value.asNumber()) return *n != 0;
    if (equalsNoCase(trim(value.text()), "True")) return true;
    if (equalsNoCase(trim(value.text()), "False")) return false;
    throw ExpressionError("Not a boolean value");
}

std::string formatBoolean(const Variant& value, int sub, const std::string& custom) {
    static const char* const patterns[] = {"0;1", "Нет;Да", "_;x", "False;True"};
    std::string pattern;
    if (sub >= 0 && sub <= 3)
        pattern = ru(patterns[sub]);
    else if (sub == 4)
        pattern = custom;
    else
        throw ExpressionError("Unknown boolean format");
    size_t semi = pattern.find(';');
    std::string no = pattern.substr(0, semi);
    std::string yes = semi == std::string::npos ? std::string() : pattern.substr(semi + 1);
    return truthOf(value) ? yes : no;
}

} // namespace

std::string FormatDisplay(const Variant& value, int32_t format, const std::string& formatStr) {
    if (value.isVoid() ||
        (value.isText() && value.text().find_first_not_of(' ') == std::string::npos))
        return {};
    int category = (format >> 24) & 0x0F;
    int sub = (format >> 16) & 0xFF;
    int decimals = (format >> 8) & 0xFF;
    char sep = static_cast<char>(format & 0xFF);
    if (sep == 0) sep = systemFormat().decimalSeparator;
    try {
        switch (static_cast<FormatCategory>(category)) {
        case FormatCategory::Text:
            return value.toText();
        case FormatCategory::Number: {
            auto n = value.asNumber();
            if (!n) return value.toText();
            return formatNumber(*n, sub, decimals, sep, formatStr);
        }
        case FormatCategory::Date:
            return formatDate(value.toDateTime(), sub, formatStr);
        case FormatCategory::Time:
            return formatTime(value.toDateTime(), sub, formatStr);
        case FormatCategory::Boolean:
            return formatBoolean(value, sub, formatStr);
        }
    } catch (const ExpressionError&) {
    }
    return value.toText();
}

} // namespace pv
