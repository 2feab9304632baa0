#include "report/value/Variant.h"

#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "report/value/DateTimeFormat.h"
#include "report/value/ExpressionError.h"
#include "report/value/NumberText.h"

#include <charconv>
#include <cmath>

namespace pv {

bool Variant::isNumber() const {
    switch (kind()) {
    case Kind::Integer:
    case Kind::Double:
    case Kind::Boolean:
    case Kind::DateTime:
        return true;
    default:
        return false;
    }
}

std::string Variant::toText() const {
    switch (kind()) {
    case Kind::Integer:
        return std::to_string(integer());
    case Kind::Double:
        return doubleToText(real());
    case Kind::Boolean:
        return boolean() ? "True" : "False";
    case Kind::DateTime:
        return dateTimeToText(days());
    case Kind::Text:
        return text();
    default:
        return {};
    }
}

std::optional<double> Variant::asNumber() const {
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
        return 0.0;
    case Kind::Integer:
        return integer();
    case Kind::Double:
        return real();
    case Kind::Boolean:
        return boolean() ? 1.0 : 0.0;
    case Kind::DateTime:
        return days();
    case Kind::Text:
        return textToNumber(text());
    }
    return std::nullopt;
}

double Variant::toDouble() const {
    if (auto n = asNumber()) return *n;
    throw ExpressionError("\"" + text() + "\" is not a valid number");
}

int32_t Variant::toInt() const {
    if (kind() == Kind::Integer) return integer();
    double d = std::trunc(toDouble());
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        throw ExpressionError(toText() + " is out of the integer range");
    return static_cast<int32_t>(d);
}

double Variant::toDateTime() const {
    if (isText()) {
        if (auto d = StrToDateTime(text())) return *d;
        throw ExpressionError("\"" + text() + "\" is not a valid date");
    }
    return toDouble();
}

bool Variant::toBool() const {
    if (kind() == Kind::Boolean) return boolean();
    if (isText()) {
        if (equalsNoCase(text(), "True")) return true;
        if (equalsNoCase(text(), "False")) return false;
    }
    return toDouble() != 0;
}

std::optional<double> textToNumber(const std::string& raw) {
    std::string s = trim(raw);
    const char sep = systemFormat().decimalSeparator;
    std::string plain;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    int digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        plain += s[i++], ++digits;
    if (i < s.size() && s[i] == sep) {
        plain += '.';
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            plain += s[i++], ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        int expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            plain += s[i++], ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    const char* begin = plain.data() + (plain[0] == '+' ? 1 : 0);
    double value = 0;
    auto res = std::from_chars(begin, plain.data() + plain.size(), value);
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::string doubleToText(double value) {
    return formatGeneral(value, systemFormat().decimalSeparator);
}

} // namespace pv
