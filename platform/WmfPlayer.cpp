#include "platform/WmfPlayer.h"

#include "platform/Dib.h"
#include "platform/MappingCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace pv {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22, kHeaderSize = 18;

// Record functions of the old metafile format.
namespace meta {
constexpr std::uint16_t EOF_ = 0x0000, SAVEDC = 0x001E, SETBKMODE = 0x0102,
                        SETSTRETCHBLTMODE = 0x0107, RESTOREDC = 0x0127, SELECTOBJECT = 0x012D,
                        SETTEXTALIGN = 0x012E, DELETEOBJECT = 0x01F0, SETBKCOLOR = 0x0201,
                        SETTEXTCOLOR = 0x0209, SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C,
                        LINETO = 0x0213, MOVETO = 0x0214, POLYGON = 0x0324, POLYLINE = 0x0325,
                        INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, RECTANGLE = 0x041B,
                        ROUNDRECT = 0x061C, PATBLT = 0x061D, TEXTOUT = 0x0521, EXTTEXTOUT = 0x0A32,
                        DIBBITBLT = 0x0940, DIBSTRETCHBLT = 0x0B41, STRETCHDIB = 0x0F43,
                        CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB,
                        CREATEBRUSHINDIRECT = 0x02FC;
// Records that create an object we do not draw with; each still takes a slot.
constexpr std::uint16_t placeholders[] = {0x00F7 /* palette */, 0x01F9 /* pattern brush */,
                                          0x0142 /* DIB pattern brush */, 0x06FF /* region */};
} // namespace meta

constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::size_t kMaxObjects = 65535;

std::uint16_t u16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint16_t(d[at] | d[at + 1] << 8);
}
std::uint32_t u32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(u16(d, at)) | std::uint32_t(u16(d, at + 2)) << 16;
}

bool isPlaceable(std::span<const std::uint8_t> d) {
    return d.size() >= 4 && u32(d, 0) == kPlaceableKey;
}

// One record: its function and parameter words, every read bounds-checked.
class Record {
public:
    Record(std::span<const std::uint8_t> bytes, std::size_t offset)
        : bytes_(bytes), offset_(offset) {}
    std::uint16_t function() const { return u16(bytes_, 4); }
    std::size_t params() const { return (bytes_.size() - 6) / 2; }
    std::uint16_t word(std::size_t i) const {
        need(i + 1);
        return u16(bytes_, 6 + 2 * i);
    }
    int i16(std::size_t i) const { return std::int16_t(word(i)); }
    std::uint32_t dword(std::size_t i) const { return word(i) | std::uint32_t(word(i + 1)) << 16; }
    std::span<const std::uint8_t> bytesAt(std::size_t word, std::size_t count) const {
        need(word + (count + 1) / 2);
        return bytes_.subspan(6 + 2 * word, count);
    }
    void need(std::size_t words) const {
        if (words > params())
            throw WmfFormatError("metafile record at offset " + std::to_string(offset_) +
                                 " is too short for its parameters");
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_;
};

// The records after the headers, in order, up to the end record.
class Records {
public:
    explicit Records(std::span<const std::uint8_t> data) : data_(data) {
        std::size_t at = isPlaceable(data) ? kPlaceableSize : 0;
        if (data.size() < at + kHeaderSize) throw WmfFormatError("metafile header is cut short");
        const std::uint16_t type = u16(data, at), words = u16(data, at + 2);
        if ((type != 1 && type != 2) || words != 9)
            throw WmfFormatError("not an old-style metafile");
        start_ = at + kHeaderSize;
    }
    template <class F> void each(F&& f) const {
        std::size_t at = start_;
        while (at < data_.size()) {
            if (data_.size() - at < 6)
                throw WmfFormatError("metafile ends inside a record at offset " +
                                     std::to_string(at));
            const std::uint64_t size = std::uint64_t(u32(data_, at)) * 2;
            if (size < 6 || size > data_.size() - at)
                throw WmfFormatError("metafile record at offset " + std::to_string(at) +
                                     " has a wrong size");
            const Record r(data_.subspan(at, std::size_t(size)), at);
            if (r.function() == meta::EOF_) return;
            if (!f(r)) return;
            at += std::size_t(size);
        }
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t start_ = 0;
};

struct Window {
    Point org;
    Size ext; // 0 while not set
};

class Player {
public:
    Player(Canvas& canvas, const Rect& picture) : canvas_(canvas), picture_(picture) {}

    bool play(const Record& r) {
        switch (r.function()) {
        case meta::SETWINDOWORG:
            window_.org = {r.i16(1), r.i16(0)};
            break;
        case meta::SETWINDOWEXT:
            window_.ext = {r.i16(1), r.i16(0)};
            break;
        case meta::SETTEXTCOLOR:
            canvas_.SetTextColor(r.dword(0) & 0xFFFFFF);
            break;
        case meta::SETBKCOLOR:
            canvas_.SetBkColor(r.dword(0) & 0xFFFFFF);
            break;
        case meta::SETBKMODE:
            canvas_.SetBkMode(r.word(0) == 1 ? BkMode::Transparent : BkMode::Opaque);
            break;
        case meta::SETTEXTALIGN:
            canvas_.SetTextAlign(r.word(0));
            break;
        case meta::SETSTRETCHBLTMODE:
            if (const int mode = r.word(0); mode >= 1 && mode <= 4)
                canvas_.SetStretchBltMode(StretchMode(mode));
            break;
        case meta::SAVEDC:
            canvas_.SaveDC();
            windows_.push_back(window_);
            break;
        case meta::RESTOREDC:
            restore(r.i16(0));
            break;
        case meta::CREATEPENINDIRECT:
            create(Pen{PenStyle(r.word(0) & 0xF), r.i16(1), r.dword(3) & 0xFFFFFF});
            break;
        case meta::CREATEBRUSHINDIRECT:
            create(brush(r.word(0), r.dword(1) & 0xFFFFFF, r.word(3)));
            break;
        case meta::CREATEFONTINDIRECT:
            create(font(r));
            break;
        case meta::SELECTOBJECT:
            select(r.word(0));
            break;
        case meta::DELETEOBJECT:
            remove(r.word(0));
            break;
        case meta::INTERSECTCLIPRECT:
            canvas_.IntersectClipRect(rect(r.i16(3), r.i16(2), r.i16(1), r.i16(0)));
            break;
        case meta::MOVETO: {
            const Point p = point(r.i16(1), r.i16(0));
            canvas_.MoveTo(p.x, p.y);
            break;
        }
        case meta::LINETO: {
            const Point p = point(r.i16(1), r.i16(0));
            canvas_.LineTo(p.x, p.y);
            break;
        }
        case meta::RECTANGLE:
        case meta::ROUNDRECT: {
            const std::size_t at = r.function() == meta::ROUNDRECT ? 2 : 0;
            const Rect b = rect(r.i16(at + 3), r.i16(at + 2), r.i16(at + 1), r.i16(at));
            canvas_.Rectangle(b.left, b.top, b.right, b.bottom);
            break;
        }
        case meta::ELLIPSE:
            ellipse(rect(r.i16(3), r.i16(2), r.i16(1), r.i16(0)));
            break;
        case meta::POLYGON:
        case meta::POLYLINE: {
            const std::vector<Point> points = pointList(r);
            if (r.function() == meta::POLYGON)
                canvas_.Polygon(points);
            else
                canvas_.Polyline(points);
            break;
        }
        case meta::PATBLT:
            if (r.dword(0) == kPatCopy)
                canvas_.FillRect(extent(r.i16(5), r.i16(4), r.i16(3), r.i16(2)),
                                 canvas_.state().brush);
            break;
        case meta::TEXTOUT:
            textOut(r);
            break;
        case meta::EXTTEXTOUT:
            extTextOut(r);
            break;
        case meta::STRETCHDIB:
            // rop, usage, source height, width, y, x, then the destination.
            bitmap(r, 11, extent(r.i16(10), r.i16(9), r.i16(8), r.i16(7)));
            break;
        case meta::DIBSTRETCHBLT:
            if (hasBitmap(r)) bitmap(r, 10, extent(r.i16(9), r.i16(8), r.i16(7), r.i16(6)));
            break;
        case meta::DIBBITBLT:
            if (hasBitmap(r)) bitmap(r, 8, extent(r.i16(7), r.i16(6), r.i16(5), r.i16(4)));
            break;
        default:
            for (std::uint16_t f : meta::placeholders)
                if (r.function() == f) create(std::monostate{});
            break;
        }
        return true;
    }

private:
    using Object = std::variant<std::monostate, Pen, Brush, LogFont>;

    // The high byte of a function counts its parameters without a bitmap.
    static bool hasBitmap(const Record& r) { return r.params() != std::size_t(r.function() >> 8); }

    double kx() const { return window_.ext.cx ? double(picture_.width()) / window_.ext.cx : 1; }
    double ky() const { return window_.ext.cy ? double(picture_.height()) / window_.ext.cy : 1; }
    static int held(double v) {
        return int(std::nearbyint(std::clamp(v, double(INT32_MIN / 4), double(INT32_MAX / 4))));
    }
    // Logical units to the picture's: the window, when set, spans the picture.
    Point point(int x, int y) const {
        if (!window_.ext.cx || !window_.ext.cy) return {x, y};
        return {held(picture_.left + (x - window_.org.x) * kx()),
                held(picture_.top + (y - window_.org.y) * ky())};
    }
    Rect rect(int left, int top, int right, int bottom) const {
        const Point a = point(left, top), b = point(right, bottom);
        return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    Rect extent(int x, int y, int width, int height) const {
        return rect(x, y, x + width, y + height);
    }

    std::vector<Point> pointList(const Record& r) const {
        const std::size_t count = r.word(0);
        r.need(1 + 2 * count);
        std::vector<Point> points;
        points.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            points.push_back(point(r.i16(1 + 2 * i), r.i16(2 + 2 * i)));
        return points;
    }

    static Brush brush(std::uint16_t style, Color color, std::uint16_t hatch) {
        switch (style) {
        case 0:
            return {BrushStyle::Solid, color, 0};
        case 1:
            return {BrushStyle::Hollow, 0, 0};
        case 2:
            return {BrushStyle::Hatched, color, hatch};
        default: // patterns: their average shade
            return {BrushStyle::Solid, rgb(128, 128, 128), 0};
        }
    }

    static LogFont font(const Record& r) {
        LogFont f;
        f.height = r.i16(0);
        f.width = r.i16(1);
        f.escapement = r.i16(2);
        f.orientation = r.i16(3);
        f.weight = r.i16(4);
        const auto flags = r.bytesAt(5, 8);
        f.italic = flags[0], f.underline = flags[1], f.strikeOut = flags[2];
        f.charSet = flags[3], f.outPrecision = flags[4], f.clipPrecision = flags[5];
        f.quality = flags[6], f.pitchAndFamily = flags[7];
        const std::size_t faceBytes = std::min<std::size_t>(32, 2 * (r.params() - 9));
        if (r.params() > 9)
            for (std::uint8_t c : r.bytesAt(9, faceBytes)) {
                if (c == 0) break;
                f.faceName.push_back(char(c));
            }
        return f;
    }

    void create(const Object& object) {
        std::size_t slot;
        if (!free_.empty()) {
            slot = *free_.begin();
            free_.erase(free_.begin());
        } else if (objects_.size() < kMaxObjects) {
            slot = objects_.size();
            objects_.emplace_back();
        } else {
            return; // the table is full: the object is not made
        }
        objects_[slot] = object;
    }

    void remove(std::size_t slot) {
        if (slot >= objects_.size() || !objects_[slot]) return;
        objects_[slot].reset();
        free_.insert(slot);
    }

    void select(std::size_t slot) {
        if (slot >= objects_.size() || !objects_[slot]) return;
        const Object& o = *objects_[slot];
        const double k = (std::fabs(kx()) + std::fabs(ky())) / 2;
        if (const Pen* p = std::get_if<Pen>(&o)) {
            Pen pen = *p;
            pen.width = pen.width ? std::max(1, held(std::fabs(pen.width * k))) : 0;
            canvas_.SetPen(pen);
        } else if (const Brush* b = std::get_if<Brush>(&o)) {
            canvas_.SetBrush(*b);
        } else if (const LogFont* f = std::get_if<LogFont>(&o)) {
            LogFont font = *f;
            if (font.height)
                font.height =
                    std::max(1, held(std::fabs(font.height * ky()))) * (font.height < 0 ? -1 : 1);
            font.width = held(std::fabs(font.width * kx()));
            canvas_.SetFont(font);
        }
    }

    void restore(int level) {
        const int depth = int(windows_.size());
        const int levels = level < 0 ? -level : depth - level + 1;
        if (level == 0 || levels <= 0 || levels > depth) return;
        canvas_.RestoreDC(-levels);
        window_ = windows_[std::size_t(depth - levels)];
        windows_.resize(std::size_t(depth - levels));
    }

    void ellipse(const Rect& box) {
        constexpr int kSteps = 48;
        std::vector<Point> points;
        const double cx = (double(box.left) + box.right) / 2,
                     cy = (double(box.top) + box.bottom) / 2;
        const double rx = box.width() / 2.0, ry = box.height() / 2.0;
        for (int i = 0; i < kSteps; ++i) {
            const double a = 2 * std::numbers::pi * i / kSteps;
            points.push_back({held(cx + rx * std::cos(a)), held(cy + ry * std::sin(a))});
        }
        canvas_.Polygon(points);
    }

    // Advances in logical units, mapped as running positions.
    std::vector<int> advances(const Record& r, std::size_t at, std::size_t count) const {
        std::vector<int> dx;
        if (r.params() < at + count) return dx;
        double run = 0;
        int previous = 0;
        for (std::size_t i = 0; i < count; ++i) {
            run += r.i16(at + i);
            const int position = held(run * (window_.ext.cx ? kx() : 1));
            dx.push_back(position - previous);
            previous = position;
        }
        return dx;
    }

    void textOut(const Record& r) {
        const std::size_t count = r.word(0);
        const std::size_t words = (count + 1) / 2;
        const auto text = r.bytesAt(1, count);
        const Point p = point(r.i16(2 + words), r.i16(1 + words));
        canvas_.TextOut(p.x, p.y, std::string(text.begin(), text.end()));
    }

    void extTextOut(const Record& r) {
        const Point p = point(r.i16(1), r.i16(0));
        const std::size_t count = r.word(2);
        const std::uint16_t options = r.word(3);
        std::size_t at = 4;
        std::optional<Rect> box;
        if (options & (eto::Opaque | eto::Clipped)) {
            box = rect(r.i16(4), r.i16(5), r.i16(6), r.i16(7));
            at = 8;
        }
        const auto text = r.bytesAt(at, count);
        const std::vector<int> dx = advances(r, at + (count + 1) / 2, count);
        canvas_.ExtTextOut(p.x, p.y, options & (eto::Opaque | eto::Clipped), box ? &*box : nullptr,
                           std::string(text.begin(), text.end()), dx);
    }

    // A packed DIB from word `at` to the end of the record.
    void bitmap(const Record& r, std::size_t at, const Rect& dest) {
        r.need(at + 20);
        const auto dib = r.bytesAt(at, 2 * (r.params() - at));
        const std::uint32_t headerSize = u32(dib, 0);
        if (headerSize < 40 || headerSize > dib.size())
            throw WmfFormatError("metafile bitmap header size is wrong");
        const int bitCount = u16(dib, 14);
        const std::uint32_t compression = u32(dib, 16);
        std::uint64_t colours = 0;
        if (bitCount >= 1 && bitCount <= 8) {
            const std::uint32_t used = u32(dib, 32);
            colours = used == 0 || used > (1u << bitCount) ? 1u << bitCount : used;
        } else if (compression == 3 && headerSize == 40) {
            colours = 3; // the colour masks
        }
        const std::uint64_t infoSize = headerSize + 4 * colours;
        if (infoSize > dib.size()) throw WmfFormatError("metafile bitmap colours are cut short");
        try {
            const Dib pixels =
                decodeDib(dib.first(std::size_t(infoSize)), dib.subspan(std::size_t(infoSize)));
            canvas_.StretchDIBits(dest, pixels);
        } catch (const DibFormatError& e) {
            throw WmfFormatError(std::string("metafile bitmap: ") + e.what());
        }
    }

    Canvas& canvas_;
    Rect picture_;
    Window window_;
    std::vector<Window> windows_;
    std::vector<std::optional<Object>> objects_;
    std::set<std::size_t> free_;
};

} // namespace

bool isWindowsMetafile(std::span<const std::uint8_t> data) {
    if (isPlaceable(data)) return true;
    return data.size() >= kHeaderSize && (u16(data, 0) == 1 || u16(data, 0) == 2) &&
           u16(data, 2) == 9;
}

std::optional<Rect> wmfPictureRect(std::span<const std::uint8_t> data) {
    if (!isWindowsMetafile(data)) return std::nullopt;
    if (isPlaceable(data)) {
        if (data.size() < kPlaceableSize) return std::nullopt;
        const int l = std::int16_t(u16(data, 6)), t = std::int16_t(u16(data, 8));
        const int r = std::int16_t(u16(data, 10)), b = std::int16_t(u16(data, 12));
        const Rect box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
        return box.isEmpty() ? std::nullopt : std::optional<Rect>(box);
    }
    // The window set before anything else is drawn.
    std::optional<Point> org;
    std::optional<Size> ext;
    try {
        Records(data).each([&](const Record& r) {
            if (r.function() == meta::SETWINDOWORG)
                org = Point{r.i16(1), r.i16(0)};
            else if (r.function() == meta::SETWINDOWEXT)
                ext = Size{r.i16(1), r.i16(0)};
            return !(org && ext);
        });
    } catch (const WmfFormatError&) {
        return std::nullopt;
    }
    if (!ext || ext->cx == 0 || ext->cy == 0) return std::nullopt;
    const Point o = org.value_or(Point{});
    const int x2 = o.x + ext->cx, y2 = o.y + ext->cy;
    return Rect{std::min(o.x, x2), std::min(o.y, y2), std::max(o.x, x2), std::max(o.y, y2)};
}

void playWindowsMetafileInto(std::span<const std::uint8_t> data, Canvas& canvas,
                             const Rect& target) {
    const Records records(data);
    const std::optional<Rect> picture = wmfPictureRect(data);
    if (!picture || target.isEmpty()) return;
    const int level = canvas.SaveDC();
    try {
        canvas.IntersectClipRect(target);
        MappingCanvas mapped(canvas, *picture, target);
        Player player(mapped, *picture);
        records.each([&](const Record& r) { return player.play(r); });
    } catch (...) {
        canvas.RestoreDC(level);
        throw;
    }
    canvas.RestoreDC(level);
}

} // namespace pv
