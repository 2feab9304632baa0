#pragma once

#include "pdf/PDFFonts.h"

namespace pv {

// One of the four fixed fonts a reader supplies itself for Chinese, Japanese
// and Korean text: nothing is embedded, every glyph is one em wide.
class PdfCjkFont : public TPDFFont {
public:
    enum Kind { ChineseTraditional = 0, ChineseSimplified = 1, Japanese = 2, Korean = 3 };

    PdfCjkFont(TPDFDocument& doc, Kind kind, int style, int charset);
    Kind GetKind() const { return kind_; }
    int GlyphWidth(unsigned char) const override { return 1000; }
    // The Type 0 font keeps its number; the CIDFont and its descriptor get new ones.
    void WriteDictionaries(TPDFDocument& doc) override;

private:
    Kind kind_;
};

// Whether a charset is served by one of the fixed CJK fonts.
bool isCJKCharset(int charset);

// Finds or adds the CJK font for a request of a CJK charset and returns its index.
int selectCJKFont(TPDFFonts& fonts, int style, int charset);

} // namespace pv
