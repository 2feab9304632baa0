#pragma once

#include "report/value/Variant.h"

#include <cstdint>
#include <string>

namespace pv {

// A display format code: bits 24–27 the category, 16–23 the sub-format, 8–15
// the number of decimals, 0–7 the decimal separator character (0: the system's).
enum class FormatCategory { Text = 0, Number = 1, Date = 2, Time = 3, Boolean = 4 };

constexpr int32_t makeFormat(FormatCategory category, int sub, int decimals = 0,
                             char separator = 0) {
    return (static_cast<int32_t>(category) << 24) | ((sub & 0xFF) << 16) |
           ((decimals & 0xFF) << 8) | static_cast<unsigned char>(separator);
}

// A value as a text box shows it under the format code and format text.
// Empty, null and blank-only text give empty text; a value the format cannot
// take (a text that is no number under a number format) gives its plain text.
std::string FormatDisplay(const Variant& value, int32_t format, const std::string& formatStr);

} // namespace pv
