#include "pdf/PDFFormat.h"

#include <charconv>
#include <cmath>

namespace pv::pdf {

std::string formatReal(double value) {
    if (!std::isfinite(value)) return "0";
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 4);
    std::string text(buf, res.ptr);
    auto point = text.find('.');
    if (point != std::string::npos) {
        auto last = text.find_last_not_of('0');
        text.erase(last == point ? point : last + 1);
    }
    if (text == "-0") text = "0";
    return text;
}

std::string escapeString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '(':
        case ')':
        case '\\':
            out += '\\';
            out += c;
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string zeroPad(unsigned long long value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

long long roundHalfEven(double value) {
    double r = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5) r = 2.0 * std::round(value / 2.0);
    return static_cast<long long>(r);
}

} // namespace pv::pdf
