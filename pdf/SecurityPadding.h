#pragma once

#include <array>
#include <cstdint>

namespace pv {

// The 32-byte padding the standard security handler appends to passwords
// (generated from data/pdf-security-padding.txt).
extern const std::array<std::uint8_t, 32> kSecurityPadding;

} // namespace pv
