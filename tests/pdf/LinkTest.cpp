#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "pdf/UrlFinder.h"
#include "tests/pdf/PdfSamples.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::count;
using test::TempDir;

TEST(UrlFinder, FindsOneAddressPerPrefix) {
    using Found = std::vector<std::pair<std::size_t, std::size_t>>;
    const struct {
        const char* text;
        Found found;
    } cases[] = {
        {"see http://a.b/c now", {{4, 12}}},
        {"http://a.b", {{0, 10}}},
        {"HTTP://A.B\tx", {{0, 10}}},
        {"xhttp://a.b", {}},
        {"http://one http://two", {{0, 10}}},
        {"mail mailto:x@y.z and ftp://f.g/h", {{5, 12}, {22, 11}}},
        {"ftp://f http://h mailto:m", {{8, 8}, {17, 8}, {0, 7}}},
        {"\x01http://ctl", {{1, 10}}},
        {"nohttp://a http://b", {}}, // only the first occurrence is considered
        {"", {}},
        {"http:/", {}},
    };
    for (const auto& c : cases) {
        Found got;
        for (const auto& f : findUrls(c.text))
            got.emplace_back(f.position, f.length);
        std::sort(got.begin(), got.end());
        Found want = c.found;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.text;
    }
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetAutoCreateURL(true);
        doc.SetOutputStream(&out);
        doc.BeginDoc();
        page().SetActiveFont("Helvetica", 0, 0, 10);
        page().BeginText();
    }
    TPDFPage& page() { return *doc.CurrentPage(); }
    TPDFURLAction& urlOf(int annotation) {
        auto& link = dynamic_cast<TPDFActionAnnotation&>(page().Annotation(annotation));
        return dynamic_cast<TPDFURLAction&>(*link.Action);
    }
    TPDFDocument doc{test::fixedClock()};
    std::ostringstream out;
};

TEST_F(LinkTest, LinkCoversTheAddressWithoutTheFollowingBlank) {
    page().TextOut(100, 200, 0, "go http://a.b c");
    ASSERT_EQ(page().AnnotationCount(), 1);
    const auto& a = page().Annotation(0);
    EXPECT_EQ(urlOf(0).URL(), "http://a.b");
    // "go " is 13.9 wide, the address 38.92; the box runs from a third of the size to the baseline.
    EXPECT_EQ(a.Left, 114);
    EXPECT_EQ(a.Right, 153);
    EXPECT_EQ(a.Top, 639);
    EXPECT_EQ(a.Bottom, 632);
    EXPECT_EQ(a.Border, "[]");
    EXPECT_EQ(doc.Actions().Count(), 1);
}

TEST_F(LinkTest, NoLinksForRotatedTextOrWhenSwitchedOff) {
    page().TextOut(0, 0, 30, "http://rotated.example");
    EXPECT_EQ(page().AnnotationCount(), 0);
    doc.SetAutoCreateURL(false);
    page().TextOut(0, 0, 0, "http://off.example");
    EXPECT_EQ(page().AnnotationCount(), 0);
    doc.SetAutoCreateURL(true);
    page().TextOut(0, 0, 0, "http://on.example mailto:a@b ftp://c");
    EXPECT_EQ(page().AnnotationCount(), 3);
}

TEST_F(LinkTest, BoxScalesWithTheResolution) {
    doc.Abort();
    doc.SetResolution(144);
    doc.BeginDoc();
    page().SetActiveFont("Helvetica", 0, 0, 10);
    page().BeginText();
    // The 72-dpi case at twice the units: the box is as high as there, only the
    // rounding of the top (406.6 device units, then 638.5 points) differs.
    page().TextOut(200, 400, 0, "go http://a.b c");
    const auto& a = page().Annotation(0);
    EXPECT_EQ(a.Left, 114);
    EXPECT_EQ(a.Right, 153);
    EXPECT_EQ(a.Top, 638);
    EXPECT_EQ(a.Bottom, 632);
}

TEST_F(LinkTest, EmptyAddressIsRefusedBeforeAnythingIsMade) {
    const int objects = doc.ObjectCount();
    try {
        page().CreateLink(0, 0, 10, 10, "");
        ADD_FAILURE();
    } catch (const TPDFException& e) {
        EXPECT_STREQ(e.what(), "URL cannot be empty");
    }
    EXPECT_EQ(page().AnnotationCount(), 0);
    EXPECT_EQ(doc.ObjectCount(), objects);
}

TEST(PdfLinks, AnnotationsAndActionsInTheFile) {
    TempDir dir;
    for (bool onePass : {false, true}) {
        SCOPED_TRACE(onePass ? "one pass" : "buffered");
        TPDFDocument doc(test::fixedClock());
        doc.SetAutoCreateURL(true);
        doc.SetOnePass(onePass);
        const auto path = dir.file("links.pdf");
        doc.SetFileName(path.string());
        doc.BeginDoc();
        test::drawLinks(doc);
        doc.EndDoc();
        const std::string pdf = test::readFile(path);
        EXPECT_NE(
            pdf.find("<</Type /Annot\r\n/Subtype /Link\r\n/Border []\r\n/F 0\r\n/C [1 1 0 ]\r\n"
                     "/Rect ["),
            std::string::npos);
        EXPECT_NE(pdf.find("<</S /URI /URI (http://example.com/a?b=1)\r\n>>\r\nendobj"),
                  std::string::npos);
        EXPECT_NE(pdf.find("/Annots [\r\n"), std::string::npos);
        EXPECT_EQ(test::qpdfCheck(path).status, 0);
        const auto urls = test::run("pdfinfo -url " + test::quoted(path));
        for (const char* url : {"http://example.com/a?b=1", "mailto:someone@example.org",
                                "ftp://files.example.net/pub"})
            EXPECT_NE(urls.output.find(url), std::string::npos) << urls.output;
        const auto json = test::run("qpdf --json --json-key=qpdf " + test::quoted(path));
        EXPECT_EQ(count(json.output, "\"/Subtype\": \"/Link\""), 3) << json.output;
        EXPECT_EQ(count(json.output, "\"/S\": \"/URI\""), 3);
    }
}

TEST(PdfLinks, NoAnnotationsWhenSwitchedOff) {
    TPDFDocument doc(test::fixedClock());
    const std::string pdf = test::writeToMemory(doc, [](TPDFDocument& d) { test::drawLinks(d); });
    EXPECT_EQ(pdf.find("/Annots"), std::string::npos);
    EXPECT_EQ(pdf.find("/Annot"), std::string::npos);
    EXPECT_EQ(pdf.find("/URI"), std::string::npos);
}

} // namespace
} // namespace pv
