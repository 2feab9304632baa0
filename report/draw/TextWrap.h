#pragma once

#include "report/model/View.h"

#include <functional>
#include <string>
#include <string_view>

namespace pv {

class Canvas;

// The last character of a line that ends a paragraph. A text holding it
// anywhere is already wrapped and is laid out line by line as it stands.
constexpr char kParagraphEnd = '\x01';

// The width of a text in device pixels.
using TextWidth = std::function<int(std::string_view)>;

// The width of a text in the canvas's current font and character extra.
TextWidth CanvasTextWidth(const Canvas& canvas);

struct WrapOptions {
    int width = 0;          // the available width W
    bool wordBreak = false; // cut words with a hyphen at Russian syllable bounds
};

// Wraps one source line into `out`. Lines break at line breaks inside the
// source and where the text grows wider than the width: after the last
// blank (which is dropped), inside a word at a hyphenation point with
// `wordBreak`, or before the first character that does not fit. Blanks are
// never measured, so a line may end in blanks beyond the width. The last line
// of each paragraph ends in kParagraphEnd.
void WrapLine(std::string_view source, const WrapOptions& options, const TextWidth& width,
              Lines& out);

// Wraps every source line; with `wordWrap` off each line is taken whole.
// An already wrapped text is returned as it is.
Lines WrapLines(const Lines& source, bool wordWrap, const WrapOptions& options,
                const TextWidth& width);

// Whether byte 1 occurs anywhere in the text.
bool IsWrapped(const Lines& lines);

// Removes the final marker line of an already wrapped text ("\x01" alone).
void DropMarkerLine(Lines& lines);

// A line without its paragraph marker; `ended` tells whether it had one.
std::string_view WithoutParagraphEnd(std::string_view line, bool* ended = nullptr);

} // namespace pv
