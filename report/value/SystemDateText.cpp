#include "report/value/SystemDateText.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace pv {
namespace {

struct Civil {
    int64_t year;
    int month;
    int day;
};

// Day 0 is 30 December 1899; the proleptic Gregorian calendar throughout.
Civil civilFromDays(int64_t serial) {
    int64_t z = serial - 25569 + 719468; // to days since 1 March of year 0
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2), month, day};
}

std::string padded(int64_t v, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(v));
    return buf;
}

const char* const kMonths[] = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                               "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};

size_t runOf(const std::string& pattern, size_t i) {
    size_t n = 1;
    while (i + n < pattern.size() && pattern[i + n] == pattern[i])
        ++n;
    return n;
}

std::string expand(const std::string& pattern, const Civil& date, int hour, int minute,
                   int second) {
    const SystemFormat& f = systemFormat();
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        const size_t n = runOf(pattern, i);
        switch (c) {
        case 'd':
            out += n >= 2 ? padded(date.day, 2) : std::to_string(date.day);
            break;
        case 'm':
            if (n >= 4)
                out += ru(kMonths[date.month - 1]);
            else if (n == 3)
                out += ru(kMonths[date.month - 1]).substr(0, 3);
            else
                out += n == 2 ? padded(date.month, 2) : std::to_string(date.month);
            break;
        case 'y':
            out += n >= 3 ? padded(date.year, 4) : padded(date.year % 100, 2);
            break;
        case 'h':
            out += n >= 2 ? padded(hour, 2) : std::to_string(hour);
            break;
        case 'n':
            out += n >= 2 ? padded(minute, 2) : std::to_string(minute);
            break;
        case 's':
            out += n >= 2 ? padded(second, 2) : std::to_string(second);
            break;
        case '/':
            out += std::string(n, f.dateSeparator);
            break;
        case ':':
            out += std::string(n, f.timeSeparator);
            break;
        default:
            out += std::string(n, c);
        }
        i += n;
    }
    return out;
}

} // namespace

std::string systemDateTimeText(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 1e9) return {};
    const double whole = std::floor(days);
    int64_t ms = std::llround((days - whole) * 86400000.0);
    int64_t serial = static_cast<int64_t>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++serial;
    }
    const Civil date = civilFromDays(serial);
    const int64_t secs = ms / 1000;
    std::string out = expand(systemFormat().shortDateFormat, date, 0, 0, 0);
    if (ms != 0)
        out += ' ' + expand(systemFormat().longTimeFormat, date, int(secs / 3600),
                            int(secs / 60 % 60), int(secs % 60));
    return out;
}

} // namespace pv
