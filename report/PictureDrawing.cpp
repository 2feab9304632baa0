#include "report/PictureDrawing.h"

#include "platform/Canvas.h"
#include "report/Graphic.h"
#include "report/JpegDecoder.h"
#include "report/PictureView.h"
#include "report/ViewDrawing.h"

#include <span>

namespace pv {
namespace {

uint32_t le32(const std::string& d, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(d[at + size_t(i)]);
    return v;
}

std::optional<Dib> decodeBmp(const std::string& d) {
    if (d.size() < 14 + 12 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    const uint32_t bitsAt = le32(d, 10);
    if (bitsAt <= 14 || bitsAt > d.size()) return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(d.data());
    return decodeDib(std::span(bytes + 14, bitsAt - 14),
                     std::span(bytes + bitsAt, d.size() - bitsAt));
}

Dib fromBitmap(const Bitmap& b) {
    Dib dib(b.width, b.height);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const uint8_t* p = &b.rgba[(size_t(y) * size_t(b.width) + size_t(x)) * 4];
            dib.setPixel(x, y, p[0], p[1], p[2]);
        }
    return dib;
}

} // namespace

std::optional<Dib> DecodePicture(const TfrGraphic& graphic) {
    try {
        if (graphic.kind == gkBitmap) return decodeBmp(graphic.data);
        if (graphic.kind == gkJpeg) return fromBitmap(decodeJpeg(graphic.data));
    } catch (const DibFormatError&) {
    } catch (const JpegError&) {
    }
    return std::nullopt;
}

void DrawPicture(Canvas& canvas, const TfrPictureView& view, const DrawScale& scale) {
    const ViewGeometry g = ApplyScale(view, scale);
    DrawBackground(canvas, view, g, scale);
    if (!view.Picture.empty() && !scale.firstPassOfTwo) {
        const std::optional<TfrGraphic::Size> size = view.Picture.size();
        const int pw = size ? size->width : g.width, ph = size ? size->height : g.height;
        const Rect target = PictureTarget(g, pw, ph, scale, view.flag(flStretched),
                                          view.flag(flPictRatio), view.flag(flPictCenter));
        if (const std::optional<Dib> dib = DecodePicture(view.Picture)) {
            canvas.StretchDIBits(target, *dib);
        } else if (view.Picture.kind == gkMetafile || view.Picture.kind == gkIcon) {
            canvas.SetPen({PenStyle::Solid, 1, view.FrameColor});
            canvas.SetBrush({BrushStyle::Hollow, 0, 0});
            canvas.Rectangle(target.left, target.top, target.right, target.bottom);
        }
    }
    DrawFrame(canvas, view, g, scale);
}

} // namespace pv
