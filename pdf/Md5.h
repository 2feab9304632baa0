#pragma once

#include <nettle/md5.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pv {

// MD5 (RFC 1321) over any number of pieces.
class Md5 {
public:
    Md5() { md5_init(&ctx_); }
    Md5& add(std::string_view bytes);
    std::array<std::uint8_t, 16> digest();
    // The digest of `bytes` as 32 lower-case hex digits.
    static std::string hex(std::string_view bytes);

private:
    md5_ctx ctx_;
};

} // namespace pv
