#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pv {

// The graphic kinds a picture view stores.
enum GraphicKind : uint8_t { gkNone, gkBitmap, gkMetafile, gkIcon, gkJpeg };

// How a picture coming from a data field is decoded (`BlobType`).
enum BlobType : uint8_t { btBMP, btJPG, btICO, btWMF };

// A picture as a template holds it: its kind and the bytes of its own file
// format (BMP file, Windows metafile, ICO file, JFIF), kept as they were read.
struct Graphic {
    uint8_t kind = gkNone;
    std::string data;

    bool empty() const { return kind == gkNone; }

    struct Size {
        int width = 0;
        int height = 0;
    };
    // Pixel size from the picture's header: for icons the image drawn, for
    // metafiles their frame at 96 pixels per inch. No value for bytes that
    // are not such a picture.
    std::optional<Size> size() const;

    bool operator==(const Graphic&) const = default;
};

} // namespace pv
