#include "report/script/ExpandText.h"

#include "platform/SystemFormat.h"
#include "platform/TextCase.h"
#include "report/script/BracketScan.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/FormatDisplay.h"

namespace pv {
namespace {

// The position of " #" outside quoted text, npos when there is none.
size_t inlineFormatAt(const std::string& content) {
    QuoteState q;
    for (size_t i = 0; i + 1 < content.size(); ++i) {
        if (q.feed(content[i]) || q.quoted()) continue;
        if (content[i] == ' ' && content[i + 1] == '#') return i;
    }
    return std::string::npos;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The last of ",", "-" and "." in a number format, npos when there is none.
size_t lastSeparator(const std::string& format) {
    size_t at = format.find_last_of(",-.");
    return at;
}

void applyInlineFormat(std::string code, TextBoxSettings& box) {
    if (code.empty()) return;
    if (isDigit(code[0])) code.insert(0, "N");
    char kind = upper1251(code[0]);
    std::string rest = code.substr(1);
    switch (kind) {
    case 'N': {
        size_t sepAt = lastSeparator(rest);
        char sep = sepAt == std::string::npos ? 0 : rest[sepAt];
        if (!rest.empty() && isDigit(rest[0])) {
            int decimals = 0;
            if (sepAt != std::string::npos)
                for (size_t i = sepAt + 1; i < rest.size() && isDigit(rest[i]); ++i)
                    ++decimals;
            box.Format = makeFormat(FormatCategory::Number, 1, decimals, sep);
            box.FormatStr.clear();
        } else {
            box.Format = makeFormat(FormatCategory::Number, 4, 0, sep);
            box.FormatStr = rest;
        }
        break;
    }
    case 'D':
    case 'T':
        box.Format = makeFormat(kind == 'D' ? FormatCategory::Date : FormatCategory::Time, 4);
        box.FormatStr = rest;
        break;
    case 'B':
        box.Format = makeFormat(FormatCategory::Boolean, 4);
        box.FormatStr = rest;
        break;
    default:
        break;
    }
}

} // namespace

std::string ExpandBracket(const std::string& content, const TextBoxSettings& box,
                          ExpressionEngine& engine) {
    TextBoxSettings format = box;
    std::string expression = content;
    size_t at = inlineFormatAt(content);
    if (at != std::string::npos) {
        expression = content.substr(0, at);
        applyInlineFormat(content.substr(at + 2), format);
    }
    Variant value = engine.ResolveName(trim(expression));
    engine.setLastValue(value);
    bool numeric = value.kind() == Variant::Kind::Integer || value.kind() == Variant::Kind::Double;
    if (box.HideZeros && numeric && value.toDouble() == 0) value = Variant(std::string());
    return FormatDisplay(value, format.Format, format.FormatStr);
}

std::string ExpandText(const std::string& line, const TextBoxSettings& box,
                       ExpressionEngine& engine) {
    if (box.TextOnly) return line;
    std::string out = line;
    size_t from = 0;
    while (true) {
        size_t open = out.find('[', from);
        if (open == std::string::npos) break;
        size_t close = findClosing(out, open, '[', ']');
        if (close == std::string::npos) break;
        std::string text = ExpandBracket(out.substr(open + 1, close - open - 1), box, engine);
        out.replace(open, close - open + 1, text);
        from = open + text.size();
    }
    return out;
}

std::vector<std::string> ExpandLines(const std::vector<std::string>& lines,
                                     const TextBoxSettings& box, ExpressionEngine& engine) {
    if (box.TextOnly) return lines;
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const auto& line : lines)
        out.push_back(ExpandText(line, box, engine));
    return out;
}

} // namespace pv
