#include "PrintTestSupport.h"

#include "platform/FontService.h"
#include "report/qt/PrintFromPreview.h"
#include "report/qt/QtPrintDevice.h"

#include <QPrinterInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

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
// test is skipped.
TEST(CupsPrinting, TwoPagesReachThePdfPrinterInOrder) {
    const std::string queue = env("PV_CUPS_QUEUE");
    const fs::path output = env("PV_CUPS_OUTPUT");
    if (queue.empty() || output.empty()) GTEST_SKIP() << "no CUPS queue set up (PV_CUPS_QUEUE)";
    if (!succeeds("timeout 10 lpstat -p '" + queue + "'"))
        GTEST_SKIP() << "the spooler does not answer for " << queue;

    bool listed = false;
    for (const auto& device : installedPrinters())
        listed = listed || device->name() == queue;
    EXPECT_TRUE(listed) << queue << " is not among the installed printers";

    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(queue));
    ASSERT_FALSE(info.isNull());
    auto device = std::make_shared<QtPrinterDevice>(info);
    TfrPrinter printer;
    printer.setDevices({device});
    ASSERT_FALSE(printer.isVirtual());

    TfrReport report;
    TfrEMFPages& pages = report.EMFPages();
    const std::vector<std::string> texts = {"ПЕРВАЯ СТРАНИЦА", "ВТОРАЯ СТРАНИЦА"};
    test::addTextPages(pages, {ru(texts[0]), ru(texts[1])});

    const std::string title = "pvcups" + std::to_string(getpid());
    PrintPagesOptions options;
    options.title = title;
    QtPrintDevice job(device->printer(), pages, FontService::shared());
    ASSERT_EQ(PrintPages(printedPages(pages), options, printer, job), PrintOutcome::Printed);
    EXPECT_FALSE(job.failed());

    EXPECT_TRUE(waitFor(
        [&] { return test::commandOutput("timeout 10 lpstat -o '" + queue + "'").empty(); }, 90s))
        << "the job did not leave the queue";
    ASSERT_TRUE(waitFor([&] { return fs::exists(output) && fs::file_size(output) > 0; }, 30s))
        << "nothing printed into " << output;

    const std::vector<std::string> pagesText = test::pdfPageTexts(output.string());
    ASSERT_EQ(pagesText.size(), 2u);
    EXPECT_NE(pagesText[0].find(texts[0]), std::string::npos) << pagesText[0];
    EXPECT_NE(pagesText[1].find(texts[1]), std::string::npos) << pagesText[1];
}

} // namespace
} // namespace pv
