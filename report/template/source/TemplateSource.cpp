#include "report/template/source/TemplateSource.h"

#include "platform/CodePage.h"
#include "platform/FileBytes.h"
#include "report/model/BandView.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/model/SubReportView.h"
#include "report/model/ViewFactory.h"
#include "report/printer/PaperSizes.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSyntax.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <tuple>
#include <utility>

namespace pv {

using namespace source;

TemplateSourceError::TemplateSourceError(int line, const std::string& message)
    : Error("line " + std::to_string(line) + ": " + message, Error::Encoding::Utf8), line_(line) {}

namespace {

constexpr int32_t kSourceFormat = 2 * 256 + ',';

struct Token {
    std::string text; // 1251
    bool quoted = false;
};

// One UTF-8 character as its 1251 byte.
char utf8CharTo1251(std::string_view utf8, int lineNo) {
    std::string b = utf8ToCp1251(utf8);
    if (b.size() != 1 || (b[0] == '?' && utf8 != "?"))
        throw TemplateSourceError(lineNo, "the character \"" + std::string(utf8) +
                                              "\" has no place in the 1251 code page");
    return b[0];
}

size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<Token> tokenize(std::string_view line, int lineNo) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Token t;
        if (c == '"') {
            t.quoted = true;
            ++i;
            for (;;) {
                if (i >= line.size())
                    throw TemplateSourceError(lineNo, "a text lacks its closing quote");
                char d = line[i];
                if (d == '"') {
                    ++i;
                    break;
                }
                if (d == '\\') {
                    if (i + 1 >= line.size())
                        throw TemplateSourceError(lineNo, "a lone backslash ends the line");
                    char e = line[i + 1];
                    if (e == '"' || e == '\\') {
                        t.text += e;
                        i += 2;
                    } else if (e == 'x' && i + 3 < line.size() && hexValue(line[i + 2]) >= 0 &&
                               hexValue(line[i + 3]) >= 0) {
                        t.text +=
                            static_cast<char>(hexValue(line[i + 2]) * 16 + hexValue(line[i + 3]));
                        i += 4;
                    } else {
                        throw TemplateSourceError(lineNo, "unknown escape \\" + std::string(1, e) +
                                                              " (use \\\", \\\\ or \\xNN)");
                    }
                    continue;
                }
                size_t n = utf8Length(static_cast<unsigned char>(d));
                t.text += utf8CharTo1251(line.substr(i, n), lineNo);
                i += n;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                if (line[i] == '"') throw TemplateSourceError(lineNo, "a quote inside a word");
                size_t n = utf8Length(static_cast<unsigned char>(line[i]));
                t.text += utf8CharTo1251(line.substr(i, n), lineNo);
                i += n;
            }
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

class Parser {
public:
    Parser(TfrReport& report, std::string baseDir) : r_(report), baseDir_(std::move(baseDir)) {}

    void run(std::string_view text) {
        r_.Clear();
        r_.Info.CreationDate = 0;
        r_.PrintToDefault = kTrue;
        r_.PrinterName = TfrReport::kVirtualPrinterName;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            ++lineNo_;
            parseLine(text.substr(start, end - start));
            start = end + 1;
        }
        finishObject();
        finishPage();
    }

private:
    enum class Block { None, Report, Dictionary, Page, Object };

    [[noreturn]] void fail(const std::string& message) const {
        throw TemplateSourceError(lineNo_, message);
    }

    void parseLine(std::string_view line) {
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#') return;
        tokens_ = tokenize(line, lineNo_);
        key_ = tokens_[0].quoted ? std::string() : tokens_[0].text;
        if (key_ == "report") {
            expectCount(1, 1);
            finishObject();
            finishPage();
            block_ = Block::Report;
        } else if (key_ == "dictionary") {
            expectCount(1, 1);
            finishObject();
            finishPage();
            block_ = Block::Dictionary;
        } else if (key_ == "page") {
            expectCount(1, 2);
            finishObject();
            finishPage();
            startPage();
        } else if (key_ == "memo" || key_ == "picture" || key_ == "band" || key_ == "subreport" ||
                   key_ == "line") {
            finishObject();
            startObject();
        } else {
            switch (block_) {
            case Block::Report:
                reportKey();
                break;
            case Block::Dictionary:
                dictionaryKey();
                break;
            case Block::Page:
                pageKey();
                break;
            case Block::Object:
                objectKey();
                break;
            case Block::None:
                fail("\"" + tokens_[0].text + "\" outside a block (report, dictionary, page)");
            }
        }
    }

    // Value helpers -------------------------------------------------------

    void expectCount(size_t min, size_t max) const {
        if (tokens_.size() < min || tokens_.size() > max) {
            std::string want = min == max
                                   ? std::to_string(min - 1)
                                   : std::to_string(min - 1) + " to " + std::to_string(max - 1);
            fail("\"" + key_ + "\" takes " + want + " value(s), found " +
                 std::to_string(tokens_.size() - 1));
        }
    }
    const std::string& arg(size_t i) const {
        if (i >= tokens_.size()) fail("\"" + key_ + "\" lacks a value");
        return tokens_[i].text;
    }
    const std::string& single() const {
        expectCount(2, 2);
        return arg(1);
    }

    int64_t number(const std::string& t, int64_t min, int64_t max) const {
        int64_t v = 0;
        const char* b = t.data();
        const char* e = t.data() + t.size();
        bool negative = b != e && *b == '-';
        if (negative) ++b;
        int base = 10;
        if (e - b > 2 && b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) {
            b += 2;
            base = 16;
        }
        auto res = std::from_chars(b, e, v, base);
        if (res.ec != std::errc() || res.ptr != e || b == e)
            fail("\"" + t + "\" is not a whole number");
        if (negative) v = -v;
        if (v < min || v > max)
            fail("\"" + t + "\" lies outside " + std::to_string(min) + ".." + std::to_string(max));
        return v;
    }
    int32_t i32(const std::string& t) const {
        return static_cast<int32_t>(number(t, INT32_MIN, INT32_MAX));
    }
    uint16_t u16(const std::string& t) const { return static_cast<uint16_t>(number(t, 0, 0xFFFF)); }
    uint8_t u8(const std::string& t) const { return static_cast<uint8_t>(number(t, 0, 0xFF)); }
    uint32_t u32(const std::string& t) const {
        return static_cast<uint32_t>(number(t, 0, 0xFFFFFFFFLL));
    }

    // Report pixels, or millimetres at 3.6 pixels each.
    int32_t length(const std::string& t) const {
        return static_cast<int32_t>(std::lround(exactLength(t)));
    }
    // The unrounded length in pixels: a rectangle rounds its edges, not its
    // sizes, so that boxes meeting in millimetres meet in pixels too.
    double exactLength(const std::string& t) const {
        auto ends = [&](const char* suffix) {
            size_t n = std::strlen(suffix);
            return t.size() > n && t.compare(t.size() - n, n, suffix) == 0;
        };
        if (ends("mm")) {
            std::string v = t.substr(0, t.size() - 2);
            double mm = 0;
            auto res = std::from_chars(v.data(), v.data() + v.size(), mm);
            if (res.ec != std::errc() || res.ptr != v.data() + v.size())
                fail("\"" + t + "\" is not a length");
            double px = mm * 18 / 5;
            if (!(std::fabs(px) <= INT32_MAX)) fail("\"" + t + "\" is not a length");
            return px;
        }
        if (ends("px")) return i32(t.substr(0, t.size() - 2));
        return i32(t);
    }
    // One side of a rectangle: its size is the distance between its rounded
    // edges, which keeps the far edge where the next box's near edge lies.
    std::pair<int32_t, int32_t> span(const std::string& start, const std::string& size) const {
        double from = exactLength(start);
        double to = from + exactLength(size);
        int64_t a = std::llround(from);
        int64_t b = std::llround(to);
        if (a < INT32_MIN || a > INT32_MAX || b - a < INT32_MIN || b - a > INT32_MAX)
            fail("\"" + start + " " + size + "\" lies outside the page");
        return {static_cast<int32_t>(a), static_cast<int32_t>(b - a)};
    }

    WordBool yesNo(const std::string& t) const {
        if (t == "yes") return kTrue;
        if (t == "no") return 0;
        return static_cast<WordBool>(number(t, INT16_MIN, INT16_MAX));
    }
    uint32_t color(const std::string& t) const {
        auto c = parseColor(t);
        if (!c) fail("\"" + t + "\" is not a colour (none, #RRGGBB or a number)");
        return *c;
    }
    uint32_t enumValue(const std::vector<Name>& names, const std::string& t, uint32_t max) const {
        if (auto v = valueOf(names, t)) return *v;
        if (!t.empty() && (std::isdigit(static_cast<unsigned char>(t[0]))))
            return static_cast<uint32_t>(number(t, 0, max));
        std::string known;
        for (const auto& n : names)
            known += std::string(known.empty() ? "" : ", ") + n.word;
        fail("\"" + t + "\" is not one of " + known);
    }
    uint32_t bits(const std::vector<Name>& names, size_t from, uint32_t max) const {
        if (tokens_.size() <= from) fail("\"" + key_ + "\" lacks a value");
        uint32_t v = 0;
        for (size_t i = from; i < tokens_.size(); ++i) {
            if (tokens_[i].text == "none" && tokens_.size() == from + 1) return 0;
            v |= enumValue(names, tokens_[i].text, max);
        }
        return v;
    }

    // Blocks ----------------------------------------------------------------

    void reportKey() {
        auto& info = r_.Info;
        if (key_ == "print-to-default")
            r_.PrintToDefault = yesNo(single());
        else if (key_ == "double-pass")
            r_.DoublePass = yesNo(single());
        else if (key_ == "printer")
            r_.PrinterName = single();
        else if (key_ == "name")
            info.ReportName = single();
        else if (key_ == "comment")
            info.ReportComment = single();
        else if (key_ == "author")
            info.ReportAutor = single();
        else if (key_ == "version") {
            expectCount(5, 5);
            info.VMajor = arg(1);
            info.VMinor = arg(2);
            info.VRelease = arg(3);
            info.VBuild = arg(4);
        } else if (key_ == "password")
            info.Password = single();
        else if (key_ == "password-set")
            info.PasswordSet = arg(1) == "yes" ? 1 : u8(single());
        else if (key_ == "created") {
            expectCount(2, 3);
            auto d = parseDate(arg(1), tokens_.size() > 2 ? arg(2) : std::string());
            if (!d) fail("\"created\" takes a date YYYY-MM-DD with a time HH:MM:SS, or a number");
            info.CreationDate = *d;
        } else
            unknownKey("report");
    }

    void dictionaryKey() {
        auto& d = r_.Dictionary;
        if (key_ == "category") {
            expectCount(2, 3);
            d.Variables.SetValue(" " + arg(1),
                                 Variant(tokens_.size() > 2 ? arg(2) : std::string()));
        } else if (key_ == "variable") {
            expectCount(3, 3);
            if (d.Variables.Count() == 0)
                fail("a variable must follow a category: the file form turns a leading variable "
                     "into one");
            if (TfrDataDictionary::IsCategory(arg(1)))
                fail("a variable name cannot begin with a blank");
            d.Variables.SetValue(arg(1), Variant(arg(2)));
        } else if (key_ == "field-alias") {
            expectCount(3, 3);
            d.FieldAliases.SetValue(arg(1), Variant(arg(2)));
        } else if (key_ == "source-alias") {
            expectCount(3, 3);
            d.SourceAliases.SetValue(arg(1), Variant(arg(2)));
        } else
            unknownKey("dictionary");
    }

    struct PendingPaper {
        int size = kA4Paper;
        std::optional<std::pair<int, int>> dimensions;
        int orientation = 0;
        int32_t bin = TfrPage::kDefaultBin;
    };

    void startPage() {
        auto page = std::make_unique<TfrPage>();
        page->Name = tokens_.size() > 1 ? arg(1) : r_.NewPageName();
        r_.Pages.push_back(std::move(page));
        page_ = r_.Pages.back().get();
        paper_ = PendingPaper{};
        block_ = Block::Page;
    }

    void finishPage() {
        if (!page_) return;
        int w = 0, h = 0;
        if (paper_.dimensions) {
            std::tie(w, h) = *paper_.dimensions;
        } else if (const PaperSize* entry = findPaperSize(paper_.size);
                   entry && paper_.size != kCustomPaper) {
            w = paper_.orientation == 1 ? entry->height : entry->width;
            h = paper_.orientation == 1 ? entry->width : entry->height;
        }
        page_->ChangePaper(paper_.size, w, h, paper_.orientation, paper_.bin);
        page_ = nullptr;
    }

    void pageKey() {
        TfrPage& p = *page_;
        if (key_ == "paper") {
            expectCount(2, 4);
            const std::string& name = arg(1);
            auto code = valueOf(kPaperNames, name);
            paper_.size = code ? static_cast<int>(*code) : i32(name);
            if (tokens_.size() == 4)
                paper_.dimensions = {{i32(arg(2)), i32(arg(3))}};
            else if (tokens_.size() == 3)
                fail("\"paper\" takes a size, or a size with width and height");
            if (paper_.size == kCustomPaper && !paper_.dimensions)
                fail("a custom paper needs its width and height (tenths of a millimetre)");
            if (!code && paper_.size != kCustomPaper && !findPaperSize(paper_.size) &&
                !paper_.dimensions)
                fail("paper size " + name +
                     " is not in the paper table; give its width and height");
        } else if (key_ == "orientation") {
            const std::string& v = single();
            paper_.orientation = v == "portrait" ? 0 : v == "landscape" ? 1 : u8(v);
        } else if (key_ == "margins") {
            expectCount(5, 5);
            p.LeftMargin = length(arg(1));
            p.TopMargin = length(arg(2));
            p.RightMargin = length(arg(3));
            p.BottomMargin = length(arg(4));
        } else if (key_ == "bin")
            paper_.bin = single() == "default" ? TfrPage::kDefaultBin : i32(single());
        else if (key_ == "print-to-prev-page")
            p.PrintToPrevPage = yesNo(single());
        else if (key_ == "use-margins")
            p.UseMargins = yesNo(single());
        else if (key_ == "columns")
            p.Columns = i32(single());
        else if (key_ == "column-gap")
            p.ColumnGap = length(single());
        else if (key_ == "type")
            p.Type = single() == "dialog" ? 1 : single() == "report" ? 0 : u8(single());
        else if (key_ == "border-style")
            p.BorderStyle = u8(single());
        else if (key_ == "caption")
            p.Caption = single();
        else if (key_ == "color")
            p.Color = static_cast<int32_t>(color(single()));
        else if (key_ == "window") {
            expectCount(5, 5);
            p.WindowLeft = i32(arg(1));
            p.WindowTop = i32(arg(2));
            p.WindowWidth = i32(arg(3));
            p.WindowHeight = i32(arg(4));
        } else if (key_ == "position")
            p.Position = u8(single());
        else if (key_ == "script")
            p.Script.push_back(single());
        else
            unknownKey("page");
    }

    void startObject() {
        if (!page_) fail("\"" + key_ + "\" outside a page");
        static const std::map<std::string, uint8_t> codes = {{"memo", gtMemo},
                                                             {"picture", gtPicture},
                                                             {"band", gtBand},
                                                             {"subreport", gtSubReport},
                                                             {"line", gtLine}};
        uint8_t code = codes.at(key_);
        auto view = createView(code);
        view->Format = code == gtBand ? 0 : kSourceFormat;
        if (code == gtBand) {
            expectCount(3, 3);
            view->FrameTyp = static_cast<uint16_t>(enumValue(kBandTypes, arg(2), 0xFFFF));
        } else {
            expectCount(1, 2);
        }
        view->Name = tokens_.size() > 1 ? arg(1) : r_.NewObjectName(view->namePrefix());
        if (r_.FindObject(view->Name))
            fail("a second object named \"" + cp1251ToUtf8(view->Name) + "\"");
        directionGiven_ = false;
        imageData_.clear();
        objectLine_ = lineNo_;
        page_->Objects.push_back(std::move(view));
        object_ = page_->Objects.back().get();
        block_ = Block::Object;
    }

    void finishObject() {
        if (!object_) return;
        if (auto* line = dynamic_cast<TfrLineView*>(object_); line && !directionGiven_)
            line->directionFromSize();
        if (auto* p = dynamic_cast<TfrPictureView*>(object_); p && !imageData_.empty()) {
            auto bytes = base64Decode(imageData_);
            if (!bytes)
                throw TemplateSourceError(objectLine_, "the picture's image-data is not base64");
            p->Picture.data += *bytes;
        }
        object_ = nullptr;
        block_ = Block::Page;
    }

    void objectKey() {
        TfrView& v = *object_;
        if (key_ == "rect") {
            expectCount(5, 5);
            std::tie(v.Left, v.Width) = span(arg(1), arg(3));
            std::tie(v.Top, v.Height) = span(arg(2), arg(4));
        } else if (key_ == "flags")
            v.Flags = static_cast<uint16_t>(bits(flagNamesOf(v.typeCode()), 1, 0xFFFF));
        else if (key_ == "frame" && v.typeCode() != gtBand) {
            directionGiven_ = true;
            v.FrameTyp = tokens_.size() == 2 && arg(1) == "all"
                             ? 15
                             : static_cast<uint16_t>(bits(kFrameSides, 1, 0xFFFF));
        } else if (key_ == "direction" && v.typeCode() == gtLine) {
            directionGiven_ = true;
            const std::string& d = single();
            if (d == "vertical")
                v.FrameTyp = kLineVertical;
            else if (d == "horizontal")
                v.FrameTyp = kLineHorizontal;
            else
                fail("a line's direction is vertical or horizontal");
        } else if (key_ == "frame-width") {
            float w = 0;
            const std::string& t = single();
            auto res = std::from_chars(t.data(), t.data() + t.size(), w);
            if (res.ec != std::errc() || res.ptr != t.data() + t.size())
                fail("\"" + t + "\" is not a number");
            v.FrameWidth = w;
        } else if (key_ == "frame-color")
            v.FrameColor = color(single());
        else if (key_ == "frame-style")
            v.FrameStyle = static_cast<uint16_t>(enumValue(kFrameStyles, single(), 0xFFFF));
        else if (key_ == "fill")
            v.FillColor = color(single());
        else if (key_ == "format")
            v.Format = formatCode();
        else if (key_ == "format-text" || key_ == "data")
            v.FormatStr = single();
        else if (key_ == "text")
            v.Memo.push_back(single());
        else if (key_ == "script")
            v.Script.push_back(single());
        else if (key_ == "visible")
            v.Visible = yesNo(single());
        else if (key_ == "restrictions")
            v.Restrictions = u16(single());
        else if (key_ == "tag")
            v.Tag = single();
        else if (key_ == "gap") {
            expectCount(3, 3);
            v.GapX = length(arg(1));
            v.GapY = length(arg(2));
        } else if (key_ == "band-align")
            v.BandAlign = static_cast<uint8_t>(enumValue(kBandAligns, single(), 0xFF));
        else if (key_ == "subversion")
            v.ObjectSubVersion = u8(single());
        else if (auto* m = dynamic_cast<TfrMemoView*>(&v); m && memoKey(*m)) {
        } else if (auto* b = dynamic_cast<TfrBandView*>(&v); b && bandKey(*b)) {
        } else if (auto* p = dynamic_cast<TfrPictureView*>(&v); p && pictureKey(*p)) {
        } else if (auto* s = dynamic_cast<TfrSubReportView*>(&v); s && key_ == "sub-page") {
            s->SubPage = i32(single());
        } else
            unknownKey(tokens_.empty() ? "object" : objectKind(v));
    }

    static const char* objectKind(const TfrView& v) {
        switch (v.typeCode()) {
        case gtMemo:
            return "memo";
        case gtPicture:
            return "picture";
        case gtBand:
            return "band";
        case gtSubReport:
            return "subreport";
        default:
            return "line";
        }
    }

    int32_t formatCode() const {
        if (tokens_.size() == 2)
            return static_cast<int32_t>(number(arg(1), INT32_MIN, 0xFFFFFFFFLL));
        expectCount(5, 5);
        uint32_t category = enumValue(kFormatCategories, arg(1), 0xFF);
        uint32_t sub = u8(arg(2)), decimals = u8(arg(3));
        if (arg(4).size() != 1) fail("the decimal separator is one character");
        uint32_t sep = static_cast<unsigned char>(arg(4)[0]);
        return static_cast<int32_t>((category << 24) | (sub << 16) | (decimals << 8) | sep);
    }

    bool memoKey(TfrMemoView& m) {
        if (key_ == "font") {
            expectCount(3, 64);
            m.FontName = arg(1);
            m.FontSize = i32(arg(2));
            m.FontStyle =
                tokens_.size() > 3 ? static_cast<uint16_t>(bits(kFontStyles, 3, 0xFFFF)) : 0;
        } else if (key_ == "font-color")
            m.FontColor = static_cast<int32_t>(color(single()));
        else if (key_ == "align")
            m.Alignment = alignment();
        else if (key_ == "charset")
            m.FontCharset = u16(single());
        else if (key_ == "highlight-style")
            m.HighlightFontStyle = static_cast<uint16_t>(bits(kFontStyles, 1, 0xFFFF));
        else if (key_ == "highlight-color")
            m.HighlightFontColor = color(single());
        else if (key_ == "highlight-fill")
            m.HighlightFillColor = color(single());
        else if (key_ == "highlight-condition")
            m.HighlightCondition = single();
        else if (key_ == "line-spacing")
            m.LineSpacing = i32(single());
        else if (key_ == "char-spacing")
            m.CharSpacing = i32(single());
        else
            return false;
        return true;
    }

    uint32_t alignment() const {
        if (tokens_.size() == 2 && !arg(1).empty() &&
            std::isdigit(static_cast<unsigned char>(arg(1)[0])))
            return u32(arg(1));
        static const std::vector<Name> words = {{"left", 0},
                                                {"right", frtaRight},
                                                {"center", frtaCenter},
                                                {"justify", frtaJustify},
                                                {"vertical", frtaVertical},
                                                {"top", 0},
                                                {"middle", frtaMiddle},
                                                {"bottom", frtaDown}};
        uint32_t a = 0;
        for (size_t i = 1; i < tokens_.size(); ++i) {
            auto v = valueOf(words, arg(i));
            if (!v)
                fail("\"" + arg(i) +
                     "\" is not an alignment (left right center justify top middle bottom "
                     "vertical)");
            a |= *v;
        }
        if (tokens_.size() < 2) fail("\"align\" lacks a value");
        return a;
    }

    bool bandKey(TfrBandView& b) {
        if (key_ == "child")
            b.ChildBand = single();
        else if (key_ == "columns")
            b.Columns = i32(single());
        else if (key_ == "column-width")
            b.ColumnWidth = length(single());
        else if (key_ == "column-gap")
            b.ColumnGap = length(single());
        else if (key_ == "rows-per-column")
            b.RowsPerColumn = i32(single());
        else if (key_ == "master")
            b.Master = single();
        else
            return false;
        return true;
    }

    bool pictureKey(TfrPictureView& p) {
        if (key_ == "blob-type")
            p.BlobType = static_cast<uint8_t>(enumValue(kBlobTypes, single(), 0xFF));
        else if (key_ == "image")
            p.Picture.kind = static_cast<uint8_t>(enumValue(kGraphicKinds, single(), 0xFF));
        else if (key_ == "image-data") {
            if (p.Picture.kind == gkNone) fail("image-data needs an \"image\" kind before it");
            imageData_ += single();
        } else if (key_ == "image-file") {
            const std::string path = cp1251ToUtf8(single());
            std::string full =
                path.empty() || path[0] == '/' || baseDir_.empty() ? path : baseDir_ + "/" + path;
            std::optional<std::string> bytes = readFileBytes(full);
            if (!bytes) fail("cannot read the picture file \"" + full + "\"");
            if (p.Picture.kind == gkNone) p.Picture.kind = kindFromExtension(path);
            p.Picture.data = std::move(*bytes);
        } else
            return false;
        return true;
    }

    uint8_t kindFromExtension(const std::string& path) const {
        std::string ext = path.substr(
            path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.'));
        for (char& c : ext)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".bmp") return gkBitmap;
        if (ext == ".jpg" || ext == ".jpeg") return gkJpeg;
        if (ext == ".ico") return gkIcon;
        if (ext == ".wmf") return gkMetafile;
        fail("say which kind of picture \"" + path + "\" is with \"image bmp|jpeg|icon|metafile\"");
    }

    [[noreturn]] void unknownKey(const std::string& where) const {
        fail("unknown key \"" + tokens_[0].text + "\" in " + where);
    }

    TfrReport& r_;
    std::string baseDir_;
    int lineNo_ = 0;
    std::vector<Token> tokens_;
    std::string key_;
    Block block_ = Block::None;
    TfrPage* page_ = nullptr;
    PendingPaper paper_;
    TfrView* object_ = nullptr;
    bool directionGiven_ = false;
    std::string imageData_;
    int objectLine_ = 0;
};

} // namespace

void readTemplateSource(std::string_view text, TfrReport& report, const std::string& baseDir) {
    // A source with a byte-order mark is still a source.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Parser(report, baseDir).run(text);
}

} // namespace pv
