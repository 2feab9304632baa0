#pragma once

#include <optional>
#include <string>

namespace pv {

// Dates and times as day counts since 30 December 1899 (the fraction is the
// time of day), formatted and read in the conventions of the system format.
struct CivilDate {
    int year = 1899, month = 12, day = 30;
};
struct CivilTime {
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// Throws ExpressionError outside the years 1 to 9999.
CivilDate decodeDate(double days);
CivilTime decodeTime(double days);
// None for a day or month that does not exist.
std::optional<double> encodeDate(int year, int month, int day);
std::optional<double> encodeTime(int hour, int minute, int second, int msec = 0);

// The current local date and time as a day count (whole seconds).
double currentDateTime();

// Formats with the pattern letters d dd ddd dddd ddddd dddddd, m mm mmm mmmm,
// yy yyyy, h hh, n nn, s ss, z zzz, am/pm, c, t tt, "/" and ":" (the system
// separators) and quoted literals. An "m" right after an hour means minutes.
// "mmmm" gives the genitive month ("ноября") when the pattern has a day,
// otherwise the nominative ("Ноябрь").
std::string FormatDateTime(const std::string& pattern, double days);

// The system short date, and the long time when the time of day is not 0.
std::string dateTimeToText(double days);

// Text in the system short date order (day, month, year separated by the date
// separator; a two-digit year means 1950–2049), and times "h:n[:s]".
std::optional<double> StrToDate(const std::string& text);
std::optional<double> StrToTime(const std::string& text);
// A date, optionally followed by a blank and a time.
std::optional<double> StrToDateTime(const std::string& text);

} // namespace pv
