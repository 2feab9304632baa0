#include "report/draw/MemoLayout.h"

#include "platform/Canvas.h"
#include "platform/MeasuringCanvas.h"
#include "report/export/ExportFilter.h"
#include "report/model/MemoView.h"
#include "report/draw/TextWrap.h"
#include "report/draw/ViewDrawing.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

bool rotated(const TfrMemoView& m) {
    return (m.Alignment & frtaVertical) != 0;
}
uint32_t horizontal(const TfrMemoView& m) {
    return m.Alignment & 3;
}
// Bits 3-4; both set counts as top.
uint32_t vertical(const TfrMemoView& m) {
    const uint32_t v = m.Alignment & (frtaMiddle | frtaDown);
    return v == (frtaMiddle | frtaDown) ? 0 : v;
}

bool isBlank(char c) {
    return c == ' ' || c == '\xA0';
}

// The font pixel height for drawing on `canvas`.
int drawingFontHeight(const TfrMemoView& m, const Canvas& canvas, const DrawScale& s) {
    if (s.printing) return -canvas.fontHeightForPoints(m.FontSize);
    if (s.sy == 1) return MeasuringFontHeight(m);
    return int(m.FontSize * 96.0 / 72.0 * s.sy);
}

// Advances with the free width spread over the blanks, the first blanks
// taking the remainder.
std::vector<int> justified(const Canvas& canvas, std::string_view text, int free) {
    std::vector<int> dx = canvas.textAdvances(text);
    const int blanks = int(std::count_if(text.begin(), text.end(), isBlank));
    if (blanks == 0 || free <= 0) return dx;
    for (size_t i = 0, seen = 0; i < text.size(); ++i) {
        if (!isBlank(text[i])) continue;
        const int add = free / blanks + (int(seen) < free % blanks ? 1 : 0);
        dx[i] += add;
        ++seen;
    }
    return dx;
}

void autoSize(TfrMemoView& m, const Canvas& canvas, const DrawScale& s) {
    std::string block;
    int widest = 0;
    MeasuringCanvas& measuring = MeasuringCanvas::shared();
    measuring.SetFont(MemoFont(m, drawingFontHeight(m, canvas, s)));
    measuring.SetTextCharacterExtra(roundEven(m.CharSpacing * s.sx));
    for (const std::string& line : m.Memo) {
        std::string shown(line);
        std::erase(shown, kParagraphEnd);
        widest = std::max(widest, measuring.GetTextExtent(shown).cx);
    }
    measuring.SetTextCharacterExtra(0);
    const int needed = roundEven(widest / s.sx + m.FrameWidth + 2 * m.GapX + 1);
    if (rotated(m)) {
        m.Height = needed;
    } else {
        const uint32_t h = horizontal(m);
        if (h == frtaRight || h == frtaJustify) m.Left += m.Width - needed;
        m.Width = needed;
    }
}

bool hasText(const Lines& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& l) { return !WithoutParagraphEnd(l).empty(); });
}

void drawUnderlines(Canvas& canvas, const TfrMemoView& m, const ViewGeometry& g, const DrawScale& s,
                    int fp) {
    canvas.SetPen({PenStyle::Solid, roundEven(g.frameWidth), m.FrameColor});
    const int step = roundEven(m.LineSpacing * s.sy) + fp;
    if (step <= 0) return;
    for (int i = 0; i < g.height / step; ++i) {
        const int y = g.y + g.gy + i * step + fp + roundEven(2 * s.sy);
        canvas.MoveTo(g.x, y);
        canvas.LineTo(g.x + g.width - 1, y);
    }
}

// Where a horizontal line of width `tw` starts, `free` being the width the
// box leaves it.
int horizontalStart(const TfrMemoView& m, const ViewGeometry& g, int tw, int free) {
    switch (horizontal(m)) {
    case frtaRight:
        return g.x + g.box.width() - g.gx - tw - 1;
    case frtaCenter:
        return g.x + g.gx + free / 2;
    default:
        return g.x + g.gx;
    }
}

// Where a rotated line starts: it runs upwards from there.
int rotatedStart(const TfrMemoView& m, const ViewGeometry& g, int tw, int free) {
    switch (horizontal(m)) {
    case frtaRight:
        return g.y + g.gy + tw;
    case frtaCenter:
        return g.box.bottom - g.gy - free / 2 - 1;
    default:
        return g.box.bottom - g.gy;
    }
}

// A filter that draws frames line by line gets, for each line of a
// horizontal box, the sides that line borders on: the lines of one box
// join without a rule between them. Rotated lines carry no sides.
uint16_t exportedSides(const TfrMemoView& m, bool turned, size_t index, size_t count) {
    if (turned) return 0;
    uint16_t sides = m.FrameTyp;
    if (index > 0) sides &= ~frftTop;
    if (index + 1 < count) sides &= ~frftBottom;
    return sides;
}

} // namespace

int MeasuringFontHeight(const TfrMemoView& m) {
    return roundEven(m.FontSize * 96.0 / 72.0);
}

LogFont MemoFont(const TfrMemoView& m, int pixelHeight) {
    LogFont f;
    f.faceName = m.FontName;
    f.height = -pixelHeight;
    f.weight = (m.FontStyle & fsBold) ? kFontWeightBold : kFontWeightNormal;
    f.italic = (m.FontStyle & fsItalic) != 0;
    f.underline = (m.FontStyle & fsUnderline) != 0;
    f.strikeOut = (m.FontStyle & fsStrikeOut) != 0;
    f.charSet = uint8_t(m.FontCharset);
    if (rotated(m)) f.escapement = f.orientation = 900;
    return f;
}

MemoLayout MeasureMemo(const TfrMemoView& m, const Lines& text, int extraWidth) {
    MemoLayout out;
    const ViewGeometry g = ApplyScale(m, m.Left, m.Top, m.Width + extraWidth, m.Height, {});
    MeasuringCanvas& canvas = MeasuringCanvas::shared();
    const int fp = MeasuringFontHeight(m);
    LogFont font = MemoFont(m, fp);
    font.escapement = font.orientation = 0; // widths along the line
    canvas.SetFont(font);
    canvas.SetTextCharacterExtra(m.CharSpacing);
    const int available = rotated(m) ? g.height - 2 * g.gy : g.width - 2 * g.gx;
    out.lines = WrapLines(text, m.flag(flWordWrap), {available, m.flag(flWordBreak)},
                          CanvasTextWidth(canvas));
    DropMarkerLine(out.lines);
    canvas.SetTextCharacterExtra(0);
    out.lineHeight = m.LineSpacing + fp;
    out.textHeight = int(out.lines.size()) * out.lineHeight + 2 * (rotated(m) ? g.gx : g.gy);
    return out;
}

int NeededWidth(const TfrMemoView& m, const Lines& text) {
    MeasuringCanvas& canvas = MeasuringCanvas::shared();
    LogFont font = MemoFont(m, MeasuringFontHeight(m));
    font.escapement = font.orientation = 0;
    canvas.SetFont(font);
    canvas.SetTextCharacterExtra(m.CharSpacing);
    int widest = 0;
    for (const std::string& line : text)
        widest = std::max(widest, canvas.GetTextExtent(WithoutParagraphEnd(line)).cx);
    canvas.SetTextCharacterExtra(0);
    return roundEven(widest + m.FrameWidth + 2 * m.GapX + 1);
}

int SmallestPartHeight(const TfrMemoView& m) {
    return roundEven(2 * m.FrameWidth) + m.LineSpacing + MeasuringFontHeight(m) + 2 * m.GapY;
}

int LeftoverHeight(const TfrMemoView& m) {
    const int frame = roundEven(2 * m.FrameWidth) + 2 * m.GapY;
    const int lineHeight = m.LineSpacing + MeasuringFontHeight(m);
    if (lineHeight <= 0) return frame;
    return frame + (m.Height - frame) % lineHeight;
}

int DrawMemo(Canvas& canvas, TfrMemoView& m, const DrawScale& s, const MemoDrawOptions& options) {
    if (m.flag(flAutoWidth) && !s.designer && hasText(m.Memo)) autoSize(m, canvas, s);
    const MemoLayout layout = MeasureMemo(m, m.Memo, m.flag(flAutoWidth) ? 100 : 0);
    ViewGeometry g = ApplyScale(m, s);
    const int fp = drawingFontHeight(m, canvas, s);
    TfrExportFilter* const filter = options.exportTo;
    if (!filter) {
        DrawBackground(canvas, m, g, s);
        DrawFrame(canvas, m, g, s);
        if (m.flag(flUnderlines)) drawUnderlines(canvas, m, g, s, fp);
    }
    if (layout.lines.empty() || s.firstPassOfTwo) return 0;

    canvas.SetBkMode(BkMode::Transparent);
    canvas.SetFont(MemoFont(m, fp));
    canvas.SetTextColor(Color(m.FontColor));
    canvas.SetTextAlign(textalign::Left | textalign::Top);
    canvas.SetTextCharacterExtra(roundEven(m.CharSpacing * s.sx));
    const Rect clip{g.box.left + 1, g.box.top, g.box.right - 2, g.box.bottom - 1};
    const uint32_t eto = eto::Clipped | (m.flag(flRTLReading) ? eto::RtlReading : 0);
    const int textHeight = roundEven(layout.textHeight * s.sy);
    const bool turned = rotated(m);
    const uint32_t v = vertical(m);
    if (!turned && v == frtaMiddle) g.y += (g.box.height() - textHeight) / 2;
    if (!turned && v == frtaDown) g.y = g.box.bottom - textHeight - 1;
    if (turned && v == frtaMiddle) g.x += (g.box.width() - textHeight) / 2;
    if (turned && v == frtaDown) g.x = g.box.right - textHeight;

    const int step = roundEven(m.LineSpacing * (turned ? s.sx : s.sy)) + fp;
    const size_t count = layout.lines.size();
    int pos = turned ? g.x + g.gx : g.y + g.gy;
    int drawn = 0;
    for (size_t i = 0; i < count; ++i) {
        if (options.clipAtBottom && !turned && g.box.bottom < pos + step) break;
        bool ended = false;
        const std::string_view text = WithoutParagraphEnd(layout.lines[i], &ended);
        const bool last = ended || text.empty();
        const int tw = canvas.GetTextExtent(text).cx;
        const int free = turned ? g.box.height() - 2 * g.gy - tw : g.box.width() - 2 * g.gx - tw;
        const Point at = turned ? Point{pos, rotatedStart(m, g, tw, free)}
                                : Point{horizontalStart(m, g, tw, free), pos};
        if (filter) {
            filter->TextLine(clip, at.x, at.y, text, exportedSides(m, turned, i, count), m);
        } else {
            std::vector<int> dx;
            if (horizontal(m) == frtaJustify && !last) dx = justified(canvas, text, free);
            canvas.ExtTextOut(at.x, at.y, eto, &clip, text, dx);
        }
        ++drawn;
        pos += step;
    }
    canvas.SetTextCharacterExtra(0);
    return drawn;
}

namespace {

void markWrapped(Lines& lines) {
    if (!IsWrapped(lines)) lines.push_back(std::string(1, kParagraphEnd));
}

} // namespace

MemoParts CutMemo(const TfrMemoView& memo) {
    MemoLayout layout = MeasureMemo(memo, memo.Memo);
    TfrMemoView dry = memo;
    dry.Memo = layout.lines;
    markWrapped(dry.Memo);
    const int fitting = DrawMemo(MeasuringCanvas::shared(), dry, {}, {true});
    MemoParts parts;
    parts.written.assign(layout.lines.begin(), layout.lines.begin() + fitting);
    parts.rest.assign(layout.lines.begin() + fitting, layout.lines.end());
    markWrapped(parts.written);
    if (!parts.rest.empty()) markWrapped(parts.rest);
    return parts;
}

} // namespace pv
