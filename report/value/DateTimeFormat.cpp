#include "report/value/DateTimeFormat.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "report/value/ExpressionError.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace pv {
namespace {

// daysFromCivil counts from 1 March of year 0 (proleptic Gregorian calendar);
// this is 30 December 1899 on that count.
constexpr long kEpoch = 693899;
constexpr double kMinDays = -693593; // 1 January 0001
constexpr double kMaxDays = 2958466; // 1 January 10000

long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe);
}

CivilDate civilFromDays(long z) {
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

const std::vector<std::string>& monthNames(int which) {
    // 0 short, 1 nominative, 2 genitive
    static const std::vector<std::string> names[3] = {
        {ru("янв"), ru("фев"), ru("мар"), ru("апр"), ru("май"), ru("июн"), ru("июл"), ru("авг"),
         ru("сен"), ru("окт"), ru("ноя"), ru("дек")},
        {ru("Январь"), ru("Февраль"), ru("Март"), ru("Апрель"), ru("Май"), ru("Июнь"), ru("Июль"),
         ru("Август"), ru("Сентябрь"), ru("Октябрь"), ru("Ноябрь"), ru("Декабрь")},
        {ru("января"), ru("февраля"), ru("марта"), ru("апреля"), ru("мая"), ru("июня"), ru("июля"),
         ru("августа"), ru("сентября"), ru("октября"), ru("ноября"), ru("декабря")},
    };
    return names[which];
}

const std::vector<std::string>& dayNames(bool longNames) {
    static const std::vector<std::string> shortNames = {ru("Вс"), ru("Пн"), ru("Вт"), ru("Ср"),
                                                        ru("Чт"), ru("Пт"), ru("Сб")};
    static const std::vector<std::string> longList = {
        ru("воскресенье"), ru("понедельник"), ru("вторник"), ru("среда"),
        ru("четверг"),     ru("пятница"),     ru("суббота")};
    return longNames ? longList : shortNames;
}

std::string twoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

bool hasDayToken(const std::string& pattern) {
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == 'd' || c == 'D') {
            return true;
        }
    }
    return false;
}

// Counts how often the letter at `i` repeats (case-insensitive).
size_t runLength(const std::string& p, size_t i) {
    char c = lower1251(p[i]);
    size_t n = 1;
    while (i + n < p.size() && lower1251(p[i + n]) == c)
        ++n;
    return n;
}

bool startsWithNoCase(const std::string& p, size_t i, const char* word) {
    size_t n = std::char_traits<char>::length(word);
    return p.size() - i >= n && equalsNoCase(std::string_view(p).substr(i, n), word);
}

class Formatter {
public:
    Formatter(double days) : date_(decodeDate(days)), time_(decodeTime(days)), days_(days) {}

    std::string run(const std::string& p, int depth = 0) {
        std::string out;
        bool genitive = hasDayToken(p);
        bool afterHour = false;
        bool ampm = hasAmPm(p);
        for (size_t i = 0; i < p.size();) {
            char c = p[i];
            char lc = lower1251(c);
            if (c == '"' || c == '\'') {
                size_t end = p.find(c, i + 1);
                if (end == std::string::npos) end = p.size();
                out += p.substr(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (lc == 'a' && (startsWithNoCase(p, i, "am/pm") || startsWithNoCase(p, i, "a/p") ||
                              startsWithNoCase(p, i, "ampm"))) {
                size_t n = startsWithNoCase(p, i, "am/pm") ? 5
                           : startsWithNoCase(p, i, "a/p") ? 3
                                                           : 4;
                bool pm = time_.hour >= 12;
                if (n == 3)
                    out += pm ? "p" : "a";
                else
                    out += pm ? "pm" : "am";
                i += n;
                continue;
            }
            size_t n = std::isalpha(static_cast<unsigned char>(c)) ? runLength(p, i) : 1;
            switch (lc) {
            case 'd':
                out += day(n, depth);
                afterHour = false;
                break;
            case 'm':
                if (afterHour)
                    out += n >= 2 ? twoDigits(time_.minute) : std::to_string(time_.minute);
                else
                    out += month(n, genitive);
                afterHour = false;
                break;
            case 'y':
                out += n <= 2 ? twoDigits(date_.year % 100) : year4();
                afterHour = false;
                break;
            case 'h': {
                int h = time_.hour;
                if (ampm) h = h % 12 == 0 ? 12 : h % 12;
                out += n >= 2 ? twoDigits(h) : std::to_string(h);
                afterHour = true;
                break;
            }
            case 'n':
                out += n >= 2 ? twoDigits(time_.minute) : std::to_string(time_.minute);
                afterHour = false;
                break;
            case 's':
                out += n >= 2 ? twoDigits(time_.second) : std::to_string(time_.second);
                afterHour = false;
                break;
            case 'z': {
                char buf[16];
                std::snprintf(buf, sizeof buf, n >= 3 ? "%03d" : "%d", time_.msec);
                out += buf;
                break;
            }
            case 't':
                if (depth < 1)
                    out +=
                        run(n >= 2 ? systemFormat().longTimeFormat : systemFormat().shortTimeFormat,
                            depth + 1);
                break;
            case 'c':
                if (depth < 1) out += dateTimeToText(days_);
                break;
            case '/':
                out += systemFormat().dateSeparator;
                break;
            case ':':
                out += systemFormat().timeSeparator; // keeps "hh:mm" meaning minutes
                break;
            default:
                out.append(p, i, n);
                break;
            }
            i += n;
        }
        return out;
    }

private:
    static bool hasAmPm(const std::string& p) {
        for (size_t i = 0; i < p.size(); ++i)
            if (startsWithNoCase(p, i, "am/pm") || startsWithNoCase(p, i, "a/p") ||
                startsWithNoCase(p, i, "ampm"))
                return true;
        return false;
    }

    std::string year4() const {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", date_.year);
        return buf;
    }

    std::string day(size_t n, int depth) {
        switch (n) {
        case 1:
            return std::to_string(date_.day);
        case 2:
            return twoDigits(date_.day);
        case 3:
        case 4:
            return dayNames(n == 4)[weekday()];
        case 5:
            return depth < 1 ? run(systemFormat().shortDateFormat, depth + 1) : "";
        default:
            return depth < 1 ? run(systemFormat().longDateFormat, depth + 1) : "";
        }
    }

    std::string month(size_t n, bool genitive) const {
        switch (n) {
        case 1:
            return std::to_string(date_.month);
        case 2:
            return twoDigits(date_.month);
        case 3:
            return monthNames(0)[date_.month - 1];
        default:
            return monthNames(genitive ? 2 : 1)[date_.month - 1];
        }
    }

    int weekday() const {
        long d = static_cast<long>(std::floor(days_)) + 6; // 30.12.1899 was a Saturday
        return static_cast<int>(((d % 7) + 7) % 7);
    }

    CivilDate date_;
    CivilTime time_;
    double days_;
};

// Day, month and year positions of the short date pattern.
void dateOrder(int& dayAt, int& monthAt, int& yearAt) {
    dayAt = 0, monthAt = 1, yearAt = 2;
    int pos = 0;
    char last = 0;
    for (char c : systemFormat().shortDateFormat) {
        char lc = lower1251(c);
        if (lc != 'd' && lc != 'm' && lc != 'y') continue;
        if (lc == last) continue;
        last = lc;
        if (lc == 'd') dayAt = pos;
        if (lc == 'm') monthAt = pos;
        if (lc == 'y') yearAt = pos;
        ++pos;
    }
}

std::vector<std::string> splitNumbers(const std::string& text, char sep) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == sep)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::optional<int> toInt(const std::string& s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

CivilDate decodeDate(double days) {
    if (!(days >= kMinDays && days < kMaxDays)) throw ExpressionError("Date value out of range");
    return civilFromDays(static_cast<long>(std::trunc(days)) + kEpoch);
}

CivilTime decodeTime(double days) {
    if (!std::isfinite(days)) throw ExpressionError("Time value out of range");
    double frac = std::fabs(days - std::trunc(days));
    long ms = std::lround(frac * 86400000.0);
    if (ms >= 86400000) ms = 86399999;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
            static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

std::optional<double> encodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return std::nullopt;
    return static_cast<double>(daysFromCivil(year, month, day) - kEpoch);
}

std::optional<double> encodeTime(int hour, int minute, int second, int msec) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return std::nullopt;
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / 86400000.0;
}

std::string FormatDateTime(const std::string& pattern, double days) {
    Formatter f(days);
    if (pattern.empty()) return f.run("c");
    return f.run(pattern);
}

std::string dateTimeToText(double days) {
    Formatter f(days);
    CivilTime t = decodeTime(days);
    bool hasTime = t.hour || t.minute || t.second || t.msec;
    // A time without a date is shown alone.
    if (std::trunc(days) == 0 && hasTime) return f.run(systemFormat().longTimeFormat, 1);
    std::string out = f.run(systemFormat().shortDateFormat, 1);
    if (hasTime) out += " " + f.run(systemFormat().longTimeFormat, 1);
    return out;
}

std::optional<double> StrToDate(const std::string& text) {
    auto parts = splitNumbers(trim(text), systemFormat().dateSeparator);
    if (parts.size() != 3) return std::nullopt;
    int dayAt, monthAt, yearAt;
    dateOrder(dayAt, monthAt, yearAt);
    auto d = toInt(trim(parts[dayAt])), m = toInt(trim(parts[monthAt])),
         y = toInt(trim(parts[yearAt]));
    if (!d || !m || !y) return std::nullopt;
    int year = *y;
    if (trim(parts[yearAt]).size() <= 2) year += year < 50 ? 2000 : 1900;
    return encodeDate(year, *m, *d);
}

std::optional<double> StrToTime(const std::string& text) {
    std::string t = trim(text);
    bool pm = false, am = false;
    if (t.size() > 2) {
        std::string tail = upper1251(t.substr(t.size() - 2));
        if (tail == "PM" || tail == "AM") {
            pm = tail == "PM";
            am = !pm;
            t = trim(t.substr(0, t.size() - 2));
        }
    }
    auto parts = splitNumbers(t, systemFormat().timeSeparator);
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    auto h = toInt(trim(parts[0])), n = toInt(trim(parts[1]));
    std::optional<int> s = parts.size() == 3 ? toInt(trim(parts[2])) : std::optional<int>(0);
    if (!h || !n || !s) return std::nullopt;
    int hour = *h;
    if (am || pm) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    return encodeTime(hour, *n, *s);
}

std::optional<double> StrToDateTime(const std::string& text) {
    std::string t = trim(text);
    size_t blank = t.find(' ');
    if (blank == std::string::npos) {
        if (auto d = StrToDate(t)) return d;
        return StrToTime(t);
    }
    auto d = StrToDate(t.substr(0, blank));
    auto tm = StrToTime(t.substr(blank + 1));
    if (!d || !tm) return std::nullopt;
    return *d >= 0 ? *d + *tm : *d - *tm;
}

double currentDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    double date = encodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday).value_or(0);
    double time = encodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59)).value_or(0);
    return date + time;
}

} // namespace pv
