#pragma once

#include <string>

namespace pv {

// A date-time (days since 30 December 1899, the fraction the time of day) as
// text: the date in the system short date format, followed by a blank and the
// time in the long time format when the time of day is not zero.
std::string systemDateTimeText(double days);

} // namespace pv
