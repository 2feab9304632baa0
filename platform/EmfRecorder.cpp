#include "platform/EmfRecorder.h"

#include "platform/Charset.h"
#include "platform/CodePage.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numeric>
#include <stdexcept>

namespace pv {

namespace L = emf::layout;

namespace {

constexpr std::uint32_t kPatCopy = 0x00F00021;
constexpr std::uint32_t kRegionCopy = 5;

EmfRect inclusive(const Rect& r) {
    return {r.left, r.top, r.right - 1, r.bottom - 1};
}

bool fitsInt16(std::span<const Point> points) {
    return std::all_of(points.begin(), points.end(), [](const Point& p) {
        return p.x >= INT16_MIN && p.x <= INT16_MAX && p.y >= INT16_MIN && p.y <= INT16_MAX;
    });
}

// A null pen is a null pen and a hollow brush a hollow brush whatever else
// they say: one stock object serves them all.
bool samePen(const Pen& a, const Pen& b) {
    return (a.style == PenStyle::Null && b.style == PenStyle::Null) || a == b;
}
bool sameBrush(const Brush& a, const Brush& b) {
    return (a.isHollow() && b.isHollow()) || a == b;
}

} // namespace

Size ReferenceDevice::millimeters() const {
    return {int(std::lround(widthPixels * 25.4 / pixelsPerInch)),
            int(std::lround(heightPixels * 25.4 / pixelsPerInch))};
}

Size ReferenceDevice::micrometers() const {
    return {int(std::lround(widthPixels * 25400.0 / pixelsPerInch)),
            int(std::lround(heightPixels * 25400.0 / pixelsPerInch))};
}

// One record being built: type and size first, fields appended little-endian.
class EmfRecorder::Record {
public:
    explicit Record(std::uint32_t type) {
        u32(type);
        u32(0);
    }
    Record& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(std::uint8_t(v >> (8 * i)));
        return *this;
    }
    Record& i32(std::int32_t v) { return u32(std::uint32_t(v)); }
    Record& u16(std::uint16_t v) {
        bytes_.push_back(std::uint8_t(v));
        bytes_.push_back(std::uint8_t(v >> 8));
        return *this;
    }
    Record& u8(std::uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    Record& f32(float f) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    Record& rect(const EmfRect& r) { return i32(r.left).i32(r.top).i32(r.right).i32(r.bottom); }
    Record& point(Point p) { return i32(p.x).i32(p.y); }
    Record& bytes(std::span<const std::uint8_t> b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    // A UTF-16 text in a field of `chars` code units (padded with NULs).
    Record& text16(std::u16string_view s, std::size_t chars) {
        for (std::size_t i = 0; i < chars; ++i)
            u16(i < s.size() ? s[i] : 0);
        return *this;
    }
    Record& align4() {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
        return *this;
    }
    std::size_t size() const { return bytes_.size(); }
    void patch32(std::size_t off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes_[off + i] = std::uint8_t(v >> (8 * i));
    }
    const std::vector<std::uint8_t>& finished() {
        align4();
        patch32(4, std::uint32_t(bytes_.size()));
        return bytes_;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

EmfRecorder::EmfRecorder(FontService& fonts, ReferenceDevice device, std::optional<Size> pageSize)
    : Canvas(fonts, device.pixelsPerInch), reference_(device), pageSize_(pageSize) {}

EmfRecorder::~EmfRecorder() = default;

void EmfRecorder::ensureOpen() const {
    if (finished_) throw std::logic_error("drawing on a metafile whose recording has ended");
}

void EmfRecorder::emit(Record& record) {
    ensureOpen();
    const auto& bytes = record.finished();
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    ++records_;
}

void EmfRecorder::addBounds(const EmfRect& r) {
    if (!bounds_) {
        bounds_ = r;
        return;
    }
    bounds_->left = std::min(bounds_->left, r.left);
    bounds_->top = std::min(bounds_->top, r.top);
    bounds_->right = std::max(bounds_->right, r.right);
    bounds_->bottom = std::max(bounds_->bottom, r.bottom);
}

void EmfRecorder::addPoints(std::span<const Point> points) {
    const int half = state().pen.style == PenStyle::Null ? 0 : std::max(1, state().pen.width) / 2;
    for (const Point& p : points)
        addBounds({p.x - half, p.y - half, p.x + half, p.y + half});
}

std::uint32_t EmfRecorder::createObject(const GdiObject& object) {
    const std::uint32_t index = device_.freeIndex();
    if (const Pen* pen = std::get_if<Pen>(&object)) {
        Record r(emf::EMR_CREATEPEN);
        r.u32(index).u32(std::uint32_t(pen->style)).i32(pen->width).i32(0).u32(pen->color);
        emit(r);
    } else if (const Brush* brush = std::get_if<Brush>(&object)) {
        Record r(emf::EMR_CREATEBRUSHINDIRECT);
        const std::uint32_t style = brush->style == BrushStyle::Hollow    ? emf::BS_NULL
                                    : brush->style == BrushStyle::Hatched ? emf::BS_HATCHED
                                                                          : emf::BS_SOLID;
        r.u32(index).u32(style).u32(brush->color).u32(brush->hatch);
        emit(r);
    } else {
        const LogFont& f = std::get<LogFont>(object);
        const std::u16string face = codepage::toUtf16(f.faceName, kSystemAnsiCodePage);
        Record r(emf::EMR_EXTCREATEFONTINDIRECTW);
        r.u32(index).i32(f.height).i32(f.width).i32(f.escapement).i32(f.orientation).i32(f.weight);
        r.u8(f.italic).u8(f.underline).u8(f.strikeOut).u8(f.charSet);
        r.u8(f.outPrecision).u8(f.clipPrecision).u8(f.quality).u8(f.pitchAndFamily);
        r.text16(face, 32);                          // LogFont.Facename
        r.text16(face, 64);                          // FullName
        r.text16(u"", 32);                           // Style
        r.u32(0).u32(0).u32(0).u32(0).u32(0).u32(0); // Version … Culture
        for (int i = 0; i < 10; ++i)
            r.u8(0); // Panose
        r.u16(0);    // padding
        emit(r);
    }
    device_.createObject(index, object);
    maxHandle_ = std::max(maxHandle_, index);
    return index;
}

void EmfRecorder::select(std::uint32_t handle) {
    Record r(emf::EMR_SELECTOBJECT);
    r.u32(handle);
    emit(r);
    device_.selectObject(handle);
    deleteUnused();
}

void EmfRecorder::deleteUnused() {
    for (std::uint32_t i = 1; i <= device_.highestIndex(); ++i) {
        if (!device_.object(i) || device_.isInUse(i)) continue;
        Record r(emf::EMR_DELETEOBJECT);
        r.u32(i);
        emit(r);
        device_.deleteObject(i);
    }
}

void EmfRecorder::realisePen() {
    const Pen& pen = state().pen;
    if (samePen(pen, device_.pen())) return;
    if (pen.style == PenStyle::Null)
        select(kStockObjectFlag | emf::stock::NULL_PEN);
    else
        select(createObject(pen));
}

void EmfRecorder::realiseBrush() {
    realiseBrush(state().brush);
}

void EmfRecorder::realiseBrush(const Brush& brush) {
    if (sameBrush(brush, device_.brush())) return;
    if (brush.isHollow())
        select(kStockObjectFlag | emf::stock::NULL_BRUSH);
    else
        select(createObject(brush));
}

void EmfRecorder::realiseFont() {
    if (state().font == device_.font()) return;
    select(createObject(state().font));
}

void EmfRecorder::textColorChanged() {
    Record r(emf::EMR_SETTEXTCOLOR);
    r.u32(state().textColor);
    emit(r);
    device_.setTextColor(state().textColor);
}

void EmfRecorder::bkColorChanged() {
    Record r(emf::EMR_SETBKCOLOR);
    r.u32(state().bkColor);
    emit(r);
    device_.setBkColor(state().bkColor);
}

void EmfRecorder::bkModeChanged() {
    Record r(emf::EMR_SETBKMODE);
    r.u32(std::uint32_t(state().bkMode));
    emit(r);
    device_.setBkMode(std::uint32_t(state().bkMode));
}

void EmfRecorder::textAlignChanged() {
    Record r(emf::EMR_SETTEXTALIGN);
    r.u32(state().textAlign);
    emit(r);
    device_.setTextAlign(state().textAlign);
}

void EmfRecorder::clipIntersected(const Rect& rect) {
    const EmfRect edges{rect.left, rect.top, rect.right, rect.bottom};
    Record r(emf::EMR_INTERSECTCLIPRECT);
    r.rect(edges);
    emit(r);
    device_.intersectClip(edges);
}

void EmfRecorder::clipRemoved() {
    Record r(emf::EMR_EXTSELECTCLIPRGN);
    r.u32(0).u32(kRegionCopy);
    emit(r);
    device_.removeClip();
}

void EmfRecorder::saved() {
    Record r(emf::EMR_SAVEDC);
    emit(r);
    device_.save();
}

void EmfRecorder::restored(int levels) {
    Record r(emf::EMR_RESTOREDC);
    r.i32(-levels);
    emit(r);
    device_.restore(-levels);
    // The states taken back may have held the only use of some objects.
    deleteUnused();
}

void EmfRecorder::drawText(Point origin, std::uint32_t options, const Rect* rect,
                           std::string_view text, const std::vector<int>& advances) {
    ensureOpen();
    realiseFont();
    const LogFont& font = state().font;
    const PixelMetrics metrics = fonts().pixelMetrics(font);
    const int width = advanceSum(advances);
    const std::uint32_t align = state().textAlign;

    // The text box before rotation, relative to the reference point.
    int x0 = 0, y0 = 0;
    if ((align & textalign::HorizontalMask) == textalign::Center)
        x0 = -width / 2;
    else if ((align & textalign::HorizontalMask) == textalign::Right)
        x0 = -width;
    if ((align & textalign::VerticalMask) == textalign::Baseline)
        y0 = -metrics.ascent;
    else if ((align & textalign::VerticalMask) == textalign::Bottom)
        y0 = -metrics.height();
    const double angle = font.escapement * M_PI / 1800.0;
    const double c = std::cos(angle), s = std::sin(angle);
    std::optional<EmfRect> box;
    if (!text.empty()) {
        double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
        for (auto [dx, dy] : {std::pair{x0, y0},
                              {x0 + width, y0},
                              {x0, y0 + metrics.height()},
                              {x0 + width, y0 + metrics.height()}}) {
            const double px = origin.x + dx * c + dy * s, py = origin.y - dx * s + dy * c;
            minX = std::min(minX, px), maxX = std::max(maxX, px);
            minY = std::min(minY, py), maxY = std::max(maxY, py);
        }
        auto coordinate = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
        box = EmfRect{coordinate(std::floor(minX)), coordinate(std::floor(minY)),
                      coordinate(std::ceil(maxX)) - 1, coordinate(std::ceil(maxY)) - 1};
    }
    EmfRect bounds = box.value_or(rect ? inclusive(*rect) : EmfRect{0, 0, -1, -1});
    if (rect && (options & eto::Opaque)) {
        const EmfRect r = inclusive(*rect);
        bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                  std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    if (rect && (options & eto::Clipped)) {
        const EmfRect r = inclusive(*rect);
        bounds = {std::max(bounds.left, r.left), std::max(bounds.top, r.top),
                  std::min(bounds.right, r.right), std::min(bounds.bottom, r.bottom)};
    }
    if (bounds.right >= bounds.left && bounds.bottom >= bounds.top) addBounds(bounds);

    std::u16string wide;
    if (font.charSet == charset::Symbol)
        for (char ch : text)
            wide.push_back(char16_t(static_cast<unsigned char>(ch)));
    else
        wide = codepage::toUtf16(text, codePageOfCharset(font.charSet));
    const float scale = float(reference_.micrometers().cx) / 10.0f / float(reference_.widthPixels);
    const float scaleY =
        float(reference_.micrometers().cy) / 10.0f / float(reference_.heightPixels);

    namespace T = L::EMR_EXTTEXTOUTW;
    constexpr std::uint32_t fixedSize = T::EmrText_offDx + 4;
    const std::uint32_t offString = fixedSize;
    const std::uint32_t offDx = offString + std::uint32_t((wide.size() * 2 + 3) & ~std::size_t(3));
    const EmfRect textRect =
        rect ? EmfRect{rect->left, rect->top, rect->right, rect->bottom} : EmfRect{};
    Record r(emf::EMR_EXTTEXTOUTW);
    r.rect(bounds).u32(emf::GM_COMPATIBLE).f32(scale).f32(scaleY);
    r.point(origin).u32(std::uint32_t(wide.size())).u32(offString).u32(options & ~emf::ETO_NO_RECT);
    r.rect(textRect).u32(wide.empty() ? 0 : offDx);
    r.text16(wide, wide.size()).align4();
    for (std::size_t i = 0; i < wide.size(); ++i)
        r.i32(i < advances.size() ? advances[i] : 0);
    emit(r);
}

void EmfRecorder::drawMoveTo(Point to) {
    Record r(emf::EMR_MOVETOEX);
    r.point(to);
    emit(r);
    device_.moveTo(to);
}

void EmfRecorder::drawLine(Point from, Point to) {
    realisePen();
    Record r(emf::EMR_LINETO);
    r.point(to);
    emit(r);
    device_.moveTo(to);
    const Point ends[] = {from, to};
    addPoints(ends);
}

void EmfRecorder::drawPoints(std::uint32_t type16, std::uint32_t type32,
                             std::span<const Point> points) {
    int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (const Point& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    // 16-bit points where they fit; coordinates beyond them are kept whole.
    const bool narrow = fitsInt16(points);
    Record r(narrow ? type16 : type32);
    r.rect({minX, minY, maxX, maxY}).u32(std::uint32_t(points.size()));
    for (const Point& p : points) {
        if (narrow)
            r.u16(std::uint16_t(std::int16_t(p.x))).u16(std::uint16_t(std::int16_t(p.y)));
        else
            r.point(p);
    }
    emit(r);
    addPoints(points);
}

void EmfRecorder::drawPolyline(std::span<const Point> points) {
    realisePen();
    drawPoints(emf::EMR_POLYLINE16, emf::EMR_POLYLINE, points);
}

void EmfRecorder::drawPolygon(std::span<const Point> points) {
    realisePen();
    realiseBrush();
    drawPoints(emf::EMR_POLYGON16, emf::EMR_POLYGON, points);
}

void EmfRecorder::drawRectangle(const Rect& rect) {
    realisePen();
    realiseBrush();
    Record r(emf::EMR_RECTANGLE);
    r.rect({rect.left, rect.top, rect.right, rect.bottom});
    emit(r);
    addBounds(inclusive(rect));
}

void EmfRecorder::drawFillRect(const Rect& rect, const Brush& brush) {
    // A pattern copy with a brush of its own; the canvas's brush is selected back afterwards.
    const Brush previous = device_.brush();
    realiseBrush(brush);
    Record r(emf::EMR_BITBLT);
    r.rect(inclusive(rect)).i32(rect.left).i32(rect.top).i32(rect.width()).i32(rect.height());
    r.u32(kPatCopy).i32(0).i32(0);
    r.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0); // XformSrc
    r.u32(0).u32(emf::DIB_RGB_COLORS).u32(0).u32(0).u32(0).u32(0);
    emit(r);
    addBounds(inclusive(rect));
    realiseBrush(previous);
}

void EmfRecorder::drawDib(const Rect& dest, const Dib& dib) {
    const std::vector<std::uint8_t> info = dibInfoHeader(dib);
    const std::vector<std::uint8_t> bits = dibBits(dib);
    namespace S = L::EMR_STRETCHDIBITS;
    constexpr std::uint32_t fixedSize = S::cyDest + 4;
    Record r(emf::EMR_STRETCHDIBITS);
    r.rect(inclusive(dest)).i32(dest.left).i32(dest.top);
    r.i32(0).i32(0).i32(dib.width).i32(dib.height);
    r.u32(fixedSize).u32(std::uint32_t(info.size()));
    r.u32(fixedSize + std::uint32_t(info.size())).u32(std::uint32_t(bits.size()));
    r.u32(emf::DIB_RGB_COLORS).u32(emf::SRCCOPY).i32(dest.width()).i32(dest.height());
    r.bytes(info).bytes(bits);
    emit(r);
    addBounds(inclusive(dest));
}

std::vector<std::uint8_t> EmfRecorder::finish() {
    if (finished_) return result_;
    while (device_.saveDepth() > 0)
        RestoreDC(-1);
    if (device_.current().penHandle != (kStockObjectFlag | emf::stock::BLACK_PEN))
        select(kStockObjectFlag | emf::stock::BLACK_PEN);
    if (device_.current().brushHandle != (kStockObjectFlag | emf::stock::WHITE_BRUSH))
        select(kStockObjectFlag | emf::stock::WHITE_BRUSH);
    if (device_.current().fontHandle != (kStockObjectFlag | emf::stock::SYSTEM_FONT))
        select(kStockObjectFlag | emf::stock::SYSTEM_FONT);
    Record eof(emf::EMR_EOF);
    eof.u32(0).u32(16).u32(20);
    emit(eof);

    namespace H = L::EMR_HEADER;
    constexpr std::uint32_t headerSize = H::MicrometersY + 4;
    const EmfRect bounds = bounds_.value_or(EmfRect{0, 0, -1, -1});
    const double hundredthsX = reference_.micrometers().cx / 10.0 / reference_.widthPixels;
    const double hundredthsY = reference_.micrometers().cy / 10.0 / reference_.heightPixels;
    EmfRect frame;
    if (pageSize_)
        frame = {0, 0, int(std::lround(pageSize_->cx * hundredthsX)) - 1,
                 int(std::lround(pageSize_->cy * hundredthsY)) - 1};
    else
        frame = {int(std::lround(bounds.left * hundredthsX)),
                 int(std::lround(bounds.top * hundredthsY)),
                 int(std::lround((bounds.right + 1) * hundredthsX)) - 1,
                 int(std::lround((bounds.bottom + 1) * hundredthsY)) - 1};
    Record header(emf::EMR_HEADER);
    header.rect(bounds).rect(frame).u32(emf::ENHMETA_SIGNATURE).u32(0x00010000);
    header.u32(std::uint32_t(headerSize + body_.size())).u32(records_ + 1);
    header.u16(std::uint16_t(maxHandle_ + 1)).u16(0).u32(0).u32(0).u32(0);
    header.i32(reference_.widthPixels).i32(reference_.heightPixels);
    header.i32(reference_.millimeters().cx).i32(reference_.millimeters().cy);
    header.u32(0).u32(0).u32(0); // no pixel format, no OpenGL
    header.i32(reference_.micrometers().cx).i32(reference_.micrometers().cy);
    result_ = header.finished();
    result_.insert(result_.end(), body_.begin(), body_.end());
    body_.clear();
    finished_ = true;
    return result_;
}

void EmfRecorder::saveToFile(const std::string& pathUtf8) {
    const std::vector<std::uint8_t> data = finish();
    std::ofstream out(pathUtf8, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out) throw std::runtime_error("cannot write the metafile " + pathUtf8);
}

} // namespace pv
