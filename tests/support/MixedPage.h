#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace pv::test {

// One text line of the mixed page, as drawn.
struct MixedPageLine {
    LogFont font;
    Point origin;
    std::string text; // 1251
};

// A page of mixed content drawn the same way on every canvas: Arial 10 and
// Times New Roman 12 bold in Cyrillic and Latin, a rotated line, frames in
// every pen style, filled rectangles, a bitmap and clipped text. The page is
// 600 x 440 pixels at 96 dpi. Returns the text lines in drawing order.
std::vector<MixedPageLine> drawMixedPage(Canvas& canvas);

// The bitmap the page stretches: 16 x 8 pixels of colour steps.
Dib mixedPageBitmap();

LogFont arial10(const Canvas& canvas);
LogFont timesBold12(const Canvas& canvas);

} // namespace pv::test
