#pragma once

#include "platform/Dib.h"
#include "report/ViewGeometry.h"

#include <optional>

namespace pv {

class Canvas;
class TfrPictureView;
struct TfrGraphic;

// The picture's pixels, for bitmaps and JPEG pictures; no value for other
// kinds and for bytes that do not decode.
std::optional<Dib> DecodePicture(const TfrGraphic& graphic);

// Background, the picture stretched into its target, frame. Bitmaps and JPEG
// pictures are drawn as pixels; metafiles and icons as the outline of their
// target. An empty or undecodable picture draws only background and frame.
void DrawPicture(Canvas& canvas, const TfrPictureView& view, const DrawScale& scale);

} // namespace pv
