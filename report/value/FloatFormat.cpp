#include "report/value/FloatFormat.h"

#include "report/value/ExpressionError.h"
#include "report/value/Variant.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace pv {
namespace {

constexpr char kGroupSeparator = ' ';

std::string group(const std::string& digits) {
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += kGroupSeparator;
        out += digits[i];
    }
    return out;
}

// The whole and fractional digits of |value| rounded to `decimals` places. The
// value is first taken to 15 significant digits and then rounded half away from
// zero, so 2.345 gives 2.35 as written, not the 2.34 of its binary neighbour.
void splitDigits(double value, int decimals, std::string& whole, std::string& frac) {
    if (!std::isfinite(value)) throw ExpressionError("Number cannot be formatted");
    if (std::fabs(value) >= 1e18) throw ExpressionError("Number too large to format");
    double v = std::fabs(value);
    std::string digits = "0";
    int point = 1; // digits before the decimal point
    if (v != 0) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
        std::string s(buf, res.ptr);
        size_t e = s.find('e');
        digits = s.substr(0, 1) + s.substr(2, e - 2);
        point = std::stoi(s.substr(e + 1)) + 1;
        if (point <= 0) {
            digits.insert(0, static_cast<size_t>(-point), '0');
            point = 0;
        }
    }
    size_t keep = static_cast<size_t>(point + decimals);
    if (digits.size() < keep + 1) digits.append(keep + 1 - digits.size(), '0');
    bool up = digits[keep] >= '5';
    digits.resize(keep);
    for (size_t i = digits.size(); up && i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            up = false;
        }
    }
    if (up) {
        digits.insert(0, "1");
        ++point;
    }
    whole = point > 0 ? digits.substr(0, point) : "0";
    frac = digits.substr(point);
}

bool allZero(const std::string& a, const std::string& b) {
    for (char c : a + b)
        if (c != '0') return false;
    return true;
}

std::vector<std::string> sections(const std::string& pattern) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

// One pattern section, taken apart.
struct Section {
    std::string prefix, suffix;
    int minWhole = 0; // "0"s of the whole part, counted from the first one
    int minFrac = 0, maxFrac = 0;
    bool grouped = false;
    bool hasPoint = false;
    bool scientific = false;
    char expSign = '+';
    int expDigits = 0;
};

Section parse(const std::string& p) {
    Section s;
    enum { Prefix, Whole, Frac, Suffix } state = Prefix;
    bool seenZero = false;
    for (size_t i = 0; i < p.size(); ++i) {
        char c = p[i];
        if (c == '"' || c == '\'') {
            size_t end = p.find(c, i + 1);
            if (end == std::string::npos) end = p.size();
            std::string lit = p.substr(i + 1, end - i - 1);
            (state == Prefix ? s.prefix : s.suffix) += lit;
            if (state != Prefix) state = Suffix;
            i = end;
            continue;
        }
        bool digit = c == '0' || c == '#';
        if (state == Prefix && (digit || c == '.' || c == ',')) state = Whole;
        if (state == Whole) {
            if (c == '0' || seenZero) {
                if (c == '0' || c == '#') ++s.minWhole;
                if (c == '0') seenZero = true;
            }
            if (c == ',') {
                s.grouped = true;
                continue;
            }
            if (c == '.') {
                s.hasPoint = true;
                state = Frac;
                continue;
            }
            if (digit) continue;
        }
        if (state == Whole || state == Frac) {
            if ((c == 'E' || c == 'e') && i + 1 < p.size() &&
                (p[i + 1] == '+' || p[i + 1] == '-')) {
                s.scientific = true;
                s.expSign = p[i + 1];
                i += 2;
                while (i < p.size() && p[i] == '0')
                    ++s.expDigits, ++i;
                --i;
                state = Suffix;
                continue;
            }
            if (state == Frac && digit) {
                ++s.maxFrac;
                if (c == '0') s.minFrac = s.maxFrac;
                continue;
            }
            if (state == Frac && c == ',') continue;
            state = Suffix;
        }
        if (state == Prefix)
            s.prefix += c;
        else
            s.suffix += c;
    }
    return s;
}

std::string render(const Section& s, double value, char sep, bool withSign) {
    int exponent = 0;
    if (s.scientific && value != 0) {
        exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        exponent -= std::max(s.minWhole, 1) - 1;
        value /= std::pow(10.0, exponent);
    }
    std::string whole, frac;
    splitDigits(value, s.maxFrac, whole, frac);
    if (s.scientific && whole.size() > static_cast<size_t>(std::max(s.minWhole, 1))) {
        value /= 10;
        ++exponent;
        splitDigits(value, s.maxFrac, whole, frac);
    }
    bool negative = value < 0 && !allZero(whole, frac);
    while (whole.size() > 1 && whole[0] == '0')
        whole.erase(0, 1);
    if (whole == "0") whole.clear();
    while (static_cast<int>(whole.size()) < s.minWhole)
        whole.insert(0, "0");
    while (static_cast<int>(frac.size()) > s.minFrac && frac.back() == '0')
        frac.pop_back();
    std::string out = s.prefix;
    if (negative && withSign) out += '-';
    out += s.grouped ? group(whole) : whole;
    if (!frac.empty()) out += sep + frac;
    if (s.scientific) {
        out += 'E';
        if (exponent < 0)
            out += '-';
        else if (s.expSign == '+')
            out += '+';
        std::string e = std::to_string(std::abs(exponent));
        while (static_cast<int>(e.size()) < s.expDigits)
            e.insert(0, "0");
        out += e;
    }
    return out + s.suffix;
}

} // namespace

std::string FormatFloat(const std::string& pattern, double value, char decimalSeparator) {
    if (!std::isfinite(value)) throw ExpressionError("Number cannot be formatted");
    auto parts = sections(pattern);
    if (pattern.empty()) {
        std::string out = doubleToText(value);
        for (char& c : out)
            if (c == ',' || c == '.') c = decimalSeparator;
        return out;
    }
    Section first = parse(parts[0]);
    if (parts.size() >= 3 && !parts[2].empty()) {
        std::string whole, frac;
        splitDigits(value, first.maxFrac, whole, frac);
        if (allZero(whole, frac)) return render(parse(parts[2]), 0, decimalSeparator, false);
    }
    if (value < 0 && parts.size() >= 2 && !parts[1].empty())
        return render(parse(parts[1]), -value, decimalSeparator, false);
    return render(first, value, decimalSeparator, true);
}

std::string formatFixed(double value, int decimals, char decimalSeparator, bool grouped) {
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    std::string whole, frac;
    splitDigits(value, decimals, whole, frac);
    std::string out;
    if (value < 0 && !allZero(whole, frac)) out += '-';
    out += grouped ? group(whole) : whole;
    if (decimals > 0) out += decimalSeparator + frac;
    return out;
}

} // namespace pv
