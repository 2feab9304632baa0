#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pv {

// A key length outside 1…256 bytes.
class Rc4KeyError : public std::invalid_argument {
public:
    Rc4KeyError() : std::invalid_argument("RC4: Invalid key length") {}
};

// RC4 from a fresh state: each call encrypts (or decrypts) `data` from its first byte.
std::string rc4(std::string_view key, std::string_view data);

} // namespace pv
