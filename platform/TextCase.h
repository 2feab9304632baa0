#pragma once

#include <string>
#include <string_view>

namespace pv {

// Letter case of 1251 text: Latin and Cyrillic letters (Ё/ё included).
char upper1251(char c);
char lower1251(char c);
std::string upper1251(std::string_view s);
std::string lower1251(std::string_view s);

// Compares without regard to letter case, by the upper-case byte values.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

// Trims characters of code 32 or less at both ends (and at one end).
std::string trim(std::string_view s);
std::string trimLeft(std::string_view s);
std::string trimRight(std::string_view s);

} // namespace pv
