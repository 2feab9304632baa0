#include "platform/EmfPlayer.h"

#include "platform/Charset.h"
#include "platform/CodePage.h"
#include "platform/DeviceState.h"
#include "platform/EmfRecords.h"
#include "platform/MappingCanvas.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

constexpr std::uint32_t kPatCopy = 0x00F00021;

std::vector<Point> points32(const EmfRecord& r) {
    const std::uint32_t count = r.u32(24);
    r.block(28, count, 8);
    std::vector<Point> points;
    for (std::uint32_t i = 0; i < count; ++i)
        points.push_back(r.pointL(28 + 8 * std::size_t(i)));
    return points;
}

// Corner from origin and extent; wraps instead of overflowing on hostile values.
int plus(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) + std::uint32_t(b));
}

Rect edges(const EmfRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

class Player {
public:
    explicit Player(Canvas& canvas) : canvas_(canvas) {}

    void play(const EmfRecord& r) {
        dc_.apply(r);
        switch (r.type()) {
        case emf::EMR_SETTEXTCOLOR:
            canvas_.SetTextColor(dc_.current().textColor);
            break;
        case emf::EMR_SETBKCOLOR:
            canvas_.SetBkColor(dc_.current().bkColor);
            break;
        case emf::EMR_SETBKMODE:
            canvas_.SetBkMode(dc_.current().bkMode == 1 ? BkMode::Transparent : BkMode::Opaque);
            break;
        case emf::EMR_SETTEXTALIGN:
            canvas_.SetTextAlign(dc_.current().textAlign);
            break;
        case emf::EMR_SETSTRETCHBLTMODE:
            if (const std::uint32_t mode = r.u32(8); mode >= 1 && mode <= 4)
                canvas_.SetStretchBltMode(StretchMode(mode));
            break;
        case emf::EMR_SAVEDC:
            canvas_.SaveDC();
            break;
        case emf::EMR_RESTOREDC:
            canvas_.RestoreDC(r.i32(8));
            break;
        case emf::EMR_INTERSECTCLIPRECT:
            canvas_.IntersectClipRect(edges(r.rect(8)));
            break;
        case emf::EMR_EXTSELECTCLIPRGN:
            if (!dc_.current().clip) canvas_.RemoveClip();
            break;
        case emf::EMR_MOVETOEX:
            canvas_.MoveTo(dc_.current().position.x, dc_.current().position.y);
            break;
        case emf::EMR_LINETO:
            select();
            canvas_.LineTo(dc_.current().position.x, dc_.current().position.y);
            break;
        case emf::EMR_POLYLINE16:
            select(), canvas_.Polyline(decodePoints16(r));
            break;
        case emf::EMR_POLYLINE:
            select(), canvas_.Polyline(points32(r));
            break;
        case emf::EMR_POLYGON16:
            select(), canvas_.Polygon(decodePoints16(r));
            break;
        case emf::EMR_POLYGON:
            select(), canvas_.Polygon(points32(r));
            break;
        case emf::EMR_RECTANGLE: {
            const EmfRect b = r.rect(8);
            select();
            canvas_.Rectangle(b.left, b.top, b.right, b.bottom);
            break;
        }
        case emf::EMR_BITBLT:
            // Only the pattern fill: a copy from a source bitmap is not drawn.
            if (r.u32(40) == kPatCopy) {
                const int x = r.i32(24), y = r.i32(28);
                canvas_.FillRect({x, y, plus(x, r.i32(32)), plus(y, r.i32(36))}, dc_.brush());
            }
            break;
        case emf::EMR_STRETCHDIBITS: {
            const EmfStretchDib s = decodeStretchDIBits(r);
            canvas_.StretchDIBits(s.dest, s.dib);
            break;
        }
        case emf::EMR_EXTTEXTOUTW:
            text(r);
            break;
        default:
            break;
        }
    }

private:
    void select() {
        canvas_.SetPen(dc_.pen());
        canvas_.SetBrush(dc_.brush());
    }

    void text(const EmfRecord& r) {
        const EmfTextOut t = decodeExtTextOutW(r);
        const LogFont& font = dc_.font();
        canvas_.SetFont(font);
        std::string bytes;
        if (font.charSet == charset::Symbol)
            for (char16_t c : t.text)
                bytes.push_back(char(c & 0xFF));
        else
            bytes = codepage::fromUtf16(t.text, codePageOfCharset(font.charSet));
        std::vector<int> dx(t.dx.begin(), t.dx.end());
        std::optional<Rect> rect;
        if (t.rectangle) rect = edges(*t.rectangle);
        canvas_.ExtTextOut(t.reference.x, t.reference.y, t.options, rect ? &*rect : nullptr, bytes,
                           dx);
    }

    Canvas& canvas_;
    DeviceState dc_;
};

} // namespace

void playMetafile(const EmfReader& metafile, Canvas& canvas) {
    Player player(canvas);
    for (const EmfRecord& r : metafile)
        player.play(r);
}

std::optional<Rect> metafilePictureRect(const EmfHeader& h) {
    const EmfRect& f = h.frame;
    if (f.right >= f.left && f.bottom >= f.top) {
        // Hundredths of a millimetre to the reference device's pixels; 96 dpi
        // when the header does not describe its device.
        const bool described =
            h.device.cx > 0 && h.device.cy > 0 && h.millimeters.cx > 0 && h.millimeters.cy > 0;
        const double kx =
            described ? double(h.device.cx) / (h.millimeters.cx * 100.0) : 96 / 2540.0;
        const double ky =
            described ? double(h.device.cy) / (h.millimeters.cy * 100.0) : 96 / 2540.0;
        const auto at = [](double v) {
            return int(std::lround(std::clamp(v, double(INT32_MIN / 4), double(INT32_MAX / 4))));
        };
        const Rect r{at(f.left * kx), at(f.top * ky), at((double(f.right) + 1) * kx),
                     at((double(f.bottom) + 1) * ky)};
        if (!r.isEmpty()) return r;
    }
    const EmfRect& b = h.bounds;
    if (b.right >= b.left && b.bottom >= b.top && b.right < INT32_MAX && b.bottom < INT32_MAX)
        return Rect{b.left, b.top, b.right + 1, b.bottom + 1};
    return std::nullopt;
}

void playMetafileInto(const EmfReader& metafile, Canvas& canvas, const Rect& target) {
    const std::optional<Rect> from = metafilePictureRect(metafile.header());
    if (!from || target.isEmpty()) return;
    const int level = canvas.SaveDC();
    try {
        canvas.IntersectClipRect(target);
        MappingCanvas mapped(canvas, *from, target);
        playMetafile(metafile, mapped);
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

} // namespace pv
