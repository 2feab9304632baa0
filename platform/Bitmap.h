#pragma once

#include <cstdint>
#include <vector>

namespace pv {

// A decoded picture: rows top to bottom, 8-bit red, green, blue, alpha.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

} // namespace pv
