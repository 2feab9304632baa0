#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>

namespace pv {

// A template stream that cannot be read: truncated, an unknown record, an
// offset outside the stream. The loader turns it into the user's message.
class FrfFormatError : public Error {
public:
    explicit FrfFormatError(const std::string& what) : Error(what, Error::Encoding::Utf8) {}
};

// A model that cannot be written in the file's primitives (a text longer than
// its 16-bit length allows).
class FrfWriteError : public Error {
public:
    explicit FrfWriteError(const std::string& what) : Error(what, Error::Encoding::Utf8) {}
};

} // namespace pv
