#pragma once

#include "platform/GdiObjects.h"
#include "report/model/View.h"
#include "report/model/ViewGeometry.h"

namespace pv {

class Canvas;
class TfrExportFilter;
class TfrMemoView;

// The pixel height of the box's font on the measuring canvas.
int MeasuringFontHeight(const TfrMemoView& memo);

// The box's font at `pixelHeight` (character height), turned for rotated text.
LogFont MemoFont(const TfrMemoView& memo, int pixelHeight);

// A box's text laid out for its width at scale 1, on the measuring canvas.
struct MemoLayout {
    Lines lines;        // wrapped, every paragraph's last line ending in byte 1
    int lineHeight = 0; // LineSpacing + font pixel height
    int textHeight = 0; // the calculated text height, report pixels
};

// Wraps `text` for the box (already wrapped text is taken as it is; a final
// marker line is dropped). `extraWidth` widens the box for the measuring.
MemoLayout MeasureMemo(const TfrMemoView& memo, const Lines& text, int extraWidth = 0);

// The width the box needs to show every line of `text` unwrapped, frame and
// gaps included, in report pixels.
int NeededWidth(const TfrMemoView& memo, const Lines& text);

// The smallest part of a box worth printing on a page, and the part of its
// height not taken by whole lines.
int SmallestPartHeight(const TfrMemoView& memo);
int LeftoverHeight(const TfrMemoView& memo);

struct MemoDrawOptions {
    bool clipAtBottom = false; // stop before a line that would cross the bottom
    // Export mode: no background, frame or ruled lines, and each line goes to
    // the filter's TextLine where it would have been drawn.
    TfrExportFilter* exportTo = nullptr;
};

// Draws the text box with its stored (expanded) text. With AutoWidth the box
// is first sized to its text, keeping its right edge when right-aligned or
// justified. Returns the number of lines drawn (or handed over).
int DrawMemo(Canvas& canvas, TfrMemoView& memo, const DrawScale& scale,
             const MemoDrawOptions& options = {});

// A box cut by a page break: the lines that fit in its height (counted by a
// dry run with clip at bottom), marked as already wrapped, and the lines kept
// for its next part. Together they are the whole text, in order.
struct MemoParts {
    Lines written;
    Lines rest;
};
MemoParts CutMemo(const TfrMemoView& memo);

} // namespace pv
