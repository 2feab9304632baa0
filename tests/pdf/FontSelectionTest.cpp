#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFTrueTypeFont.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

// Font selection against the installed fonts: the metric-compatible faces
// stand in for Arial, Times New Roman and Courier New.
class FontSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetOutputStream(&out);
        doc.BeginDoc();
    }
    void TearDown() override {
        if (doc.Generating()) doc.Abort();
    }
    const TPDFFont& select(const std::string& face, int style, int charset) {
        doc.CurrentPage()->SetActiveFont(face, style, charset, 10);
        return *doc.Fonts().Active();
    }

    TPDFDocument doc{test::fixedClock()};
    std::ostringstream out;
};

TEST_F(FontSelectionTest, RequestsMapOntoStandardTrueTypeAndCJKFonts) {
    const struct {
        const char* face;
        int style, charset;
        const char* resource;
        const char* baseFont;
        int fontCharset;
    } cases[] = {
        {"Arial", 0, 0, "F0", "Helvetica", 0},
        {"Arial", fsBold, 1, "F1", "Helvetica-Bold", 0},
        {"Arial", 0, 204, "TT1", "Arial", 204},
        {"ARIAL", fsUnderline, 204, "TT1", "Arial", 204},
        {"Arial", fsBold | fsStrikeOut, 204, "TT2", "Arial#20Bold", 204},
        {"Times New Roman", fsBold, 204, "TT3", "Times#20New#20Roman#20Bold", 204},
        {"Times New Roman", fsBold, 0, "F5", "Times-Bold", 0},
        {"Courier New", fsBold | fsItalic, 0, "F11", "Courier-BoldOblique", 0},
        {"Courier New", fsItalic | fsUnderline, 204, "TT4", "Courier#20New#20Italic", 204},
        {"Courier", fsBold | fsItalic | fsUnderline, 204, "F11", "Courier-BoldOblique", 0},
        {"Symbol", fsItalic, 2, "F12", "Symbol", 0},
        {"ZapfDingbats", 0, 0, "F13", "ZapfDingbats", 0},
        // No installed Arial has Thai letters: the standard font serves it.
        {"Arial", fsItalic, 222, "F2", "Helvetica-Oblique", 0},
        {"DejaVu Sans", 0, 238, "TT5", "DejaVu#20Sans", 238},
        {"Arial", 0, 128, "CIDJ", "JapanFont", 128},
        {"Arial", fsBold | fsItalic, 129, "CIDKBI", "KoreanFont", 129},
        {"Arial", fsItalic, 134, "CIDCSI", "ChineseSimplifiedFont", 134},
        {"Arial", fsBold, 136, "CIDCTB", "ChineseTraditionalFont", 136},
    };
    for (const auto& c : cases) {
        const TPDFFont& font = select(c.face, c.style, c.charset);
        EXPECT_EQ(font.ResourceName(), c.resource) << c.face << " " << c.style << " " << c.charset;
        EXPECT_EQ(font.BaseFont(), c.baseFont) << c.face;
        EXPECT_EQ(font.Charset(), c.fontCharset) << c.face;
    }
    EXPECT_EQ(doc.Fonts().Count(), 16);
}

TEST_F(FontSelectionTest, TrueTypeWidthsAndMetricsComeFromTheFace) {
    const auto& arial = dynamic_cast<const PdfTrueTypeFont&>(select("Arial", 0, 204));
    // The metric-compatible face has Helvetica's Latin widths.
    EXPECT_EQ(arial.GlyphWidth('A'), 667);
    EXPECT_EQ(arial.GlyphWidth(' '), 278);
    EXPECT_GT(arial.GlyphWidth(0xC0), 500); // А
    EXPECT_GT(arial.Metrics().ascent, 800);
    EXPECT_LT(arial.Metrics().descent, -150);
    const auto& italic = dynamic_cast<const PdfTrueTypeFont&>(select("Arial", fsItalic, 204));
    EXPECT_LT(italic.Metrics().italicAngle, -50); // tenths of a degree
    EXPECT_EQ(arial.FontFileNumber(), -1);        // not written yet
}

TEST_F(FontSelectionTest, UnknownFacesAreRefused) {
    for (const char* face : {"No Such Face At All", "", "Helvetica Neue Imaginary"}) {
        try {
            select(face, 0, 204);
            ADD_FAILURE() << face;
        } catch (const TPDFException& e) {
            EXPECT_STREQ(e.what(), "Not valid true type font.");
        }
    }
}

} // namespace
} // namespace pv
