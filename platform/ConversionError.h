#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace pv {

// A text that could not be converted (a malformed number or date, a page
// list with a part that is no number, a table refusing a value); the run or
// the operation ends with the message in `text()` (1251).
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string text)
        : std::runtime_error("conversion error"), text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace pv
