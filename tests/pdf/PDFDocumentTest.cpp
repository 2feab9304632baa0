#include "pdf/PDFDocument.h"
#include "pdf/Md5.h"
#include "pdf/PDFException.h"
#include "tests/pdf/PdfSamples.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace pv {
namespace {

using test::count;
using test::expectPdfError;
using test::TempDir;

// Objects in the order they stand in the file.
std::vector<int> objectOrder(const test::XrefView& xref) {
    std::vector<int> numbers;
    for (int n = 1; n < xref.size; ++n)
        numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end(),
              [&](int a, int b) { return xref.offsets[a] < xref.offsets[b]; });
    return numbers;
}

// What every file of the writer must hold, whatever it draws.
// `objects` is the number of objects handed out, when the caller knows it.
void expectSoundStructure(const std::string& pdf, int objects = -1) {
    const test::XrefView xref = test::readXref(pdf);
    if (objects < 0) objects = xref.size - 1;
    ASSERT_GT(xref.size, 1);
    ASSERT_EQ(xref.size, objects + 1);
    EXPECT_EQ(pdf.substr(xref.xrefPosition, 6), "xref\r\n");
    EXPECT_EQ(xref.entryLines.at(0), "0000000000 65535 f\r\n");
    for (int n = 1; n < xref.size; ++n) {
        EXPECT_EQ(xref.entryLines[n].size(), 20u) << n;
        const std::string opening = std::to_string(n) + " 0 obj\r\n<<";
        EXPECT_EQ(pdf.substr(xref.offsets[n], opening.size()), opening) << "object " << n;
    }
    EXPECT_NE(pdf.find("trailer\r\n<<\r\n/Size " + std::to_string(objects + 1) + "\r\n"),
              std::string::npos);
    std::smatch id;
    ASSERT_TRUE(
        std::regex_search(pdf, id, std::regex("/ID \\[<([0-9a-f]{32})><([0-9a-f]{32})>\\]")));
    EXPECT_EQ(id[1], id[2]);
    EXPECT_TRUE(
        pdf.ends_with("startxref\r\n" + std::to_string(xref.xrefPosition) + "\r\n%%EOF\r\n"));
    EXPECT_EQ(count(pdf, "%This PDF file created by "), 1);
}

std::string writeFile(TPDFDocument& doc, const std::filesystem::path& path,
                      const std::function<void(TPDFDocument&)>& draw) {
    doc.SetFileName(path.string());
    doc.BeginDoc();
    draw(doc);
    doc.EndDoc();
    return test::readFile(path);
}

TEST(PdfDocument, DefaultsOfANewDocument) {
    TPDFDocument doc(test::fixedClock());
    EXPECT_FALSE(doc.AutoLaunch());
    EXPECT_EQ(doc.FileName(), "");
    EXPECT_EQ(doc.Compression(), ctNone);
    EXPECT_EQ(doc.PageLayout(), plSinglePage);
    EXPECT_EQ(doc.PageMode(), pmUseNone);
    EXPECT_FALSE(doc.ProtectionEnabled());
    EXPECT_EQ(doc.ProtectionOptions(), 0u);
    EXPECT_EQ(doc.JPEGQuality(), 80);
    EXPECT_EQ(doc.Resolution(), 72);
    EXPECT_EQ(doc.ViewerPreferences(), 0u);
    EXPECT_FALSE(doc.AutoCreateURL());
    EXPECT_FALSE(doc.OnePass());
    EXPECT_EQ(doc.Version(), v13);
    EXPECT_EQ(doc.DocumentInfo().Author, "Windows 9x/NT/2000/XP User");
    EXPECT_EQ(doc.DocumentInfo().Title, "No Title");
    EXPECT_EQ(doc.DocumentInfo().Subject, "None");
    EXPECT_EQ(doc.DocumentInfo().Creator, std::string(kPdfMakerNotice) + " program");
    EXPECT_EQ(doc.DocumentInfo().Keywords, kPdfMakerNotice);
    EXPECT_EQ(doc.DocumentInfo().CreationDate.year, 2026);

    TPDFDocInfo other;
    other.Title = "T";
    other.Producer = "someone else";
    doc.SetDocumentInfo(other);
    EXPECT_EQ(doc.DocumentInfo().Title, "T");
    EXPECT_EQ(doc.DocumentInfo().Producer, kPdfMakerNotice);
}

TEST(PdfDocument, AnEmptyPageIsACompleteFile) {
    TPDFDocument doc(test::fixedClock());
    const std::string pdf = test::writeToMemory(doc, [](TPDFDocument&) {});
    EXPECT_TRUE(pdf.starts_with("%PDF-1.3\r\n3 0 obj\r\n"));
    expectSoundStructure(pdf, 6);
    const test::XrefView xref = test::readXref(pdf);
    // info, pages tree, resources, content, page, catalog
    EXPECT_EQ(objectOrder(xref), (std::vector<int>{3, 1, 4, 5, 2, 6}));
    EXPECT_EQ(test::objectText(pdf, xref, 1),
              "1 0 obj\r\n<</Type /Pages\r\n/Kids [\r\n2 0 R\r\n]\r\n/Count 1\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(test::objectText(pdf, xref, 4), "4 0 obj\r\n<<>>\r\nendobj\r\n");
    EXPECT_EQ(test::objectText(pdf, xref, 5),
              "5 0 obj\r\n<</Length 6\r\n>>\r\nstream\r\nq\r\nQ\r\n\r\nendstream\r\nendobj\r\n");
    EXPECT_EQ(
        test::objectText(pdf, xref, 2),
        "2 0 obj\r\n<</Type /Page\r\n/Parent 1 0 R\r\n/Resources 4 0 R\r\n/Contents [5 0 R]\r\n"
        "/MediaBox [0 0 595 842]\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(test::objectText(pdf, xref, 6),
              "6 0 obj\r\n<</Type /Catalog\r\n /Pages 1 0 R\r\n/PageLayout /SinglePage\r\n"
              "/PageMode /UseNone\r\n>>\r\nendobj\r\n");
    EXPECT_EQ(
        test::objectText(pdf, xref, 3),
        "3 0 obj\r\n<</Creator (Tarvelin Ltd. program)\r\n/CreationDate (D:20261210093015)\r\n"
        "/Producer (Tarvelin Ltd.)\r\n/Author (Windows 9x/NT/2000/XP User)\r\n"
        "/Title (No Title)\r\n/Subject (None)\r\n/Keywords (Tarvelin Ltd.)\r\n>>\r\nendobj\r\n");
    EXPECT_NE(pdf.find("/Root 6 0 R\r\n/Info 3 0 R\r\n/ID [<" + doc.DocumentID()),
              std::string::npos);
}

TEST(PdfDocument, DocumentIdHashesFileNameAndTime) {
    TempDir dir;
    TPDFDocument doc(test::fixedClock());
    const auto path = dir.file("id.pdf");
    doc.SetFileName(path.string());
    doc.BeginDoc();
    EXPECT_EQ(doc.DocumentID(), Md5::hex(path.string() + "Thu 10-12-2026 09:30:15.250"));
    doc.EndDoc();
}

TEST(PdfDocument, TableOfDocumentsPassesQpdfCheck) {
    const struct {
        const char* name;
        std::function<void(TPDFDocument&)> setup;
        std::function<void(TPDFDocument&)> draw;
        const char* password;
    } cases[] = {
        {"empty", [](TPDFDocument&) {}, [](TPDFDocument&) {}, ""},
        {"shapes", [](TPDFDocument&) {}, test::drawShapes, ""},
        {"text", [](TPDFDocument&) {}, [](TPDFDocument& d) { test::drawText(d); }, ""},
        {"everything", [](TPDFDocument&) {}, test::drawAll, ""},
        {"flate", [](TPDFDocument& d) { d.SetCompression(ctFlate); }, test::drawAll, ""},
        {"one pass", [](TPDFDocument& d) { d.SetOnePass(true); }, test::drawAll, ""},
        {"v14 at 96 dpi",
         [](TPDFDocument& d) {
             d.SetVersion(v14);
             d.SetResolution(96);
         },
         test::drawAll, ""},
        {"protected, no passwords", [](TPDFDocument& d) { d.SetProtectionEnabled(true); },
         test::drawAll, ""},
        {"protected with passwords",
         [](TPDFDocument& d) {
             d.SetProtectionEnabled(true);
             d.SetCompression(ctFlate);
             d.SetOwnerPassword("boss");
             d.SetUserPassword("clerk");
             d.SetProtectionOptions(setOf(coPrint));
         },
         test::drawAll, "clerk"},
        {"links",
         [](TPDFDocument& d) {
             d.SetAutoCreateURL(true);
             d.SetOnePass(true);
         },
         test::drawAll, ""},
        {"catalog options",
         [](TPDFDocument& d) {
             d.SetPageLayout(plTwoColumnLeft);
             d.SetPageMode(pmUseOutlines);
             d.SetViewerPreferences(setOf(vpHideToolBar, vpFitWindow, vpCenterWindow));
         },
         test::drawShapes, ""},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPDFDocument doc(test::fixedClock());
        c.setup(doc);
        const auto path = dir.file("check.pdf");
        const std::string pdf = writeFile(doc, path, c.draw);
        expectSoundStructure(pdf);
        const auto check = test::qpdfCheck(path, c.password);
        EXPECT_EQ(check.status, 0) << check.output;
        EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos)
            << check.output;
    }
}

TEST(PdfDocument, ObjectCountIsResetForEveryFile) {
    TPDFDocument doc(test::fixedClock());
    const std::string first = test::writeToMemory(doc, test::drawAll);
    const std::string second = test::writeToMemory(doc, test::drawAll);
    EXPECT_EQ(first, second);
    expectSoundStructure(second);
}

TEST(PdfDocument, CatalogLines) {
    TPDFDocument doc(test::fixedClock());
    doc.SetPageLayout(plTwoColumnRight);
    doc.SetPageMode(pmFullScreen);
    doc.SetViewerPreferences(
        setOf(vpHideToolBar, vpHideMenuBar, vpHideWindowUI, vpFitWindow, vpCenterWindow));
    const std::string pdf = test::writeToMemory(doc, [](TPDFDocument&) {});
    EXPECT_NE(pdf.find("<</Type /Catalog\r\n /Pages 1 0 R\r\n/PageLayout /TwoColumnRight\r\n"
                       "/ViewerPreferences <<\r\n/HideToolbar true\r\n/HideMenubar true\r\n"
                       "/HideWindowUI true\r\n/FitWindow true\r\n/CenterWindow true\r\n>>\r\n"
                       "/PageMode /FullScreen\r\n>>\r\n"),
              std::string::npos);
    doc.SetViewerPreferences(setOf(vpFitWindow));
    doc.SetPageLayout(plOneColumn);
    doc.SetPageMode(pmUseThumbs);
    const std::string one = test::writeToMemory(doc, [](TPDFDocument&) {});
    EXPECT_NE(
        one.find("/PageLayout /OneColumn\r\n/ViewerPreferences <<\r\n/FitWindow true\r\n>>\r\n"
                 "/PageMode /UseThumbs\r\n"),
        std::string::npos);
}

TEST(PdfDocument, VersionChangesOnlyTheHeader) {
    TPDFDocument doc(test::fixedClock());
    const std::string v13file = test::writeToMemory(doc, test::drawAll);
    doc.SetVersion(v14);
    const std::string v14file = test::writeToMemory(doc, test::drawAll);
    EXPECT_TRUE(v14file.starts_with("%PDF-1.4\r\n"));
    EXPECT_EQ(v13file.substr(8), v14file.substr(8));
}

TEST(PdfDocument, InfoValuesAreEscaped) {
    TPDFDocument doc(test::fixedClock());
    doc.DocumentInfo().Title = "a(b)c\\d\ne\rf";
    const std::string pdf = test::writeToMemory(doc, [](TPDFDocument&) {});
    EXPECT_NE(pdf.find("/Title (a\\(b\\)c\\\\d\ne\\rf)\r\n"), std::string::npos);
}

TEST(PdfDocument, OnePassAndBufferedDifferOnlyInOrderAndNumbering) {
    TempDir dir;
    const auto buffered = dir.file("buffered.pdf"), onePass = dir.file("onepass.pdf");
    for (bool one : {false, true}) {
        TPDFDocument doc(test::fixedClock());
        doc.SetOnePass(one);
        doc.SetCompression(ctFlate);
        doc.SetAutoCreateURL(true);
        // The same name for both, so that the document IDs agree.
        std::ostringstream out;
        doc.SetOutputStream(&out);
        doc.BeginDoc();
        test::drawAll(doc);
        doc.EndDoc();
        test::writeFile(one ? onePass : buffered, out.str());
    }
    const std::string a = test::readFile(buffered), b = test::readFile(onePass);
    EXPECT_NE(a, b);
    // The page objects of a one-pass file come before the pages tree.
    const auto xa = test::readXref(a), xb = test::readXref(b);
    EXPECT_LT(xa.offsets[1], xa.offsets[2]);
    EXPECT_GT(xb.offsets[1], xb.offsets[2]);
    // Renumbered in reading order by qpdf, both are the same document.
    auto normal = [&](const std::filesystem::path& in) {
        const auto out = dir.file(in.stem().string() + ".qdf");
        const auto r =
            test::run("qpdf --qdf --object-streams=disable --no-original-object-ids --static-id " +
                      test::quoted(in) + " " + test::quoted(out));
        EXPECT_EQ(r.status, 0) << r.output;
        return test::readFile(out);
    };
    const std::string qa = normal(buffered), qb = normal(onePass);
    EXPECT_FALSE(qa.empty());
    EXPECT_EQ(qa, qb);
}

TEST(PdfDocument, FlateContentInflatesToTheTextLines) {
    TPDFDocument doc(test::fixedClock());
    doc.SetCompression(ctFlate);
    TempDir dir;
    const auto path = dir.file("flate.pdf");
    const std::string pdf = writeFile(doc, path, test::drawShapes);
    EXPECT_NE(pdf.find("/Filter /FlateDecode\r\n>>\r\nstream\r\n"), std::string::npos);
    const auto r = test::run("qpdf --show-object=5 --filtered-stream-data " + test::quoted(path));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.output.starts_with("q\r\n2 w\r\n0.2 0.4 0.6 RG\r\n10 832 m\r\n")) << r.output;
    // The state left open is closed with the page.
    EXPECT_TRUE(r.output.ends_with("S\r\nq\r\nQ\r\nQ\r\nQ\r\n")) << r.output;
}

TEST(PdfDocument, TextComesBackOutOfTheFile) {
    TempDir dir;
    for (TCompressionType compression : {ctNone, ctFlate}) {
        TPDFDocument doc(test::fixedClock());
        doc.SetCompression(compression);
        const auto path = dir.file("text.pdf");
        writeFile(doc, path, [](TPDFDocument& d) { test::drawText(d); });
        const auto r = test::run("pdftotext -layout " + test::quoted(path) + " -");
        EXPECT_NE(r.output.find("Hello, PDF (writer) \\ test"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("Bold and underlined"), std::string::npos) << r.output;
    }
}

TEST(PdfDocument, LifecycleErrors) {
    TPDFDocument doc(test::fixedClock());
    std::ostringstream out;
    expectPdfError([&] { doc.NewPage(); }, "Generation PDF file not activated");
    expectPdfError([&] { doc.EndDoc(); }, "Generation PDF file not activated");
    expectPdfError([&] { doc.Abort(); }, "Generation PDF file not activated");
    expectPdfError([&] { doc.AddImage(test::checkerBitmap(1, 1)); },
                   "Generation PDF file not activated");
    expectPdfError([&] { doc.AddAction(std::make_unique<TPDFURLAction>()); },
                   "Generation PDF file not activated");

    doc.SetFileName("before.pdf");
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    const std::function<void()> frozen[] = {
        [&] { doc.BeginDoc(); },
        [&] { doc.SetFileName("after.pdf"); },
        [&] { doc.SetOwnerPassword("x"); },
        [&] { doc.SetUserPassword("x"); },
        [&] { doc.SetProtectionEnabled(true); },
        [&] { doc.SetProtectionOptions(setOf(coPrint)); },
        [&] { doc.SetOnePass(true); },
        [&] { doc.SetOutputStream(nullptr); },
    };
    for (const auto& action : frozen)
        expectPdfError(action, "Generation PDF file in progress");
    EXPECT_EQ(doc.FileName(), "before.pdf");
    EXPECT_FALSE(doc.ProtectionEnabled());
    doc.SetCompression(ctFlate); // not frozen
    doc.SetJPEGQuality(50);
    int beyond = doc.ObjectCount() + 1;
    expectPdfError([&] { doc.BeginObject(beyond); }, "Out of range");
    doc.EndDoc();
    EXPECT_FALSE(doc.Generating());
    EXPECT_TRUE(out.str().starts_with("%PDF-1.3"));
}

TEST(PdfDocument, AbortDeletesThePartialFile) {
    TempDir dir;
    const auto path = dir.file("aborted.pdf");
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName(path.string());
    doc.BeginDoc();
    test::drawShapes(doc);
    doc.NewPage();
    EXPECT_TRUE(std::filesystem::exists(path));
    doc.Abort();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(doc.Aborted());
    EXPECT_FALSE(doc.Generating());
    EXPECT_EQ(doc.CurrentPage(), nullptr);

    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    EXPECT_FALSE(doc.Aborted());
    test::drawShapes(doc);
    doc.Abort();
    EXPECT_TRUE(out.str().empty());
}

// A font whose data the platform cannot deliver.
class BrokenFont : public TPDFFont {
public:
    explicit BrokenFont(TPDFDocument& doc)
        : TPDFFont(doc, Identity{"Broken", "Broken", "TT1", 0, 0, false, false}) {}
    int GlyphWidth(unsigned char) const override { return 500; }
    void WriteFontFile(TPDFDocument&) override {
        throw TPDFException("Cannot receive data for font Broken");
    }
    void WriteDictionaries(TPDFDocument&) override {}
};

struct BrokenProvider : FontProvider {
    bool HasTrueTypeFace(const std::string&, int) override { return false; }
    int Select(TPDFFonts& fonts, const std::string&, int, int) override {
        return fonts.Add(std::make_unique<BrokenFont>(fonts.Document()));
    }
};

TEST(PdfDocument, AFailureWhileEndingAbortsTheDocument) {
    TempDir dir;
    const auto path = dir.file("broken.pdf");
    TPDFDocument doc(test::fixedClock());
    BrokenProvider provider;
    doc.SetFontProvider(&provider);
    doc.SetFileName(path.string());
    doc.BeginDoc();
    doc.CurrentPage()->SetActiveFont("Broken", 0, 0, 10);
    expectPdfError([&] { doc.EndDoc(); }, "Cannot receive data for font Broken");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(doc.Aborted());
    EXPECT_FALSE(doc.Generating());
}

TEST(PdfDocument, AutoLaunchOpensOnlyFilesAndIgnoresFailures) {
    TempDir dir;
    std::vector<std::string> launched;
    TPDFDocument doc(test::fixedClock());
    doc.SetLauncher([&](const std::string& path) {
        launched.push_back(path);
        throw std::runtime_error("no viewer");
    });
    doc.SetAutoLaunch(true);
    const auto path = dir.file("launch.pdf");
    EXPECT_NO_THROW(writeFile(doc, path, [](TPDFDocument&) {}));
    EXPECT_EQ(launched, std::vector<std::string>{path.string()});

    launched.clear();
    doc.SetFileName(dir.file("never.pdf").string());
    test::writeToMemory(doc, [](TPDFDocument&) {});
    EXPECT_TRUE(launched.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.pdf")));
}

TEST(PdfDocument, FileCreationErrorsReachTheCaller) {
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName("/nonexistent-dir/x.pdf");
    EXPECT_THROW(doc.BeginDoc(), std::system_error);
    EXPECT_FALSE(doc.Generating());
}

TEST(PdfDocument, ATextObjectLeftOpenIsClosedWithThePage) {
    TPDFDocument doc(test::fixedClock());
    TempDir dir;
    const auto path = dir.file("open-text.pdf");
    const std::string pdf = writeFile(doc, path, [](TPDFDocument& d) {
        d.CurrentPage()->SetActiveFont("Courier", fsUnderline, 0, 10);
        d.CurrentPage()->BeginText();
        d.CurrentPage()->TextOut(10, 10, 0, "never ended");
    });
    EXPECT_NE(pdf.find("f\r\nBT\r\n1 0 0 1 10 822 Tm\r\nET\r\nQ\r\n\r\nendstream"),
              std::string::npos);
    EXPECT_EQ(test::qpdfCheck(path).status, 0);
}

TEST(PdfDocument, ResolutionBelowOneIsRefused) {
    TPDFDocument doc(test::fixedClock());
    std::ostringstream out;
    doc.SetOutputStream(&out);
    for (int resolution : {0, -96}) {
        doc.SetResolution(resolution);
        expectPdfError([&] { doc.BeginDoc(); }, "Resolution must be at least 1 dot per inch");
        if (doc.Generating()) doc.Abort();
    }
    doc.SetResolution(96);
    doc.BeginDoc();
    doc.SetResolution(0);
    expectPdfError([&] { doc.NewPage(); }, "Resolution must be at least 1 dot per inch");
    doc.Abort();
}

TEST(PdfDocument, GoldenFile) {
    auto write = [] {
        TPDFDocument doc(test::fixedClock());
        doc.SetCompression(ctFlate);
        doc.SetAutoCreateURL(true);
        doc.DocumentInfo().Title = "Golden";
        return test::writeToMemory(doc, test::drawAll);
    };
    const std::string first = write();
    EXPECT_EQ(first, write());
    const std::filesystem::path golden = PV_SOURCE_DIR "/tests/pdf/golden/all-pages.pdf";
    if (std::getenv("PV_UPDATE_GOLDEN")) test::writeFile(golden, first);
    EXPECT_EQ(first, test::readFile(golden)) << "set PV_UPDATE_GOLDEN=1 to rewrite " << golden;
}

} // namespace
} // namespace pv
