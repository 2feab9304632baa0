#include "tests/report/qt/PrintTestSupport.h"

#include "platform/FontService.h"
#include "report/qt/PrintFromPreview.h"
#include "report/qt/QtPrintJob.h"

#include <QPrinterInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace pv {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Polls until `done` holds or the time is up.
template <class Pred> bool waitFor(Pred done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(200ms);
    }
    return done();
}

// Prints through a real spooler: a queue on the generic PDF printer writing to
// a file, set up by cups-pdf-queue.sh (run by cups-print-test.sh), which names
// the queue in PV_CUPS_QUEUE and the file in PV_CUPS_OUTPUT. Without them the
// tests are skipped.
class CupsPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        if (queue.empty() || output.empty()) GTEST_SKIP() << "no CUPS queue set up (PV_CUPS_QUEUE)";
        if (!succeeds("timeout 10 lpstat -p '" + queue + "'"))
            GTEST_SKIP() << "the spooler does not answer for " << queue;
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(queue));
        ASSERT_FALSE(info.isNull()) << "Qt does not see " << queue;
        device = std::make_shared<QtInstalledPrinter>(info);
        printer.setDevices({device});
        test::addTextPages(pages, {ru(texts[0]), ru(texts[1])});
    }

    // Prints, waits until the spooler has written the file and tells which
    // page came out where.
    std::vector<int> print(const PrintPagesOptions& options) {
        std::error_code ec;
        fs::remove(output, ec);
        QtPrintJob job(device->printer(), pages, FontService::shared());
        EXPECT_EQ(PrintPages(printedPages(pages), options, printer, job), PrintOutcome::Printed);
        EXPECT_FALSE(job.failed());
        EXPECT_TRUE(waitFor(
            [&] { return test::commandOutput("timeout 10 lpstat -o '" + queue + "'").empty(); },
            90s))
            << "the job did not leave the queue";
        EXPECT_TRUE(waitFor([&] { return fs::exists(output) && fs::file_size(output) > 0; }, 30s))
            << "nothing printed into " << output;
        return test::printedOrder(output.string(), texts);
    }

    const std::string queue = env("PV_CUPS_QUEUE");
    const fs::path output = env("PV_CUPS_OUTPUT");
    const std::vector<std::string> texts = {"ПЕРВАЯ СТРАНИЦА", "ВТОРАЯ СТРАНИЦА"};
    std::shared_ptr<QtInstalledPrinter> device;
    TfrPrinter printer;
    TfrReport report;
    TfrEMFPages& pages = report.EMFPages();
};

TEST_F(CupsPrinting, TheQueueIsAnInstalledPrinter) {
    bool listed = false;
    for (const auto& installed : installedPrinters())
        listed = listed || installed->name() == queue;
    EXPECT_TRUE(listed);
    ASSERT_FALSE(printer.isVirtual());
    EXPECT_EQ(printer.PaperSize(), 9) << "the generic PDF printer starts on A4";
    EXPECT_GT(printer.GetPageInfo().paperWidthPx, 0);
    EXPECT_TRUE(device->printer().supportsMultipleCopies()) << "the spooler makes copies";
}

TEST_F(CupsPrinting, TakesStandardAndCustomPaper) {
    struct Case {
        int size, width, height, orientation;
        int paperWidth, paperHeight;
    };
    const Case cases[] = {
        {11, 0, 0, 0, 1480, 2100},
        {9, 0, 0, 1, 2970, 2100},
        {256, 1500, 2000, 0, 1500, 2000},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(printer.SetPaper(c.size, c.width, c.height, c.orientation, -1, true)) << c.size;
        EXPECT_EQ(printer.PaperSize(), c.size);
        EXPECT_EQ(printer.Orientation(), c.orientation);
        EXPECT_NEAR(printer.PaperWidth(), c.paperWidth, 3) << c.size;
        EXPECT_NEAR(printer.PaperHeight(), c.paperHeight, 3) << c.size;
    }
}

TEST_F(CupsPrinting, PagesAndCopiesReachThePaperInOrder) {
    struct Case {
        const char* pageList;
        int copies;
        bool collate;
        std::vector<int> order;
    };
    const Case cases[] = {
        {"", 1, true, {0, 1}},
        {"2", 1, true, {1}},
        {"", 2, true, {0, 1, 0, 1}},
        // The spooler makes these copies itself.
        {"", 2, false, {0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        PrintPagesOptions options;
        options.pageList = c.pageList;
        options.copies = c.copies;
        options.collate = c.collate;
        options.title = "pachkaview test";
        EXPECT_EQ(print(options), c.order)
            << "'" << c.pageList << "' x" << c.copies << " collate " << c.collate;
    }
}

} // namespace
} // namespace pv
