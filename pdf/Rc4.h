#pragma once

#include "platform/Error.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pv {

// A key length outside 1…256 bytes.
class Rc4KeyError : public Error {
public:
    Rc4KeyError() : Error("RC4: Invalid key length", Error::Encoding::Utf8) {}
};

// RC4 from a fresh state: each call encrypts (or decrypts) `data` from its first byte.
std::string rc4(std::string_view key, std::string_view data);

} // namespace pv
