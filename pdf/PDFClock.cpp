#include "pdf/PDFClock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace pv {

PdfDateTime systemLocalTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    PdfDateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.millisecond =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    t.dayOfWeek = local.tm_wday;
    return t;
}

std::string formatIdTime(const PdfDateTime& t) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %02d-%02d-%04d %02d:%02d:%02d.%03d",
                  days[(t.dayOfWeek % 7 + 7) % 7], t.day, t.month, t.year, t.hour, t.minute,
                  t.second, t.millisecond);
    return buf;
}

std::string formatInfoDate(const PdfDateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

} // namespace pv
