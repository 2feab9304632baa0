#include "report/printer/Printer.h"
#include "platform/CodePage.h"
#include "report/model/Page.h"
#include "report/printer/PaperSizes.h"

#include <gtest/gtest.h>

#include <limits>

namespace pv {
namespace {

TEST(PaperSizesTest, TableHoldsTheWindowsCodesAndTheCustomSize) {
    const auto& table = paperSizes();
    ASSERT_EQ(table.size(), 47u + 19u + 1u);
    EXPECT_EQ(findPaperSize(48), nullptr);
    EXPECT_EQ(findPaperSize(49), nullptr);
    EXPECT_EQ(findPaperSize(69), nullptr);
    struct Case {
        int code, width, height;
        const char* name;
    } cases[] = {{9, 2100, 2970, "A4 210 x 297 мм"},
                 {8, 2970, 4200, "A3 297 x 420 мм"},
                 {11, 1480, 2100, "A5 148 x 210 мм"},
                 {1, 2159, 2794, "Letter 8 1/2 x 11 дюйм"},
                 {68, 3220, 4450, "A3 экстра поперечный 322 x 445 мм"},
                 {256, 0, 0, "Другой"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const PaperSize* p = findPaperSize(c.code);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->width, c.width);
        EXPECT_EQ(p->height, c.height);
        EXPECT_EQ(p->name, ru(c.name));
    }
    EXPECT_EQ(table.back().code, 256);
}

TEST(PaperSizesTest, TenthsOfAMillimetreToReportPixels) {
    struct Case {
        int tenths, pixels;
    } cases[] = {{2100, 758}, {2970, 1071}, {0, 0}, {254, 92}, {-2100, -758}};
    for (const auto& c : cases)
        EXPECT_EQ(tenthsMmToReportPixels(c.tenths), c.pixels) << c.tenths;
}

class PrinterTest : public ::testing::Test {
protected:
    PrinterTest() { printer.setDevices({}); }
    TfrPrinter printer;
};

TEST_F(PrinterTest, VirtualPrinterIsTheLastEntryAndStartsOnA4) {
    auto names = printer.Printers();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names.back(), ru("Виртуальный принтер"));
    EXPECT_TRUE(printer.isVirtual());
    EXPECT_EQ(printer.PaperSize(), 9);
    EXPECT_EQ(printer.PaperWidth(), 2100);
    EXPECT_EQ(printer.PaperHeight(), 2970);
    EXPECT_EQ(printer.PaperNames().size(), paperSizes().size());
    ASSERT_EQ(printer.Bins().size(), 1u);
    EXPECT_EQ(printer.Bins()[0].first, -1);
    EXPECT_EQ(printer.Bins()[0].second, ru("По умолчанию"));
}

TEST_F(PrinterTest, VirtualSetPaperTakesSizesFromTheTable) {
    struct Case {
        int size, width, height, orientation;
        bool accepted;
        int heldWidth, heldHeight;
    } cases[] = {
        {11, 1, 1, 0, true, 1480, 2100},      {11, 1, 1, 1, true, 2100, 1480},
        {256, 1000, 500, 0, true, 1000, 500}, {256, 1000, 500, 1, true, 1000, 500},
        {48, 1000, 500, 0, false, 1000, 500}, {300, 1, 2, 0, false, 1000, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(printer.SetPaper(c.size, c.width, c.height, c.orientation, -1, true), c.accepted);
        EXPECT_EQ(printer.PaperWidth(), c.heldWidth);
        EXPECT_EQ(printer.PaperHeight(), c.heldHeight);
    }
}

TEST_F(PrinterTest, SamePaper) {
    printer.SetPaper(256, 1000, 2000, 0, 2, true);
    printer.SetPaper(256, 1000, 2000, 0, 2, false);
    struct Case {
        int size, width, height, orientation, bin;
        bool same;
    } custom[] = {{256, 1001, 1999, 0, 7, true},
                  {256, 1002, 2000, 0, 2, false},
                  {256, 1000, 2000, 1, 2, false},
                  {9, 1000, 2000, 0, 2, false}};
    for (const auto& c : custom)
        EXPECT_EQ(printer.SamePaper(c.size, c.width, c.height, c.orientation, c.bin), c.same)
            << c.width << "x" << c.height << " bin " << c.bin;

    printer.SetPaper(9, 0, 0, 1, 3, true);
    Case table[] = {{9, 0, 0, 1, 3, true},  {9, 5, 5, 1, -1, true}, {9, 0, 0, 1, 65535, true},
                    {9, 0, 0, 1, 4, false}, {9, 0, 0, 0, 3, false}, {8, 0, 0, 1, 3, false}};
    for (const auto& c : table)
        EXPECT_EQ(printer.SamePaper(c.size, c.width, c.height, c.orientation, c.bin), c.same)
            << c.size << " o" << c.orientation << " bin " << c.bin;
}

TEST(SamePaper, FarApartSizesFromAHostileTemplateDiffer) {
    constexpr int lowest = std::numeric_limits<int>::min(),
                  highest = std::numeric_limits<int>::max();
    struct {
        int currentWidth, wantedWidth;
    } cases[] = {{-1207959552, 1090520320}, {lowest, 0}, {highest, lowest}, {lowest, highest}};
    for (const auto& c : cases) {
        PaperSettings current{256, c.currentWidth, 100, 0, -1},
            wanted{256, c.wantedWidth, 100, 0, -1};
        EXPECT_FALSE(samePaper(current, wanted)) << c.currentWidth << " vs " << c.wantedWidth;
        PaperSettings tall{256, 100, c.currentWidth, 0, -1}, flat{256, 100, c.wantedWidth, 0, -1};
        EXPECT_FALSE(samePaper(tall, flat)) << c.currentWidth << " vs " << c.wantedWidth;
    }
    EXPECT_TRUE(samePaper({256, highest, lowest, 0, -1}, {256, highest - 1, lowest + 1, 0, -1}));
}

TEST_F(PrinterTest, SetPaperDoesNothingWhilePrinting) {
    printer.setPrinting(true);
    printer.SetPaper(8, 0, 0, 0, -1, true);
    EXPECT_EQ(printer.PaperSize(), 9);
    printer.setPrinting(false);
    printer.SetPaper(8, 0, 0, 0, -1, false);
    EXPECT_EQ(printer.PaperSize(), 8);
}

TEST_F(PrinterTest, VirtualPageInfo) {
    printer.SetPaper(9, 0, 0, 0, -1, true);
    TfrPageInfo info = printer.GetPageInfo();
    EXPECT_EQ(info.paperWidth, 758);
    EXPECT_EQ(info.paperHeight, 1071);
    EXPECT_EQ(info.offsetX, 18);
    EXPECT_EQ(info.offsetY, 18);
    EXPECT_EQ(info.printableWidth, 722);
    EXPECT_EQ(info.printableHeight, 1035);
    EXPECT_EQ(info.paperWidthPx, 0);
    printer.SetPaper(9, 0, 0, 1, -1, true);
    EXPECT_EQ(printer.GetPageInfo().paperWidth, 1071);
}

// A device that takes any paper but A3 and reports 600 dpi.
class FakeDevice : public InstalledPrinter {
public:
    std::string name() const override { return "Office"; }
    bool applyPaper(const PaperSettings& p) override {
        if (p.size == 8) return false;
        current = p;
        return true;
    }
    PrinterCapabilities capabilities() const override {
        PrinterCapabilities c;
        c.papers = {{9, "A4"}, {256, "Custom"}};
        c.bins = {{7, "Tray 1"}};
        c.paperSize = current.size;
        c.orientation = current.orientation;
        c.dpiX = c.dpiY = 600;
        c.physicalWidth = 4960; // 210 mm
        c.physicalHeight = 7016;
        c.offsetX = c.offsetY = 100;
        c.printableWidth = 4760;
        c.printableHeight = 6816;
        return c;
    }
    PaperSettings current;
};

TEST_F(PrinterTest, RealPrinterPaperAndPageInfoComeFromTheDevice) {
    auto device = std::make_shared<FakeDevice>();
    printer.setDevices({device});
    EXPECT_FALSE(printer.isVirtual());
    EXPECT_EQ(printer.Printers().size(), 2u);
    EXPECT_EQ(printer.indexOf("Office"), 0);
    EXPECT_TRUE(printer.SetPaper(9, 0, 0, 0, 7, true));
    EXPECT_EQ(device->current.bin, 7);
    EXPECT_EQ(printer.PaperWidth(), 2100);
    EXPECT_EQ(printer.PaperHeight(), 2970);
    ASSERT_EQ(printer.Bins().size(), 2u);
    TfrPageInfo info = printer.GetPageInfo();
    EXPECT_EQ(info.paperWidthPx, 4960);
    EXPECT_EQ(info.paperWidth, 757); // 4960 × 91.6256 / 600
    EXPECT_EQ(info.offsetX, 15);
    EXPECT_EQ(info.printableWidth, 727);
    EXPECT_FALSE(printer.SetPaper(8, 0, 0, 0, -1, true));
    EXPECT_EQ(printer.PaperSize(), 9);
    printer.setDevices({});
}

TEST(PageTest, PaperTheVirtualPrinterRefusesBecomesCustomOnTheDefaultBin) {
    frPrinter().setDevices({});
    TfrPage page;
    page.ChangePaper(49, 1234, 2345, 1, 5);
    EXPECT_EQ(page.Size, 256);
    EXPECT_EQ(page.PaperWidth, 1234);
    EXPECT_EQ(page.PaperHeight, 2345);
    EXPECT_EQ(page.Orientation, 1);
    EXPECT_EQ(page.Bin, 65535);
    EXPECT_EQ(page.PageInfo.paperWidth, tenthsMmToReportPixels(1234));

    page.ChangePaper(9, 1, 1, 0, -1);
    EXPECT_EQ(page.Size, 9);
    EXPECT_EQ(page.PaperWidth, 2100);
    EXPECT_EQ(page.Bin, 65535);
    EXPECT_EQ(page.PageInfo.printableWidth, 722);
}

} // namespace
} // namespace pv
