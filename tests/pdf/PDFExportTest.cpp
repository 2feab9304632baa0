#include "ExportPages.h"
#include "PdfTestSupport.h"

#include "pdf/PDFExport.h"
#include "pdf/PlatformFontProvider.h"
#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "report/prepared/PreparedPages.h"
#include "report/export/ExportFilterRegistry.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

namespace pv {
namespace {

// A clock that moves one second on every reading, so two exports differ.
PdfClock tickingClock() {
    auto seconds = std::make_shared<int>(0);
    return [seconds] {
        PdfDateTime t = test::fixedTime();
        t.second = (*seconds)++ % 60;
        return t;
    };
}

std::vector<std::string> mediaBoxes(const std::string& pdf) {
    std::vector<std::string> boxes;
    const std::regex box(R"(/MediaBox \[([^\]]*)\])");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator();
         ++it)
        boxes.push_back((*it)[1]);
    return boxes;
}

std::string creationDate(const std::string& pdf) {
    std::smatch m;
    std::regex_search(pdf, m, std::regex(R"(/CreationDate \(D:(\d+)\))"));
    return m.empty() ? "" : m[1].str();
}

class PDFExportTest : public ::testing::Test {
protected:
    PDFExportTest() { frPrinter().setDevices({}); }

    std::string exportOnce(TfrPDFExport& filter, const std::string& name = "out.pdf") {
        const auto path = dir.file(name);
        report.ExportPrepared(filter, path.string());
        return test::readFile(path);
    }
    void expectValid(const std::string& name = "out.pdf") {
        const auto check = test::qpdfCheck(dir.file(name));
        EXPECT_EQ(check.status, 0) << check.output;
    }

    test::TempDir dir;
    TfrReport report;
};

TEST_F(PDFExportTest, OnePageTakesThePreparedPaperScaledToTheScreen) {
    test::addPaperPage(report.EMFPages(), 756, 1070);
    TfrPDFExport filter(FontService::shared(), 96, test::fixedClock());
    const std::string pdf = exportOnce(filter);

    EXPECT_NEAR(filter.Scale(), 96 / 91.44, 1e-12);
    EXPECT_EQ(mediaBoxes(pdf), std::vector<std::string>{"0 0 596 842"});
    EXPECT_EQ(test::count(pdf, "/Type /Page\r\n"), 1);
    EXPECT_EQ(pdf.rfind("%PDF-1.3", 0), 0u);
    EXPECT_NE(pdf.find("/Creator (Tarvelin)"), std::string::npos);
    EXPECT_NE(pdf.find("/Subject ()"), std::string::npos);
    EXPECT_NE(pdf.find("/Keywords ()"), std::string::npos);
    EXPECT_NE(pdf.find("/Filter /FlateDecode"), std::string::npos);
    expectValid();
}

TEST_F(PDFExportTest, PageSizeFollowsTheScreenResolution) {
    struct Case {
        int dpi, width, height;
        const char* box;
    };
    // round(round(w * dpi / 91.44) * 72 / dpi), likewise for the height.
    for (const Case c : {Case{96, 756, 1070, "0 0 596 842"}, Case{120, 756, 1070, "0 0 595 842"},
                         Case{96, 1070, 756, "0 0 842 596"}, Case{72, 100, 50, "0 0 79 39"}}) {
        SCOPED_TRACE(c.dpi);
        TfrReport one;
        test::addPaperPage(one.EMFPages(), c.width, c.height);
        TfrPDFExport filter(FontService::shared(), c.dpi, test::fixedClock());
        const auto path = dir.file("dpi.pdf");
        one.ExportPrepared(filter, path.string());
        EXPECT_EQ(mediaBoxes(test::readFile(path)), std::vector<std::string>{c.box});
    }
}

TEST_F(PDFExportTest, PagesOfDifferentOrientationKeepTheirOwnSize) {
    test::addTextPage(report.EMFPages(), ru("Страница первая"));
    test::addTextPage(report.EMFPages(), ru("Вторая"), 1);
    TfrPDFExport filter(FontService::shared(), 96, test::fixedClock());
    const std::string pdf = exportOnce(filter);

    const auto boxes = mediaBoxes(pdf);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0], boxes[1]);
    expectValid();
    const auto text = test::run("pdftotext " + test::quoted(dir.file("out.pdf")) + " -");
    EXPECT_NE(text.output.find("Страница первая"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find("Вторая"), std::string::npos) << text.output;
}

TEST_F(PDFExportTest, TwoExportsWithOneFilterAreTwoWholeFiles) {
    test::addTextPage(report.EMFPages(), "one");
    TfrPDFExport filter(FontService::shared(), 96, tickingClock());
    const std::string first = exportOnce(filter, "first.pdf");
    const std::string second = exportOnce(filter, "second.pdf");

    expectValid("first.pdf");
    expectValid("second.pdf");
    EXPECT_EQ(test::count(second, "%PDF-"), 1);
    EXPECT_EQ(mediaBoxes(second).size(), 1u);
    ASSERT_FALSE(creationDate(first).empty());
    ASSERT_FALSE(creationDate(second).empty());
    EXPECT_NE(creationDate(first), creationDate(second));
    EXPECT_FALSE(filter.Document().Generating());
}

TEST_F(PDFExportTest, ObjectsThatDrawNothingStillGiveValidPages) {
    test::addPaperPage(report.EMFPages(), 756, 1070);
    test::addSilentPage(report.EMFPages());
    TfrPDFExport filter(FontService::shared(), 96, test::fixedClock());
    const std::string pdf = exportOnce(filter);

    EXPECT_EQ(mediaBoxes(pdf).size(), 2u);
    expectValid();
}

class FailingObjectExport : public TfrPDFExport {
public:
    FailingObjectExport()
        : TfrPDFExport(Unregistered{}, FontService::shared(), 96, test::fixedClock()) {}
    bool fail = true;
    void ObjectData(int x, int y, TfrView& view) override {
        if (fail) throw std::runtime_error("object failed");
        TfrPDFExport::ObjectData(x, y, view);
    }
};

TEST_F(PDFExportTest, AnExportThatFailedHalfwayDoesNotSpoilTheNext) {
    test::addTextPage(report.EMFPages(), "one");
    FailingObjectExport filter;
    EXPECT_THROW(exportOnce(filter), std::runtime_error);
    filter.fail = false;
    const std::string pdf = exportOnce(filter);
    EXPECT_EQ(mediaBoxes(pdf).size(), 1u);
    expectValid();
}

// Every TrueType request fails as a face that is no TrueType font would.
class RefusingFonts : public FontProvider {
public:
    bool HasTrueTypeFace(const std::string&, int) override { return true; }
    int Select(TPDFFonts&, const std::string&, int, int) override {
        throw TPDFException("Not valid true type font.");
    }
};

TEST_F(PDFExportTest, AFailureAtTheEndAbortsTheDocumentAndReachesTheCaller) {
    test::addTextPage(report.EMFPages(), ru("Текст"));
    TfrPDFExport filter(FontService::shared(), 96, test::fixedClock());
    RefusingFonts refusing;
    filter.Document().SetFontProvider(&refusing);
    test::expectPdfError([&] { exportOnce(filter); }, "Not valid true type font.");
    EXPECT_FALSE(filter.Document().Generating());
    EXPECT_TRUE(filter.Document().Aborted());

    filter.Document().SetFontProvider(&PlatformFontProvider::shared());
    exportOnce(filter);
    expectValid();
}

TEST(PDFExportRegistryTest, RegistersOnceForManyInstancesAndNeverForDescendants) {
    const int before = ExportFilterCount();
    {
        auto first = std::make_unique<TfrPDFExport>();
        auto second = std::make_unique<TfrPDFExport>();
        FailingObjectExport descendant;
        EXPECT_EQ(ExportFilterCount(), before + 1);
        const ExportFilterEntry& entry = ExportFilterAt(before);
        EXPECT_EQ(entry.filter, first.get());
        EXPECT_EQ(entry.description, ru("Документ Adobe Acrobat(*.pdf)"));
        EXPECT_EQ(entry.pattern, "*.pdf");
        EXPECT_TRUE(first->Registered());
        EXPECT_FALSE(second->Registered());
        EXPECT_FALSE(descendant.Registered());

        // The instance that was refused leaves the registered one in place.
        second.reset();
        EXPECT_EQ(ExportFilterCount(), before + 1);
        EXPECT_EQ(ExportFilterAt(before).filter, first.get());
        first.reset();
        EXPECT_EQ(ExportFilterCount(), before);
    }
    EXPECT_EQ(ExportFilterCount(), before);
}

} // namespace
} // namespace pv
