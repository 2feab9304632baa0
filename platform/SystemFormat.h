#pragma once

#include <string>

namespace pv {

// The "system" number and date conventions that conversions between texts and
// numbers or dates follow: taken from the user's locale at start, overridable
// (the command-line tool's --decimal and --short-date, and tests).
struct SystemFormat {
    char decimalSeparator = ',';
    char dateSeparator = '.';
    // Date pattern in the engine's notation: d, dd, m, mm, mmm, mmmm, yy, yyyy.
    std::string shortDateFormat = "dd.mm.yyyy";
    std::string longDateFormat = "d mmmm yyyy";
    char timeSeparator = ':';
    std::string shortTimeFormat = "hh:nn";
    std::string longTimeFormat = "hh:nn:ss";

    // The conventions of the user's locale (LC_NUMERIC and LC_TIME).
    static SystemFormat fromLocale();
};

// The process-wide conventions in force.
const SystemFormat& systemFormat();
void setSystemFormat(const SystemFormat& format);

// Restores the previous conventions when it goes out of scope (for tests).
class ScopedSystemFormat {
public:
    explicit ScopedSystemFormat(const SystemFormat& format);
    ~ScopedSystemFormat();
    ScopedSystemFormat(const ScopedSystemFormat&) = delete;
    ScopedSystemFormat& operator=(const ScopedSystemFormat&) = delete;

private:
    SystemFormat saved_;
};

} // namespace pv
