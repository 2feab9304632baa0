#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace pv {

// A text that could not be converted (a malformed number or date, a page
// list with a part that is no number, a table refusing a value); the run or
// the operation ends with the message, given and shown in 1251.
class ConversionError : public Error {
public:
    explicit ConversionError(const std::string& text) : Error(text, Error::Encoding::Cp1251) {}
};

} // namespace pv
