#include "pdf/MetafileTranslator.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFPage.h"
#include "pdf/PDFTypes.h"
#include "platform/Charset.h"
#include "platform/CodePage.h"
#include "platform/Dib.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace pv {

namespace {

using namespace emf;

double component(int value) {
    return value / 255.0;
}

std::int64_t mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

std::vector<Point> points32(const EmfRecord& r, std::size_t countAt, std::size_t pointsAt) {
    const std::uint32_t count = r.u32(countAt);
    auto bytes = r.block(pointsAt, count, 8);
    std::vector<Point> pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < bytes.size(); i += 8)
        pts.push_back(r.pointL(pointsAt + i));
    return pts;
}

std::vector<Point> points16(const EmfRecord& r, std::size_t countAt, std::size_t pointsAt) {
    const std::uint32_t count = r.u32(countAt);
    auto bytes = r.block(pointsAt, count, 4);
    std::vector<Point> pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < bytes.size(); i += 4)
        pts.push_back({r.i16(pointsAt + i), r.i16(pointsAt + i + 2)});
    return pts;
}

// The point list of a poly record, in either coordinate size.
std::vector<Point> polyPoints(const EmfRecord& r, bool small) {
    return small ? points16(r, 24, 28) : points32(r, 24, 28);
}

Point pointAt(const EmfRecord& r, std::size_t off, bool small) {
    if (small) return {r.i16(off), r.i16(off + 2)};
    return r.pointL(off);
}

std::string dashPattern(PenStyle style) {
    switch (style) {
    case PenStyle::Dash:
        return "[8 8] 0";
    case PenStyle::Dot:
        return "[2 2] 0";
    case PenStyle::DashDot:
        return "[8 2 2 2] 0";
    case PenStyle::DashDotDot:
        return "[8 2 2 2 2 2] 0";
    default:
        return "[] 0";
    }
}

int codePageForText(int charset) {
    switch (charset) {
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 238:
        return 1250;
    default:
        return kSystemAnsiCodePage;
    }
}

std::string narrowText(const std::u16string& text, int charset) {
    if (charset == 2) {
        std::string out;
        out.reserve(text.size());
        for (char16_t c : text)
            out.push_back(char(c & 0xFF));
        return out;
    }
    int cp = codePageForText(charset);
    if (!codepage::isKnown(cp)) cp = kSystemAnsiCodePage;
    return codepage::fromUtf16(text, cp);
}

Bitmap24 toBitmap(const Dib& dib) {
    Bitmap24 b;
    b.width = dib.width;
    b.height = dib.height;
    b.bgr.resize(dib.rgb.size());
    for (std::size_t i = 0; i + 2 < dib.rgb.size(); i += 3) {
        b.bgr[i] = dib.rgb[i + 2];
        b.bgr[i + 1] = dib.rgb[i + 1];
        b.bgr[i + 2] = dib.rgb[i];
    }
    return b;
}

// A DIB referenced by a bitmap record: (offset, size) pairs of header and bits.
std::optional<Dib> recordDib(const EmfRecord& r, std::size_t offBmiAt) {
    const std::uint32_t offBmi = r.u32(offBmiAt), cbBmi = r.u32(offBmiAt + 4);
    const std::uint32_t offBits = r.u32(offBmiAt + 8), cbBits = r.u32(offBmiAt + 12);
    if (cbBmi == 0 || offBmi == 0) return std::nullopt;
    try {
        return decodeDib(r.block(offBmi, cbBmi, 1), r.block(offBits, cbBits, 1));
    } catch (const DibFormatError& e) {
        r.fail(e.what());
    }
}

// The rows [start, start + scans) of a bottom-up DIB placed into a bitmap of the source size.
Dib scanRange(const Dib& dib, int width, int height, std::uint32_t start, std::uint32_t scans) {
    Dib out(width, height);
    for (int y = 0; y < height; ++y) {
        const int fromBottom = height - 1 - y;
        if (fromBottom < std::int64_t(start) || fromBottom >= std::int64_t(start) + scans) continue;
        const int srcY = dib.height - 1 - (fromBottom - int(start));
        if (srcY < 0 || srcY >= dib.height) continue;
        for (int x = 0; x < width && x < dib.width; ++x) {
            const std::uint8_t* p = dib.pixel(x, srcY);
            out.setPixel(x, y, p[0], p[1], p[2]);
        }
    }
    return out;
}

bool standardFace(const std::string& upper) {
    for (const char* name :
         {"ARIAL", "COURIER NEW", "TIMES NEW ROMAN", "HELVETICA", "TIMES", "COURIER"})
        if (upper == name) return true;
    return false;
}

// Bitmaps larger than this are refused rather than allocated.
constexpr std::int64_t kMaxImagePixels = 64LL * 1024 * 1024;

// A source extent as the record gives it, but no larger than the bitmap stored:
// the rest would only be blank pixels made up from a few bytes of input.
int sourceExtent(std::int64_t recorded, std::int64_t stored) {
    return int(std::min(recorded < 0 ? -recorded : recorded, stored));
}

bool sensibleSize(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w * h <= kMaxImagePixels;
}

} // namespace

TEMWParser::TEMWParser(TPDFPage& page, FontService& fonts, ReferenceDevice reference)
    : page_(page), fonts_(fonts), ppi_(reference.pixelsPerInch),
      k_(double(page.Resolution()) / reference.pixelsPerInch) {}

void TEMWParser::LoadFromBytes(std::string metafile) {
    metafile_ = std::move(metafile);
    loaded_ = true;
}

MetafileTranslator::FrameSize metafileFrame(const std::string& metafile, double k) {
    auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(metafile.data()), metafile.size());
    const EmfReader reader(bytes);
    const EmfRect& b = reader.header().bounds;
    return {int(std::lround(b.right * k)), int(std::lround(b.bottom * k))};
}

MetafileTranslator::FrameSize TEMWParser::FrameSize() const {
    if (!loaded_) throw TPDFException("Metafile not loaded");
    return metafileFrame(metafile_, k_);
}

void TEMWParser::reset() {
    reference_ = DeviceState();
    position_ = {};
    scaleX_ = scaleY_ = 1;
    offsetX_ = offsetY_ = 0;
    inPath_ = inText_ = clipActive_ = hollow_ = false;
    fontDirty_ = evenOdd_ = counterClockwise_ = true;
    vertical_ = horizontal_ = 0;
    penColor_ = brushColor_ = textColor_ = bkColor_ = 0;
    penStyle_ = PenStyle::Solid;
    penWidth_ = 0;
    dash_ = "[] 0";
    dashPending_ = false;
    font_ = LogFont();
    lastFill_ = lastStroke_ = 0;
    lastLineWidth_ = 0;
    fontGeneration_ = 0;
    saved_.clear();
    advances_.fill(0);
}

void TEMWParser::Translate() {
    if (!loaded_) throw TPDFException("Metafile not loaded");
    reset();
    auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(metafile_.data()), metafile_.size());
    const EmfReader reader(bytes);
    useDevice(reader.header());
    readTransform();
    for (const EmfRecord& r : reader) {
        if (r.index() == 0) continue;
        const std::uint32_t type = r.type();
        if (type == EMR_EOF) break;
        static constexpr std::uint32_t keepOpen[] = {EMR_SETBKMODE,
                                                     EMR_SETTEXTALIGN,
                                                     EMR_SETTEXTCOLOR,
                                                     EMR_SETBKCOLOR,
                                                     EMR_MOVETOEX,
                                                     EMR_SAVEDC,
                                                     EMR_RESTOREDC,
                                                     EMR_SELECTOBJECT,
                                                     EMR_CREATEPEN,
                                                     EMR_CREATEBRUSHINDIRECT,
                                                     EMR_DELETEOBJECT,
                                                     EMR_BITBLT,
                                                     EMR_EXTCREATEFONTINDIRECTW,
                                                     EMR_EXTTEXTOUTA,
                                                     EMR_EXTTEXTOUTW};
        if (inText_ &&
            std::find(std::begin(keepOpen), std::end(keepOpen), type) == std::end(keepOpen))
            endTextObject();
        if ((type == EMR_EXTTEXTOUTA || type == EMR_EXTTEXTOUTW) && !inText_) beginTextObject();
        handle(r);
    }
    if (inText_) endTextObject();
}

// --- painting and colours ---

bool TEMWParser::penVisible() const {
    return penWidth_ != 0 && penStyle_ != PenStyle::Null;
}

void TEMWParser::strokeOnly() {
    if (inPath_) return;
    if (penVisible())
        page_.Stroke();
    else
        page_.NewPath();
}

void TEMWParser::fillAndStroke() {
    if (inPath_) return;
    if (hollow_) return strokeOnly();
    if (penVisible()) {
        if (evenOdd_)
            page_.EoFillAndStroke();
        else
            page_.FillAndStroke();
    } else if (evenOdd_) {
        page_.EoFill();
    } else {
        page_.Fill();
    }
}

void TEMWParser::setFill(Color c) {
    if (c == lastFill_) return;
    page_.SetRGBFillColor(component(redOf(c)), component(greenOf(c)), component(blueOf(c)));
    lastFill_ = c;
}

void TEMWParser::setStroke(Color c) {
    if (c == lastStroke_) return;
    page_.SetRGBStrokeColor(component(redOf(c)), component(greenOf(c)), component(blueOf(c)));
    lastStroke_ = c;
}

void TEMWParser::beginTextObject() {
    page_.BeginText();
    inText_ = true;
    if (fontDirty_) applyFont();
    setFill(textColor_);
}

void TEMWParser::endTextObject() {
    page_.EndText();
    inText_ = false;
    setFill(brushColor_);
    if (dashPending_) {
        dashPending_ = false;
        page_.SetDash(dash_);
    }
}

// A restore gives back the colours, line width, dash and font that were set
// when the state was saved; the caches must follow, or a colour set inside the
// clip would be taken as still current after it.
// The saves nest (a clipped text inside a clip), so the snapshots are a stack
// matching the page's q and Q.
void TEMWParser::gsave() {
    saved_.push_back(
        GraphicsSnapshot{lastFill_, lastStroke_, lastLineWidth_, dash_, fontGeneration_});
    page_.GStateSave();
}

void TEMWParser::grestore() {
    page_.GStateRestore();
    if (saved_.empty()) return;
    const GraphicsSnapshot s = saved_.back();
    saved_.pop_back();
    lastFill_ = s.fill;
    lastStroke_ = s.stroke;
    if (s.dash != dash_) {
        page_.SetDash(s.dash);
        page_.SetDash(dash_);
    }
    if (s.lineWidth != lastLineWidth_) {
        page_.SetLineWidth(lastLineWidth_);
    }
    if (s.fontGeneration != fontGeneration_) fontDirty_ = true;
    setStroke(penColor_);
    setFill(inText_ ? textColor_ : brushColor_);
    if (fontDirty_ && inText_) applyFont();
}

// --- the records ---

void TEMWParser::handle(const EmfRecord& r) {
    const std::uint32_t type = r.type();
    switch (type) {
    case EMR_POLYBEZIER:
        return polyBezier(polyPoints(r, false));
    case EMR_POLYBEZIER16:
        return polyBezier(polyPoints(r, true));
    case EMR_POLYGON:
        return polygon(polyPoints(r, false));
    case EMR_POLYGON16:
        return polygon(polyPoints(r, true));
    case EMR_POLYLINE:
        return polyline(polyPoints(r, false));
    case EMR_POLYLINE16:
        return polyline(polyPoints(r, true));
    case EMR_POLYBEZIERTO:
        return polyBezierTo(polyPoints(r, false));
    case EMR_POLYBEZIERTO16:
        return polyBezierTo(polyPoints(r, true));
    case EMR_POLYLINETO:
        return polylineTo(polyPoints(r, false));
    case EMR_POLYLINETO16:
        return polylineTo(polyPoints(r, true));
    case EMR_POLYPOLYLINE:
        return polyPoly(r, false, false);
    case EMR_POLYPOLYLINE16:
        return polyPoly(r, true, false);
    case EMR_POLYPOLYGON:
        return polyPoly(r, false, true);
    case EMR_POLYPOLYGON16:
        return polyPoly(r, true, true);
    case EMR_POLYDRAW:
        return polyDraw(r, false);
    case EMR_POLYDRAW16:
        return polyDraw(r, true);
    case EMR_MOVETOEX:
        position_ = r.pointL(8);
        if (inPath_) {
            if (inText_) endTextObject();
            page_.MoveTo(X(position_.x), Y(position_.y));
        }
        return;
    case EMR_LINETO: {
        const Point p = r.pointL(8);
        if (!inPath_) page_.MoveTo(X(position_.x), Y(position_.y));
        page_.LineTo(X(p.x), Y(p.y));
        position_ = p;
        return strokeOnly();
    }
    case EMR_RECTANGLE: {
        // The right and bottom edges are one device pixel inside, whatever a record unit is.
        const EmfRect b = r.rect(8);
        page_.Rectangle(X(b.left), Y(b.top), X(b.right) - std::copysign(k_, scaleX_),
                        Y(b.bottom) - std::copysign(k_, scaleY_));
        return fillAndStroke();
    }
    case EMR_ROUNDRECT: {
        const EmfRect b = r.rect(8);
        const Point corner = r.pointL(24);
        page_.RoundRect(int(std::lround(X(b.left))), int(std::lround(Y(b.top))),
                        int(std::lround(X(b.right))), int(std::lround(Y(b.bottom))),
                        int(std::lround(corner.x * scaleX_ * k_)),
                        int(std::lround(corner.y * scaleY_ * k_)));
        return fillAndStroke();
    }
    case EMR_ELLIPSE: {
        const EmfRect b = r.rect(8);
        page_.Ellipse(X(b.left), Y(b.top), X(b.right), Y(b.bottom));
        return fillAndStroke();
    }
    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_CHORD:
    case EMR_PIE:
        return arcFamily(r);
    case EMR_ANGLEARC:
        return angleArc(r);
    case EMR_SETPIXELV:
        return setPixel(r);
    case EMR_BEGINPATH:
        inPath_ = true;
        page_.NewPath();
        page_.MoveTo(X(position_.x), Y(position_.y));
        return;
    case EMR_ENDPATH:
        inPath_ = false;
        return;
    case EMR_CLOSEFIGURE:
        page_.ClosePath();
        return;
    case EMR_FILLPATH:
        // Filled by the fill mode, as a stroked and filled path is.
        inPath_ = false;
        if (!hollow_) {
            if (evenOdd_)
                page_.EoFill();
            else
                page_.Fill();
        }
        page_.NewPath();
        return;
    case EMR_STROKEANDFILLPATH:
        inPath_ = false;
        fillAndStroke();
        page_.NewPath();
        return;
    case EMR_STROKEPATH:
        inPath_ = false;
        strokeOnly();
        page_.NewPath();
        return;
    case EMR_ABORTPATH:
        page_.NewPath();
        inPath_ = false;
        return;
    case EMR_SELECTCLIPPATH:
        return clipPath();
    case EMR_INTERSECTCLIPRECT:
        return intersectClip(r.rect(8));
    case EMR_EXCLUDECLIPRECT:
    case EMR_EXTSELECTCLIPRGN:
        if (clipActive_) {
            grestore();
            clipActive_ = false;
        }
        return;
    case EMR_SAVEDC:
        reference_.apply(r);
        return;
    case EMR_RESTOREDC:
        reference_.apply(r);
        return restoreDC();
    case EMR_SETWORLDTRANSFORM:
        reference_.apply(r);
        return readTransform();
    case EMR_MODIFYWORLDTRANSFORM: {
        const std::uint32_t mode = r.u32(32);
        if (mode >= 1 && mode <= 4) {
            reference_.apply(r);
            return readTransform();
        }
        scaleX_ = r.f32(8);
        scaleY_ = r.f32(20);
        offsetX_ = k_ * r.f32(24);
        offsetY_ = k_ * r.f32(28);
        return;
    }
    case EMR_SETMAPMODE:
    case EMR_SETWINDOWEXTEX:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SCALEWINDOWEXTEX:
    case EMR_SCALEVIEWPORTEXTEX:
        reference_.apply(r);
        return readTransform();
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_DELETEOBJECT:
        reference_.apply(r);
        return;
    case EMR_EXTCREATEPEN: {
        Pen pen;
        pen.style = PenStyle(r.u32(28) & 0xF);
        pen.width = r.i32(32);
        pen.color = r.u32(40) & 0xFFFFFF;
        reference_.createObject(r.u32(8), pen);
        return;
    }
    case EMR_SELECTOBJECT:
        return selectObject(r.u32(8));
    case EMR_SETTEXTCOLOR:
        reference_.apply(r);
        textColor_ = r.u32(8) & 0xFFFFFF;
        if (inText_) setFill(textColor_);
        return;
    case EMR_SETBKCOLOR:
        reference_.apply(r);
        bkColor_ = r.u32(8) & 0xFFFFFF;
        return;
    case EMR_SETTEXTALIGN: {
        reference_.apply(r);
        const std::uint32_t mode = r.u32(8);
        vertical_ = (mode & 8) ? 2 : (mode & 16) ? 1 : 0;
        horizontal_ = (mode & 2) ? 2 : (mode & 4) ? 1 : 0;
        return;
    }
    case EMR_SETPOLYFILLMODE:
        evenOdd_ = r.u32(8) == 1;
        return;
    case EMR_SETARCDIRECTION:
        counterClockwise_ = r.u32(8) == 1;
        return;
    case EMR_EXTTEXTOUTA:
        return textOut(r, false);
    case EMR_EXTTEXTOUTW:
        return textOut(r, true);
    case EMR_BITBLT:
        return bitBlt(r);
    case EMR_STRETCHBLT:
        return stretchBlt(r);
    case EMR_STRETCHDIBITS:
        return stretchDIBits(r);
    case EMR_SETDIBITSTODEVICE:
        return setDIBitsToDevice(r);
    default:
        reference_.apply(r);
        return;
    }
}

// Shapes inside a path only add to it: starting a new path or painting there
// would throw away the figures already collected.
void TEMWParser::polyBezier(const std::vector<Point>& pts) {
    if (pts.size() < 4) return;
    page_.MoveTo(X(pts[0].x), Y(pts[0].y));
    for (std::size_t i = 1; i + 2 < pts.size(); i += 3)
        page_.CurveTo(X(pts[i].x), Y(pts[i].y), X(pts[i + 1].x), Y(pts[i + 1].y), X(pts[i + 2].x),
                      Y(pts[i + 2].y));
    strokeOnly();
}

void TEMWParser::polygon(const std::vector<Point>& pts) {
    if (pts.empty()) return;
    if (!inPath_) page_.NewPath();
    page_.MoveTo(X(pts[0].x), Y(pts[0].y));
    for (std::size_t i = 1; i < pts.size(); ++i)
        page_.LineTo(X(pts[i].x), Y(pts[i].y));
    if (inPath_) return;
    page_.ClosePath();
    fillAndStroke();
}

void TEMWParser::polyline(const std::vector<Point>& pts) {
    if (pts.empty()) return;
    if (!inPath_) page_.NewPath();
    page_.MoveTo(X(pts[0].x), Y(pts[0].y));
    for (std::size_t i = 1; i < pts.size(); ++i)
        page_.LineTo(X(pts[i].x), Y(pts[i].y));
    strokeOnly();
}

void TEMWParser::polyBezierTo(const std::vector<Point>& pts) {
    if (pts.size() < 3) return;
    // Inside a path the curve goes on from the figure's last point.
    if (!inPath_) page_.MoveTo(X(position_.x), Y(position_.y));
    for (std::size_t i = 0; i + 2 < pts.size(); i += 3) {
        page_.CurveTo(X(pts[i].x), Y(pts[i].y), X(pts[i + 1].x), Y(pts[i + 1].y), X(pts[i + 2].x),
                      Y(pts[i + 2].y));
        position_ = pts[i + 2];
    }
    strokeOnly();
}

void TEMWParser::polylineTo(const std::vector<Point>& pts) {
    if (pts.empty()) return;
    if (!inPath_) {
        page_.NewPath();
        page_.MoveTo(X(position_.x), Y(position_.y));
    }
    for (const Point& p : pts)
        page_.LineTo(X(p.x), Y(p.y));
    position_ = pts.back();
    strokeOnly();
}

void TEMWParser::polyPoly(const EmfRecord& r, bool small, bool closed) {
    const std::uint32_t polys = r.u32(24), total = r.u32(28);
    auto countBytes = r.block(32, polys, 4);
    const std::size_t pointsAt = 32 + countBytes.size();
    r.block(pointsAt, total, small ? 4 : 8);
    if (!inPath_) page_.NewPath();
    std::size_t next = 0;
    for (std::uint32_t i = 0; i < polys; ++i) {
        const std::uint32_t count = r.u32(32 + 4 * i);
        if (count > total - next) r.fail("polygon point counts exceed the points stored");
        if (count == 0) continue;
        const std::size_t unit = small ? 4 : 8;
        const Point first = pointAt(r, pointsAt + next * unit, small);
        page_.MoveTo(X(first.x), Y(first.y));
        for (std::uint32_t j = 1; j < count; ++j) {
            const Point p = pointAt(r, pointsAt + (next + j) * unit, small);
            page_.LineTo(X(p.x), Y(p.y));
        }
        if (closed) page_.LineTo(X(first.x), Y(first.y));
        next += count;
    }
    if (closed)
        fillAndStroke();
    else
        strokeOnly();
}

void TEMWParser::polyDraw(const EmfRecord& r, bool small) {
    const std::vector<Point> pts = polyPoints(r, small);
    auto types = r.slice(28 + pts.size() * (small ? 4 : 8), pts.size());
    if (!inPath_) page_.NewPath();
    page_.MoveTo(X(position_.x), Y(position_.y));
    Point figureStart = position_;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const std::uint8_t t = types[i];
        std::size_t last = i;
        if ((t & 6) == 6) {
            page_.MoveTo(X(pts[i].x), Y(pts[i].y));
            figureStart = position_ = pts[i];
            continue;
        }
        if (t & 2) {
            page_.LineTo(X(pts[i].x), Y(pts[i].y));
        } else if ((t & 4) && i + 2 < pts.size()) {
            page_.CurveTo(X(pts[i].x), Y(pts[i].y), X(pts[i + 1].x), Y(pts[i + 1].y),
                          X(pts[i + 2].x), Y(pts[i + 2].y));
            last = i + 2;
            i += 2;
        } else {
            continue;
        }
        position_ = pts[last];
        if (types[last] & 1) {
            page_.LineTo(X(figureStart.x), Y(figureStart.y));
            position_ = figureStart;
        }
    }
    strokeOnly();
}

void TEMWParser::arcFamily(const EmfRecord& r) {
    const EmfRect b = r.rect(8);
    Point start = r.pointL(24), end = r.pointL(32);
    const std::uint32_t type = r.type();
    const double x1 = X(b.left), y1 = Y(b.top), x2 = X(b.right), y2 = Y(b.bottom);
    if (type == EMR_PIE) {
        page_.Pie(x1, y1, x2, y2, X(start.x), Y(start.y), X(end.x), Y(end.y));
        return fillAndStroke();
    }
    if (!counterClockwise_) std::swap(start, end);
    auto arc = [&] {
        return page_.Arc(x1, y1, x2, y2, X(start.x), Y(start.y), X(end.x), Y(end.y));
    };
    if (type == EMR_ARC) {
        arc();
        return strokeOnly();
    }
    if (type == EMR_CHORD) {
        const PdfPoint first = arc();
        page_.LineToPt(first.x, first.y);
        return fillAndStroke();
    }
    // EMR_ARCTO: a line from the current position to the arc's first point, then the arc.
    page_.MoveTo(X(position_.x), Y(position_.y));
    const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
    const double rx = (b.right - b.left) / 2.0, ry = (b.bottom - b.top) / 2.0;
    auto onArc = [&](Point p) {
        const double a = std::atan2((p.y - cy) * rx, (p.x - cx) * ry);
        return Point{int(std::lround(cx + rx * std::cos(a))),
                     int(std::lround(cy + ry * std::sin(a)))};
    };
    const Point first = onArc(start);
    page_.LineTo(X(first.x), Y(first.y));
    arc();
    position_ = onArc(counterClockwise_ ? end : start);
    strokeOnly();
}

void TEMWParser::angleArc(const EmfRecord& r) {
    const Point c = r.pointL(8);
    const double radius = r.u32(16);
    const double start = r.f32(20), sweep = r.f32(24);
    if (!std::isfinite(start) || !std::isfinite(sweep)) r.fail("angles out of range");
    const double a = start * std::numbers::pi / 180, e = (start + sweep) * std::numbers::pi / 180;
    page_.MoveTo(X(position_.x), Y(position_.y));
    page_.LineTo(X(c.x + radius * std::cos(a)), Y(c.y - radius * std::sin(a)));
    const double x1 = X(c.x - radius), y1 = Y(c.y - radius), x2 = X(c.x + radius),
                 y2 = Y(c.y + radius);
    if (std::fabs(sweep) >= 360)
        page_.Ellipse(x1, y1, x2, y2);
    else
        page_.ArcByAngles(x1, y1, x2, y2, start, start + sweep);
    position_ = {int(std::lround(c.x + radius * std::cos(e))),
                 int(std::lround(c.y - radius * std::sin(e)))};
    strokeOnly();
}

void TEMWParser::setPixel(const EmfRecord& r) {
    const Point p = r.pointL(8);
    const Color color = r.u32(16) & 0xFFFFFF;
    page_.NewPath();
    const bool colorChanged = color != penColor_;
    if (colorChanged) setStroke(color);
    const bool widthChanged = penWidth_ != 1;
    if (widthChanged) {
        page_.SetLineWidth(1);
        lastLineWidth_ = 1;
    }
    page_.MoveTo(X(p.x), Y(p.y));
    page_.LineTo(X(p.x) + 0.01, Y(p.y) + 0.01);
    strokeOnly();
    if (widthChanged) {
        page_.SetLineWidth(penWidth_ * k_);
        lastLineWidth_ = penWidth_ * k_;
    }
    if (colorChanged) setStroke(penColor_);
}

void TEMWParser::clipPath() {
    if (clipActive_) grestore();
    gsave();
    clipActive_ = true;
    page_.Clip();
    page_.NewPath();
    inPath_ = false;
}

void TEMWParser::intersectClip(const EmfRect& rect) {
    reference_.intersectClip(rect);
    if (clipActive_) grestore();
    gsave();
    clipActive_ = true;
    page_.NewPath();
    page_.Rectangle(X(rect.left), Y(rect.top), X(rect.right), Y(rect.bottom));
    page_.Clip();
    page_.NewPath();
}

// Record units reach the page through the world transform (its scale and
// offset), then the mapping mode's window and viewport, then the device.
void TEMWParser::readTransform() {
    const XForm& t = reference_.worldTransform();
    const PageScale m = pageScale(reference_.mapping(), pixelsPerMmX_, pixelsPerMmY_);
    scaleX_ = t.m11 * m.scaleX;
    scaleY_ = t.m22 * m.scaleY;
    offsetX_ = k_ * (t.dx * m.scaleX + m.offsetX - frameOrigin_.x);
    offsetY_ = k_ * (t.dy * m.scaleY + m.offsetY - frameOrigin_.y);
}

// The file's reference device decides what a pixel is. A device within half a
// percent of ours (the millimetres in the header are rounded) is taken as ours.
void TEMWParser::useDevice(const EmfHeader& header) {
    const double ours = ppi_ / 25.4;
    auto perMm = [&](int pixels, int mm) {
        if (pixels <= 0 || mm <= 0) return ours;
        const double v = double(pixels) / mm;
        return std::fabs(v - ours) <= ours * 0.005 ? ours : v;
    };
    pixelsPerMmX_ = perMm(header.device.cx, header.millimeters.cx);
    pixelsPerMmY_ = perMm(header.device.cy, header.millimeters.cy);
    // The page starts where the file's frame does, which other programs put
    // inside their drawing's margin.
    frameOrigin_ = {header.frame.left / 100.0 * pixelsPerMmX_,
                    header.frame.top / 100.0 * pixelsPerMmY_};
    if (pixelsPerMmX_ == ours && pixelsPerMmY_ == ours) {
        devicePpi_ = ppi_;
        k_ = double(page_.Resolution()) / ppi_;
    } else {
        devicePpi_ = pixelsPerMmY_ * 25.4;
        k_ = double(page_.Resolution()) / (pixelsPerMmX_ * 25.4);
    }
}

void TEMWParser::restoreDC() {
    readTransform();
    if (clipActive_) {
        clipActive_ = false;
        if (inText_) page_.EndText();
        grestore();
        if (inText_) page_.BeginText();
    }
    usePen(reference_.pen());
    brushColor_ = reference_.brush().color;
    if (!inText_) setFill(brushColor_);
    useFont(reference_.font());
}

void TEMWParser::selectObject(std::uint32_t handle) {
    if (handle & kStockObjectFlag) {
        reference_.selectObject(handle);
        return selectStock(handle & ~kStockObjectFlag);
    }
    const GdiObject* object = reference_.object(handle);
    if (!object) return;
    reference_.selectObject(handle);
    if (const Pen* pen = std::get_if<Pen>(object)) return usePen(*pen);
    if (const Brush* brush = std::get_if<Brush>(object)) {
        hollow_ = brush->isHollow();
        brushColor_ = brush->color;
        if (!inText_) setFill(brushColor_);
        return;
    }
    useFont(std::get<LogFont>(*object));
}

void TEMWParser::selectStock(std::uint32_t number) {
    static constexpr Color brushes[] = {rgb(255, 255, 255), rgb(170, 170, 170), rgb(128, 128, 128),
                                        rgb(102, 102, 102), rgb(0, 0, 0)};
    if (number <= stock::BLACK_BRUSH || number == stock::NULL_BRUSH) {
        hollow_ = number == stock::NULL_BRUSH;
        brushColor_ = hollow_ ? rgb(255, 255, 255) : brushes[number];
        if (!inText_) setFill(brushColor_);
    } else if (number == stock::WHITE_PEN || number == stock::BLACK_PEN) {
        penColor_ = number == stock::WHITE_PEN ? rgb(255, 255, 255) : rgb(0, 0, 0);
        setStroke(penColor_);
    } else if (number == stock::NULL_PEN) {
        penStyle_ = PenStyle::Null;
    } else if (number >= stock::OEM_FIXED_FONT && number <= stock::SYSTEM_FONT) {
        LogFont font = font_;
        font.faceName = "Arial";
        useFont(font);
    }
}

void TEMWParser::usePen(const Pen& pen) {
    if (pen.color != penColor_) {
        penColor_ = pen.color;
        setStroke(penColor_);
    }
    if (pen.style != penStyle_) {
        penStyle_ = pen.style;
        if (pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame ||
            (pen.style >= PenStyle::Dash && pen.style <= PenStyle::DashDotDot)) {
            dash_ = dashPattern(pen.style);
            // The page refuses a dash inside a text object; it follows when the object ends.
            if (inText_)
                dashPending_ = true;
            else
                page_.SetDash(dash_);
        }
    }
    const double w = pen.width * std::fabs(scaleX_);
    if (w != penWidth_) {
        penWidth_ = w;
        lastLineWidth_ = w * k_;
        page_.SetLineWidth(lastLineWidth_);
    }
}

// The escapement counts too: text after a rotated line must not stay rotated.
void TEMWParser::useFont(const LogFont& font) {
    const LogFont& c = font_;
    if (font.faceName == c.faceName && font.weight == c.weight && font.italic == c.italic &&
        font.underline == c.underline && font.strikeOut == c.strikeOut &&
        font.charSet == c.charSet && font.height == c.height && font.escapement == c.escapement)
        return;
    font_ = font;
    fontDirty_ = true;
    if (inText_) applyFont();
}

void TEMWParser::applyFont() {
    fontDirty_ = false;
    ++fontGeneration_;
    int style = 0;
    if (font_.weight >= 600) style |= fsBold;
    if (font_.italic) style |= fsItalic;
    if (font_.underline) style |= fsUnderline;
    if (font_.strikeOut) style |= fsStrikeOut;
    std::string face = font_.faceName;
    const std::string upper = upper1251(face);
    if (upper != "ZAPFDINGBATS" && upper != "SYMBOL") {
        FontProvider* provider = page_.Document().Fonts().Provider();
        // Without a provider only the faces the standard fonts stand for can be served.
        const bool installed =
            !face.empty() &&
            (provider ? provider->HasTrueTypeFace(face, font_.charSet) : standardFace(upper));
        if (!installed) face = "Arial";
    }
    const double size = devicePpi_ == ppi_
                            ? -double(mulDiv(font_.height, 72, ppi_)) * std::fabs(scaleY_)
                            : -font_.height * 72.0 / devicePpi_ * std::fabs(scaleY_);
    page_.SetActiveFont(face, style, font_.charSet, size);
    const TPDFFont& active = page_.Document().Fonts().Item(page_.ActiveFontIndex());
    for (int code = 0; code < 256; ++code)
        advances_[code] =
            int(std::lround(active.GlyphWidth(std::uint8_t(code)) * size * page_.Factor()));
}

void TEMWParser::textOut(const EmfRecord& r, bool wide) {
    EmfTextOut t;
    std::string text;
    if (wide) {
        t = decodeExtTextOutW(r);
        text = narrowText(t.text, font_.charSet);
    } else {
        namespace T = layout::EMR_EXTTEXTOUTW;
        t.bounds = r.rect(T::Bounds);
        t.reference = r.pointL(T::EmrText_Reference);
        const std::uint32_t chars = r.u32(T::EmrText_Chars);
        t.options = r.u32(T::EmrText_Options);
        std::size_t offDx = T::EmrText_offDx;
        if (t.options & ETO_NO_RECT)
            offDx = T::EmrText_Rectangle;
        else
            t.rectangle = r.rect(T::EmrText_Rectangle);
        auto bytes = r.block(r.u32(T::EmrText_offString), chars, 1);
        text.assign(bytes.begin(), bytes.end());
        const std::uint32_t dxOffset = r.u32(offDx);
        if (dxOffset != 0 && chars > 0) {
            r.block(dxOffset, chars, 4);
            for (std::size_t i = 0; i < chars; ++i)
                t.dx.push_back(r.i32(dxOffset + i * 4));
        }
    }
    if (text.empty()) return;
    const bool clipped = (t.options & ETO_CLIPPED) && t.rectangle;
    const bool opaque = (t.options & ETO_OPAQUE) && t.rectangle;
    if (!inPath_ && (clipped || opaque)) {
        const EmfRect& rc = *t.rectangle;
        page_.EndText();
        if (clipped) {
            gsave();
            page_.NewPath();
            page_.Rectangle(X(rc.left), Y(rc.top), X(rc.right), Y(rc.bottom));
            page_.Clip();
            page_.NewPath();
        }
        if (opaque) {
            setFill(bkColor_);
            page_.NewPath();
            page_.Rectangle(X(rc.left), Y(rc.top), X(rc.right), Y(rc.bottom));
            page_.Fill();
        }
        page_.BeginText();
    }
    if (!inPath_) setFill(textColor_);

    double x = 0, y = 0;
    const TPDFFont* active = page_.Document().Fonts().Active();
    if (wide && active && active->IsCJK()) {
        page_.SetCharacterSpacing(-0.6);
        x = X(t.reference.x);
        y = Y(t.reference.y);
    } else {
        double dxSum = 0;
        if (t.dx.empty())
            for (int a : fonts_.advances(reference_.font(), text))
                dxSum += a;
        for (std::int32_t d : t.dx)
            dxSum += d;
        const double a = dxSum * scaleX_ * k_ - 1;
        double n = 0;
        for (unsigned char c : text)
            n += advances_[c];
        n /= 1000;
        page_.SetCharacterSpacing((a - n) / double(text.size()));
        // Top and left alignment start at the reference point even after a box:
        // the bounds then hold the box, and the text would lose its margin in it.
        const EmfRect& b = t.bounds;
        const double h = fonts_.textExtent(reference_.font(), text).cy;
        if (vertical_ == 1)
            y = Y(b.top + (b.bottom - b.top - h) / 2);
        else if (vertical_ == 2)
            y = Y(b.bottom - h);
        else
            y = Y(t.reference.y);
        // A is in device units; the box edges are in record units.
        const double aUnits = a / (scaleX_ * k_ == 0 ? 1 : scaleX_ * k_);
        if (horizontal_ == 1)
            x = X(b.left + (b.right - b.left - aUnits) / 2);
        else if (horizontal_ == 2)
            x = X(b.right - aUnits);
        else
            x = X(t.reference.x);
    }
    page_.TextOut(x, y, font_.escapement / 10.0, text);
    if (!inPath_ && clipped) {
        page_.EndText();
        grestore();
        page_.BeginText();
    }
}

void TEMWParser::bitBlt(const EmfRecord& r) {
    const double x = r.i32(24), y = r.i32(28), cx = r.i32(32), cy = r.i32(36);
    const bool wasInText = inText_;
    if (inText_) endTextObject();
    page_.Rectangle(X(x), Y(y), X(x + cx), Y(y + cy));
    page_.Fill();
    if (wasInText) beginTextObject();
}

// A space that counts y upwards (or x leftwards) turns the destination
// around; the image still fills it the right way up.
void TEMWParser::placeImage(int index, double left, double top, double width, double height) {
    double x = X(left), y = Y(top), w = width * scaleX_ * k_, h = height * scaleY_ * k_;
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    page_.ShowImage(index, 0, x, y, w, h);
}

void TEMWParser::stretchBlt(const EmfRecord& r) {
    const std::int32_t cxSrc = r.i32(100), cySrc = r.i32(104);
    if (cxSrc == 0 || cySrc == 0) return;
    std::optional<Dib> dib = recordDib(r, 84);
    if (!dib) return;
    const int w = sourceExtent(cxSrc, dib->width), h = sourceExtent(cySrc, dib->height);
    if (!sensibleSize(w, h)) return;
    const Dib source = scanRange(*dib, w, h, 0, std::uint32_t(dib->height));
    const int index = page_.Document().AddImage(toBitmap(source));
    const EmfRect b = r.rect(8);
    placeImage(index, b.left, b.top, b.right - b.left, b.bottom - b.top);
}

void TEMWParser::stretchDIBits(const EmfRecord& r) {
    const EmfStretchDib s = decodeStretchDIBits(r);
    const int w = sourceExtent(s.source.width(), s.dib.width);
    const int h = sourceExtent(s.source.height(), s.dib.height);
    if (!sensibleSize(w, h)) return;
    const Dib source = scanRange(s.dib, w, h, 0, std::uint32_t(s.dib.height));
    const int index = page_.Document().AddImage(toBitmap(source), TPDFImage::Jpeg);
    const EmfRect& b = s.bounds;
    if (b.right - b.left < 1 || b.bottom - b.top < 1)
        placeImage(index, s.dest.left, s.dest.top, s.dest.width(), s.dest.height());
    else
        placeImage(index, b.left, b.top, b.right - b.left, b.bottom - b.top);
}

void TEMWParser::setDIBitsToDevice(const EmfRecord& r) {
    std::optional<Dib> dib = recordDib(r, 48);
    if (!dib) return;
    const std::uint32_t start = r.u32(68), scans = r.u32(72);
    const int w = sourceExtent(r.i32(40), dib->width);
    const int h = sourceExtent(r.i32(44), std::int64_t(dib->height) +
                                              std::min<std::uint32_t>(start, 1u << 16));
    if (!sensibleSize(w, h)) return;
    const Dib source = scanRange(*dib, w, h, start, scans);
    const int index = page_.Document().AddImage(toBitmap(source), TPDFImage::Jpeg);
    const EmfRect b = r.rect(8);
    placeImage(index, b.left, b.top, w, h);
}

} // namespace pv
