#pragma once

#include <cstdint>
#include <cstring>

namespace pv {

// One entry of the published glyph-name list: a Unicode value and its name.
struct GlyphName {
    std::uint16_t unicode;
    const char* name;
};

constexpr int kGlyphNameCount = 1051;

// The older Adobe Glyph List in name order (generated from data/agl-1.2.txt).
// Some values have more than one name; the first in this order is the one used.
extern const GlyphName kGlyphNames[kGlyphNameCount];

// The first name the list gives a value, or nullptr when it has none.
inline const char* glyphNameOf(char16_t value) {
    for (const GlyphName& entry : kGlyphNames)
        if (entry.unicode == value) return entry.name;
    return nullptr;
}

} // namespace pv
