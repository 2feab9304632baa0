#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// The one exception class of the PDF writer; its message is one of the writer's
// fixed English texts.
class TPDFException : public std::runtime_error {
public:
    explicit TPDFException(const std::string& message) : std::runtime_error(message) {}
};

} // namespace pv
