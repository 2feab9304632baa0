#include "report/Graphic.h"

#include "report/JpegDecoder.h"

#include <cstdlib>

namespace pv {
namespace {

uint32_t le(const std::string& d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(d[at + i]);
    return v;
}

std::optional<TfrGraphic::Size> bitmapSize(const std::string& d) {
    // BITMAPFILEHEADER (14 bytes) then a BITMAPINFOHEADER or the older core header.
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    uint32_t header = le(d, 14, 4);
    if (header == 12) return TfrGraphic::Size{int(le(d, 18, 2)), int(le(d, 20, 2))};
    if (header < 40 || d.size() < 26) return std::nullopt;
    int32_t h = static_cast<int32_t>(le(d, 22, 4));
    return TfrGraphic::Size{static_cast<int32_t>(le(d, 18, 4)), h == INT32_MIN ? 0 : std::abs(h)};
}

std::optional<TfrGraphic::Size> iconSize(const std::string& d) {
    // ICONDIR, then the first ICONDIRENTRY; a size byte of 0 means 256.
    if (d.size() < 6 + 16 || le(d, 0, 2) != 0 || le(d, 2, 2) != 1 || le(d, 4, 2) == 0)
        return std::nullopt;
    int w = static_cast<unsigned char>(d[6]), h = static_cast<unsigned char>(d[7]);
    return TfrGraphic::Size{w ? w : 256, h ? h : 256};
}

} // namespace

std::optional<TfrGraphic::Size> TfrGraphic::size() const {
    switch (kind) {
    case gkBitmap:
        return bitmapSize(data);
    case gkIcon:
        return iconSize(data);
    case gkJpeg:
        try {
            Size s;
            jpegSize(data, s.width, s.height);
            return s;
        } catch (const JpegError&) {
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

} // namespace pv
