#pragma once

#include <string>

namespace pv {

// A field reference as templates write it: data source, ".", field, where the
// field (or the source) may be in double quotes and hold dots and blanks.

// The position of the last "." outside double quotes, npos when there is none.
size_t lastDotOutsideQuotes(const std::string& s);
// The text without surrounding blanks and one pair of surrounding double quotes.
std::string unquoteDouble(const std::string& s);

} // namespace pv
