#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pv {

// Field n (1-based) of a batch line; fields are separated by commas and a
// quote at each end of a field is removed. In "ИН41" and "ИН42" lines field 8,
// the address, is quoted and may hold commas. Never fails: a missing field is
// empty; n below 1 gives field 1.
std::string ExtractField(std::string_view line, int n);

// Fields 1 to n of the line in one pass, each exactly as ExtractField gives
// it (out[0] is field 1); the views point into `line`.
void ExtractFields(std::string_view line, int n, std::vector<std::string_view>& out);

// The text with its first "." replaced by the system decimal separator.
std::string PointToDecimalSeparator(std::string_view text);

// Without leading blanks, control characters and leading zeros ("000" gives "0").
std::string StripLeadingZeros(std::string_view text);

// Fixed-point text with `decimals` digits after a "." point, padded on the left
// with blanks to `width` characters (never cut).
std::string FormatFixed(double number, int width, int decimals);

// Characters 1-2, ".", 4-5, ".", 7-10 of the text.
std::string NormalizeDate(std::string_view text);

} // namespace pv
