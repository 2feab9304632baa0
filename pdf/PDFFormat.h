#pragma once

#include <string>
#include <string_view>

namespace pv::pdf {

// Real numbers as PDF operands: fixed notation, at most four decimals, no
// trailing zeros or point, always "." whatever the locale (12.5, 3, -0.02).
std::string formatReal(double value);

// Bytes of a literal string: "(", ")" and "\" get a backslash, CR becomes "\r";
// every other byte is copied as it is.
std::string escapeString(std::string_view text);

// Decimal digits left-padded with "0" to `width`; a longer number is kept whole.
std::string zeroPad(unsigned long long value, int width);

// Round half to even, as the writer rounds device units to whole points.
long long roundHalfEven(double value);

} // namespace pv::pdf
