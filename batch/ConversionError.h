#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// A batch value that could not be converted (a malformed number or date, a
// table refusing a value): aborts the run with the message in `text()` (1251).
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string text)
        : std::runtime_error("conversion error"), text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace pv
