#pragma once

#include "pdf/PDFDocument.h"
#include "pdf/PDFFonts.h"

namespace pv::test {

// A TrueType stand-in: one regular face of fixed widths, so the page has to
// simulate bold and italic.
class FakeTrueTypeFont : public TPDFFont {
public:
    FakeTrueTypeFont(TPDFDocument& doc, const std::string& face, int charset, int count)
        : TPDFFont(doc,
                   Identity{face, face, "TT" + std::to_string(count), 0, charset, false, false}) {}
    int GlyphWidth(unsigned char code) const override { return code < 32 ? 0 : 500; }
    void WriteDictionaries(TPDFDocument& doc) override {
        int number = ObjectNumber();
        doc.BeginObject(number);
        doc.WriteLine("/Type /Font");
        doc.WriteLine("/Subtype /Type1");
        doc.WriteLine("/BaseFont /Helvetica");
        doc.EndDictionary();
        doc.EndObject();
    }
};

class FakeFontProvider : public FontProvider {
public:
    bool HasTrueTypeFace(const std::string& face, int charset) override { return charset == 204; }
    int Select(TPDFFonts& fonts, const std::string& face, int style, int charset) override {
        const int found = fonts.Find(face, 0, charset);
        if (found >= 0) return found;
        return fonts.Add(std::make_unique<FakeTrueTypeFont>(fonts.Document(), face, charset,
                                                            fonts.TrueTypeCount() + 1));
    }
};

} // namespace pv::test
