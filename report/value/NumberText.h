#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pv {

// Texts of numbers as the tables and the batch conversions read and write them.

// A signed 32-bit decimal integer: an optional sign and digits, nothing else.
std::optional<int32_t> parseInteger(std::string_view text);

// A decimal number written with `separator` as its decimal point (blanks
// around it allowed, an exponent allowed); no value when malformed or out of
// the range of a double.
std::optional<double> parseFloat(std::string_view text, char separator);

// The shortest general form with at most 15 significant digits: fixed-point
// while the number has 15 or fewer whole digits and at most three leading
// zeros after the point, otherwise scientific ("1E-5", "1,5E20").
std::string formatGeneral(double value, char separator);

// Nearest integer, halves to even; no value when outside the 32-bit range.
std::optional<int32_t> roundToInteger(double value);

} // namespace pv
