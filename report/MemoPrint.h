#pragma once

#include "report/View.h"

#include <string>

namespace pv {

class ExpressionEngine;
class TfrMemoView;

// What a text box remembers from one print to the next.
struct MemoPrintState {
    // The text last written to a prepared page, for `Suppress`; cleared when
    // the box's data band starts a new loop.
    std::optional<std::string> lastText;
};

// The box's lines for measuring or writing: empty lines stay empty, the
// others are expanded (unless TextOnly) and split at the line breaks of
// their values, so a value holding line breaks gives several lines.
Lines ExpandMemoLines(const TfrMemoView& memo, ExpressionEngine& engine);

// Puts the highlight attributes in place while its condition holds, for one
// print, and the box's own back afterwards. A condition that fails to
// evaluate leaves the box as it is.
class ScopedHighlight {
public:
    ScopedHighlight(TfrMemoView& memo, ExpressionEngine& engine);
    ~ScopedHighlight();
    ScopedHighlight(const ScopedHighlight&) = delete;
    ScopedHighlight& operator=(const ScopedHighlight&) = delete;
    bool active() const { return active_; }

private:
    TfrMemoView& memo_;
    bool active_ = false;
    uint16_t style_;
    int32_t fontColor_;
    uint32_t fillColor_;
};

// The height a band gives the box: its text measured at scale 1 with the
// highlight applied; 0 when invisible or when a Suppress box would repeat
// its last text. In the dry first pass a Suppress box remembers its text here.
int MeasureHeight(TfrMemoView& memo, ExpressionEngine& engine, MemoPrintState& state,
                  bool firstPassOfTwo = false);

// The expanded text a box writes to a prepared page, or no value when a
// Suppress box would repeat its last text; the text written is remembered.
std::optional<Lines> TextToWrite(TfrMemoView& memo, ExpressionEngine& engine,
                                 MemoPrintState& state);

} // namespace pv
