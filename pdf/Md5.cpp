#include "pdf/Md5.h"

namespace pv {

Md5& Md5::add(std::string_view bytes) {
    md5_update(&ctx_, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    return *this;
}

std::array<std::uint8_t, 16> Md5::digest() {
    std::array<std::uint8_t, 16> out{};
    md5_digest(&ctx_, out.size(), out.data());
    return out;
}

std::string Md5::hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (auto b : Md5().add(bytes).digest()) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

} // namespace pv
