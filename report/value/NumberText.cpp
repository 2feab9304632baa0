#include "report/value/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pv {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<double> parseFloat(std::string_view text, char separator) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // Rewritten in the one form from_chars reads, after checking the grammar
    // ourselves: from_chars alone would also take "inf", "nan" and hex.
    std::string plain;
    plain.reserve(text.size());
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    int digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        plain += text[i];
    if (i < text.size() && text[i] == separator) {
        plain += '.';
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits)
            plain += text[i];
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int expDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++expDigits)
            plain += text[i];
        if (expDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::string formatGeneral(double value, char separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string text = buf;
    std::string sign;
    if (text[0] == '-') {
        sign = "-";
        text.erase(0, 1);
    }
    const size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1)) + 1; // digits before the point
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = sign;
    if (exponent > 15 || exponent < -3) {
        out += digits[0];
        if (digits.size() > 1) out += separator + digits.substr(1);
        out += 'E' + std::to_string(exponent - 1);
    } else if (exponent <= 0) {
        out += '0';
        out += separator;
        out += std::string(-exponent, '0') + digits;
    } else if (static_cast<int>(digits.size()) <= exponent) {
        out += digits + std::string(exponent - digits.size(), '0');
    } else {
        out += digits.substr(0, exponent) + separator + digits.substr(exponent);
    }
    return out;
}

std::optional<int32_t> roundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value); // the default rounding mode: halves to even
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(r);
}

} // namespace pv
