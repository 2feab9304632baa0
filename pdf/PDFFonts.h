#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pv {

class TPDFDocument;
class TPDFFonts;

// One font resource of the document. The standard fonts are built in; TrueType
// and CJK fonts come from a FontProvider.
class TPDFFont {
public:
    virtual ~TPDFFont() = default;

    int ObjectNumber() const { return number_; }
    const std::string& BaseFont() const { return baseFont_; }
    const std::string& FaceName() const { return faceName_; }
    int Style() const { return style_; }
    int Charset() const { return charset_; }
    bool IsStandard() const { return standard_; }
    bool IsCJK() const { return cjk_; }
    const std::string& ResourceName() const { return resourceName_; }

    // Width of the glyph of a byte code in thousandths of the font size.
    virtual int GlyphWidth(unsigned char code) const = 0;
    // Called for every font before any dictionary is written.
    virtual void WriteFontFile(TPDFDocument& doc) {}
    virtual void WriteDictionaries(TPDFDocument& doc) = 0;

protected:
    struct Identity {
        std::string baseFont, faceName, resourceName;
        int style = 0, charset = 0;
        bool standard = false, cjk = false;
    };
    // Takes the font dictionary's object number from the document.
    TPDFFont(TPDFDocument& doc, Identity identity);

private:
    int number_;
    std::string baseFont_, faceName_, resourceName_;
    int style_, charset_;
    bool standard_, cjk_;
};

// One of the 14 fonts every viewer has; no font data goes into the file.
class PdfStandardFont : public TPDFFont {
public:
    // `number` is 1…14 in the order Helvetica (4 styles), Times, Courier, Symbol, ZapfDingbats.
    PdfStandardFont(TPDFDocument& doc, int number, int style);
    int Number() const { return number_; }
    int GlyphWidth(unsigned char code) const override;
    void WriteDictionaries(TPDFDocument& doc) override;

private:
    int number_;
};

// Supplies the fonts that need the platform's font service: installed TrueType
// faces (measured and embedded) and the CJK fonts.
class FontProvider {
public:
    virtual ~FontProvider() = default;
    // Whether an installed TrueType face of that name exists in that charset.
    virtual bool HasTrueTypeFace(const std::string& face, int charset) = 0;
    // Finds or adds (through TPDFFonts::Add) the font for a request the standard
    // fonts do not serve and returns its index; fails with "Not valid true type font.".
    virtual int Select(TPDFFonts& fonts, const std::string& face, int style, int charset) = 0;
};

// The document's list of font resources.
class TPDFFonts {
public:
    explicit TPDFFonts(TPDFDocument& doc) : doc_(doc) {}

    TPDFDocument& Document() const { return doc_; }
    void SetProvider(FontProvider* provider) { provider_ = provider; }
    FontProvider* Provider() const { return provider_; }

    // Makes the font serving the request the active one, creating it when needed.
    void SelectFont(const std::string& name, int style, int charset);
    TPDFFont* Active() const { return ActiveIndex() < 0 ? nullptr : fonts_[active_].get(); }
    int ActiveIndex() const { return active_; }

    int Count() const { return static_cast<int>(fonts_.size()); }
    TPDFFont& Item(int index) const { return *fonts_.at(index); }
    int TrueTypeCount() const;
    // The index of the font with that face (any case), style and charset, or -1.
    int Find(const std::string& face, int style, int charset) const;
    int Add(std::unique_ptr<TPDFFont> font);

    void WriteFontFiles();
    void WriteFontDictionaries();
    void Clear();

private:
    // The standard font number (1…14) for a face and style, or 0.
    static int standardNumber(const std::string& face, int style);

    TPDFDocument& doc_;
    FontProvider* provider_ = nullptr;
    std::vector<std::unique_ptr<TPDFFont>> fonts_;
    int active_ = -1;
};

} // namespace pv
