#include "pdf/PDFFonts.h"

#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/StandardFontWidths.h"
#include "platform/TextCase.h"

namespace pv {

namespace {

const char* const kStandardNames[kStandardFontCount] = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
    "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
    "Symbol",      "ZapfDingbats"};

constexpr int kSymbol = 13;
constexpr int kZapfDingbats = 14;

bool isCjkCharset(int charset) {
    return charset == 128 || charset == 129 || charset == 134 || charset == 136;
}

} // namespace

TPDFFont::TPDFFont(TPDFDocument& doc, Identity identity)
    : number_(doc.NewObjectNumber()), baseFont_(std::move(identity.baseFont)),
      faceName_(std::move(identity.faceName)), resourceName_(std::move(identity.resourceName)),
      style_(identity.style), charset_(identity.charset), standard_(identity.standard),
      cjk_(identity.cjk) {}

PdfStandardFont::PdfStandardFont(TPDFDocument& doc, int number, int style)
    : TPDFFont(doc, Identity{kStandardNames[number - 1], kStandardNames[number - 1],
                             "F" + std::to_string(number - 1), style, 0, true, false}),
      number_(number) {}

int PdfStandardFont::GlyphWidth(unsigned char code) const {
    return kStandardFontWidths[number_ - 1][code];
}

void PdfStandardFont::WriteDictionaries(TPDFDocument& doc) {
    int number = ObjectNumber();
    doc.BeginObject(number);
    doc.WriteLine("/Type /Font");
    doc.WriteLine("/Subtype /Type1");
    doc.WriteLine("/BaseFont /" + BaseFont());
    if (number_ != kSymbol && number_ != kZapfDingbats) doc.WriteLine("/Encoding /WinAnsiEncoding");
    doc.WriteLine("/FirstChar 32");
    doc.WriteLine("/LastChar 255");
    doc.EndDictionary();
    doc.EndObject();
}

int TPDFFonts::standardNumber(const std::string& face, int style) {
    const std::string upper = upper1251(face);
    const int variant = (style & fsBold ? 1 : 0) + (style & fsItalic ? 2 : 0);
    if (upper == "HELVETICA") return 1 + variant;
    if (upper == "TIMES") return 5 + variant;
    if (upper == "COURIER") return 9 + variant;
    if (upper == "SYMBOL") return kSymbol;
    if (upper == "ZAPFDINGBATS") return kZapfDingbats;
    return 0;
}

void TPDFFonts::SelectFont(const std::string& name, int style, int charset) {
    if (charset == 1) charset = 0;
    if (isCjkCharset(charset)) {
        if (!provider_) throw TPDFException("Not valid true type font.");
        active_ = provider_->Select(*this, name, style, charset);
        return;
    }
    std::string face = name;
    static const char* const substitutes[][2] = {
        {"ARIAL", "Helvetica"}, {"COURIER NEW", "Courier"}, {"TIMES NEW ROMAN", "Times"}};
    for (const auto& [trueType, standard] : substitutes) {
        if (upper1251(face) != trueType) continue;
        if (charset == 0 || !provider_ || !provider_->HasTrueTypeFace(face, charset))
            face = standard;
        break;
    }
    style &= fsBold | fsItalic;
    if (const int number = standardNumber(face, style)) {
        // Symbol and ZapfDingbats have one style only; keeping one font per style
        // would give one page two resources of the same name.
        if (number == kSymbol || number == kZapfDingbats) style = 0;
        const int found = Find(kStandardNames[number - 1], style, 0);
        active_ = found >= 0 ? found : Add(std::make_unique<PdfStandardFont>(doc_, number, style));
        return;
    }
    if (!provider_) throw TPDFException("Not valid true type font.");
    active_ = provider_->Select(*this, face, style, charset);
}

int TPDFFonts::TrueTypeCount() const {
    int count = 0;
    for (const auto& font : fonts_)
        if (!font->IsStandard()) ++count;
    return count;
}

int TPDFFonts::Find(const std::string& face, int style, int charset) const {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const TPDFFont& font = *fonts_[i];
        if (font.Style() == style && font.Charset() == charset &&
            equalsNoCase(font.FaceName(), face))
            return static_cast<int>(i);
    }
    return -1;
}

int TPDFFonts::Add(std::unique_ptr<TPDFFont> font) {
    fonts_.push_back(std::move(font));
    return static_cast<int>(fonts_.size()) - 1;
}

void TPDFFonts::WriteFontFiles() {
    for (auto& font : fonts_)
        font->WriteFontFile(doc_);
}

void TPDFFonts::WriteFontDictionaries() {
    for (auto& font : fonts_)
        font->WriteDictionaries(doc_);
}

void TPDFFonts::Clear() {
    fonts_.clear();
    active_ = -1;
}

} // namespace pv
