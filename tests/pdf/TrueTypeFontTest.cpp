#include "pdf/PDFCJKFont.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/PDFTrueTypeFont.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <regex>

namespace pv {
namespace {

using test::count;

// Serves every face from made-up data, counting how often a file is read.
class MadeUpFaces : public FontProvider {
public:
    std::vector<std::uint8_t> file = std::vector<std::uint8_t>(5000, 'x');
    int reads = 0;

    bool HasTrueTypeFace(const std::string&, int) override { return true; }
    int Select(TPDFFonts& fonts, const std::string& face, int style, int charset) override {
        if (isCJKCharset(charset)) return selectCJKFont(fonts, style, charset);
        const int found = fonts.Find(face, style, charset);
        if (found >= 0) return found;
        TrueTypeFaceData data;
        for (int code = 0; code < 256; ++code)
            data.widths[code] = code < 32 ? 0 : 300 + code;
        data.metrics = FontMetrics{905, -212, 716, -665, -325, 2000, 1006, -120};
        data.file = [this] {
            ++reads;
            return file;
        };
        return fonts.Add(std::make_unique<PdfTrueTypeFont>(
            fonts.Document(), face, style, charset, fonts.TrueTypeCount() + 1, std::move(data)));
    }
};

class TrueTypeFontTest : public ::testing::Test {
protected:
    TrueTypeFontTest() { doc.SetFontProvider(&faces); }
    std::string write(const std::function<void(TPDFPage&)>& draw) {
        return test::writeToMemory(doc, [&](TPDFDocument& d) { draw(*d.CurrentPage()); });
    }
    static void select(TPDFPage& page, const char* face, int style, int charset) {
        page.SetActiveFont(face, style, charset, 10);
    }

    TPDFDocument doc{test::fixedClock()};
    MadeUpFaces faces;
};

// How many resource entries name `resource`.
int resources(const std::string& pdf, const std::string& resource) {
    const std::regex entry("/" + resource + " \\d+ 0 R");
    return static_cast<int>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), entry), std::sregex_iterator()));
}

std::string fontDictionary(const std::string& pdf, const std::string& baseFont) {
    const test::XrefView xref = test::readXref(pdf);
    for (int n = 1; n < xref.size; ++n) {
        const std::string body = test::objectText(pdf, xref, n);
        if (body.find("/Subtype /TrueType\r\n/BaseFont /" + baseFont + "\r\n") != std::string::npos)
            return body;
    }
    return {};
}

TEST_F(TrueTypeFontTest, NamesAndSuffixes) {
    const struct {
        const char* face;
        int style;
        const char* baseFont;
    } names[] = {{"Times New Roman", fsBold, "Times#20New#20Roman#20Bold"},
                 {"Arial", fsBold | fsItalic, "Arial#20Bold#20Italic"},
                 {"Arial", fsItalic, "Arial#20Italic"},
                 {"Tahoma", 0, "Tahoma"},
                 // Bytes a name cannot hold as they are would break the file.
                 {"A(b)/c#", 0, "A#28b#29#2Fc#23"},
                 {"\xCA\xF3\xF0\xFC\xE5\xF0", 0, "#CA#F3#F0#FC#E5#F0"}};
    for (const auto& n : names)
        EXPECT_EQ(trueTypeBaseFont(n.face, n.style), n.baseFont) << n.face;
    const std::pair<int, const char*> suffixes[] = {
        {2, "-Symbol"},   {77, "-MAC"},      {161, "-Greek"},      {162, "-Turkish"},
        {186, "-Baltic"}, {204, "-Russian"}, {238, "-EastEurope"}, {255, "-OEM"},
        {0, ""},          {177, ""}};
    for (const auto& [charset, suffix] : suffixes)
        EXPECT_EQ(charsetSuffix(charset), suffix) << charset;
}

TEST_F(TrueTypeFontTest, DescriptorFontAndWidthsAsWritten) {
    const std::string pdf = write([](TPDFPage& p) { select(p, "Fake Sans", fsBold, 204); });
    const std::string font = fontDictionary(pdf, "Fake#20Sans#20Bold");
    ASSERT_FALSE(font.empty()) << pdf;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(font, m, std::regex("/FontDescriptor (\\d+) 0 R")));
    const std::string descriptorRef = m[0];
    const test::XrefView xref = test::readXref(pdf);
    const std::string descriptor = test::objectText(pdf, xref, std::stoi(m[1]));
    ASSERT_TRUE(std::regex_search(descriptor, m, std::regex("/FontFile2 (\\d+) 0 R")));
    const int file = std::stoi(m[1]);
    EXPECT_EQ(descriptor.substr(descriptor.find("<<")),
              "<</Type /FontDescriptor\r\n/Ascent 905\r\n/CapHeight 666\r\n/Descent -212\r\n"
              "/Flags 32\r\n/FontBBox [-665 -325 2000 1006]\r\n"
              "/FontName /Fake#20Sans#20Bold-Russian\r\n/ItalicAngle -12\r\n/StemV 87\r\n"
              "/FontFile2 " +
                  std::to_string(file) + " 0 R\r\n>>\r\nendobj\r\n");
    EXPECT_NE(font.find("<</Type /Font\r\n/Subtype /TrueType\r\n/BaseFont /Fake#20Sans#20Bold\r\n"
                        "/FirstChar 0\r\n/LastChar 255\r\n/Encoding <</Type/Encoding\r\n"
                        "/Differences [1 \r\n"),
              std::string::npos);
    std::string widths = "/Widths [";
    for (int code = 0; code < 256; ++code)
        widths += (code % 16 ? "" : "\r\n") + std::to_string(code < 32 ? 0 : 300 + code) + " ";
    EXPECT_NE(font.find("]\r\n>>\r\n" + descriptorRef + "\r\n/Widths ["), std::string::npos);
    EXPECT_NE(font.find(widths + "]\r\n>>\r\nendobj\r\n"), std::string::npos) << font;

    // The whole file, deflated, with both lengths.
    const std::string stream = test::objectText(pdf, xref, file);
    ASSERT_TRUE(std::regex_search(
        stream, m,
        std::regex("<</Filter /FlateDecode /Length (\\d+) /Length1 5000\r\n>>\r\nstream\r\n")));
    const std::size_t packed = std::stoul(m[1]);
    const std::string data = stream.substr(m.position(0) + m.length(0), packed);
    std::string plain(5000, '\0');
    uLongf size = plain.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                         reinterpret_cast<const Bytef*>(data.data()), data.size()),
              Z_OK);
    EXPECT_EQ(plain, std::string(5000, 'x'));
    EXPECT_EQ(stream.substr(m.position(0) + m.length(0) + packed), "\r\nendstream\r\nendobj\r\n");
}

TEST_F(TrueTypeFontTest, OneFilePerBaseFontAndNoneForNonEmbeddedFaces) {
    doc.SetNonEmbeddedFont({"NOT embedded"});
    const std::string pdf = write([](TPDFPage& p) {
        select(p, "Fake Sans", 0, 204);
        select(p, "Fake Sans", 0, 238);
        select(p, "fake sans", fsUnderline, 204); // the same font again
        select(p, "Fake Sans", fsBold, 204);
        select(p, "Not Embedded", 0, 204);
    });
    EXPECT_EQ(doc.Fonts().Count(), 0); // released with the document
    EXPECT_EQ(faces.reads, 2);         // Fake Sans and Fake Sans Bold
    EXPECT_EQ(count(pdf, "/Length1 5000"), 2);
    EXPECT_EQ(count(pdf, "/Subtype /TrueType"), 4);
    EXPECT_EQ(count(pdf, "/FontName /Fake#20Sans-Russian\r\n"), 1);
    EXPECT_EQ(count(pdf, "/FontName /Fake#20Sans-EastEurope\r\n"), 1);
    std::smatch m;
    std::regex fileRef("/FontName /Fake#20Sans-\\w+\r\n/ItalicAngle -12\r\n/StemV 87\r\n"
                       "/FontFile2 (\\d+) 0 R");
    std::vector<std::string> refs;
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), fileRef);
         it != std::sregex_iterator(); ++it)
        refs.push_back((*it)[1]);
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[0], refs[1]);
    const std::string notEmbedded = "/FontName /Not#20Embedded-Russian\r\n/ItalicAngle -12\r\n"
                                    "/StemV 87\r\n>>\r\n";
    EXPECT_NE(pdf.find(notEmbedded), std::string::npos);
    for (const char* resource : {"TT1", "TT2", "TT3", "TT4"})
        EXPECT_EQ(resources(pdf, resource), 1) << resource;
    EXPECT_EQ(resources(pdf, "TT5"), 0);
}

TEST_F(TrueTypeFontTest, AFaceWithoutDataAbortsTheDocument) {
    faces.file.clear();
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    select(*doc.CurrentPage(), "Fake Sans", fsItalic, 204);
    try {
        doc.EndDoc();
        ADD_FAILURE() << "no error";
    } catch (const TPDFException& e) {
        EXPECT_STREQ(e.what(), "Cannot receive data for font Fake#20Sans#20Italic");
    }
    EXPECT_TRUE(doc.Aborted());
    EXPECT_TRUE(out.str().empty());
}

TEST_F(TrueTypeFontTest, EncryptedFontFilesStillCheck) {
    test::TempDir dir;
    const auto path = dir.file("protected.pdf");
    doc.SetFileName(path.string());
    doc.SetProtectionEnabled(true);
    doc.SetUserPassword("user");
    doc.SetOwnerPassword("owner");
    doc.BeginDoc();
    select(*doc.CurrentPage(), "Fake Sans", 0, 204);
    doc.EndDoc();
    const std::string pdf = test::readFile(path);
    EXPECT_EQ(pdf.find(std::string(200, 'x')), std::string::npos);
    EXPECT_EQ(test::qpdfCheck(path, "user").status, 0);
    const auto qdf = test::run("qpdf --password=user --decrypt --stream-data=uncompress " +
                               test::quoted(path) + " -");
    EXPECT_NE(qdf.output.find(std::string(5000, 'x')), std::string::npos);
}

TEST_F(TrueTypeFontTest, CJKFontsAreThreeFixedObjects) {
    const std::string pdf = write([](TPDFPage& p) {
        select(p, "MS Mincho", fsBold, 128);
        select(p, "Batang", fsBold | fsItalic | fsUnderline, 129);
        select(p, "SimSun", 0, 134);
        select(p, "MingLiU", fsItalic | fsStrikeOut, 136);
        select(p, "Anything", fsBold | fsUnderline, 128); // the first font again
    });
    for (const char* resource : {"CIDJB", "CIDKBI", "CIDCS", "CIDCTI"})
        EXPECT_EQ(resources(pdf, resource), 1) << resource;
    EXPECT_EQ(count(pdf, "/Subtype /Type0 "), 4);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        pdf, m,
        std::regex(
            "(\\d+) 0 obj\r\n<</Type /Font /Subtype /Type0  /BaseFont /HeiseiMin-W3,Bold\r\n"
            "/DescendantFonts  \\[ (\\d+) 0 R \\] /Encoding /90msp-RKSJ-H\r\n>>\r\nendobj\r\n")));
    const int cid = std::stoi(m[2]);
    const test::XrefView xref = test::readXref(pdf);
    EXPECT_EQ(
        test::objectText(pdf, xref, cid),
        std::to_string(cid) +
            " 0 obj\r\n<</Type /Font /Subtype /CIDFontType2 /BaseFont /HeiseiMin-W3,Bold\r\n"
            "/WinCharSet 128 /FontDescriptor " +
            std::to_string(cid + 1) +
            " 0 R\r\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >>\r\n"
            "/DW 1000 /W [ 1 95 500 231 632 500 ]\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(test::objectText(pdf, xref, cid + 1),
              std::to_string(cid + 1) +
                  " 0 obj\r\n<</Type /FontDescriptor\r\n/Ascent 857\r\n/CapHeight 718\r\n"
                  "/Descent -143\r\n/Flags 6\r\n/FontBBox [-123 -257 1001 910]\r\n"
                  "/FontName /HeiseiMin-W3,Bold\r\n/ItalicAngle 0\r\n/MissingWidth 500\r\n"
                  "/StemV 93\r\n/StemH 31\r\n/XHeight 500\r\n/Leading 250\r\n/MaxWidth 1000\r\n"
                  "/AvgWidth 702\r\n/Style << /Panose <010502020400000000000000> >>\r\n>>\r\n"
                  "endobj\r\n");
    const char* const lines[] = {
        "/BaseFont /HYSMyeongJo-Medium,BoldItalic\r\n",
        " 0 R ] /Encoding /KSCms-UHC-H\r\n",
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (Korea1) /Supplement 1 >>\r\n",
        "/DW 1000 /W [ 1 95 500 8094 8190 500 ]\r\n",
        "/Ascent 880\r\n/CapHeight 800\r\n/Descent -120\r\n/Flags 6\r\n"
        "/FontBBox [-0 -148 1001 880]\r\n/FontName /HYSMyeongJo-Medium,BoldItalic\r\n",
        "/BaseFont /STSong-Light\r\n",
        " 0 R ] /Encoding /GB-EUC-H\r\n",
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (GB1) /Supplement 2 >>\r\n",
        "/DW 1000 /W [ 1 95 500 814 939 500 7712 [ 500 ] 7716 [ 500 ] ]\r\n",
        "/Ascent 880\r\n/CapHeight 880\r\n/Descent -120\r\n/Flags 6\r\n"
        "/FontBBox [-25 -254 1000 880]\r\n",
        "/BaseFont /MSung-Light,Italic\r\n",
        " 0 R ] /Encoding /ETenms-B5-H\r\n",
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (CNS1) /Supplement 0 >>\r\n",
        "/DW 1000 /W [ 1 95 500 13648 13742 500 ]\r\n",
        "/FontBBox [-160 -249 1015 888]\r\n/FontName /MSung-Light,Italic\r\n",
    };
    for (const char* line : lines)
        EXPECT_NE(pdf.find(line), std::string::npos) << line;
    EXPECT_EQ(count(pdf, "/XHeight 616\r\n/Leading 250\r\n/MaxWidth 1000\r\n/AvgWidth 1000\r\n"),
              3);
}

TEST_F(TrueTypeFontTest, GlyphWidthsByKind) {
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TPDFPage& page = *doc.CurrentPage();
    select(page, "Fake Sans", 0, 204);
    EXPECT_EQ(doc.Fonts().Active()->GlyphWidth('A'), 365);
    EXPECT_EQ(doc.Fonts().Active()->GlyphWidth(0xFF), 555);
    select(page, "Fake Sans", 0, 128);
    for (int code : {0, 65, 255})
        EXPECT_EQ(doc.Fonts().Active()->GlyphWidth(code), 1000);
    select(page, "Arial", 0, 0);
    EXPECT_EQ(doc.Fonts().Active()->GlyphWidth('A'), 667);
    doc.Abort();
}

} // namespace
} // namespace pv
