#include "tests/report/qt/PrintTestSupport.h"

#include "platform/FontService.h"
#include "platform/ScriptedUi.h"
#include "report/printer/PaperSizes.h"
#include "report/qt/PrintForm.h"
#include "report/qt/PrintFromPreview.h"
#include "report/qt/ProgressForm.h"
#include "report/qt/QtPrintJob.h"
#include "report/template/ReportProgress.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace pv {
namespace {

using test::pdfFilePrinter;

const std::vector<std::string> kTexts = {"ПЕРВАЯ СТРАНИЦА", "ВТОРАЯ СТРАНИЦА"};

std::vector<std::string> ansiTexts() {
    std::vector<std::string> out;
    for (const auto& t : kTexts)
        out.push_back(ru(t));
    return out;
}

TEST(QtInstalledPrinter, ReadsBackThePaperItWasGiven) {
    test::application();
    test::ScratchDir dir;
    struct Case {
        PaperSettings paper;
        int size, orientation, width, height;
    };
    const Case cases[] = {
        {{9, 2100, 2970, 0, -1}, 9, 0, 2100, 2970},
        {{9, 2100, 2970, 1, -1}, 9, 1, 2970, 2100},
        {{8, 2970, 4200, 0, -1}, 8, 0, 2970, 4200},
        {{11, 1480, 2100, 0, -1}, 11, 0, 1480, 2100},
        {{kCustomPaper, 1500, 2000, 0, -1}, kCustomPaper, 0, 1500, 2000},
        {{kCustomPaper, 1500, 2000, 1, -1}, kCustomPaper, 1, 2000, 1500},
    };
    for (const Case& c : cases) {
        auto device = pdfFilePrinter(dir.file("out.pdf"), "File");
        TfrPrinter printer;
        printer.setDevices({device});
        ASSERT_TRUE(printer.SetPaper(c.paper.size, c.paper.width, c.paper.height,
                                     c.paper.orientation, c.paper.bin, true));
        EXPECT_EQ(printer.PaperSize(), c.size) << c.paper.size;
        EXPECT_EQ(printer.Orientation(), c.orientation) << c.paper.size;
        // Qt keeps standard sizes in points, a few tenths of a millimetre off.
        EXPECT_NEAR(printer.PaperWidth(), c.width, 3) << c.paper.size;
        EXPECT_NEAR(printer.PaperHeight(), c.height, 3) << c.paper.size;
        const PrinterCapabilities caps = device->capabilities();
        EXPECT_EQ(caps.dpiX, device->printer().resolution());
        // The report pixels of the paper follow from the printer pixels.
        const TfrPageInfo info = printer.GetPageInfo();
        EXPECT_NEAR(info.paperWidth, tenthsMmToReportPixels(c.width), 1) << c.paper.size;
        EXPECT_LE(info.printableWidthPx + info.offsetXPx, info.paperWidthPx);
    }
}

TEST(QtInstalledPrinter, AFilePrinterOffersThePaperTable) {
    test::application();
    test::ScratchDir dir;
    auto device = pdfFilePrinter(dir.file("out.pdf"), "File");
    const PrinterCapabilities caps = device->capabilities();
    EXPECT_EQ(caps.papers.size(), paperSizes().size());
}

class QtPrintDeviceTest : public ::testing::Test {
protected:
    QtPrintDeviceTest() {
        printer.setDevices({device});
        test::addTextPages(pages, ansiTexts());
    }

    PrintOutcome print(PrintPagesOptions options, std::function<bool()> cancel = {}) {
        QtPrintJob job(device->printer(), pages, FontService::shared());
        job.setCancelCheck(std::move(cancel));
        return PrintPages(printedPages(pages), options, printer, job);
    }

    QApplication& app = test::application();
    test::ScratchDir dir;
    std::string pdf = dir.file("printed.pdf");
    std::shared_ptr<QtInstalledPrinter> device = pdfFilePrinter(pdf, "File");
    TfrPrinter printer;
    TfrReport report;
    TfrEMFPages& pages = report.EMFPages();
};

TEST_F(QtPrintDeviceTest, PrintsThePagesInOrderWithTheirText) {
    ASSERT_EQ(print({}), PrintOutcome::Printed);
    EXPECT_EQ(test::printedOrder(pdf, kTexts), (std::vector<int>{0, 1}));
    EXPECT_FALSE(printer.printing());
    EXPECT_FALSE(pages.Page(0).page) << "objects are dropped after printing";
}

TEST_F(QtPrintDeviceTest, CopiesOnAPrinterThatMakesNone) {
    ASSERT_FALSE(device->printer().supportsMultipleCopies());
    struct Case {
        bool collate;
        std::vector<int> order;
    };
    for (const Case& c : {Case{true, {0, 1, 0, 1}}, Case{false, {0, 0, 1, 1}}}) {
        PrintPagesOptions options;
        options.copies = 2;
        options.collate = c.collate;
        ASSERT_EQ(print(options), PrintOutcome::Printed);
        EXPECT_EQ(test::printedOrder(pdf, kTexts), c.order) << c.collate;
    }
}

TEST_F(QtPrintDeviceTest, PageSitsWhereTheTemplatePutIt) {
    ASSERT_EQ(print({}), PrintOutcome::Printed);
    // The text box's left edge is 50 report pixels from the sheet's edge,
    // whatever the printable area: 50 / 91.6256 inch = 39.3 points.
    const std::string box = test::commandOutput("timeout 30 pdftotext -bbox -f 1 -l 1 '" + pdf +
                                                "' - | grep -m1 'xMin'");
    const auto at = box.find("xMin=\"");
    ASSERT_NE(at, std::string::npos) << box;
    const double xMin = std::stod(box.substr(at + 6));
    EXPECT_GT(xMin, 39.0);
    EXPECT_LT(xMin, 48.0);
}

TEST_F(QtPrintDeviceTest, CancellingAfterTheFirstPageStopsTheJob) {
    int asked = 0;
    EXPECT_EQ(print({}, [&] { return ++asked == 1; }), PrintOutcome::Cancelled);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(printer.printing());
}

// Runs `step` on the print dialog once it is shown.
void onDialog(std::function<void(PrintForm&)> step) {
    QTimer::singleShot(0, [step] {
        auto* form = qobject_cast<PrintForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        step(*form);
    });
}

class PrintFromPreviewTest : public QtPrintDeviceTest {
protected:
    PrintFromPreviewTest() {
        printer.setDevices({device, other});
        settings.ui = &ui;
    }
    std::string otherPdf = dir.file("other.pdf");
    std::shared_ptr<QtInstalledPrinter> other = pdfFilePrinter(otherPdf, "Other");
    PreviewPrintSettings settings;
    ScriptedUi ui;
};

TEST_F(PrintFromPreviewTest, CancellingTheProgressWindowAbortsTheJob) {
    settings.showPrintDialog = false;
    test::addTextPages(pages, {"3", "4", "5"});
    TfrProgressForm form;
    report.setProgressWindow(&form);
    ReportProgress progress(report, ru("Печатается страница:"));
    settings.reportProgress = &progress;
    std::vector<QString> labels;
    QObject::connect(&form, &TfrProgressForm::labelChanged, [&](const QString& text) {
        labels.push_back(text);
        if (text == QString::fromUtf8("Печатается страница:  2"))
            QTest::mouseClick(form.cancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::Cancelled);
    EXPECT_FALSE(printer.printing());
    EXPECT_EQ(labels, (std::vector<QString>{QString::fromUtf8("Печатается страница:"),
                                            QString::fromUtf8("Печатается страница:  1"),
                                            QString::fromUtf8("Печатается страница:  2")}));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Подготовка отчета"));
}

TEST_F(PrintFromPreviewTest, WithoutTheDialogPrintsTheDefaults) {
    settings.showPrintDialog = false;
    settings.defaultCopies = 2;
    settings.defaultCollate = false;
    EXPECT_EQ(PrintFromPreview(pages, 2, settings, printer), PrintOutcome::Printed);
    EXPECT_EQ(test::printedOrder(pdf, kTexts), (std::vector<int>{0, 0, 1, 1}));
}

TEST_F(PrintFromPreviewTest, TheDialogsCurrentPageChoicePrintsThatPage) {
    onDialog([](PrintForm& form) {
        form.findChild<QRadioButton*>("currentPage")->setChecked(true);
        form.accept();
    });
    EXPECT_EQ(PrintFromPreview(pages, 2, settings, printer), PrintOutcome::Printed);
    EXPECT_EQ(test::printedOrder(pdf, kTexts), (std::vector<int>{1}));
}

TEST_F(PrintFromPreviewTest, PrintsOnThePrinterChosenInTheDialog) {
    bool rebuilt = false;
    settings.rebuild = [&] { return rebuilt = true; };
    onDialog([](PrintForm& form) {
        auto* list = form.findChild<QComboBox*>("printerList");
        list->setCurrentIndex(1);
        emit list->activated(1);
        form.accept();
    });
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::Printed);
    EXPECT_TRUE(rebuilt);
    EXPECT_EQ(test::printedOrder(otherPdf, kTexts), (std::vector<int>{0, 1}));
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintFromPreviewTest, APrinterThatCannotBeSetUpIsGivenBackAndNothingPrints) {
    settings.rebuild = [] { return false; };
    onDialog([](PrintForm& form) {
        auto* list = form.findChild<QComboBox*>("printerList");
        list->setCurrentIndex(1);
        emit list->activated(1);
        form.accept();
    });
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::Failed);
    EXPECT_EQ(printer.PrinterIndex(), 0);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, ru("Возникли проблемы с настройкой выбранного принтера."));
    EXPECT_EQ(ui.messages()[0].caption, ru("Ошибка"));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(otherPdf));
}

TEST_F(PrintFromPreviewTest, CancellingTheDialogPrintsNothing) {
    onDialog([](PrintForm& form) { form.reject(); });
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintFromPreviewTest, AMalformedPageListIsShownAndNothingPrints) {
    onDialog([](PrintForm& form) {
        form.findChild<QLineEdit*>("pageNumbersText")->setText("1,x");
        form.findChild<QRadioButton*>("pageNumbers")->setChecked(true);
        form.accept();
    });
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::Failed);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].text.find("x"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintFromPreviewTest, NothingHappensWithoutPagesOrPrinters) {
    settings.showPrintDialog = false;
    TfrReport empty;
    EXPECT_EQ(PrintFromPreview(empty.EMFPages(), 1, settings, printer),
              PrintOutcome::NothingToPrint);
    printer.setDevices({});
    EXPECT_EQ(PrintFromPreview(pages, 1, settings, printer), PrintOutcome::NothingToPrint);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
} // namespace pv
