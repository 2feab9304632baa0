#pragma once

namespace pv::codepage {

// Unicode values of bytes 128-255 of a single-byte Windows or DOS code page,
// or nullptr when the code page is not one the program knows.
const char16_t* highHalf(int codePage);

} // namespace pv::codepage
