#pragma once

#include "platform/Dib.h"
#include "platform/GdiObjects.h"
#include "report/model/ViewGeometry.h"

#include <optional>

namespace pv {

class Canvas;
class TfrPictureView;
struct Graphic;

// The picture's pixels, for bitmaps, JPEG pictures and icons (the pixels an
// icon's mask leaves out show `background`); no value for metafiles, for
// icons stored as PNG and for bytes that do not decode.
std::optional<Dib> DecodePicture(const Graphic& graphic, Color background = rgb(255, 255, 255));

// Background, the picture in its target, frame. Pixel pictures are stretched
// into the target; when printing, bitmaps and JPEG pictures other than
// monochrome ones are resampled with halftone stretching. Metafiles, enhanced
// or old-style, are played into the target, clipped to it, leaving the
// canvas's state as it was. An icon stored as PNG is drawn as the outline of
// its target. An empty picture, or one whose bytes do not decode or play,
// draws only background and frame.
void DrawPicture(Canvas& canvas, const TfrPictureView& view, const DrawScale& scale);

} // namespace pv
