#pragma once

#include <string>
#include <string_view>

namespace pv {

// Reads the next value of a line whose free texts may hold commas, walking a
// working copy `rest` from one separator to the next. The value is the text
// before the first `separator` (empty when there is none); `rest` loses the
// value, the separator and `extra` characters more. When the separator is not
// found only its length less one, plus `extra`, characters go.
std::string TakeValue(std::string& rest, std::string_view separator, int extra = 0);

} // namespace pv
