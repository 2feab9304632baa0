#include "report/model/PropertyValue.h"

#include "platform/SystemFormat.h"
#include "platform/TextCase.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pv {
namespace {

double textToReal(std::string s) {
    s = trim(s);
    for (char& c : s)
        if (c == ',') c = '.';
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() ? v : 0;
}

int32_t clampToInt(double v) {
    if (!std::isfinite(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(std::lround(v));
}

} // namespace

double propertyReal(const Variant& v) {
    switch (v.kind()) {
    case Variant::Kind::Integer:
        return v.integer();
    case Variant::Kind::Double:
        return v.real();
    case Variant::Kind::Boolean:
        return v.boolean() ? 1 : 0;
    case Variant::Kind::DateTime:
        return v.days();
    case Variant::Kind::Text:
        return textToReal(v.text());
    default:
        return 0;
    }
}

int32_t propertyInt(const Variant& v) {
    if (v.kind() == Variant::Kind::Integer) return v.integer();
    return clampToInt(propertyReal(v));
}

bool propertyBool(const Variant& v) {
    if (v.kind() == Variant::Kind::Boolean) return v.boolean();
    if (v.isText()) {
        std::string t = upper1251(trim(v.text()));
        if (t == "TRUE") return true;
        if (t == "FALSE") return false;
    }
    return propertyReal(v) != 0;
}

std::string propertyText(const Variant& v) {
    switch (v.kind()) {
    case Variant::Kind::Text:
        return v.text();
    case Variant::Kind::Integer:
        return std::to_string(v.integer());
    case Variant::Kind::Boolean:
        return v.boolean() ? "True" : "False";
    case Variant::Kind::Double:
    case Variant::Kind::DateTime: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", propertyReal(v));
        std::string s = buf;
        for (char& c : s)
            if (c == '.') c = systemFormat().decimalSeparator;
        return s;
    }
    default:
        return {};
    }
}

std::string joinLines(const Lines& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

Lines splitLines(std::string_view text) {
    Lines lines;
    if (text.empty()) return lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        if (start == text.size()) return lines;
    }
}

} // namespace pv
