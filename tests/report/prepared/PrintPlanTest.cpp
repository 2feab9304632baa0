#include "report/prepared/PrintPlan.h"
#include "platform/CodePage.h"
#include "platform/ConversionError.h"
#include "report/prepared/PrintPages.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>

namespace pv {
namespace {

const PaperSettings kPortrait{9, 2100, 2970, 0, -1};
const PaperSettings kLandscape{9, 2970, 2100, 1, -1};

// "B" begins a job, "S" starts a new sheet, a number prints that page, "E" ends the job.
std::string describe(const PrintPlan& plan) {
    std::ostringstream out;
    for (const PrintAction& a : plan.actions) {
        if (out.tellp() > 0) out << ' ';
        switch (a.kind) {
        case PrintAction::BeginJob:
            out << 'B';
            break;
        case PrintAction::NewSheet:
            out << 'S';
            break;
        case PrintAction::PrintPage:
            out << a.page;
            break;
        case PrintAction::EndJob:
            out << 'E';
            break;
        }
    }
    return out.str();
}

TEST(PrintPlanTest, CopiesCollationAndParity) {
    struct Case {
        const char* what;
        std::vector<int> pages;
        int copies;
        bool collate;
        PageParity parity;
        bool printerCopies;
        const char* plan;
        int deviceCopies;
    } cases[] = {
        {"uncollated, we copy",
         {1, 2},
         3,
         false,
         PageParity::All,
         false,
         "B 1 S 1 S 1 S 2 S 2 S 2 E",
         1},
        {"collated", {1, 2}, 3, true, PageParity::All, false, "B 1 S 2 S 1 S 2 S 1 S 2 E", 1},
        {"collated, printer could copy",
         {1, 2},
         2,
         true,
         PageParity::All,
         true,
         "B 1 S 2 S 1 S 2 E",
         1},
        {"uncollated, printer copies", {1, 2}, 3, false, PageParity::All, true, "B 1 S 2 E", 3},
        {"no copies count as one", {1, 2}, 0, false, PageParity::All, false, "B 1 S 2 E", 1},
        {"negative copies count as one", {1, 2}, -4, true, PageParity::All, true, "B 1 S 2 E", 1},
        {"odd of 2-5", {2, 3, 4, 5}, 1, true, PageParity::Odd, false, "B 3 S 5 E", 1},
        {"even of 2-5", {2, 3, 4, 5}, 1, true, PageParity::Even, false, "B 2 S 4 E", 1},
        {"odd, uncollated", {1, 2, 3}, 2, false, PageParity::Odd, false, "B 1 S 1 S 3 S 3 E", 1},
        {"the order selected", {3, 1}, 1, true, PageParity::All, false, "B 3 S 1 E", 1},
        {"nothing selected", {}, 2, true, PageParity::All, false, "", 1},
        {"nothing even", {1, 3}, 1, true, PageParity::Even, false, "", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PrintRequest request{c.pages, c.copies, c.collate, c.parity, c.printerCopies};
        PrintPlan plan = makePrintPlan(request, [](int) { return kPortrait; });
        EXPECT_EQ(describe(plan), c.plan);
        EXPECT_EQ(plan.deviceCopies, c.deviceCopies);
    }
}

TEST(PrintPlanTest, AChangeOfPaperStartsANewJobOnThatPaper) {
    const PaperSettings custom{256, 1000, 1500, 0, -1};
    struct Case {
        const char* what;
        std::vector<PaperSettings> papers;
        int copies;
        const char* plan;
        std::vector<PaperSettings> jobs;
    } cases[] = {
        {"portrait then landscape",
         {kPortrait, kPortrait, kLandscape, kLandscape},
         1,
         "B 1 S 2 E B 3 S 4 E",
         {kPortrait, kLandscape}},
        {"and back",
         {kPortrait, kLandscape, kPortrait},
         1,
         "B 1 E B 2 E B 3 E",
         {kPortrait, kLandscape, kPortrait}},
        {"collated copies change back and forth",
         {kPortrait, kLandscape},
         2,
         "B 1 E B 2 E B 1 E B 2 E",
         {kPortrait, kLandscape, kPortrait, kLandscape}},
        {"custom size within a tenth",
         {custom, {256, 1001, 1499, 0, -1}},
         1,
         "B 1 S 2 E",
         {custom}},
        {"custom size two tenths off",
         {custom, {256, 1002, 1500, 0, -1}},
         1,
         "B 1 E B 2 E",
         {custom, {256, 1002, 1500, 0, -1}}},
        {"the default bin is any bin",
         {{9, 2100, 2970, 0, 7}, kPortrait},
         1,
         "B 1 S 2 E",
         {{9, 2100, 2970, 0, 7}}},
        {"another bin",
         {{9, 2100, 2970, 0, 7}, {9, 2100, 2970, 0, 8}},
         1,
         "B 1 E B 2 E",
         {{9, 2100, 2970, 0, 7}, {9, 2100, 2970, 0, 8}}},
        {"another size",
         {kPortrait, {11, 1480, 2100, 0, -1}},
         1,
         "B 1 E B 2 E",
         {kPortrait, {11, 1480, 2100, 0, -1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<int> pages;
        for (int n = 1; n <= int(c.papers.size()); ++n)
            pages.push_back(n);
        PrintRequest request{pages, c.copies, true, PageParity::All, false};
        PrintPlan plan = makePrintPlan(request, [&](int n) { return c.papers.at(n - 1); });
        EXPECT_EQ(describe(plan), c.plan);
        std::vector<PaperSettings> jobs;
        for (const PrintAction& a : plan.actions)
            if (a.kind == PrintAction::BeginJob) jobs.push_back(a.paper);
        EXPECT_EQ(jobs, c.jobs);
    }
}

TEST(PrintPlanTest, JobBeginsOnTheFirstPrintedPagesPaper) {
    // Page 1 is portrait but only page 2 is printed: no empty portrait job first.
    PrintRequest request{{2}, 1, true, PageParity::All, false};
    PrintPlan plan = makePrintPlan(request, [](int n) { return n == 1 ? kPortrait : kLandscape; });
    EXPECT_EQ(describe(plan), "B 2 E");
    EXPECT_EQ(plan.actions.front().paper, kLandscape);
}

TEST(PrintPlanTest, PageRectangleOnThePrinter) {
    TfrPageInfo info;
    info.paperWidthPx = 2480;
    info.paperHeightPx = 3508;
    info.paperWidth = 758;
    info.paperHeight = 1071;
    info.offsetXPx = 50;
    info.offsetYPx = 60;
    info.printableWidthPx = 2380;
    info.printableHeightPx = 3388;
    struct Case {
        const char* what;
        bool useMargins;
        PageMargins margins;
        Rect rect;
    } cases[] = {
        {"with margins: the whole sheet", true, {10, 20, 30, 40}, {-50, -60, 2430, 3448}},
        {"without margins: printable area", false, {0, 0, 0, 0}, {0, 0, 2380, 3388}},
        // 10 × 2480/758 = 32.7, 20 × 3508/1071 = 65.5, 30 × … = 98.2, 40 × … = 131.0
        {"without margins: less the margins", false, {10, 20, 30, 40}, {33, 66, 2282, 3257}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(printerPageRect(info, c.useMargins, c.margins), c.rect);
    }
    EXPECT_EQ(printerPageRect(TfrPageInfo{}, false, {10, 20, 30, 40}), (Rect{0, 0, 0, 0}));
}

// A 300 dpi printer that takes any paper and turns its sheet for landscape.
class SheetPrinter : public InstalledPrinter {
public:
    std::string name() const override { return "Office"; }
    bool applyPaper(const PaperSettings& p) override {
        current = p;
        return true;
    }
    PrinterCapabilities capabilities() const override {
        PrinterCapabilities c;
        c.papers = {{9, "A4"}};
        c.paperSize = current.size;
        c.orientation = current.orientation;
        c.dpiX = c.dpiY = 300;
        const bool landscape = current.orientation == 1;
        c.physicalWidth = landscape ? 3508 : 2480;
        c.physicalHeight = landscape ? 2480 : 3508;
        c.offsetX = c.offsetY = 50;
        c.printableWidth = c.physicalWidth - 100;
        c.printableHeight = c.physicalHeight - 100;
        return c;
    }
    PaperSettings current;
};

// Records what the print job is told, and whether the printer model was
// marked printing at the time.
class RecordingJob : public PrintJob {
public:
    explicit RecordingJob(const TfrPrinter& printer) : printer_(printer) {}
    bool makesCopies() const override { return copies; }
    bool beginJob(const std::string& title, const PaperSettings& paper, int n) override {
        log.push_back("begin " + title + " " + std::to_string(paper.orientation) + " x" +
                      std::to_string(n));
        return !refuse;
    }
    void newPage() override { log.push_back("sheet"); }
    void paintPage(int page, const Rect& rect) override {
        if (page == throwOn) throw std::runtime_error("paint failed");
        log.push_back("paint " + std::to_string(page) + (printer_.printing() ? "" : " idle"));
        rects.push_back(rect);
    }
    void endJob() override { log.push_back("end"); }
    void abort() override { log.push_back("abort"); }
    bool cancelled() override { return ++asked == cancelAfter; }

    bool copies = false, refuse = false;
    int cancelAfter = -1, throwOn = -1, asked = 0;
    std::vector<std::string> log;
    std::vector<Rect> rects;

private:
    const TfrPrinter& printer_;
};

class PrintPagesTest : public ::testing::Test {
protected:
    PrintPagesTest() : job(printer) {
        printer.setDevices({std::make_shared<SheetPrinter>()});
        pages.assign(3, PrintedPage{kPortrait, true, {}});
    }
    PrintOutcome print(PrintPagesOptions options = {}) {
        return PrintPages(pages, options, printer, job);
    }

    TfrPrinter printer;
    RecordingJob job;
    std::vector<PrintedPage> pages;
};

TEST_F(PrintPagesTest, PrintsTheSelectionInOneJobTitledUntitled) {
    std::vector<int> progress;
    PrintPagesOptions options;
    options.pageList = "2-";
    options.progress = [&](int n) { progress.push_back(n); };
    EXPECT_EQ(print(options), PrintOutcome::Printed);
    EXPECT_EQ(job.log, (std::vector<std::string>{"begin Untitled 0 x1", "paint 2", "sheet",
                                                 "paint 3", "end"}));
    EXPECT_EQ(progress, (std::vector<int>{2, 3}));
    EXPECT_FALSE(printer.printing());
}

TEST_F(PrintPagesTest, TheJobTakesTheReportTitleAndThePrinterCopies) {
    job.copies = true;
    PrintPagesOptions options;
    options.title = ru("Отчет");
    options.pageList = "1";
    options.copies = 3;
    options.collate = false;
    EXPECT_EQ(print(options), PrintOutcome::Printed);
    EXPECT_EQ(job.log,
              (std::vector<std::string>{"begin " + ru("Отчет") + " 0 x3", "paint 1", "end"}));
}

TEST_F(PrintPagesTest, LandscapePagesGoToASecondJobOnATurnedSheet) {
    pages[1].paper = kLandscape;
    pages[2].paper = kLandscape;
    EXPECT_EQ(print(), PrintOutcome::Printed);
    EXPECT_EQ(job.log, (std::vector<std::string>{"begin Untitled 0 x1", "paint 1", "end",
                                                 "begin Untitled 1 x1", "paint 2", "sheet",
                                                 "paint 3", "end"}));
    ASSERT_EQ(job.rects.size(), 3u);
    EXPECT_EQ(job.rects[0], (Rect{-50, -50, 2430, 3458}));
    EXPECT_EQ(job.rects[1], (Rect{-50, -50, 3458, 2430}));
    EXPECT_EQ(printer.Orientation(), 1);
}

TEST_F(PrintPagesTest, APageWithoutMarginsFillsThePrintableArea) {
    pages[0].useMargins = false;
    pages[0].margins = {0, 0, 0, 0};
    PrintPagesOptions options;
    options.pageList = "1";
    print(options);
    ASSERT_EQ(job.rects.size(), 1u);
    EXPECT_EQ(job.rects[0], (Rect{0, 0, 2380, 3408}));
}

TEST_F(PrintPagesTest, FailuresAndCancelling) {
    struct Case {
        const char* what;
        const char* pageList;
        bool refuse;
        int cancelAfter;
        PrintOutcome outcome;
        std::vector<std::string> log;
    } cases[] = {
        {"cancelled after the first page",
         "",
         false,
         1,
         PrintOutcome::Cancelled,
         {"begin Untitled 0 x1", "paint 1", "abort"}},
        {"cancelled after the last page",
         "",
         false,
         3,
         PrintOutcome::Cancelled,
         {"begin Untitled 0 x1", "paint 1", "sheet", "paint 2", "sheet", "paint 3", "abort"}},
        {"the job cannot begin", "", true, -1, PrintOutcome::Failed, {"begin Untitled 0 x1"}},
        {"no page selected", "3-1", false, -1, PrintOutcome::NothingToPrint, {}},
        {"pages beyond the report", "7,8", false, -1, PrintOutcome::NothingToPrint, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingJob device(printer);
        device.refuse = c.refuse;
        device.cancelAfter = c.cancelAfter;
        PrintPagesOptions options;
        options.pageList = c.pageList;
        EXPECT_EQ(PrintPages(pages, options, printer, device), c.outcome);
        EXPECT_EQ(device.log, c.log);
        EXPECT_FALSE(printer.printing());
    }
}

TEST_F(PrintPagesTest, AMalformedPageListPrintsNothing) {
    PrintPagesOptions options;
    options.pageList = "1,x";
    EXPECT_THROW(print(options), ConversionError);
    EXPECT_TRUE(job.log.empty());
}

TEST_F(PrintPagesTest, APageThatFailsToPaintAbortsTheJob) {
    job.throwOn = 2;
    EXPECT_THROW(print(), std::runtime_error);
    EXPECT_EQ(job.log,
              (std::vector<std::string>{"begin Untitled 0 x1", "paint 1", "sheet", "abort"}));
    EXPECT_FALSE(printer.printing());
}

TEST(PrintTextsTest, TitlesAndProgressLabels) {
    EXPECT_EQ(printJobTitle(""), "Untitled");
    EXPECT_EQ(printJobTitle(ru("Пачка")), ru("Пачка"));
    EXPECT_EQ(printProgressCaption(""), ru("Подготовка отчета"));
    EXPECT_EQ(printProgressCaption(ru("Пачка")), ru("Подготовка отчета - Пачка"));
    EXPECT_EQ(progressLabel(ru("Печатается страница:"), 4), ru("Печатается страница:  4"));
    EXPECT_EQ(progressLabel(ru("Страница:"), 4, 9), ru("Страница:  4 из 9"));
}

} // namespace
} // namespace pv
