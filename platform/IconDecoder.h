#pragma once

#include "platform/Error.h"

#include "platform/Dib.h"
#include "platform/GdiObjects.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

namespace pv {

// An icon file that does not hold what its directory claims, or an image we
// cannot decode.
class IconFormatError : public Error {
public:
    explicit IconFormatError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// One image of an icon file. Sizes and depth come from the image's own
// header where it has a readable one, else from the directory entry.
struct IconEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    bool png = false; // a PNG stream rather than a bitmap with its mask
    std::uint32_t offset = 0, size = 0;
};

// The entries of the icon's directory whose image lies inside the file, in
// stored order. Entries pointing outside the file are left out. Throws
// IconFormatError when the data is not an icon file.
std::vector<IconEntry> iconEntries(std::span<const std::uint8_t> file);

// The image an icon is drawn with: the largest, then the deepest, of the
// images stored as bitmaps; a PNG image only when there is nothing else. No
// value for an icon without usable entries.
std::optional<IconEntry> chooseIconEntry(std::span<const std::uint8_t> file);

// The chosen image as pixels. Pixels that the AND mask leaves out show
// `background`, and so, in proportion, do partly transparent pixels of a
// 32-bit image with an alpha channel. Throws IconFormatError for a file
// without a usable entry, a PNG image (no decoder for those here), and
// an image whose header or bits do not fit its entry.
Dib decodeIcon(std::span<const std::uint8_t> file, Color background);

} // namespace pv
