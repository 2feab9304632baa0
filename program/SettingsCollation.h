#pragma once

#include <string_view>

namespace pv {

// The order of section names and lines in the settings file: case-insensitive,
// alphabetical. Blanks and punctuation come first, then digits, Latin letters
// and Cyrillic letters (Ё right after Е). Texts equal under this order are the
// same section or duplicate lines.
int collateSettingsText(std::string_view a, std::string_view b);

inline bool sameSettingsText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && collateSettingsText(a, b) == 0;
}

} // namespace pv
