#pragma once

#include "platform/Canvas.h"
#include "platform/EmfReader.h"

namespace pv {

// Draws a metafile on a canvas at its own coordinates, one device pixel per
// logical unit: objects, colours, modes, text with its recorded advances,
// lines, polygons, rectangles, pattern fills, bitmaps, clip rectangles and
// saved states. Records of other kinds are skipped. Throws EmfFormatError for
// a malformed record; what was drawn before it stays drawn.
void playMetafile(const EmfReader& metafile, Canvas& canvas);

} // namespace pv
