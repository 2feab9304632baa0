#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// The one exception class of the PDF writer; its message is one of the writer's
// fixed English texts.
class TPDFException : public Error {
public:
    explicit TPDFException(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

} // namespace pv
