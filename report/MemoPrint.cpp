#include "report/MemoPrint.h"

#include "report/ExpandText.h"
#include "report/ExpressionEngine.h"
#include "report/MemoLayout.h"
#include "report/MemoView.h"

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
                  bool firstPassOfTwo) {
    if (!memo.Visible) return 0;
    const Lines lines = ExpandMemoLines(memo, engine);
    ScopedHighlight highlight(memo, engine);
    if (memo.flag(flSuppress)) {
        const std::string text = joined(lines);
        if (state.lastText == text) return 0;
        if (firstPassOfTwo) state.lastText = text;
    }
    return MeasureMemo(memo, lines).textHeight;
}

std::optional<Lines> TextToWrite(TfrMemoView& memo, ExpressionEngine& engine,
                                 MemoPrintState& state) {
    Lines lines = ExpandMemoLines(memo, engine);
    if (memo.flag(flSuppress)) {
        const std::string text = joined(lines);
        if (state.lastText == text) return std::nullopt;
        state.lastText = text;
    }
    return lines;
}

} // namespace pv
