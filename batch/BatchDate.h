#pragma once

#include <string_view>

namespace pv {

// The date-time serial (days since 30 December 1899) of a calendar date; a
// day, month and year that form no date abort the run with a ConversionError.
double EncodeDate(int year, int month, int day);

// A batch date written dd.mm.yyyy: the day, month and year are characters 1-2,
// 4-5 and 7-10, each a whole number (a malformed one aborts the run).
double BatchDate(std::string_view text);

} // namespace pv
