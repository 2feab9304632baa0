#pragma once

#include "platform/Error.h"

#include "platform/Canvas.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>

namespace pv {

// An old-style Windows metafile that does not hold what its sizes claim.
class WmfFormatError : public Error {
public:
    explicit WmfFormatError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// Whether the bytes start like an old-style metafile, placeable or plain.
bool isWindowsMetafile(std::span<const std::uint8_t> data);

// The picture of an old-style metafile in logical units: the placeable
// header's box, else the window the metafile sets before it draws. No value
// when it has neither (its extent is then unknown), or is not such a file.
std::optional<Rect> wmfPictureRect(std::span<const std::uint8_t> data);

// Plays the metafile with its picture rectangle mapped onto `target` and
// clipped to it: objects, colours, modes, the window, lines, polygons,
// rectangles, ellipses (as polygons), text, pattern fills, bitmaps, clip
// rectangles and saved states. Records of other kinds are skipped. The
// canvas's state is as it was afterwards, also when a malformed record
// throws WmfFormatError. Nothing is drawn without a picture rectangle.
void playWindowsMetafileInto(std::span<const std::uint8_t> data, Canvas& canvas,
                             const Rect& target);

} // namespace pv
