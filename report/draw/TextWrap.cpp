#include "report/draw/TextWrap.h"

#include "platform/Canvas.h"
#include "report/draw/Hyphenation.h"

#include <algorithm>

namespace pv {
namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}
bool isWordEnd(char c) {
    return c == ' ' || c == ',' || c == '-' || c == '.';
}

// The source line with 1-based positions, as the breaking rules count them.
class Source {
public:
    explicit Source(std::string_view s) : s_(s) {}
    int length() const { return int(s_.size()); }
    char at(int pos) const { return s_[size_t(pos - 1)]; }
    // Positions from..to inclusive; empty when to < from.
    std::string part(int from, int to) const {
        if (to < from) return {};
        return std::string(s_.substr(size_t(from - 1), size_t(to - from + 1)));
    }

private:
    std::string_view s_;
};

class LineBreaker {
public:
    LineBreaker(std::string_view s, const WrapOptions& o, const TextWidth& w, Lines& out)
        : s_(s), options_(o), width_(w), out_(out) {}

    void run() {
        const int n = s_.length();
        while (a_ <= n) {
            if (isLineBreak(s_.at(a_))) {
                if (!paragraphBreak()) return;
                continue;
            }
            if (s_.at(a_) != ' ' && overflows()) {
                if (options_.wordBreak && hyphenate()) continue;
                cutBeforeWord();
            }
            if (s_.at(a_) == ' ') brk_ = a_;
            ++a_;
        }
        if (a_ != start_) out_.push_back(s_.part(start_, n) + kParagraphEnd);
    }

private:
    // A line always keeps its first character, however narrow the box.
    bool overflows() const { return a_ > start_ && width_(s_.part(start_, a_)) > options_.width; }

    // Ends the paragraph at a run of line breaks; false when the source ends
    // with them, which adds no empty line.
    bool paragraphBreak() {
        const int n = s_.length();
        out_.push_back(s_.part(start_, a_ - 1) + kParagraphEnd);
        while (a_ < n && isLineBreak(s_.at(a_)))
            ++a_;
        start_ = brk_ = a_;
        return !isLineBreak(s_.at(a_));
    }

    // Cuts the word at the longest hyphenated part that still fits.
    bool hyphenate() {
        int j = a_;
        while (j <= s_.length() && !isWordEnd(s_.at(j)))
            ++j;
        int taken = 0;
        for (int k : HyphenationPoints(s_.part(brk_ + 1, j - 1))) {
            if (width_(s_.part(start_, brk_ + k) + "-") > options_.width) break;
            taken = k;
        }
        if (taken == 0) return false;
        out_.push_back(s_.part(start_, brk_ + taken) + "-");
        a_ = start_ = brk_ = brk_ + taken + 1;
        return true;
    }

    // Cuts at the last blank, which is dropped, or, in a line without one,
    // before the character that does not fit.
    void cutBeforeWord() {
        int next;
        if (s_.at(brk_) == ' ') {
            out_.push_back(s_.part(start_, brk_ - 1));
            next = brk_ + 1;
        } else {
            out_.push_back(s_.part(start_, a_ - 1));
            next = a_;
        }
        start_ = brk_ = next;
    }

    Source s_;
    const WrapOptions& options_;
    const TextWidth& width_;
    Lines& out_;
    int start_ = 1, brk_ = 1, a_ = 1;
};

} // namespace

TextWidth CanvasTextWidth(const Canvas& canvas) {
    return [&canvas](std::string_view text) { return canvas.GetTextExtent(text).cx; };
}

void WrapLine(std::string_view source, const WrapOptions& options, const TextWidth& width,
              Lines& out) {
    const bool hasBreak = std::any_of(source.begin(), source.end(), isLineBreak);
    if (!hasBreak && (source.size() <= 1 || width(source) <= options.width)) {
        out.push_back(std::string(source) + kParagraphEnd);
        return;
    }
    LineBreaker(source, options, width, out).run();
}

Lines WrapLines(const Lines& source, bool wordWrap, const WrapOptions& options,
                const TextWidth& width) {
    if (IsWrapped(source)) return source;
    Lines out;
    for (const std::string& line : source) {
        if (wordWrap)
            WrapLine(line, options, width, out);
        else
            out.push_back(line + kParagraphEnd);
    }
    return out;
}

bool IsWrapped(const Lines& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(kParagraphEnd) != std::string::npos;
    });
}

void DropMarkerLine(Lines& lines) {
    if (!lines.empty() && lines.back() == std::string(1, kParagraphEnd)) lines.pop_back();
}

std::string_view WithoutParagraphEnd(std::string_view line, bool* ended) {
    const bool has = !line.empty() && line.back() == kParagraphEnd;
    if (ended) *ended = has;
    return has ? line.substr(0, line.size() - 1) : line;
}

} // namespace pv
