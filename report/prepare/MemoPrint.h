#pragma once

#include "report/prepare/ObjectPrintEvents.h"
#include "report/model/View.h"

#include <string>

namespace pv {

class ByteStream;
class ExpressionEngine;
class TfrMemoView;
struct PreparedPlacement;

// What a text box remembers from one print to the next.
struct MemoPrintState {
    // The text last written to a prepared page, for `Suppress`; cleared when
    // the box's data band starts a new loop.
    std::optional<std::string> lastText;
    // The lines a cut part is written from: the expanded text once measured,
    // then what the previous part left. Gone once the box is written whole
    // or its last part is, so a later row never prints this row's text.
    std::optional<Lines> lines;
};

// How a text box is being printed: written whole, measured for its band's
// height, or written one part at a time because a page break cuts it.
enum class DrawMode { Normal = 0, Measure = 1, Part = 2 };

// The box's lines for measuring or writing: empty lines stay empty, the
// others are expanded (unless TextOnly) and split at the line breaks of
// their values, so a value holding line breaks gives several lines.
Lines ExpandMemoLines(const TfrMemoView& memo, ExpressionEngine& engine);

// The lines a box prints: those of the memo field it is bound to, or its
// own; OnBeforePrint sees them first, and only the box's own lines, left
// unchanged by the handler, are expanded.
Lines PrintLines(TfrMemoView& memo, ExpressionEngine& engine, ObjectPrintEvents& events);

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

// The height a band gives the box: its script run, its text measured at
// scale 1 with the highlight applied; 0 when invisible or when a Suppress box
// would repeat its last text. The text measured is kept for a cut. In the dry
// first pass a Suppress box remembers its text here.
int MeasureHeight(TfrMemoView& memo, ExpressionEngine& engine, MemoPrintState& state,
                  ObjectPrintEvents& events = noPrintEvents(), bool firstPassOfTwo = false);

// The expanded text a box writes to a prepared page, or no value when a
// Suppress box would repeat its last text; the text written is remembered.
std::optional<Lines> TextToWrite(TfrMemoView& memo, ExpressionEngine& engine, MemoPrintState& state,
                                 ObjectPrintEvents& events = noPrintEvents());

// Writes the box to a prepared page. Normal: its script runs and its text is
// made ready (PrintLines). Part: the lines kept in `state` (or, when nothing
// was measured, the text made ready as for Normal) are cut at the box's
// height; the lines that fit are written as already wrapped and the rest
// stay in `state` for the next part. Either way an invisible box writes
// nothing, the highlight is applied for the record, Tag is expanded, and a
// Suppress box repeating its last text writes nothing. Font, fill, Tag,
// BandAlign and geometry are the box's own again afterwards. Returns true
// when a record was written.
bool WritePreparedMemo(ByteStream& page, TfrMemoView& memo, ExpressionEngine& engine,
                       MemoPrintState& state, ObjectPrintEvents& events = noPrintEvents(),
                       DrawMode mode = DrawMode::Normal,
                       const PreparedPlacement* placement = nullptr);

} // namespace pv
