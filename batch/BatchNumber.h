#pragma once

#include <cstdint>
#include <string_view>

namespace pv {

// A batch value the parser must have as a number; a malformed one (empty
// included) aborts the run with a ConversionError naming the text.

// A signed 32-bit whole number.
int32_t BatchInteger(std::string_view text);
// A number written with the system decimal separator (batch numbers pass
// through PointToDecimalSeparator first).
double BatchFloat(std::string_view text);

} // namespace pv
