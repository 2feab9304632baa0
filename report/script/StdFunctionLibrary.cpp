#include "report/script/StdFunctionLibrary.h"

#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "platform/Ui.h"
#include "report/value/DateTimeFormat.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"
#include "report/value/FloatFormat.h"
#include "report/value/VariantMath.h"

namespace pv {
namespace {

enum Function {
    Sum,
    Avg,
    Min,
    Max,
    Count,
    DayOf,
    MonthOf,
    YearOf,
    FormatDateTimeFn,
    FormatFloatFn,
    FormatText,
    Input,
    Length,
    LowerCase,
    UpperCase,
    NameCase,
    Trim,
    Pos,
    MaxNum,
    MinNum,
    MessageBox
};

MsgButtons buttonsOf(int code) {
    switch (code & 0x0F) {
    case 1:
        return MsgButtons::OkCancel;
    case 3:
        return MsgButtons::YesNoCancel;
    case 4:
        return MsgButtons::YesNo;
    default:
        return MsgButtons::Ok;
    }
}

MsgIcon iconOf(int code) {
    switch (code & 0xF0) {
    case 16:
        return MsgIcon::Error;
    case 32:
        return MsgIcon::Question;
    case 48:
        return MsgIcon::Warning;
    case 64:
        return MsgIcon::Information;
    default:
        return MsgIcon::None;
    }
}

MsgResult firstButton(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                              : MsgResult::Ok;
}

} // namespace

std::string formatMaskText(const std::string& mask, const std::string& text) {
    std::string out;
    size_t next = 0;
    int letterCase = 0; // 1 upper, -1 lower
    for (size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        switch (c) {
        case '>':
            letterCase = i + 1 < mask.size() && mask[i + 1] == '<' ? (++i, 0) : 1;
            continue;
        case '<':
            letterCase = -1;
            continue;
        case '!':
            continue;
        case '\\':
            if (i + 1 < mask.size()) out += mask[++i];
            continue;
        case '0':
        case '9':
        case '#':
        case 'L':
        case 'l':
        case 'A':
        case 'a':
        case 'C':
        case 'c': {
            char ch = next < text.size() ? text[next++] : ' ';
            if (letterCase > 0) ch = upper1251(ch);
            if (letterCase < 0) ch = lower1251(ch);
            out += ch;
            continue;
        }
        default:
            out += c;
        }
    }
    return out;
}

TfrStdFunctionLibrary::TfrStdFunctionLibrary()
    : TfrFunctionLibrary({"SUM",         "AVG",        "MIN",
                          "MAX",         "COUNT",      "DAYOF",
                          "MONTHOF",     "YEAROF",     "FORMATDATETIME",
                          "FORMATFLOAT", "FORMATTEXT", "INPUT",
                          "LENGTH",      "LOWERCASE",  "UPPERCASE",
                          "NAMECASE",    "TRIM",       "POS",
                          "MAXNUM",      "MINNUM",     "MESSAGEBOX"}) {}

Variant TfrStdFunctionLibrary::DoFunction(int index, const std::string& p1, const std::string& p2,
                                          const std::string& p3, ExpressionEngine& engine) {
    auto text = [&engine](const std::string& p) { return engine.EvaluateText(p).toText(); };
    switch (static_cast<Function>(index)) {
    case Sum:
    case Avg:
    case Min:
    case Max:
    case Count: {
        PreparationActions* actions = engine.context().actions;
        if (actions)
            if (auto v = actions->aggregate(List()[index], p1, p2, p3)) return *v;
        return Variant(int32_t(0));
    }
    case DayOf:
        return Variant(int32_t(decodeDate(engine.EvaluateText(p1).toDateTime()).day));
    case MonthOf:
        return Variant(int32_t(decodeDate(engine.EvaluateText(p1).toDateTime()).month));
    case YearOf:
        return Variant(int32_t(decodeDate(engine.EvaluateText(p1).toDateTime()).year));
    case FormatDateTimeFn:
        return Variant(FormatDateTime(text(p1), engine.EvaluateText(p2).toDateTime()));
    case FormatFloatFn:
        return Variant(FormatFloat(text(p1), engine.EvaluateText(p2).toDouble(),
                                   systemFormat().decimalSeparator));
    case FormatText:
        return Variant(formatMaskText(text(p1), text(p2)));
    case Input: {
        std::string prompt = text(p1);
        std::string initial = p2.empty() ? std::string() : text(p2);
        Ui* ui = engine.context().ui;
        return Variant(ui ? ui->inputText(programName(), prompt, initial) : initial);
    }
    case Length:
        return Variant(static_cast<int32_t>(text(p1).size()));
    case LowerCase:
        return Variant(lower1251(text(p1)));
    case UpperCase:
        return Variant(upper1251(text(p1)));
    case NameCase: {
        std::string s = lower1251(text(p1));
        if (!s.empty()) s[0] = upper1251(s[0]);
        return Variant(s);
    }
    case Trim:
        return Variant(trim(text(p1)));
    case Pos: {
        std::string sub = text(p1), s = text(p2);
        // An empty text is not found anywhere: "is it in there?" must say no.
        size_t at = sub.empty() ? std::string::npos : s.find(sub);
        return Variant(int32_t(at == std::string::npos ? 0 : static_cast<int32_t>(at) + 1));
    }
    case MaxNum:
    case MinNum: {
        Variant a = engine.EvaluateText(p1), b = engine.EvaluateText(p2);
        // Numbers written as text ('10' from a field) compare by value, else '3' > '10'.
        std::optional<double> x = a.asNumber(), y = b.asNumber();
        if (x && y) return Variant((index == MaxNum) == (*x >= *y) ? *x : *y);
        int c = variantCompare(a, b);
        return (index == MaxNum) == (c >= 0) ? a : b;
    }
    case MessageBox: {
        std::string message = text(p1), caption = text(p2);
        int code = p3.empty() ? 0 : engine.EvaluateText(p3).toInt();
        MsgButtons buttons = buttonsOf(code);
        Ui* ui = engine.context().ui;
        MsgResult r =
            ui ? ui->messageBox(message, caption, iconOf(code), buttons) : firstButton(buttons);
        return Variant(static_cast<int32_t>(r));
    }
    }
    return Variant(int32_t(0));
}

} // namespace pv
