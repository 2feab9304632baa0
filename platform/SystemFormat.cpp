#include "platform/SystemFormat.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace pv {
namespace {

// Turns a strftime date pattern ("%d.%m.%Y") into the engine's notation.
std::string fromStrftime(const std::string& pattern, char& separator) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out.push_back(pattern[i]);
            if (pattern[i] == '.' || pattern[i] == '/' || pattern[i] == '-') separator = pattern[i];
            continue;
        }
        switch (pattern[++i]) {
        case 'd':
            out += "dd";
            break;
        case 'e':
            out += "d";
            break;
        case 'm':
            out += "mm";
            break;
        case 'y':
            out += "yy";
            break;
        case 'Y':
            out += "yyyy";
            break;
        default:
            return {};
        }
    }
    return out;
}

SystemFormat& current() {
    static SystemFormat format = SystemFormat::fromLocale();
    return format;
}

} // namespace

SystemFormat SystemFormat::fromLocale() {
    SystemFormat format;
    locale_t loc = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", nullptr);
    if (!loc) return format;
    const char* point = nl_langinfo_l(RADIXCHAR, loc);
    if (point && point[0] && !point[1]) format.decimalSeparator = point[0];
    char separator = format.dateSeparator;
    std::string date = fromStrftime(nl_langinfo_l(D_FMT, loc), separator);
    if (!date.empty()) {
        format.shortDateFormat = date;
        format.dateSeparator = separator;
    }
    freelocale(loc);
    return format;
}

const SystemFormat& systemFormat() { return current(); }

void setSystemFormat(const SystemFormat& format) { current() = format; }

ScopedSystemFormat::ScopedSystemFormat(const SystemFormat& format) : saved_(current()) {
    current() = format;
}

ScopedSystemFormat::~ScopedSystemFormat() { current() = saved_; }

} // namespace pv
