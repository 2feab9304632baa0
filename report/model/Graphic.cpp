#include "report/model/Graphic.h"

#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/IconDecoder.h"
#include "platform/JpegDecoder.h"

#include <cmath>
#include <cstdlib>
#include <span>

namespace pv {
namespace {

uint32_t le(const std::string& d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(d[at + i]);
    return v;
}

std::optional<Graphic::Size> bitmapSize(const std::string& d) {
    // BITMAPFILEHEADER (14 bytes) then a BITMAPINFOHEADER or the older core header.
    if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    uint32_t header = le(d, 14, 4);
    if (header == 12) return Graphic::Size{int(le(d, 18, 2)), int(le(d, 20, 2))};
    if (header < 40 || d.size() < 26) return std::nullopt;
    int32_t h = static_cast<int32_t>(le(d, 22, 4));
    return Graphic::Size{static_cast<int32_t>(le(d, 18, 4)), h == INT32_MIN ? 0 : std::abs(h)};
}

std::span<const uint8_t> bytesOf(const std::string& d) {
    return {reinterpret_cast<const uint8_t*>(d.data()), d.size()};
}

std::optional<Graphic::Size> iconSize(const std::string& d) {
    try {
        if (const std::optional<IconEntry> e = chooseIconEntry(bytesOf(d)))
            return Graphic::Size{e->width, e->height};
    } catch (const IconFormatError&) {
        return std::nullopt;
    }
    // No image lies inside the file: what the first directory entry declares;
    // a size byte of 0 means 256.
    if (d.size() < 6 + 16 || le(d, 4, 2) == 0) return std::nullopt;
    int w = static_cast<unsigned char>(d[6]), h = static_cast<unsigned char>(d[7]);
    return Graphic::Size{w ? w : 256, h ? h : 256};
}

std::optional<Graphic::Size> metafileSize(const std::string& d) {
    // A placeable Windows metafile: its bounding box in units of 1/inch.
    if (d.size() >= 22 && le(d, 0, 4) == 0x9AC6CDD7) {
        const auto at = [&d](size_t i) { return int(int16_t(le(d, i, 2))); };
        const int inch = int(le(d, 14, 2));
        if (inch == 0) return std::nullopt;
        const auto px = [inch](int units) {
            return int(std::lround(std::abs(units) * 96.0 / inch));
        };
        return Graphic::Size{px(at(10) - at(6)), px(at(12) - at(8))};
    }
    try {
        const EmfReader reader(bytesOf(d));
        const EmfRect& f = reader.header().frame; // hundredths of a millimetre
        if (f.right >= f.left && f.bottom >= f.top) {
            const auto px = [](double hundredths) {
                return int(std::lround(hundredths * 96 / 2540));
            };
            const Graphic::Size s{px(double(f.right) - f.left + 1),
                                     px(double(f.bottom) - f.top + 1)};
            if (s.width > 0 && s.height > 0) return s;
        }
        if (const std::optional<Rect> r = metafilePictureRect(reader.header()))
            return Graphic::Size{r->width(), r->height()};
    } catch (const EmfFormatError&) {
    }
    return std::nullopt;
}

} // namespace

std::optional<Graphic::Size> Graphic::size() const {
    switch (kind) {
    case gkBitmap:
        return bitmapSize(data);
    case gkIcon:
        return iconSize(data);
    case gkMetafile:
        return metafileSize(data);
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
