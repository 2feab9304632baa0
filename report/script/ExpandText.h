#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pv {

class ExpressionEngine;

// What a text box's expansion takes from the box.
struct TextBoxSettings {
    int32_t Format = 0;
    std::string FormatStr;
    bool HideZeros = false;
    bool TextOnly = false;
};

// Replaces every bracketed expression of a line by its formatted value. Brackets
// nest, brackets inside quoted text do not count, and inserted text is not
// expanded again; a "[" without its "]" is left as it is. Throws
// ExpressionError when an expression fails.
std::string ExpandText(const std::string& line, const TextBoxSettings& box,
                       ExpressionEngine& engine);
// Every line of a text box (none when the box's TextOnly is set).
std::vector<std::string> ExpandLines(const std::vector<std::string>& lines,
                                     const TextBoxSettings& box, ExpressionEngine& engine);

// One bracket's content: an expression, optionally followed by " #" and an
// inline format (N…, D…, T…, B…) that overrides the box's format.
std::string ExpandBracket(const std::string& content, const TextBoxSettings& box,
                          ExpressionEngine& engine);

} // namespace pv
