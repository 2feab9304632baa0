#include "report/prepare/MemoPrint.h"

#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/prepared/PreparedObject.h"
#include "report/prepare/ViewPrint.h"

namespace pv {
namespace {

TextBoxSettings settingsOf(const TfrMemoView& m) {
    return {m.Format, m.FormatStr, m.flag(flHideZeros), m.flag(flTextOnly)};
}

void splitAtBreaks(const std::string& value, Lines& out) {
    size_t from = 0;
    while (from <= value.size()) {
        const size_t at = value.find_first_of("\r\n", from);
        if (at == std::string::npos) {
            out.push_back(value.substr(from));
            return;
        }
        out.push_back(value.substr(from, at - from));
        from = at + (value.compare(at, 2, "\r\n") == 0 ? 2 : 1);
        if (from == value.size()) return; // a final break adds no empty line
    }
}

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

Lines ExpandMemoLines(const TfrMemoView& memo, ExpressionEngine& engine) {
    Lines out;
    const TextBoxSettings settings = settingsOf(memo);
    for (const std::string& line : memo.Memo) {
        if (line.empty())
            out.push_back(line);
        else
            splitAtBreaks(memo.flag(flTextOnly) ? line : ExpandText(line, settings, engine), out);
    }
    return out;
}

Lines PrintLines(TfrMemoView& memo, ExpressionEngine& engine, ObjectPrintEvents& events) {
    std::optional<Lines> field = events.boundMemoLines(memo);
    Lines lines = field ? std::move(*field) : memo.Memo;
    const bool changed = events.beforePrint(lines, memo);
    // A field's text is data: brackets in it are not expressions.
    if (field || changed) return lines;
    return ExpandMemoLines(memo, engine);
}

ScopedHighlight::ScopedHighlight(TfrMemoView& memo, ExpressionEngine& engine)
    : memo_(memo), style_(memo.FontStyle), fontColor_(memo.FontColor), fillColor_(memo.FillColor) {
    if (memo.HighlightCondition.empty()) return;
    try {
        const std::optional<double> value = engine.EvaluateText(memo.HighlightCondition).asNumber();
        active_ = value && *value != 0;
    } catch (const std::exception&) { // a failing condition means no highlight
        active_ = false;
    }
    if (!active_) return;
    memo.FontStyle = memo.HighlightFontStyle;
    memo.FontColor = int32_t(memo.HighlightFontColor);
    memo.FillColor = memo.HighlightFillColor;
}

ScopedHighlight::~ScopedHighlight() {
    memo_.FontStyle = style_;
    memo_.FontColor = fontColor_;
    memo_.FillColor = fillColor_;
}

int MeasureHeight(TfrMemoView& memo, ExpressionEngine& engine, MemoPrintState& state,
                  ObjectPrintEvents& events, bool firstPassOfTwo) {
    events.runScript(memo);
    state.lines.reset();
    if (!memo.Visible) return 0;
    state.lines = PrintLines(memo, engine, events);
    ScopedHighlight highlight(memo, engine);
    if (memo.flag(flSuppress)) {
        const std::string text = joined(*state.lines);
        if (state.lastText == text) return 0;
        if (firstPassOfTwo) state.lastText = text;
    }
    return MeasureMemo(memo, *state.lines).textHeight;
}

std::optional<Lines> TextToWrite(TfrMemoView& memo, ExpressionEngine& engine, MemoPrintState& state,
                                 ObjectPrintEvents& events) {
    Lines lines = PrintLines(memo, engine, events);
    if (memo.flag(flSuppress)) {
        const std::string text = joined(lines);
        if (state.lastText == text) return std::nullopt;
        state.lastText = text;
    }
    return lines;
}

namespace {

// The part of the box that fits its height; the rest stays for the next part.
Lines cutPart(const TfrMemoView& memo, Lines lines, MemoPrintState& state) {
    TfrMemoView part = memo;
    part.Memo = std::move(lines);
    MemoParts parts = CutMemo(part);
    if (parts.rest.empty())
        state.lines.reset();
    else
        state.lines = std::move(parts.rest);
    return std::move(parts.written);
}

} // namespace

bool WritePreparedMemo(ByteStream& page, TfrMemoView& memo, ExpressionEngine& engine,
                       MemoPrintState& state, ObjectPrintEvents& events, DrawMode mode,
                       const PreparedPlacement* placement) {
    PrintRestorer restorer(memo);
    Lines lines;
    if (mode == DrawMode::Part && state.lines) {
        lines = *state.lines;
    } else {
        events.runScript(memo);
        lines = PrintLines(memo, engine, events);
    }
    state.lines.reset();
    if (!memo.Visible) return false;
    PlaceForRecord(memo, placement);
    ScopedHighlight highlight(memo, engine);
    if (mode == DrawMode::Part) lines = cutPart(memo, std::move(lines), state);
    ExpandTag(memo, engine);
    if (memo.flag(flSuppress)) {
        const std::string text = joined(lines);
        if (state.lastText == text) return false;
        state.lastText = text;
    }
    WritePrepared(page, memo, lines);
    return true;
}

} // namespace pv
