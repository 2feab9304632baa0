#include "tests/support/FrfBytes.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/model/BandView.h"
#include "report/model/ByteStream.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/template/Report.h"
#include "report/model/SubReportView.h"
#include "report/model/ViewFactory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace pv {
namespace {

using test::FrfBytes;

class FrfReaderTest : public ::testing::Test {
protected:
    FrfReaderTest() {
        frPrinter().setDevices({});
        report.setUi(&ui);
        report.setClock([] { return 45000.0; });
    }

    void load(const FrfBytes& bytes) { load(bytes.str()); }
    void load(const std::string& bytes, bool fromFile = false) {
        ByteStream s(bytes, fromFile);
        report.LoadFromStream(s);
    }
    TfrView& object(int page, int index) { return *report.Pages.at(page)->Objects.at(index); }
    void expectFormatMessage() {
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, ru("Неверный FRF формат"));
        EXPECT_EQ(ui.messages()[0].caption, ru("Ошибка"));
        EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Error);
    }

    ScriptedUi ui;
    TfrReport report;
};

// Editions before 22 have no edition byte: their first byte is the low byte of
// print-to-default, 0 or 1.
TEST_F(FrfReaderTest, FirstByteZeroOrOneIsAnEdition21FileWithoutEditionByte) {
    for (int printToDefault : {0, 1}) {
        SCOPED_TRACE(printToDefault);
        FrfBytes f(21);
        f.header(false, printToDefault).page(9, 2100, 2970, false);
        size_t at = f.beginObject(0);
        f.common("").memoFields(0);
        f.endObject(at);
        f.endRecords();
        load(f);
        EXPECT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
        EXPECT_EQ(report.PrintToDefault, printToDefault);
        ASSERT_EQ(report.PageCount(), 1);
        ASSERT_EQ(report.Pages[0]->Objects.size(), 1u);
        auto& memo = dynamic_cast<TfrMemoView&>(object(0, 0));
        EXPECT_EQ(memo.Name, "Memo1");
        EXPECT_EQ(memo.Memo, Lines{"text"});
        // Edition 21 switches word wrap on and ignores the stored character set.
        EXPECT_TRUE(memo.flag(flWordWrap));
        EXPECT_EQ(memo.FontCharset, 204);
        EXPECT_TRUE(ui.messages().empty());
    }
}

TEST_F(FrfReaderTest, EditionAbove25IsRejectedAndLeavesThePages) {
    report.AddPage().Name = "Kept";
    report.Dictionary.Variables.SetValue(" Cat", Variant(std::string()));
    std::string bytes = FrfBytes(25).header().page().endRecords().str();
    bytes[0] = 26;
    load(bytes);
    EXPECT_EQ(report.lastLoad(), LoadResult::BadEdition);
    expectFormatMessage();
    ASSERT_EQ(report.PageCount(), 1);
    EXPECT_EQ(report.Pages[0]->Name, "Kept");
    EXPECT_TRUE(report.Dictionary.empty());
}

TEST_F(FrfReaderTest, PageRecordWithoutMinusOneTakesTheValueAsPaperSizeAndHasNoScript) {
    FrfBytes f(25);
    f.header().page(11, 1480, 2100, false).page(9, 2100, 2970, true, "Second", {"a := 1;"});
    f.memo("M", 1).endRecords().info();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    ASSERT_EQ(report.PageCount(), 2);
    EXPECT_EQ(report.Pages[0]->Size, 11);
    EXPECT_EQ(report.Pages[0]->PaperWidth, 1480);
    EXPECT_TRUE(report.Pages[0]->Script.empty());
    EXPECT_EQ(report.Pages[1]->Script, Lines{"a := 1;"});
    // Had the reader expected a script on the first page, the memo after it would be lost.
    EXPECT_EQ(report.Pages[1]->Objects.size(), 1u);
}

TEST_F(FrfReaderTest, UnnamedObjectsOfOldEditionsGetTheSmallestFreeNumber) {
    FrfBytes f(22);
    f.header().page(9, 2100, 2970, false).page(9, 2100, 2970, false);
    for (int i = 0; i < 2; ++i) {
        f.beginObject(0, i);
        f.common("").memoFields();
    }
    f.beginObject(2);
    f.common("", 2, 0, 1, {}, 48, btMasterData);
    f.endRecords();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    EXPECT_EQ(report.Pages[0]->Name, "Page1");
    EXPECT_EQ(report.Pages[1]->Name, "Page2");
    EXPECT_EQ(object(0, 0).Name, "Memo1");
    EXPECT_EQ(object(1, 0).Name, "Memo2");
    EXPECT_EQ(object(0, 1).Name, "Band1");
}

// Six skipped bytes before edition 23, the bin from 24 on (−1 held as 65535).
TEST_F(FrfReaderTest, PageFieldsPerEdition) {
    for (int edition : {22, 23, 24, 25}) {
        SCOPED_TRACE(edition);
        FrfBytes f(edition);
        f.header().page(9, 2100, 2970, edition >= 24).memo("M").endRecords();
        load(f);
        ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
        const TfrPage& p = *report.Pages[0];
        EXPECT_EQ(p.LeftMargin, 10);
        EXPECT_EQ(p.BottomMargin, 40);
        EXPECT_EQ(p.Bin, 65535);
        EXPECT_EQ(p.UseMargins, 1);
        EXPECT_EQ(p.Columns, 1);
        EXPECT_EQ(report.Pages[0]->Objects.size(), 1u);
    }
}

TEST_F(FrfReaderTest, DialogWindowStoredFormsAreMapped) {
    struct Case {
        int border, position, heldBorder, heldPosition;
    } cases[] = {{0, 0, 3, 0}, {1, 7, 2, 4}, {5, 1, 5, 4}};
    for (const auto& c : cases) {
        FrfBytes f(25);
        f.header().u8(255).i32(-1).i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0);
        f.i32(7).u16(0).u16(1).i32(1).i32(0).u8(1).text("Dlg").u8(c.border).text("Cap");
        f.i32(5).i32(1).i32(2).i32(3).i32(4).u8(c.position).lines({}).endRecords();
        load(f);
        ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
        const TfrPage& p = *report.Pages[0];
        EXPECT_EQ(p.BorderStyle, c.heldBorder);
        EXPECT_EQ(p.Position, c.heldPosition);
        EXPECT_EQ(p.Type, 1);
        EXPECT_EQ(p.Bin, 7);
        EXPECT_EQ(p.Caption, "Cap");
        EXPECT_EQ(p.WindowHeight, 4);
    }
}

TEST_F(FrfReaderTest, FrameWidthStoredForm) {
    struct Case {
        int stored;
        float width;
    } cases[] = {{500, 0.5f}, {2, 2.0f}, {12000, 12.0f}, {10, 10.0f}, {11, 0.011f}, {0, 0.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        FrfBytes f(25);
        f.header().page();
        size_t at = f.beginObject(0);
        f.common("M", 2, 0, c.stored).memoFields();
        f.endObject(at);
        f.endRecords();
        load(f);
        ASSERT_EQ(report.lastLoad(), LoadResult::Ok);
        EXPECT_FLOAT_EQ(object(0, 0).FrameWidth, c.width);
    }
}

TEST_F(FrfReaderTest, ObjectRecordIsSkippedToItsEndOffset) {
    FrfBytes f(25);
    f.header().page();
    size_t at = f.beginObject(0);
    f.common("Long").memoFields().raw("fields of a newer designer");
    f.endObject(at);
    f.memo("Next").endRecords().info();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    ASSERT_EQ(report.Pages[0]->Objects.size(), 2u);
    EXPECT_EQ(object(0, 1).Name, "Next");
    EXPECT_EQ(report.Info.ReportName, "name");
}

TEST_F(FrfReaderTest, ObjectThatFailsToReadIsSkippedInNewEditions) {
    // The picture's own end offset points backwards: the object is dropped and
    // reading goes on after its record.
    FrfBytes f(25);
    f.header().page();
    size_t at = f.beginObject(1);
    f.common("Broken", 2, 0).u8(gkBitmap).u8(0).i32(3).raw("BM..");
    f.endObject(at);
    f.memo("After").endRecords();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    ASSERT_EQ(report.Pages[0]->Objects.size(), 1u);
    EXPECT_EQ(object(0, 0).Name, "After");
}

TEST_F(FrfReaderTest, PictureOfKindNoneHasNoDataAndReadingContinuesAtItsEndOffset) {
    FrfBytes f(25);
    f.header().page();
    size_t at = f.beginObject(1);
    f.common("P", 2, 0, 1, {"frDBDataSet1.\"Photo\""}, 5);
    f.u8(gkNone).u8(btJPG);
    size_t pictureEnd = f.size();
    f.i32(0);
    f.patchI32(pictureEnd, static_cast<int64_t>(f.size()));
    f.endObject(at);
    f.memo("After").endRecords();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    auto& p = dynamic_cast<TfrPictureView&>(object(0, 0));
    EXPECT_EQ(p.Picture.kind, gkNone);
    EXPECT_TRUE(p.Picture.data.empty());
    EXPECT_EQ(p.BlobType, btJPG);
    EXPECT_EQ(p.Memo, Lines{"frDBDataSet1.\"Photo\""});
    EXPECT_EQ(object(0, 1).Name, "After");
}

TEST_F(FrfReaderTest, PictureBytesAreKeptAndBlobTypeDependsOnObjectVersion) {
    struct Case {
        int version, subVersion;
        bool hasBlobType;
    } cases[] = {{1, 0, false}, {1, 1, true}, {2, 0, true}};
    for (const auto& c : cases) {
        FrfBytes f(25);
        f.header().page();
        size_t at = f.beginObject(1);
        f.common("P", c.version, c.subVersion, 1, {}, 5).u8(gkMetafile);
        if (c.hasBlobType) f.u8(btWMF);
        size_t end = f.size();
        f.i32(0).raw(std::string("\xD7\xCD\xC6\x9A\0\0", 6));
        f.patchI32(end, static_cast<int64_t>(f.size()));
        f.endObject(at);
        f.endRecords();
        load(f);
        ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
        auto& p = dynamic_cast<TfrPictureView&>(object(0, 0));
        EXPECT_EQ(p.Picture.data, std::string("\xD7\xCD\xC6\x9A\0\0", 6));
        EXPECT_EQ(p.BlobType, c.hasBlobType ? btWMF : btBMP);
    }
}

TEST_F(FrfReaderTest, BandFieldsAndMasterByObjectVersion) {
    for (int subVersion : {0, 1}) {
        FrfBytes f(25);
        f.header().page();
        size_t at = f.beginObject(2);
        f.common("GroupHeader1", 2, subVersion, 1, {}, 48, btGroupHeader);
        f.text("Child1").i32(2).i32(300).i32(10).i32(4);
        if (subVersion) f.text("MasterData1");
        f.endObject(at);
        f.endRecords();
        load(f);
        auto& b = dynamic_cast<TfrBandView&>(object(0, 0));
        EXPECT_EQ(b.bandType(), btGroupHeader);
        EXPECT_EQ(b.ChildBand, "Child1");
        EXPECT_EQ(b.ColumnWidth, 300);
        EXPECT_EQ(b.RowsPerColumn, 4);
        EXPECT_EQ(b.Master, subVersion ? "MasterData1" : "");
    }
}

TEST_F(FrfReaderTest, FramedMemoIsAMemoWithEightMoreBytes) {
    // Edition 23 has no end offsets, so only the skip keeps the next record in step.
    FrfBytes f(23);
    f.header().page(9, 2100, 2970, false);
    f.beginObject(10, 0, "TfrFramedMemoView");
    f.common("Framed").memoFields().raw("12345678");
    f.beginObject(3);
    f.common("Sub").i32(1);
    f.endRecords();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    ASSERT_EQ(report.Pages[0]->Objects.size(), 2u);
    EXPECT_NE(dynamic_cast<TfrMemoView*>(&object(0, 0)), nullptr);
    EXPECT_EQ(object(0, 0).typeCode(), gtMemo);
    EXPECT_EQ(dynamic_cast<TfrSubReportView&>(object(0, 1)).SubPage, 1);
}

TEST_F(FrfReaderTest, UnregisteredAddInClassesFailTheLoadWithTheirNames) {
    report.Info.ReportName = "previous template";
    FrfBytes f(25);
    f.header().page();
    f.memo("Before");
    for (const char* name : {"TfrCheckBoxControl", "TFRIBXLOOKUPCONTROL"}) {
        size_t at = f.beginObject(10, 0, name);
        f.raw("whatever the control stores");
        f.endObject(at);
    }
    f.memo("After").endRecords().info();
    load(f);
    EXPECT_EQ(report.lastLoad(), LoadResult::NonPlugged);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              "Report contains the following non-plugged components:\r\nTfrCheckBoxControl\r\n"
              "TfrDBLookupControl\r\nYou must include these components into your project.");
    EXPECT_EQ(ui.messages()[0].caption, ru("Ошибка"));
    // Pages read so far stay, with the objects they got.
    ASSERT_EQ(report.PageCount(), 1);
    EXPECT_EQ(report.Pages[0]->Objects.size(), 2u);
    EXPECT_EQ(report.Info.ReportName, "");
}

TEST_F(FrfReaderTest, UnregisteredClassInAnOldEditionEndsTheRecordsThere) {
    // Without end offsets nothing after the unknown record can be found.
    FrfBytes f(23);
    f.header().page(9, 2100, 2970, false);
    f.beginObject(0);
    f.common("Before").memoFields();
    f.beginObject(10, 0, "TfrOldControl");
    f.raw("\x07\x07 unknown fields");
    load(f);
    EXPECT_EQ(report.lastLoad(), LoadResult::NonPlugged);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].text.find("\r\nTfrOldControl\r\n"), std::string::npos);
    EXPECT_EQ(report.Pages[0]->Objects.size(), 1u);
}

class SkippedControl : public TfrControl {
public:
    std::string className() const override { return "TfrTestControl"; }
    std::unique_ptr<TfrView> clone() const override {
        return std::make_unique<SkippedControl>(*this);
    }
    void readClassFields(ByteStream&, const FrfContext&) override {} // reads less than it stored
};

TEST_F(FrfReaderTest, RegisteredControlIsSkippedByItsEndOffset) {
    registerAddIn("TfrTestControl", [] { return std::make_unique<SkippedControl>(); });
    FrfBytes f(25);
    f.header().page();
    size_t at = f.beginObject(10, 0, "TFRTESTCONTROL");
    f.common("Check1").raw("control fields");
    f.endObject(at);
    f.memo("After").endRecords();
    load(f);
    unregisterAddIn("TfrTestControl");
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    ASSERT_EQ(report.Pages[0]->Objects.size(), 2u);
    EXPECT_EQ(object(0, 0).Name, "Check1");
    EXPECT_EQ(object(0, 1).Name, "After");
}

TEST_F(FrfReaderTest, UnreadableContentLeavesOneEmptyPage) {
    FrfBytes good(25);
    good.header().page().memo("M").endRecords().info();
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"unknown record code", FrfBytes(25).header().page().u8(7).str()},
        {"empty stream", ""},
        {"cut in the header", good.str().substr(0, 3)},
        {"cut in a page record", good.str().substr(0, 30)},
        {"cut inside the information block", good.str().substr(0, good.size() - 5)},
        {"cut inside an object record", good.str().substr(0, good.size() - 80)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        report.Clear();
        report.AddPage().Objects.push_back(std::make_unique<TfrMemoView>());
        report.Dictionary.Variables.SetValue(" C", Variant(std::string()));
        load(c.bytes);
        EXPECT_EQ(report.lastLoad(), LoadResult::Unreadable);
        expectFormatMessage();
        ASSERT_EQ(report.PageCount(), 1);
        EXPECT_TRUE(report.Pages[0]->Objects.empty());
        EXPECT_TRUE(report.Dictionary.empty());
    }
}

TEST_F(FrfReaderTest, NoPrefixOfAGoodFileCrashesOrPassesForWhole) {
    FrfBytes f(25);
    f.header().page().memo("M").endRecords().info();
    for (size_t n = 0; n < f.size(); ++n) {
        ui.clear();
        load(f.str().substr(0, n));
        bool complete = report.lastLoad() == LoadResult::Ok && report.Info.ReportName == "name";
        EXPECT_FALSE(complete) << "prefix of " << n << " bytes";
    }
}

TEST_F(FrfReaderTest, MissingInformationBlockResetsTheInformation) {
    report.Info.ReportName = "old";
    load(FrfBytes(25).header().page().endRecords());
    EXPECT_EQ(report.lastLoad(), LoadResult::Ok);
    EXPECT_EQ(report.Info.ReportName, "");
    EXPECT_EQ(report.Info.GeneratorVersion, 88);
    EXPECT_DOUBLE_EQ(report.Info.CreationDate, 45000.0);
    EXPECT_DOUBLE_EQ(report.Info.LastChangeDate, 45000.0);
}

TEST_F(FrfReaderTest, InformationBlock) {
    load(FrfBytes(25).header().page().endRecords().info(38000.5, 38001.25, ru("ключ"), 0));
    const auto& i = report.Info;
    EXPECT_EQ(i.ReportComment, "comment");
    EXPECT_EQ(i.ReportAutor, "author");
    EXPECT_EQ(i.VBuild, "4");
    EXPECT_EQ(i.Password, ru("ключ"));
    EXPECT_DOUBLE_EQ(i.CreationDate, 38000.5);
    EXPECT_DOUBLE_EQ(i.LastChangeDate, 38001.25);
}

TEST_F(FrfReaderTest, DataManagerBlockEndsTheRecords) {
    FrfBytes f(25);
    f.header().page().u8(253).u8(0).info();
    load(f);
    EXPECT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    EXPECT_EQ(report.Info.ReportName, "name");
}

TEST_F(FrfReaderTest, DictionaryNewLayoutFlipAndCleanUp) {
    auto dictionary = [](int marker) {
        FrfBytes f(25);
        f.header().page().u8(254).u16(marker);
        // Categories stored without their blank: the reader flips every entry.
        f.i32(3).text("Header").text("").text(" reg_nom").text("[reg_nom]").text(" inn").text("");
        f.i32(2).text("frDBDataSet1.F_Fam").text("").text("frDBDataSet1.F_Im").text(ru("Имя"));
        f.i32(2).text("frDBDataSet1").text("").text("frDBDataSet2").text("Periods");
        return f.endRecords();
    };
    report.setFieldResolver([](const std::string& ref) { return ref == "frDBDataSet1.F_Fam"; });
    load(dictionary(-2));
    const auto& d = report.Dictionary;
    ASSERT_EQ(d.Variables.Count(), 3);
    EXPECT_EQ(d.Variables.Name(0), " Header");
    EXPECT_EQ(d.Variables.Name(1), "reg_nom");
    EXPECT_EQ(d.Variables.Value("reg_nom"), Variant("[reg_nom]"));
    EXPECT_EQ(d.FieldAliases.Count(), 2);
    EXPECT_EQ(d.SourceAliases.Count(), 2);

    report.setFieldResolver([](const std::string& ref) { return ref == "frDBDataSet1.F_Fam"; });
    load(dictionary(-1));
    ASSERT_EQ(d.FieldAliases.Count(), 2);
    report.setFieldResolver(nullptr);
    load(dictionary(-1));
    ASSERT_EQ(d.FieldAliases.Count(), 1);
    EXPECT_EQ(d.FieldAliases.Name(0), "frDBDataSet1.F_Im");
    ASSERT_EQ(d.SourceAliases.Count(), 1);
    EXPECT_EQ(d.SourceAliases.Name(0), "frDBDataSet2");
}

TEST_F(FrfReaderTest, DictionaryOldLayout) {
    FrfBytes f(22);
    f.header().page(9, 2100, 2970, false).u8(254);
    auto entry = [&](int kind, int index, const std::string& a, const std::string& b,
                     const std::string& name) {
        f.u8(kind).i32(index);
        for (const auto& t : {a, b, name})
            f.u8(static_cast<int>(t.size())).raw(t);
    };
    f.i32(5);
    entry(1, 0, "frDBDataSet1", "F_Fam", "fam");
    entry(2, 1, "", "1+2", "sum");
    entry(2, 8, "", "", "pages");
    entry(2, 99, "", "", "odd");
    entry(3, 0, "x", "y", "other");
    f.lines({"People", " fam", " sum", " pages", " odd", " other", ""}).endRecords();
    load(f);
    ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
    const auto& v = report.Dictionary.Variables;
    ASSERT_EQ(v.Count(), 6);
    EXPECT_EQ(v.Name(0), " People");
    EXPECT_EQ(v.Name(1), "fam");
    EXPECT_EQ(v.Value("fam"), Variant("frDBDataSet1.\"F_Fam\""));
    EXPECT_EQ(v.Value("sum"), Variant("1+2"));
    EXPECT_EQ(v.Value("pages"), Variant("TOTALPAGES"));
    EXPECT_EQ(v.Value("odd"), Variant(""));
    EXPECT_EQ(v.Value("other"), Variant(""));
}

class PasswordTest : public FrfReaderTest {
protected:
    std::string protectedFile() {
        FrfBytes f(25);
        f.header().page().memo("Secret").endRecords().info(1, 2, "pw", 1);
        return f.str();
    }
};

TEST_F(PasswordTest, AskedOnlyForFilesAndAWrongAnswerClearsTheReport) {
    struct Case {
        std::optional<std::string> answer;
        bool opened;
    } cases[] = {{std::string("pw"), true}, {std::string("PW"), false}, {std::nullopt, false}};
    std::string path = (std::filesystem::temp_directory_path() / "pv_password_test.frf").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << protectedFile();
    }
    for (const auto& c : cases) {
        ui.clear();
        ui.queuePassword(c.answer);
        ASSERT_TRUE(report.LoadFromFile(path));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].caption, ru("Пароль"));
        EXPECT_EQ(ui.messages()[0].text, ru("Введите пароль для открытия отчета"));
        ASSERT_EQ(report.PageCount(), 1);
        EXPECT_EQ(report.Pages[0]->Objects.size(), c.opened ? 1u : 0u);
        EXPECT_EQ(report.FileName, c.opened ? path : "Untitled");
        EXPECT_EQ(report.Info.PasswordSet, c.opened ? 1 : 0);
    }
    std::filesystem::remove(path);

    ui.clear();
    load(protectedFile(), false);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(report.Pages[0]->Objects.size(), 1u);
}

TEST_F(FrfReaderTest, LoadFromMissingFileChangesNothing) {
    report.AddPage().Name = "Mine";
    report.FileName = "before.frf";
    EXPECT_FALSE(report.LoadFromFile("/nonexistent/dir/x.frf"));
    EXPECT_EQ(report.Pages[0]->Name, "Mine");
    EXPECT_EQ(report.FileName, "before.frf");
}

TEST_F(FrfReaderTest, OldLinesEncoding) {
    struct Case {
        std::string stored;
        Lines lines;
    } cases[] = {{"", {}}, {"a", {"a"}}, {"a\r", {"a"}}, {"a\r\rb", {"a", "", "b"}}, {"\r", {""}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        // The memo lines sit right after the display format text (one byte 0 in edition 22).
        FrfBytes g(22);
        g.header().page(9, 2100, 2970, false);
        g.beginObject(0);
        g.i32(5).i32(6).i32(70).i32(18).u16(3).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF).i32(556);
        g.u8(0).raw(c.stored).u8(0).memoFields().endRecords();
        load(g);
        ASSERT_EQ(report.lastLoad(), LoadResult::Ok) << report.lastLoadDetail();
        EXPECT_EQ(object(0, 0).Memo, c.lines);
    }
}

} // namespace
} // namespace pv
