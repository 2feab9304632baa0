#include "pdf/PDFDocument.h"
#include "platform/CodePage.h"
#include "tests/pdf/PdfTestSupport.h"
#include "tests/pdf/PpmImage.h"

#include <gtest/gtest.h>

#include <regex>

namespace pv {
namespace {

const char* const kCyrillic = "Съешь же ещё этих мягких французских булок, да выпей чаю. №1";
const char* const kCyrillicCaps = "ЁЖИК В ТУМАНЕ — «ЮЛА»";
const char* const kLatin = "The quick brown fox (jumps) over the lazy dog";

// A page with every kind of font: an embedded Cyrillic TrueType face, the
// standard fonts the common faces turn into, Symbol and a CJK font.
void drawFonts(TPDFDocument& doc) {
    TPDFPage& p = *doc.CurrentPage();
    const auto line = [&](const char* face, int style, int charset, int y, const std::string& t) {
        p.SetActiveFont(face, style, charset, 12);
        p.BeginText();
        p.TextOut(50, y, 0, t);
        p.EndText();
    };
    line("Arial", 0, 204, 50, ru(kCyrillic));
    line("Arial", 0, 204, 80, ru(kCyrillicCaps));
    line("Arial", 0, 0, 110, kLatin);
    line("Times New Roman", fsBold, 0, 140, "Times bold");
    line("Courier New", fsBold | fsItalic, 0, 170, "Courier bold italic");
    line("Symbol", 0, 2, 200, "abc");
    line("MS Mincho", 0, 128, 230, "ABC");
}

class FontOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("fonts.pdf");
        TPDFDocument doc(test::fixedClock());
        doc.SetFileName(path.string());
        doc.SetCompression(ctFlate);
        doc.BeginDoc();
        drawFonts(doc);
        doc.EndDoc();
    }
    test::TempDir dir;
    std::filesystem::path path;
};

TEST_F(FontOutputTest, TheFileChecks) {
    const auto check = test::qpdfCheck(path);
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos);
}

TEST_F(FontOutputTest, ReadersSeeTheFontsAsWritten) {
    const auto fonts = test::run("pdffonts " + test::quoted(path));
    ASSERT_EQ(fonts.status, 0) << fonts.output;
    // name, type, encoding, embedded, subset, unicode map
    const char* const expected[] = {
        "Arial +TrueType +Custom +yes +no +no",
        "Helvetica +Type 1 +WinAnsi +no +no +no",
        "Times-Bold +Type 1 +WinAnsi +no +no +no",
        "Courier-BoldOblique +Type 1 +WinAnsi +no +no +no",
        "Symbol +Type 1 +Symbol +no +no +no",
        "HeiseiMin-W3 +CID TrueType +90msp-RKSJ-H +no +no +no",
    };
    for (const char* row : expected)
        EXPECT_TRUE(std::regex_search(fonts.output, std::regex(std::string("\n") + row)))
            << row << "\n"
            << fonts.output;
    // Header, rule and one row per font.
    EXPECT_EQ(std::count(fonts.output.begin(), fonts.output.end(), '\n'), 2 + 6) << fonts.output;
}

// The glyph names of the differences array are all a reader has to turn the
// codes of the Cyrillic face back into letters.
TEST_F(FontOutputTest, TextComesBackExactly) {
    const auto text = test::run("pdftotext -enc UTF-8 -layout " + test::quoted(path) + " -");
    ASSERT_EQ(text.status, 0) << text.output;
    for (const char* line : {kCyrillic, kCyrillicCaps, kLatin, "Times bold", "Courier bold italic"})
        EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;
}

TEST_F(FontOutputTest, TheEmbeddedFaceDrawsTheLetters) {
    const test::PpmImage page = test::renderFirstPage(path, 72);
    ASSERT_EQ(page.width, 595);
    // The capitals line, 12 points high from y = 80: count the inked pixels.
    int inked = 0;
    for (int y = 80; y < 95; ++y)
        for (int x = 50; x < 250; ++x)
            if (page.at(x, y)[0] < 128) ++inked;
    EXPECT_GT(inked, 300);
}

// With the installed faces: two charsets of one face embed its file once, and
// a face the document must not embed is only named.
TEST(FontEmbedding, SharedFilesAndNamedOnlyFaces) {
    test::TempDir dir;
    const auto path = dir.file("embedding.pdf");
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName(path.string());
    doc.SetNonEmbeddedFont({"times new roman"});
    doc.BeginDoc();
    TPDFPage& p = *doc.CurrentPage();
    const struct {
        const char* face;
        int charset;
        const char* text;
    } lines[] = {
        {"Arial", 204, "Привет"}, {"Arial", 238, "Žluťoučký kůň"}, {"Times New Roman", 204, "Мир"}};
    int y = 50;
    for (const auto& l : lines) {
        p.SetActiveFont(l.face, 0, l.charset, 12);
        p.BeginText();
        p.TextOut(
            50, y += 30, 0,
            codepage::fromUtf16(codepage::utf8ToUtf16(l.text), l.charset == 238 ? 1250 : 1251));
        p.EndText();
    }
    doc.EndDoc();
    const std::string pdf = test::readFile(path);
    EXPECT_EQ(test::qpdfCheck(path).status, 0);
    std::smatch m;
    std::vector<std::string> files;
    const std::regex fileRef("/FontFile2 (\\d+) 0 R");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), fileRef);
         it != std::sregex_iterator(); ++it)
        files.push_back((*it)[1]);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], files[1]);
    EXPECT_NE(pdf.find("/FontName /Arial-Russian\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("/FontName /Arial-EastEurope\r\n"), std::string::npos);
    EXPECT_NE(
        pdf.find("/FontName /Times#20New#20Roman-Russian\r\n/ItalicAngle 0\r\n/StemV 87\r\n>>"),
        std::string::npos);
    const auto fonts = test::run("pdffonts " + test::quoted(path));
    EXPECT_TRUE(
        std::regex_search(fonts.output, std::regex("\nTimes New Roman +TrueType +Custom +no ")))
        << fonts.output;
    const auto text = test::run("pdftotext -enc UTF-8 " + test::quoted(path) + " -");
    for (const auto& l : lines)
        EXPECT_NE(text.output.find(l.text), std::string::npos) << l.text << "\n" << text.output;
}

} // namespace
} // namespace pv
