#pragma once

#include <cstdint>

namespace pv {

constexpr int kStandardFontCount = 14;

// Advance widths in thousandths of the em of the 14 standard fonts, in the order
// of their resource numbers (Helvetica … ZapfDingbats), by byte code in Windows
// ANSI order; 0 where the font has no glyph (generated from
// data/std14-widths-winansi.txt).
extern const std::uint16_t kStandardFontWidths[kStandardFontCount][256];

} // namespace pv
