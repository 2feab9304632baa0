#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// A template stream that cannot be read: truncated, an unknown record, an
// offset outside the stream. The loader turns it into the user's message.
class FrfFormatError : public std::runtime_error {
public:
    explicit FrfFormatError(const std::string& what) : std::runtime_error(what) {}
};

// A model that cannot be written in the file's primitives (a text longer than
// its 16-bit length allows).
class FrfWriteError : public std::runtime_error {
public:
    explicit FrfWriteError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace pv
