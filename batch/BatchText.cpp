#include "batch/BatchText.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"

#include <cmath>
#include <cstdio>

namespace pv {
namespace {

bool hasQuotedAddress(std::string_view line) {
    if (line.size() < 5) return false;
    std::string_view code = line.substr(1, 4);
    static const std::string in41 = ru("ИН41"), in42 = ru("ИН42");
    return code == in41 || code == in42;
}

// Drops the opening quote and returns what follows the first `",`.
std::string_view skipQuoted(std::string_view rest) {
    if (!rest.empty()) rest.remove_prefix(1);
    size_t end = rest.find("\",");
    return end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
}

std::string_view skipPlain(std::string_view rest) {
    size_t comma = rest.find(',');
    return comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
}

std::string_view cutQuoted(std::string_view rest) {
    if (!rest.empty()) rest.remove_prefix(1);
    size_t end = rest.find("\",");
    return end == std::string_view::npos ? rest : rest.substr(0, end);
}

std::string_view cutPlain(std::string_view rest) {
    size_t comma = rest.find(',');
    return comma == std::string_view::npos ? rest : rest.substr(0, comma);
}

std::string_view substrSafe(std::string_view s, size_t from, size_t count) {
    if (from >= s.size()) return {};
    return s.substr(from, count);
}

} // namespace

std::string ExtractField(std::string_view line, int n) {
    if (n < 1) n = 1;
    const int quoted = n >= 8 && hasQuotedAddress(line) ? 8 : 0;
    std::string_view rest = line;
    for (int i = 1; i < n && !rest.empty(); ++i)
        rest = i == quoted ? skipQuoted(rest) : skipPlain(rest);
    std::string_view field = n == quoted ? cutQuoted(rest) : cutPlain(rest);
    if (!field.empty() && field.front() == '"') field.remove_prefix(1);
    if (!field.empty() && field.back() == '"') field.remove_suffix(1);
    return std::string(field);
}

void ExtractFields(std::string_view line, int n, std::vector<std::string_view>& out) {
    out.clear();
    const int quoted = n >= 8 && hasQuotedAddress(line) ? 8 : 0;
    std::string_view rest = line;
    for (int i = 1; i <= n; ++i) {
        std::string_view field = i == quoted ? cutQuoted(rest) : cutPlain(rest);
        if (!field.empty() && field.front() == '"') field.remove_prefix(1);
        if (!field.empty() && field.back() == '"') field.remove_suffix(1);
        out.push_back(field);
        if (!rest.empty()) rest = i == quoted ? skipQuoted(rest) : skipPlain(rest);
    }
}

std::string PointToDecimalSeparator(std::string_view text) {
    std::string out(text);
    size_t point = out.find('.');
    if (point != std::string::npos) out[point] = systemFormat().decimalSeparator;
    return out;
}

std::string StripLeadingZeros(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    text.remove_prefix(i);
    if (text.empty() || text.front() != '0') return std::string(text);
    size_t zeros = text.find_first_not_of('0');
    if (zeros == std::string_view::npos) return "0";
    return std::string(text.substr(zeros));
}

std::string FormatFixed(double number, int width, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 30) decimals = 30;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, number);
    std::string out = buf;
    // A negative number that rounds to zero prints without a sign.
    if (out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
    if (width > 0 && out.size() < size_t(width)) out.insert(0, size_t(width) - out.size(), ' ');
    return out;
}

std::string NormalizeDate(std::string_view text) {
    std::string out(substrSafe(text, 0, 2));
    out += '.';
    out += substrSafe(text, 3, 2);
    out += '.';
    out += substrSafe(text, 6, 4);
    return out;
}

} // namespace pv
