#include "tests/support/FrfBytes.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/model/FrfPrimitives.h"
#include "report/model/LineView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/model/SubReportView.h"
#include "report/printer/PaperSizes.h"
#include "report/printer/Printer.h"
#include "report/template/Report.h"
#include "report/template/frf/FrfWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace pv {
namespace {

using test::FrfBytes;

class FrfWriterTest : public ::testing::Test {
protected:
    FrfWriterTest() {
        frPrinter().setDevices({});
        report.setClock([] { return 46000.75; });
        report.setUi(&ui);
    }

    std::string save(TfrReport& r) {
        ByteStream s;
        r.SaveToStream(s);
        return s.bytes();
    }
    void loadInto(TfrReport& r, const std::string& bytes) {
        ByteStream s(bytes);
        r.LoadFromStream(s);
        ASSERT_EQ(r.lastLoad(), LoadResult::Ok) << r.lastLoadDetail();
    }

    ScriptedUi ui;
    TfrReport report;
};

TEST_F(FrfWriterTest, WritesEdition25ByteForByte) {
    TfrPage& page = report.AddPage();
    page.LeftMargin = 10;
    page.TopMargin = 20;
    page.RightMargin = 30;
    page.BottomMargin = 40;
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = "Memo1";
    memo->Left = 5;
    memo->Top = 6;
    memo->Width = 70;
    memo->Height = 18;
    memo->Format = 556;
    memo->Memo = {"text"};
    page.Objects.push_back(std::move(memo));
    report.Dictionary.Variables.SetValue(" Cat", Variant(std::string()));
    report.Dictionary.Variables.SetValue("v", Variant(std::string("1+2")));
    report.Info.ReportComment = "comment";
    report.Info.ReportName = "name";
    report.Info.ReportAutor = "author";
    report.Info.VMajor = "1";
    report.Info.VMinor = "2";
    report.Info.VRelease = "3";
    report.Info.VBuild = "4";
    report.Info.Password = ru("ключ");
    report.Info.CreationDate = 38000.5;

    // The default bin is written as the 65535 the page holds.
    FrfBytes want(25);
    want.header().u8(255).i32(-1).i32(9).i32(2100).i32(2970).i32(10).i32(20).i32(30).i32(40).u8(0);
    want.i32(65535).u16(0).u16(1).i32(1).i32(0).u8(0).text("Page1").u8(3).text("Form");
    want.i32(0x8000000F).i32(220).i32(120).i32(380).i32(300).u8(4).lines({});
    want.memo("Memo1");
    want.u8(254).u16(-2).i32(2).text(" Cat").text("").text("v").text("1+2").i32(0).i32(0);
    want.endRecords().info(38000.5, 46000.75, ru("ключ"), 0);

    std::string got = save(report);
    EXPECT_EQ(got, want.str());
    EXPECT_DOUBLE_EQ(report.Info.LastChangeDate, 46000.75);
}

TEST_F(FrfWriterTest, FrameWidthStoredForm) {
    struct Case {
        float width;
        int32_t stored;
        float readBack;
    } cases[] = {
        {0.5f, 500, 0.5f},
        {2, 2, 2},
        {12, 12000, 12},
        {10, 10, 10},
        {2.25f, 2250, 2.25f},
        {0, 0, 0},
        // Thousandths of 10 or less would read back as whole pixels.
        {0.005f, 11, 0.011f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(frameWidthToStored(c.width), c.stored);
        EXPECT_FLOAT_EQ(frameWidthFromStored(frameWidthToStored(c.width)), c.readBack);
    }
}

// Every stored field of every class, away from its default.
void fillEverything(TfrReport& r) {
    r.PrintToDefault = 0;
    r.DoublePass = 1;
    r.Info.ReportName = ru("Отчёт");
    r.Info.Password = "p";
    r.Info.PasswordSet = 0;
    r.Info.CreationDate = 40000.125;
    r.Dictionary.Variables.SetValue(" Cat", Variant(std::string()));
    r.Dictionary.Variables.SetValue("x", Variant(std::string("[y]")));
    r.Dictionary.FieldAliases.SetValue("frDBDataSet1.F", Variant(std::string("F alias")));
    r.Dictionary.SourceAliases.SetValue("frDBDataSet1", Variant(std::string("People")));

    TfrPage& p = r.AddPage();
    p.ChangePaper(8, 4200, 2970, 1, 3);
    p.LeftMargin = 1;
    p.TopMargin = 2;
    p.RightMargin = 3;
    p.BottomMargin = 4;
    p.PrintToPrevPage = 1;
    p.UseMargins = 0;
    p.Columns = 2;
    p.ColumnGap = 9;
    p.Script = {"begin", "end"};
    TfrPage& dialog = r.AddPage();
    dialog.Type = 1;
    dialog.BorderStyle = 2;
    dialog.Caption = "Ask";
    dialog.Color = 0xFF;
    dialog.WindowLeft = 1;
    dialog.WindowTop = 2;
    dialog.WindowWidth = 3;
    dialog.WindowHeight = 4;
    dialog.Position = 0;

    auto common = [](TfrView& v, const char* name) {
        v.Name = name;
        v.Left = -5;
        v.Top = 7;
        v.Width = 100;
        v.Height = 0;
        v.Flags = 0x1FF;
        v.FrameWidth = 0.5f;
        v.FrameColor = 0x123456;
        v.FrameStyle = 5;
        v.FillColor = 0x80000005;
        v.Format = 0x01020200 | ',';
        v.FormatStr = "#,##0";
        v.Memo = {"a", "", "[b]"};
        v.Script = {"c := 1;"};
        v.Visible = 0;
        v.Restrictions = 0x1234;
        v.Tag = "[tag]";
        v.GapX = 3;
        v.GapY = 4;
        v.BandAlign = baRest;
        v.ObjectSubVersion = 0;
    };
    auto memo = std::make_unique<TfrMemoView>();
    common(*memo, "Memo1");
    memo->FrameTyp = 15;
    memo->FontName = "Courier New";
    memo->FontSize = 8;
    memo->FontStyle = 15;
    memo->FontColor = 0xFF;
    memo->Alignment = frtaCenter | frtaMiddle;
    memo->FontCharset = 0;
    memo->HighlightFontStyle = 1;
    memo->HighlightFontColor = 2;
    memo->HighlightFillColor = 3;
    memo->HighlightCondition = "Value > 0";
    memo->LineSpacing = 5;
    memo->CharSpacing = 1;
    auto band = std::make_unique<TfrBandView>();
    common(*band, "Band1");
    band->FrameTyp = btGroupHeader;
    band->ChildBand = "Child1";
    band->Columns = 3;
    band->ColumnWidth = 50;
    band->ColumnGap = 5;
    band->RowsPerColumn = 2;
    band->Master = "MasterData1";
    auto picture = std::make_unique<TfrPictureView>();
    common(*picture, "Picture1");
    picture->BlobType = btICO;
    picture->Picture = {gkBitmap, std::string("BM\0\1\2", 5)};
    auto line = std::make_unique<TfrLineView>();
    common(*line, "Line1");
    line->FrameTyp = 4;
    auto sub = std::make_unique<TfrSubReportView>();
    common(*sub, "SubReport1");
    sub->SubPage = 1;
    p.Objects.push_back(std::move(memo));
    p.Objects.push_back(std::move(band));
    p.Objects.push_back(std::move(picture));
    dialog.Objects.push_back(std::move(line));
    dialog.Objects.push_back(std::move(sub));
}

TEST_F(FrfWriterTest, SaveAndLoadGiveTheSameModelAndTheSameBytes) {
    fillEverything(report);
    std::string first = save(report);
    TfrReport again;
    again.setClock([] { return 46000.75; });
    loadInto(again, first);
    EXPECT_EQ(save(again), first);

    ASSERT_EQ(again.PageCount(), 2);
    const TfrPage& p = *again.Pages[0];
    EXPECT_EQ(p.Size, 8);
    EXPECT_EQ(p.Orientation, 1);
    EXPECT_EQ(p.PaperWidth, 4200);
    EXPECT_EQ(p.Bin, 3);
    EXPECT_EQ(p.Script, (Lines{"begin", "end"}));
    EXPECT_EQ(again.Pages[1]->Caption, "Ask");
    auto& memo = dynamic_cast<TfrMemoView&>(*p.Objects[0]);
    EXPECT_EQ(memo.FontName, "Courier New");
    EXPECT_EQ(memo.HighlightCondition, "Value > 0");
    EXPECT_EQ(memo.Memo, (Lines{"a", "", "[b]"}));
    EXPECT_FLOAT_EQ(memo.FrameWidth, 0.5f);
    EXPECT_EQ(memo.Restrictions, 0x1234);
    EXPECT_EQ(memo.BandAlign, baRest);
    EXPECT_EQ(memo.ObjectVersion, 2);
    auto& band = dynamic_cast<TfrBandView&>(*p.Objects[1]);
    EXPECT_EQ(band.ObjectSubVersion, 1);
    EXPECT_EQ(band.Master, "MasterData1");
    auto& picture = dynamic_cast<TfrPictureView&>(*p.Objects[2]);
    EXPECT_EQ(picture.Picture.data, std::string("BM\0\1\2", 5));
    EXPECT_EQ(picture.BlobType, btICO);
    EXPECT_EQ(dynamic_cast<TfrSubReportView&>(*again.Pages[1]->Objects[1]).SubPage, 1);
    EXPECT_EQ(again.Dictionary.SourceAliases.Value("frDBDataSet1"), Variant("People"));
    EXPECT_EQ(again.Info.ReportName, ru("Отчёт"));
    EXPECT_EQ(again.Info.Password, "p");
    EXPECT_EQ(again.PrintToDefault, 0);
}

TEST_F(FrfWriterTest, WhatTheFileFormCannotHoldIsRefused) {
    TfrReport tooManyPages;
    for (int i = 0; i < 257; ++i)
        tooManyPages.AddPage();
    ByteStream s;
    EXPECT_THROW(tooManyPages.SaveToStream(s), FrfWriteError);

    TfrReport longText;
    auto memo = std::make_unique<TfrMemoView>();
    memo->Memo = {std::string(70000, 'x')};
    longText.AddPage().Objects.push_back(std::move(memo));
    ByteStream t;
    EXPECT_THROW(longText.SaveToStream(t), FrfWriteError);
}

TEST_F(FrfWriterTest, ReportStoredInAForm) {
    ByteStream bare;
    report.WriteReportForm(bare, false);
    EXPECT_EQ(bare.bytes(), std::string("\x19\0\0\0", 4));

    report.AddPage().Name = "InForm";
    ByteStream stored;
    report.WriteReportForm(stored, true);
    stored.seek(0);
    TfrReport other;
    other.ReadReportForm(stored, true);
    EXPECT_EQ(other.lastLoad(), LoadResult::Ok);
    ASSERT_EQ(other.PageCount(), 1);
    EXPECT_EQ(other.Pages[0]->Name, "InForm");
    EXPECT_TRUE(stored.atEnd());
}

TEST_F(FrfWriterTest, PrinterNameIsTheSelectedPrinter) {
    report.PrinterName = "Some printer";
    std::string bytes = save(report);
    // Edition byte, two i16 flags, then the name: length 1, byte 1, byte 0.
    EXPECT_EQ(bytes.substr(5, 4), std::string("\x01\x00\x01\x00", 4));
}

// Loading sets the shared printer's paper, so what a template loads to may
// depend on the paper the printer held before: a custom size one tenth of a
// millimetre off the page's own counts as the same paper to the printer.
TEST_F(FrfWriterTest, FuzzFoundTemplatesSaveBackToThemselvesWhateverThePrinterHeld) {
    std::ifstream in(PV_SOURCE_DIR
                     "/fuzz/corpus/template_loader/saved-bytes-reload-differently.frf",
                     std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const PaperSettings held[] = {{9, 2100, 2970, 0, -1},
                                  {256, -2147483647, 65536, 91, -1},
                                  {256, -2147483645, 65535, 91, -1}};
    for (const PaperSettings& paper : held) {
        frPrinter().SetPaper(paper.size, paper.width, paper.height, paper.orientation, paper.bin,
                             true);
        const std::string name = std::to_string(paper.width) + "x" + std::to_string(paper.height);
        TfrReport loaded;
        loaded.setClock([] { return 40000.0; });
        loadInto(loaded, bytes);
        std::string first = save(loaded);
        TfrReport again;
        again.setClock([] { return 40000.0; });
        loadInto(again, first);
        EXPECT_EQ(save(again), first) << name;
    }
}

TEST_F(FrfWriterTest, CustomPaperKeepsItsOwnSizeBesideANearlySamePrinterPaper) {
    frPrinter().SetPaper(kCustomPaper, 1000, 2000, 0, -1, true);
    TfrPage& page = report.AddPage();
    page.ChangePaper(kCustomPaper, 1001, 1999, 0, -1);
    EXPECT_EQ(page.PaperWidth, 1001);
    EXPECT_EQ(page.PaperHeight, 1999);
    EXPECT_EQ(page.Size, kCustomPaper);
}

} // namespace
} // namespace pv
