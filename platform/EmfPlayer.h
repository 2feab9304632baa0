#pragma once

#include "platform/Canvas.h"
#include "platform/EmfReader.h"

#include <optional>

namespace pv {

// Draws a metafile on a canvas at its own coordinates, one device pixel per
// logical unit: objects, colours, modes, text with its recorded advances,
// lines, polygons, rectangles, pattern fills, bitmaps, clip rectangles and
// saved states. Records of other kinds are skipped. Throws EmfFormatError for
// a malformed record; what was drawn before it stays drawn.
void playMetafile(const EmfReader& metafile, Canvas& canvas);

// The rectangle of metafile coordinates that its picture covers: the frame
// converted to reference-device pixels, or the bounds when the frame holds
// nothing. No value when neither does.
std::optional<Rect> metafilePictureRect(const EmfHeader& header);

// Plays the metafile with its picture rectangle mapped onto `target` and
// clipped to it. The canvas's state (objects, colours, modes, clip, position,
// save level) is as it was afterwards, also when a malformed record throws
// EmfFormatError. A metafile whose picture rectangle is empty draws nothing.
void playMetafileInto(const EmfReader& metafile, Canvas& canvas, const Rect& target);

} // namespace pv
