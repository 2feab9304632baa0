#include "report/qt/QtPainterCanvas.h"

#include "platform/FontService.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QRawFont>

#include <map>
#include <numeric>

namespace pv {
namespace {

QColor toQColor(Color c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

QPolygon toQPolygon(std::span<const Point> points) {
    QPolygon polygon;
    for (const Point& p : points)
        polygon << QPoint(p.x, p.y);
    return polygon;
}

Qt::PenStyle toQtStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Null:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

// Raw fonts by face file and pixel em; opening one parses the file. The
// cache is emptied when the application object goes, while Qt's font
// machinery still exists, and is never destroyed itself.
using RawFontCache = std::map<std::pair<std::string, int>, QRawFont>;

RawFontCache& rawFontCache() {
    static RawFontCache* cache = [] {
        auto* c = new RawFontCache;
        qAddPostRoutine([] { rawFontCache().clear(); });
        return c;
    }();
    return *cache;
}

const QRawFont& rawFont(const FontFace& face, int emPixels) {
    RawFontCache& cache = rawFontCache();
    const auto key = std::make_pair(face.filePath(), emPixels);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache
                 .emplace(key, QRawFont(QString::fromStdString(face.filePath()), emPixels,
                                        QFont::PreferNoHinting))
                 .first;
    return it->second;
}

// PDF output (a printer's spool file) keeps text as text only for fonts the
// system font database knows by file; a raw font read from the file would be
// drawn as outlines. The database's font serves when it is the same file
// (same header table), so the glyph indices stay those the engine measured.
RawFontCache& vectorRawFontCache() {
    static RawFontCache* cache = [] {
        auto* c = new RawFontCache;
        qAddPostRoutine([] { vectorRawFontCache().clear(); });
        return c;
    }();
    return *cache;
}

const QRawFont& vectorRawFont(const FontFace& face, int emPixels) {
    RawFontCache* cache = &vectorRawFontCache();
    const auto key = std::make_pair(face.filePath(), emPixels);
    auto it = cache->find(key);
    if (it != cache->end()) return it->second;
    const QRawFont& fromFile = rawFont(face, emPixels);
    QFont font(fromFile.familyName());
    font.setWeight(QFont::Weight(fromFile.weight()));
    font.setStyle(fromFile.style());
    font.setPixelSize(std::max(emPixels, 1));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont known = QRawFont::fromFont(font);
    const bool same = known.isValid() && known.fontTable("head") == fromFile.fontTable("head");
    return cache->emplace(key, same ? known : fromFile).first->second;
}

} // namespace

QtPainterCanvas::QtPainterCanvas(QPainter& painter, FontService& fonts, int pixelsPerInch)
    : Canvas(fonts, pixelsPerInch), painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QtPainterCanvas::QtPainterCanvas(QPainter& painter, FontService& fonts)
    : QtPainterCanvas(painter, fonts, pixelsPerInchOf(*painter.device())) {}

QtPainterCanvas::~QtPainterCanvas() = default;

int QtPainterCanvas::pixelsPerInchOf(const QPaintDevice& device) {
    return device.logicalDpiY();
}

void QtPainterCanvas::applyPen() {
    const Pen& pen = state().pen;
    if (pen.style == PenStyle::Null) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen qpen(toQColor(pen.color));
    qpen.setStyle(toQtStyle(pen.style));
    qpen.setWidth(pen.width <= 1 ? 0 : pen.width);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(qpen);
}

void QtPainterCanvas::applyBrush() {
    const Brush& brush = state().brush;
    if (brush.isHollow())
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(toQColor(brush.color));
}

void QtPainterCanvas::applyClip() {
    if (state().clip)
        painter_.setClipRect(toQRect(*state().clip));
    else
        painter_.setClipping(false);
}

void QtPainterCanvas::clipIntersected(const Rect&) {
    applyClip();
}
void QtPainterCanvas::clipRemoved() {
    applyClip();
}
void QtPainterCanvas::restored(int) {
    applyClip();
}

void QtPainterCanvas::drawText(Point origin, std::uint32_t options, const Rect* rect,
                               std::string_view text, const std::vector<int>& advances) {
    const LogFont& font = state().font;
    FontFace& face = fonts().face(font);
    const int em = face.emPixelsForHeight(font.height);
    const PixelMetrics metrics = face.pixelMetrics(em);
    const int width = advanceSum(advances);
    const std::uint32_t align = state().textAlign;

    painter_.save();
    if (rect && (options & eto::Opaque))
        painter_.fillRect(toQRect(*rect), toQColor(state().bkColor));
    if (rect && (options & eto::Clipped)) painter_.setClipRect(toQRect(*rect), Qt::IntersectClip);

    int x0 = 0, baseline = metrics.ascent;
    if ((align & textalign::HorizontalMask) == textalign::Center)
        x0 = -width / 2;
    else if ((align & textalign::HorizontalMask) == textalign::Right)
        x0 = -width;
    if ((align & textalign::VerticalMask) == textalign::Baseline)
        baseline = 0;
    else if ((align & textalign::VerticalMask) == textalign::Bottom)
        baseline = -metrics.descent;

    painter_.translate(origin.x, origin.y);
    if (font.escapement != 0) painter_.rotate(-font.escapement / 10.0);
    if (state().bkMode == BkMode::Opaque && !text.empty())
        painter_.fillRect(QRect(x0, baseline - metrics.ascent, width, metrics.height()),
                          toQColor(state().bkColor));

    const bool vector =
        painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::Pdf;
    const QRawFont& raw = vector ? vectorRawFont(face, em) : rawFont(face, em);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    double x = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        glyphs.append(face.glyphIndex(font.charSet, static_cast<unsigned char>(text[i])));
        positions.append(QPointF(x, 0));
        x += i < advances.size() ? advances[i] : 0;
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter_.setPen(toQColor(state().textColor));
    painter_.drawGlyphRun(QPointF(x0, baseline), run);

    const int thickness = std::max(1, em / 14);
    if (font.underline)
        painter_.fillRect(QRect(x0, baseline + std::max(1, metrics.descent / 2), width, thickness),
                          toQColor(state().textColor));
    if (font.strikeOut)
        painter_.fillRect(QRect(x0, baseline - metrics.ascent * 3 / 10, width, thickness),
                          toQColor(state().textColor));
    painter_.restore();
}

void QtPainterCanvas::drawLine(Point from, Point to) {
    applyPen();
    painter_.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
}

void QtPainterCanvas::drawPolyline(std::span<const Point> points) {
    applyPen();
    painter_.drawPolyline(toQPolygon(points));
}

void QtPainterCanvas::drawPolygon(std::span<const Point> points) {
    applyPen();
    applyBrush();
    painter_.drawPolygon(toQPolygon(points), Qt::OddEvenFill);
}

void QtPainterCanvas::drawRectangle(const Rect& rect) {
    // The outline runs on the outermost pixels of the rectangle; right and bottom exclusive.
    if (!state().brush.isHollow())
        painter_.fillRect(QRect(rect.left, rect.top, rect.width() - 1, rect.height() - 1),
                          toQColor(state().brush.color));
    if (state().pen.style == PenStyle::Null) return;
    applyPen();
    painter_.setBrush(Qt::NoBrush);
    const int w = std::max(1, state().pen.width);
    const double inset = (w - 1) / 2.0 + 0.5;
    painter_.drawRect(QRectF(rect.left + inset - 0.5, rect.top + inset - 0.5, rect.width() - w,
                             rect.height() - w));
}

void QtPainterCanvas::drawFillRect(const Rect& rect, const Brush& brush) {
    painter_.fillRect(toQRect(rect), toQColor(brush.color));
}

void QtPainterCanvas::drawDib(const Rect& dest, const Dib& dib) {
    const QImage image(dib.rgb.data(), dib.width, dib.height, dib.width * 3, QImage::Format_RGB888);
    const bool smooth = painter_.testRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform,
                           state().stretchMode == StretchMode::Halftone);
    painter_.drawImage(toQRect(dest), image);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

} // namespace pv
