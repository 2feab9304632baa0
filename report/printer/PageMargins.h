#pragma once

#include <cstdint>

namespace pv {

// Margins of a page, report pixels.
struct PageMargins {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PageMargins&) const = default;
};

} // namespace pv
