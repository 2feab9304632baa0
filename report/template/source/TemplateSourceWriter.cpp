#include "report/template/source/TemplateSource.h"

#include "platform/SystemFormat.h"
#include "report/model/BandView.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/printer/PaperSizes.h"
#include "report/model/PictureView.h"
#include "report/model/PropertyValue.h"
#include "report/template/Report.h"
#include "report/model/SubReportView.h"
#include "report/template/source/TemplateSyntax.h"

#include <bit>
#include <sstream>

namespace pv {

using namespace source;

namespace {

// The display format a view gets in the source when none is written: text,
// two decimals, the comma of Russian number formats.
constexpr int32_t kSourceFormat = 2 * 256 + ',';

class Writer {
public:
    std::string run(const TfrReport& r) {
        writeReport(r);
        writeDictionary(r.Dictionary);
        for (const auto& page : r.Pages)
            writePage(*page);
        return out_.str();
    }

private:
    void line(int indent, const std::string& text) {
        out_ << std::string(indent * 2, ' ') << text << '\n';
    }
    static std::string yesNo(WordBool v) {
        return v == 0 ? "no" : v == kTrue ? "yes" : std::to_string(v);
    }

    void writeReport(const TfrReport& r) {
        const auto& i = r.Info;
        line(0, "report");
        if (r.PrintToDefault != kTrue) line(1, "print-to-default " + yesNo(r.PrintToDefault));
        if (r.DoublePass) line(1, "double-pass " + yesNo(r.DoublePass));
        if (r.PrinterName != TfrReport::kVirtualPrinterName)
            line(1, "printer " + quote(r.PrinterName));
        if (!i.ReportName.empty()) line(1, "name " + quote(i.ReportName));
        if (!i.ReportComment.empty()) line(1, "comment " + quote(i.ReportComment));
        if (!i.ReportAutor.empty()) line(1, "author " + quote(i.ReportAutor));
        if (!(i.VMajor.empty() && i.VMinor.empty() && i.VRelease.empty() && i.VBuild.empty()))
            line(1, "version " + quote(i.VMajor) + " " + quote(i.VMinor) + " " + quote(i.VRelease) +
                        " " + quote(i.VBuild));
        if (!i.Password.empty()) line(1, "password " + quote(i.Password));
        if (i.PasswordSet) line(1, "password-set " + std::to_string(i.PasswordSet));
        if (std::bit_cast<uint64_t>(i.CreationDate) != 0)
            line(1, "created " + dateText(i.CreationDate));
    }

    void writeDictionary(const TfrDataDictionary& d) {
        if (d.empty()) return;
        out_ << '\n';
        line(0, "dictionary");
        for (int k = 0; k < d.Variables.Count(); ++k) {
            const std::string& name = d.Variables.Name(k);
            std::string value = propertyText(d.Variables.ValueAt(k));
            if (TfrDataDictionary::IsCategory(name))
                line(1, "category " + word(name.substr(1)) +
                            (value.empty() ? "" : " " + quote(value)));
            else
                line(1, "variable " + word(name) + " " + quote(value));
        }
        for (int k = 0; k < d.FieldAliases.Count(); ++k)
            line(1, "field-alias " + word(d.FieldAliases.Name(k)) + " " +
                        quote(propertyText(d.FieldAliases.ValueAt(k))));
        for (int k = 0; k < d.SourceAliases.Count(); ++k)
            line(1, "source-alias " + word(d.SourceAliases.Name(k)) + " " +
                        quote(propertyText(d.SourceAliases.ValueAt(k))));
    }

    void writePaper(const TfrPage& p) {
        const PaperSize* entry = findPaperSize(p.Size);
        int w = 0, h = 0;
        if (entry && p.Size != kCustomPaper) {
            w = p.Orientation == 1 ? entry->height : entry->width;
            h = p.Orientation == 1 ? entry->width : entry->height;
        }
        std::string name = wordOf(kPaperNames, p.Size).value_or(std::to_string(p.Size));
        bool derived = entry && p.Size != kCustomPaper && w == p.PaperWidth && h == p.PaperHeight;
        if (derived && p.Size == kA4Paper) return;
        line(1, "paper " + name +
                    (derived ? ""
                             : " " + std::to_string(p.PaperWidth) + " " +
                                   std::to_string(p.PaperHeight)));
    }

    void writePage(const TfrPage& p) {
        out_ << '\n';
        line(0, "page " + word(p.Name));
        writePaper(p);
        if (p.Orientation)
            line(1, p.Orientation == 1 ? "orientation landscape"
                                       : "orientation " + std::to_string(p.Orientation));
        if (p.LeftMargin || p.TopMargin || p.RightMargin || p.BottomMargin)
            line(1, "margins " + std::to_string(p.LeftMargin) + " " + std::to_string(p.TopMargin) +
                        " " + std::to_string(p.RightMargin) + " " + std::to_string(p.BottomMargin));
        if (p.Bin != TfrPage::kDefaultBin) line(1, "bin " + std::to_string(p.Bin));
        if (p.PrintToPrevPage) line(1, "print-to-prev-page " + yesNo(p.PrintToPrevPage));
        if (p.UseMargins != kTrue) line(1, "use-margins " + yesNo(p.UseMargins));
        if (p.Columns != 1) line(1, "columns " + std::to_string(p.Columns));
        if (p.ColumnGap) line(1, "column-gap " + std::to_string(p.ColumnGap));
        if (p.Type) line(1, p.Type == 1 ? "type dialog" : "type " + std::to_string(p.Type));
        if (p.BorderStyle != 3) line(1, "border-style " + std::to_string(p.BorderStyle));
        if (p.Caption != "Form") line(1, "caption " + quote(p.Caption));
        if (p.Color != static_cast<int32_t>(0x8000000F))
            line(1, "color " + colorText(static_cast<uint32_t>(p.Color)));
        if (p.WindowLeft != 220 || p.WindowTop != 120 || p.WindowWidth != 380 ||
            p.WindowHeight != 300)
            line(1, "window " + std::to_string(p.WindowLeft) + " " + std::to_string(p.WindowTop) +
                        " " + std::to_string(p.WindowWidth) + " " + std::to_string(p.WindowHeight));
        if (p.Position != 4) line(1, "position " + std::to_string(p.Position));
        for (const auto& s : p.Script)
            line(1, "script " + quote(s));
        for (const auto& object : p.Objects)
            writeObject(*object);
    }

    static std::string formatText(int32_t format) {
        uint32_t f = static_cast<uint32_t>(format);
        uint32_t category = (f >> 24) & 0xFF;
        auto word = wordOf(kFormatCategories, category);
        if (!word) return "format " + std::to_string(format);
        char sep = static_cast<char>(f & 0xFF);
        return "format " + *word + " " + std::to_string((f >> 16) & 0xFF) + " " +
               std::to_string((f >> 8) & 0xFF) + " " + quote(std::string(1, sep));
    }

    void writeObject(const TfrView& v) {
        out_ << '\n';
        int code = v.typeCode();
        std::string head;
        switch (code) {
        case gtMemo:
            head = "memo ";
            break;
        case gtPicture:
            head = "picture ";
            break;
        case gtBand:
            head = "band ";
            break;
        case gtSubReport:
            head = "subreport ";
            break;
        case gtLine:
            head = "line ";
            break;
        }
        head += word(v.Name);
        if (code == gtBand)
            head += " " + wordOf(kBandTypes, v.FrameTyp).value_or(std::to_string(v.FrameTyp));
        line(1, head);

        line(2, "rect " + std::to_string(v.Left) + " " + std::to_string(v.Top) + " " +
                    std::to_string(v.Width) + " " + std::to_string(v.Height));
        if (v.Flags != defaultFlags(v))
            line(2, "flags " + bitsToWords(flagNamesOf(v.typeCode()), v.Flags));
        if (code == gtLine) {
            if (v.FrameTyp == kLineVertical)
                line(2, "direction vertical");
            else if (v.FrameTyp == kLineHorizontal)
                line(2, "direction horizontal");
            else
                line(2, "frame " + std::to_string(v.FrameTyp));
        } else if (code != gtBand && v.FrameTyp) {
            line(2, "frame " + (v.FrameTyp == 15 ? std::string("all")
                                                 : bitsToWords(kFrameSides, v.FrameTyp)));
        }
        if (v.FrameWidth != 1) line(2, "frame-width " + floatText(v.FrameWidth));
        if (v.FrameColor) line(2, "frame-color " + colorText(v.FrameColor));
        if (v.FrameStyle)
            line(2, "frame-style " +
                        wordOf(kFrameStyles, v.FrameStyle).value_or(std::to_string(v.FrameStyle)));
        if (v.FillColor != (code == gtLine ? clWhite : clNone))
            line(2, "fill " + colorText(v.FillColor));
        if (v.Format != (code == gtBand ? 0 : kSourceFormat)) line(2, formatText(v.Format));
        if (!v.FormatStr.empty())
            line(2, code == gtBand ? "data " + word(v.FormatStr)
                                   : "format-text " + quote(v.FormatStr));
        for (const auto& s : v.Memo)
            line(2, "text " + quote(s));
        for (const auto& s : v.Script)
            line(2, "script " + quote(s));
        if (v.Visible != kTrue) line(2, "visible " + yesNo(v.Visible));
        if (v.Restrictions) line(2, "restrictions " + std::to_string(v.Restrictions));
        if (!v.Tag.empty()) line(2, "tag " + quote(v.Tag));
        if (v.GapX != 2 || v.GapY != 1)
            line(2, "gap " + std::to_string(v.GapX) + " " + std::to_string(v.GapY));
        if (v.BandAlign)
            line(2, "band-align " +
                        wordOf(kBandAligns, v.BandAlign).value_or(std::to_string(v.BandAlign)));
        if (code != gtBand && v.ObjectSubVersion)
            line(2, "subversion " + std::to_string(v.ObjectSubVersion));
        if (auto* m = dynamic_cast<const TfrMemoView*>(&v)) writeMemo(*m);
        if (auto* b = dynamic_cast<const TfrBandView*>(&v)) writeBand(*b);
        if (auto* p = dynamic_cast<const TfrPictureView*>(&v)) writePicture(*p);
        if (auto* s = dynamic_cast<const TfrSubReportView*>(&v))
            line(2, "sub-page " + std::to_string(s->SubPage));
    }

    static uint16_t defaultFlags(const TfrView& v) {
        switch (v.typeCode()) {
        case gtMemo:
            return TfrMemoView().Flags;
        case gtBand:
            return TfrBandView().Flags;
        case gtPicture:
            return TfrPictureView().Flags;
        default:
            return flStretched;
        }
    }

    static std::string alignText(uint32_t a) {
        std::string out;
        const char* horizontal[] = {"left", "right", "center", "justify"};
        if (a & 3) out += horizontal[a & 3];
        if (a & frtaVertical) out += std::string(out.empty() ? "" : " ") + "vertical";
        uint32_t v = a & 24;
        if (v == frtaMiddle)
            out += std::string(out.empty() ? "" : " ") + "middle";
        else if (v == frtaDown)
            out += std::string(out.empty() ? "" : " ") + "bottom";
        uint32_t rest = a & ~uint32_t(7);
        if (v == 24 || (rest & ~uint32_t(24))) return std::to_string(a);
        return out;
    }

    void writeMemo(const TfrMemoView& m) {
        if (m.FontName != "Arial" || m.FontSize != 10 || m.FontStyle)
            line(2, "font " + quote(m.FontName) + " " + std::to_string(m.FontSize) +
                        (m.FontStyle ? " " + bitsToWords(kFontStyles, m.FontStyle) : ""));
        if (m.FontColor) line(2, "font-color " + colorText(static_cast<uint32_t>(m.FontColor)));
        if (m.Alignment) line(2, "align " + alignText(m.Alignment));
        if (m.FontCharset != 204) line(2, "charset " + std::to_string(m.FontCharset));
        if (m.HighlightFontStyle != fsBold)
            line(2, "highlight-style " + bitsToWords(kFontStyles, m.HighlightFontStyle));
        if (m.HighlightFontColor) line(2, "highlight-color " + colorText(m.HighlightFontColor));
        if (m.HighlightFillColor != clWhite)
            line(2, "highlight-fill " + colorText(m.HighlightFillColor));
        if (!m.HighlightCondition.empty())
            line(2, "highlight-condition " + quote(m.HighlightCondition));
        if (m.LineSpacing != 2) line(2, "line-spacing " + std::to_string(m.LineSpacing));
        if (m.CharSpacing) line(2, "char-spacing " + std::to_string(m.CharSpacing));
    }

    void writeBand(const TfrBandView& b) {
        if (!b.ChildBand.empty()) line(2, "child " + word(b.ChildBand));
        if (b.Columns != 1) line(2, "columns " + std::to_string(b.Columns));
        if (b.ColumnWidth != 200) line(2, "column-width " + std::to_string(b.ColumnWidth));
        if (b.ColumnGap != 20) line(2, "column-gap " + std::to_string(b.ColumnGap));
        if (b.RowsPerColumn != 1) line(2, "rows-per-column " + std::to_string(b.RowsPerColumn));
        if (!b.Master.empty()) line(2, "master " + word(b.Master));
    }

    void writePicture(const TfrPictureView& p) {
        if (p.BlobType)
            line(2, "blob-type " +
                        wordOf(kBlobTypes, p.BlobType).value_or(std::to_string(p.BlobType)));
        if (p.Picture.kind == gkNone) return;
        line(2, "image " +
                    wordOf(kGraphicKinds, p.Picture.kind).value_or(std::to_string(p.Picture.kind)));
        std::string all = base64Encode(p.Picture.data);
        for (size_t i = 0; i < all.size(); i += 76)
            line(2, "image-data " + all.substr(i, 76));
    }

    std::ostringstream out_;
};

} // namespace

std::string writeTemplateSource(const TfrReport& report) {
    return Writer().run(report);
}

} // namespace pv
