#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// A failure while compiling or evaluating an expression or running a script.
// The message is given in 1251 and shown to the user as it is.
class ExpressionError : public Error {
public:
    explicit ExpressionError(const std::string& message)
        : Error(message, Error::Encoding::Cp1251) {}
};

// A script ran more steps than its runner allowed (an endless loop stopped).
class ScriptStepLimitError : public ExpressionError {
public:
    explicit ScriptStepLimitError(const std::string& message) : ExpressionError(message) {}
};

} // namespace pv
