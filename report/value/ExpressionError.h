#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// A failure while compiling or evaluating an expression or running a script.
// The message is 1251 text, shown to the user as it is.
class ExpressionError : public std::runtime_error {
public:
    explicit ExpressionError(const std::string& message) : std::runtime_error(message) {}
};

// A script ran more steps than its runner allowed (an endless loop stopped).
class ScriptStepLimitError : public ExpressionError {
public:
    explicit ScriptStepLimitError(const std::string& message) : ExpressionError(message) {}
};

} // namespace pv
