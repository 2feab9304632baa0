#include "report/draw/PictureDrawing.h"

#include "platform/Canvas.h"
#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/IconDecoder.h"
#include "platform/WmfPlayer.h"
#include "report/model/Graphic.h"
#include "platform/JpegDecoder.h"
#include "report/model/PictureView.h"
#include "report/draw/ViewDrawing.h"

#include <new>
#include <span>

namespace pv {
namespace {

uint32_t le(const std::string& d, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | uint8_t(d[at + size_t(i)]);
    return v;
}

std::span<const uint8_t> bytesOf(const std::string& d) {
    return {reinterpret_cast<const uint8_t*>(d.data()), d.size()};
}

std::optional<Dib> decodeBmp(const std::string& d) {
    if (d.size() < 14 + 12 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
    const uint32_t bitsAt = le(d, 10, 4);
    if (bitsAt <= 14 || bitsAt > d.size()) return std::nullopt;
    const std::span<const uint8_t> bytes = bytesOf(d);
    return decodeDib(bytes.subspan(14, bitsAt - 14), bytes.subspan(bitsAt));
}

// One bit per pixel, from the info header or the older core header.
bool isMonochromeBmp(const std::string& d) {
    if (d.size() < 14 + 16) return false;
    const uint32_t header = le(d, 14, 4);
    return le(d, header == 12 ? 24 : 28, 2) == 1;
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

// An icon whose best image is a PNG stream, which we have no decoder for.
bool isPngIcon(const std::string& d) {
    try {
        const std::optional<IconEntry> e = chooseIconEntry(bytesOf(d));
        return e && e->png;
    } catch (const IconFormatError&) {
        return false;
    }
}

void drawOutline(Canvas& canvas, const TfrPictureView& view, const Rect& target) {
    canvas.SetPen({PenStyle::Solid, 1, view.FrameColor});
    canvas.SetBrush({BrushStyle::Hollow, 0, 0});
    canvas.Rectangle(target.left, target.top, target.right, target.bottom);
}

// Plays the metafile only when a dry run over all of it succeeds, so that a
// malformed one leaves no half drawing behind.
void drawMetafile(Canvas& canvas, const std::string& data, const Rect& target) {
    const std::span<const uint8_t> bytes = bytesOf(data);
    Canvas dryRun(canvas.fonts(), canvas.pixelsPerInch());
    try {
        if (isWindowsMetafile(bytes)) {
            playWindowsMetafileInto(bytes, dryRun, target);
            playWindowsMetafileInto(bytes, canvas, target);
            return;
        }
        const EmfReader metafile(bytes);
        playMetafile(metafile, dryRun);
        playMetafileInto(metafile, canvas, target);
    } catch (const EmfFormatError&) {
    } catch (const WmfFormatError&) {
    } catch (const std::bad_alloc&) {
    }
}

void drawPixels(Canvas& canvas, const TfrPictureView& view, const Rect& target,
                const DrawScale& scale) {
    const Graphic& picture = view.Picture;
    const Color background = view.FillColor == clNone ? rgb(255, 255, 255) : view.FillColor;
    const std::optional<Dib> dib = DecodePicture(picture, background & 0xFFFFFF);
    if (!dib) {
        if (picture.kind == gkIcon && isPngIcon(picture.data)) drawOutline(canvas, view, target);
        return;
    }
    const bool resample =
        scale.printing &&
        (picture.kind == gkJpeg || (picture.kind == gkBitmap && !isMonochromeBmp(picture.data)));
    if (!resample) {
        canvas.StretchDIBits(target, *dib);
        return;
    }
    const int level = canvas.SaveDC();
    canvas.SetStretchBltMode(StretchMode::Halftone);
    canvas.StretchDIBits(target, *dib);
    canvas.RestoreDC(level);
}

} // namespace

std::optional<Dib> DecodePicture(const Graphic& graphic, Color background) {
    try {
        if (graphic.kind == gkBitmap) return decodeBmp(graphic.data);
        if (graphic.kind == gkJpeg) return fromBitmap(decodeJpeg(graphic.data));
        if (graphic.kind == gkIcon) return decodeIcon(bytesOf(graphic.data), background);
    } catch (const DibFormatError&) {
    } catch (const JpegError&) {
    } catch (const IconFormatError&) {
    }
    return std::nullopt;
}

void DrawPicture(Canvas& canvas, const TfrPictureView& view, const DrawScale& scale) {
    const ViewGeometry g = ApplyScale(view, scale);
    DrawBackground(canvas, view, g, scale);
    if (!view.Picture.empty() && !scale.firstPassOfTwo) {
        const std::optional<Graphic::Size> size = view.Picture.size();
        const int pw = size ? size->width : g.width, ph = size ? size->height : g.height;
        const Rect target = PictureTarget(g, pw, ph, scale, view.flag(flStretched),
                                          view.flag(flPictRatio), view.flag(flPictCenter));
        if (view.Picture.kind == gkMetafile)
            drawMetafile(canvas, view.Picture.data, target);
        else
            drawPixels(canvas, view, target, scale);
    }
    DrawFrame(canvas, view, g, scale);
}

} // namespace pv
