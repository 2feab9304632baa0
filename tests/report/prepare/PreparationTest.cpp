// Preparing a report from a template over memory tables, read back from the
// prepared pages it leaves.
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/MemoryTable.h"
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/template/Report.h"
#include "tests/support/TemplateBuilding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pv {
namespace {

// One text box as it landed on a prepared page.
struct Printed {
    std::string text;
    int top = 0;
    bool operator==(const Printed&) const = default;
};

void PrintTo(const Printed& p, std::ostream* os) {
    *os << "{" << p.text << ", " << p.top << "}";
}

class PreparationTest : public ::testing::Test {
protected:
    PreparationTest()
        : format_(SystemFormat{}), table_("Table2", {{"F_Fam", TFieldType::ftString, 20},
                                                     {"F_Strax", TFieldType::ftString, 20}}),
          source_("frDBDataSet1") {
        source_.SetDataSet(&table_);
        sources_.add(source_);
        report_.setUi(&ui_);
        report_.setClock([] { return 45000.5; });
        page_ = &report_.AddPage();
        top_ = page_->PageInfo.offsetY; // no margins: the printer's offset
    }

    void rows(const std::vector<std::pair<std::string, std::string>>& values) {
        table_.Open();
        for (const auto& [fam, strax] : values) {
            table_.Append();
            table_.FieldByName("F_Fam").SetAsString(fam);
            table_.FieldByName("F_Strax").SetAsString(strax);
            table_.Post();
        }
    }
    void rowCount(int count) {
        std::vector<std::pair<std::string, std::string>> values;
        for (int i = 1; i <= count; ++i)
            values.push_back({"R" + std::to_string(i), ""});
        rows(values);
    }

    TfrBandView& band(int type, const std::string& name, int top, int height,
                      const std::string& format = {}) {
        return testing_support::addBandView(*page_, type, name, top, height, format);
    }
    TfrMemoView& memo(const std::string& name, int top, const std::string& text) {
        return testing_support::addMemoView(*page_, name, top, text);
    }
    // A band with one text box at its top.
    TfrBandView& bandWith(int type, const std::string& name, int top, int height,
                          const std::string& text, const std::string& format = {}) {
        TfrBandView& b = band(type, name, top, height, format);
        memo("M" + name, top, text);
        return b;
    }

    void prepare() {
        ReportPreparation preparation(report_, sources_);
        preparation.setPrintIfEmpty(printIfEmpty_);
        preparation.Prepare();
    }
    int pageCount() { return report_.EMFPages().Count(); }
    // Preparation reloads the template, so its page is looked up afresh.
    int printableBottom() {
        const TfrPageInfo& info = report_.Page(0).PageInfo;
        return info.offsetY + info.printableHeight;
    }
    std::vector<Printed> printed(int page) {
        std::vector<Printed> out;
        for (const auto& view : report_.EMFPages().Objects(page).Objects) {
            const Lines& lines = view->Memo;
            out.push_back({lines.empty() ? std::string() : lines.front(), view->Top});
        }
        return out;
    }
    std::vector<std::string> texts(int page) {
        std::vector<std::string> out;
        for (const Printed& p : printed(page))
            out.push_back(p.text);
        return out;
    }

    ScopedSystemFormat format_;
    TRxMemoryData table_;
    TfrDBDataSet source_;
    DataSourceRegistry sources_;
    ScriptedUi ui_;
    TfrReport report_;
    TfrPage* page_ = nullptr;
    int top_ = 0;
    bool printIfEmpty_ = true;
};

TEST_F(PreparationTest, MasterBandPrintsOneRecordPerRowBelowEachOther) {
    rows({{"Ivanov", ""}, {"Petrov", ""}, {"Sidorov", ""}});
    bandWith(btMasterData, "Data", 100, 20, "[frDBDataSet1.\"F_Fam\"]", "frDBDataSet1");
    prepare();
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(printed(0), (std::vector<Printed>{
                              {"Ivanov", top_}, {"Petrov", top_ + 20}, {"Sidorov", top_ + 40}}));
}

TEST_F(PreparationTest, EmptyTablePrintsNeitherHeaderNorFooterButTitleAndSummary) {
    bandWith(btReportTitle, "Title", 0, 30, "Title");
    bandWith(btMasterHeader, "Head", 40, 20, "Head");
    bandWith(btMasterData, "Data", 70, 20, "[F_Fam]", "frDBDataSet1");
    bandWith(btMasterFooter, "Foot", 100, 20, "Foot");
    bandWith(btReportSummary, "Summary", 130, 20, "Summary");
    table_.Open();
    prepare();
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(printed(0), (std::vector<Printed>{{"Title", top_}, {"Summary", top_ + 30}}));

    printIfEmpty_ = false;
    prepare();
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(PreparationTest, HeaderAndFooterFrameTheRows) {
    rows({{"A", ""}, {"B", ""}});
    bandWith(btMasterHeader, "Head", 40, 20, "Head");
    bandWith(btMasterData, "Data", 70, 20, "[F_Fam] [LINE#]", "frDBDataSet1");
    bandWith(btMasterFooter, "Foot", 100, 20, "Foot");
    prepare();
    EXPECT_EQ(texts(0), (std::vector<std::string>{"Head", "A 1", "B 2", "Foot"}));
}

TEST_F(PreparationTest, OverflowStartsNewSheetsWithPageHeaderAndFooterOnEach) {
    rowCount(60);
    bandWith(btPageHeader, "PH", 0, 20, "Header [PAGE#]").Flags = flBandOnFirstPage;
    bandWith(btMasterData, "Data", 40, 40, "[F_Fam]", "frDBDataSet1");
    bandWith(btPageFooter, "PF", 200, 20, "Footer [PAGE#]").Flags =
        flBandOnFirstPage | flBandOnLastPage;
    prepare();
    ASSERT_GT(pageCount(), 1);
    int rowsSeen = 0;
    for (int p = 0; p < pageCount(); ++p) {
        std::vector<Printed> page = printed(p);
        const std::string number = std::to_string(p + 1);
        ASSERT_GE(page.size(), 3u) << "page " << number;
        EXPECT_EQ(page.front(), (Printed{"Header " + number, top_}));
        EXPECT_EQ(page.back().text, "Footer " + number);
        const int bottom = printableBottom();
        EXPECT_EQ(page.back().top, bottom - 20);
        for (size_t i = 1; i + 1 < page.size(); ++i) {
            EXPECT_EQ(page[i].text, "R" + std::to_string(++rowsSeen));
            EXPECT_LE(page[i].top + 40, bottom - 20);
        }
    }
    EXPECT_EQ(rowsSeen, 60);
}

TEST_F(PreparationTest, GroupHeaderOncePerRunAndFooterShowsTheGroupsLastRow) {
    rows({{"a1", "A"}, {"a2", "A"}, {"b1", "B"}, {"c1", "C"}, {"c2", "C"}});
    bandWith(btGroupHeader, "GH", 10, 20, "G [F_Strax]", "[frDBDataSet1.\"F_Strax\"]");
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    bandWith(btGroupFooter, "GF", 70, 20, "end [F_Fam]");
    prepare();
    EXPECT_EQ(texts(0), (std::vector<std::string>{"G A", "a1", "a2", "end a2", "G B", "b1",
                                                  "end b1", "G C", "c1", "c2", "end c2"}));
}

TEST_F(PreparationTest, ScriptCallingNewPagePrintsItsBandAtTheTopOfANewSheet) {
    rows({{"A", ""}, {"B", ""}, {"C", ""}});
    TfrBandView& data = bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    data.Script = {"if [LINE#] = 3 then NewPage"};
    prepare();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(printed(0), (std::vector<Printed>{{"A", top_}, {"B", top_ + 20}}));
    EXPECT_EQ(printed(1), (std::vector<Printed>{{"C", top_}}));
}

TEST_F(PreparationTest, DoublePassKnowsTheTotalPageCount) {
    report_.DoublePass = kTrue;
    rows({{"A", ""}, {"B", ""}});
    TfrBandView& data =
        bandWith(btMasterData, "Data", 40, 20, ru("[PAGE#] из [TOTALPAGES]"), "frDBDataSet1");
    data.Flags = flBandNewPageAfter;
    prepare();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(texts(0), (std::vector<std::string>{ru("1 из 2")}));
    EXPECT_EQ(texts(1), (std::vector<std::string>{ru("2 из 2")}));
}

TEST_F(PreparationTest, ExpressionErrorDiscardsThePagesAndReportsOnce) {
    rows({{"A", ""}, {"B", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    bandWith(btMasterFooter, "Foot", 70, 20, "[NoSuchName]");
    ReportPreparation preparation(report_, sources_);
    preparation.Prepare();
    EXPECT_EQ(pageCount(), 0);
    ASSERT_EQ(ui_.messages().size(), 1u);
    const std::string expected = ru("Возникла ошибка при обработке выражения") +
                                 "\r[NoSuchName]\r\r" + ru("Документ:") + " frReport1\r" +
                                 ru("Объект:") + " MFoot\r\r";
    EXPECT_EQ(ui_.messages()[0].text.substr(0, expected.size()), expected);
    EXPECT_EQ(ui_.messages()[0].caption, ru("Ошибка"));
    EXPECT_EQ(preparation.errorMessage(), ui_.messages()[0].text);
}

TEST_F(PreparationTest, EndlessScriptEndsAsAnError) {
    rows({{"A", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1").Script = {
        "while 1 = 1 do x := 1"};
    prepare();
    EXPECT_EQ(pageCount(), 0);
    EXPECT_EQ(ui_.messages().size(), 1u);
}

TEST_F(PreparationTest, DataSourceThatCannotBeOpenedPropagates) {
    TfrDBDataSet orphan("frDBDataSet9");
    sources_.add(orphan);
    bandWith(btMasterData, "Data", 40, 20, "x", "frDBDataSet9");
    ReportPreparation preparation(report_, sources_);
    EXPECT_THROW(preparation.Prepare(), DataSetOpenError);
    // The template is whole again: its objects are where they were designed.
    ASSERT_EQ(report_.PageCount(), 1);
    EXPECT_EQ(report_.Page(0).Objects.at(1)->Top, 40);
}

TEST_F(PreparationTest, ScriptChangesToObjectsAreUndoneAfterPreparation) {
    rows({{"A", ""}, {"B", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1").Script = {
        "MData.Visible := False"};
    prepare();
    EXPECT_EQ(pageCount(), 1);
    EXPECT_TRUE(printed(0).empty());
    ASSERT_EQ(report_.PageCount(), 1);
    EXPECT_NE(report_.FindObject("MData")->Visible, 0);
    EXPECT_EQ(report_.FindObject("MData")->Top, 40);
}

TEST_F(PreparationTest, SystemVariablesTellTheReportAndWhereItStands) {
    report_.Info.ReportName = ru("Анкета");
    report_.Info.ReportComment = "comment";
    report_.Info.ReportAutor = "author";
    report_.Info.VMajor = "1";
    report_.Info.VMinor = "2";
    report_.Info.VRelease = "3";
    report_.Info.VBuild = "4";
    report_.Info.CreationDate = 38874; // 06.06.2006
    report_.Info.LastChangeDate = 38875.5;
    bandWith(btReportTitle, "Title", 0, 20,
             "[REPORTNAME] [REPORTCOMMENT] [REPORTAUTOR] [VMAJOR].[VMINOR].[VRELEASE].[VBUILD] "
             "[REPORTDATE #Ddd.mm.yyyy] [REPORTLASTCHANGE #Ddd.mm.yyyy hh:nn]");
    rows({{"A", ""}, {"B", ""}, {"C", ""}});
    TfrBandView& data = bandWith(btMasterData, "Data", 40, 20,
                                 "[F_Fam] [LINE#] [CURRENT#] [COLUMN#]", "frDBDataSet1");
    data.Script = {"if [LINE#] = 3 then NewPage"};
    prepare();
    ASSERT_TRUE(ui_.messages().empty()) << ui_.messages()[0].text;
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(texts(0), (std::vector<std::string>{
                            ru("Анкета comment author 1.2.3.4 06.06.2006 07.06.2006 12:00"),
                            "A 1 1 1", "B 2 2 1"}));
    // CURRENT# counts the rows of the sheet, LINE# those of the band.
    EXPECT_EQ(texts(1), (std::vector<std::string>{"C 3 1 1"}));
}

TEST_F(PreparationTest, CalcWidthIsWhatTheExpandedTextNeeds) {
    rows({{"A", ""}});
    band(btMasterData, "Data", 40, 20, "frDBDataSet1");
    memo("Narrow", 40, "[F_Fam]").Script = {"wNarrow := CALCWIDTH"};
    memo("Wide", 40, "[F_Fam][F_Fam][F_Fam][F_Fam][F_Fam][F_Fam]").Script = {"wWide := CALCWIDTH"};
    bandWith(btReportSummary, "Sum", 80, 20,
             "[IF(wNarrow > 0, 'y', 'n')][IF(wWide > 2 * wNarrow, 'y', 'n')][IF(wWide < 300, "
             "'y', 'n')]");
    prepare();
    ASSERT_TRUE(ui_.messages().empty()) << ui_.messages()[0].text;
    EXPECT_EQ(texts(0).back(), "yyy");
}

TEST_F(PreparationTest, PictureConstantsAndPictureBytesAreKnown) {
    auto picture = std::make_unique<TfrPictureView>();
    picture->Name = "Pic1";
    picture->Top = 200;
    picture->Picture = {gkBitmap, std::string("BM\0\1\2", 5)};
    page_->Objects.push_back(std::move(picture));
    memo("Shown", 0, "[btBMP] [btJPG] [btICO] [btWMF] [LENGTH(Pic1.Picture)]");
    prepare();
    ASSERT_TRUE(ui_.messages().empty()) << ui_.messages()[0].text;
    const std::vector<std::string> shown = texts(0);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "0 1 2 3 5"), shown.end());
}

TEST_F(PreparationTest, BandPropertiesAreThoseOfTheRunningBand) {
    rows({{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}});
    TfrBandView& data =
        bandWith(btMasterData, "Data", 40, 20, "[F_Fam] [Data.Height] [Data.EOF] [Data.DataSource]",
                 "frDBDataSet1");
    // The second row is printed taller; the third is skipped by moving on.
    data.Script = {"if [LINE#] = 2 then Data.Height := 40;", "if [F_Fam] = 'C' then Data.NEXT"};
    bandWith(btReportSummary, "Sum", 80, 20, "[Data.EOF]");
    prepare();
    ASSERT_TRUE(ui_.messages().empty()) << ui_.messages()[0].text;
    EXPECT_EQ(printed(0), (std::vector<Printed>{{"A 20 False frDBDataSet1", top_},
                                                {"B 40 False frDBDataSet1", top_ + 20},
                                                {"D 40 False frDBDataSet1", top_ + 60},
                                                {"True", top_ + 100}}));
}

TEST_F(PreparationTest, ScriptWithASyntaxErrorRunsWhatCameBeforeIt) {
    rows({{"A", ""}});
    band(btMasterData, "Data", 40, 20, "frDBDataSet1");
    memo("Box", 40, "[sa]").Script = {"sa := 5; sb := 1 sc := 2; sa := 7"};
    prepare();
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_EQ(texts(0), (std::vector<std::string>{"5"}));
}

TEST_F(PreparationTest, ErrorInAnObjectsScriptNamesTheObjectAndItsText) {
    rows({{"A", ""}});
    band(btMasterData, "Data", 40, 20, "frDBDataSet1");
    TfrMemoView& box = memo("Box", 40, "first");
    box.Memo.push_back("[F_Fam]");
    box.Script = {"x := NoSuchName"};
    prepare();
    EXPECT_EQ(pageCount(), 0);
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_EQ(ui_.messages()[0].text, ru("Возникла ошибка при обработке выражения") +
                                          "\rfirst\r[F_Fam]\r\r" + ru("Документ:") +
                                          " frReport1\r" + ru("Объект:") + " Box\r\r" +
                                          ru("Переменная не определена:") + " \"NOSUCHNAME\"");
}

TEST_F(PreparationTest, GroupConditionThatDoesNotCompileNamesItsBand) {
    rows({{"A", ""}});
    bandWith(btGroupHeader, "Group1", 20, 20, "g", "(F_Fam");
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    prepare();
    EXPECT_EQ(pageCount(), 0);
    ASSERT_EQ(ui_.messages().size(), 1u);
    const std::string expected = ru("Возникла ошибка при обработке выражения") + "\r\r" +
                                 ru("Документ:") + " frReport1\r" + ru("Объект:") + " Group1\r\r";
    EXPECT_EQ(ui_.messages()[0].text.substr(0, expected.size()), expected);
}

TEST_F(PreparationTest, StopReportEndsAfterTheCurrentBandHasPrinted) {
    struct {
        const char* bandScript;
        const char* objectScript;
    } cases[] = {{"if [F_Fam] = 'B' then STOPREPORT", ""},
                 {"", "if [F_Fam] = 'B' then StopReport"}};
    for (const auto& c : cases) {
        report_.Clear();
        page_ = &report_.AddPage();
        table_.Close();
        rows({{"A", ""}, {"B", ""}, {"C", ""}});
        TfrBandView& data = band(btMasterData, "Data", 40, 20, "frDBDataSet1");
        if (*c.bandScript) data.Script = {c.bandScript};
        TfrMemoView& first = memo("First", 40, "[F_Fam]");
        if (*c.objectScript) first.Script = {c.objectScript};
        memo("Second", 40, "x[F_Fam]");
        bandWith(btReportSummary, "Sum", 80, 20, "summary");
        prepare();
        EXPECT_EQ(texts(0), (std::vector<std::string>{"A", "xA", "B", "xB"}))
            << c.bandScript << c.objectScript;
    }
}

// Detail rows carry their master's surname in F_Strax; the filter shows those
// of the current master row, as the program ties its tables together.
class MasterDetailTest : public PreparationTest {
protected:
    MasterDetailTest()
        : details_("Table3",
                   {{"F_Fam", TFieldType::ftString, 20}, {"F_Strax", TFieldType::ftString, 20}}),
          detailSource_("frDBDataSet2") {
        detailSource_.SetDataSet(&details_);
        sources_.add(detailSource_);
        details_.Open();
        for (const auto& [period, owner] : std::vector<std::pair<std::string, std::string>>{
                 {"p1", "A"}, {"p2", "A"}, {"p3", "C"}}) {
            details_.Append();
            details_.FieldByName("F_Fam").SetAsString(period);
            details_.FieldByName("F_Strax").SetAsString(owner);
            details_.Post();
        }
        details_.SetOnFilterRecord([this](TRxMemoryData& t, bool& accept) {
            accept = t.FieldByName("F_Strax").AsString() == table_.FieldByName("F_Fam").AsString();
        });
        details_.SetFiltered(true);
        rows({{"A", ""}, {"B", ""}, {"C", ""}});
        master_ =
            &bandWith(btMasterData, "Data", 40, 20, "[frDBDataSet1.\"F_Fam\"]", "frDBDataSet1");
        bandWith(btDetailHeader, "DH", 70, 20, "periods");
        bandWith(btDetailData, "Detail", 100, 20, "[frDBDataSet2.\"F_Fam\"]", "frDBDataSet2");
    }

    TRxMemoryData details_;
    TfrDBDataSet detailSource_;
    TfrBandView* master_ = nullptr;
};

TEST_F(MasterDetailTest, MasterRowWithoutDetailsIsLeftOut) {
    prepare();
    EXPECT_EQ(texts(0),
              (std::vector<std::string>{"A", "periods", "p1", "p2", "C", "periods", "p3"}));
}

TEST_F(MasterDetailTest, PrintIfSubsetEmptyKeepsTheMasterRow) {
    master_->Flags = flBandPrintIfSubsetEmpty;
    prepare();
    EXPECT_EQ(texts(0),
              (std::vector<std::string>{"A", "periods", "p1", "p2", "B", "C", "periods", "p3"}));
}

// Every master row is dropped for want of details; the header and footer
// around them still close the list.
TEST_F(MasterDetailTest, FooterPrintsWithItsHeaderWhenEveryRowWasDropped) {
    details_.SetOnFilterRecord([](TRxMemoryData&, bool& accept) { accept = false; });
    bandWith(btMasterHeader, "MH", 10, 20, "masters");
    bandWith(btMasterFooter, "MF", 130, 20, "end");
    prepare();
    EXPECT_EQ(texts(0), (std::vector<std::string>{"masters", "end"}));
}

TEST_F(PreparationTest, BandThatDoesNotFitMovesWithItsRepeatedHeader) {
    rowCount(40);
    bandWith(btMasterHeader, "Head", 10, 30, "Head").Flags = flBandRepeatHeader;
    bandWith(btMasterData, "Data", 50, 45, "[F_Fam]", "frDBDataSet1");
    prepare();
    ASSERT_GT(pageCount(), 1);
    const int bottom = printableBottom();
    int rowsSeen = 0;
    for (int p = 0; p < pageCount(); ++p) {
        std::vector<Printed> page = printed(p);
        ASSERT_FALSE(page.empty());
        EXPECT_EQ(page.front(), (Printed{"Head", top_})) << "page " << p + 1;
        for (size_t i = 1; i < page.size(); ++i) {
            EXPECT_EQ(page[i].text, "R" + std::to_string(++rowsSeen));
            EXPECT_LE(page[i].top + 45, bottom);
        }
    }
    EXPECT_EQ(rowsSeen, 40);
}

TEST_F(PreparationTest, PageOnThePreviousSheetAfterAnInvisiblePageGoesOnTheLastSheet) {
    rows({{"A", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    TfrPage& hidden = report_.AddPage();
    hidden.Visible = false;
    testing_support::addMemoView(hidden, "Hidden", 10, "hidden");
    TfrPage& next = report_.AddPage();
    next.PrintToPrevPage = kTrue;
    testing_support::addBandView(next, btReportTitle, "Title2", 0, 20);
    testing_support::addMemoView(next, "Next", 0, "next");
    prepare();
    EXPECT_TRUE(ui_.messages().empty());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(printed(0), (std::vector<Printed>{{"A", top_}, {"next", top_ + 20}}));
}

// Page furniture is printed by the page break itself; a break it asks for
// is not served.
TEST_F(PreparationTest, NewPageInPageFurnitureIsIgnored) {
    for (int type : {btPageHeader, btColumnHeader}) {
        SCOPED_TRACE(type);
        report_.Clear();
        page_ = &report_.AddPage();
        table_.Close();
        rowCount(30);
        TfrBandView& furniture = bandWith(type, "Furniture", 0, 20, "furniture");
        furniture.Script = {"NewPage"};
        furniture.Flags = flBandOnFirstPage;
        bandWith(btMasterData, "Data", 40, 40, "[F_Fam]", "frDBDataSet1");
        prepare();
        ASSERT_TRUE(ui_.messages().empty());
        ASSERT_GT(pageCount(), 1);
        int rowsSeen = 0;
        for (int p = 0; p < pageCount(); ++p) {
            std::vector<std::string> page = texts(p);
            ASSERT_FALSE(page.empty());
            EXPECT_EQ(page.front(), "furniture");
            rowsSeen += int(page.size()) - 1;
        }
        EXPECT_EQ(rowsSeen, 30);
    }
}

TEST_F(PreparationTest, NewPageFromAScriptRepeatsTheHeaders) {
    rows({{"A", "X"}, {"B", "X"}, {"C", "X"}});
    bandWith(btGroupHeader, "GH", 0, 20, "G [F_Strax]", "[frDBDataSet1.\"F_Strax\"]").Flags =
        flBandRepeatHeader;
    bandWith(btMasterHeader, "Head", 30, 20, "Head").Flags = flBandRepeatHeader;
    bandWith(btMasterData, "Data", 60, 20, "[F_Fam]", "frDBDataSet1").Script = {
        "if [LINE#] = 3 then NewPage"};
    prepare();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(texts(0), (std::vector<std::string>{"Head", "G X", "A", "B"}));
    EXPECT_EQ(texts(1), (std::vector<std::string>{"G X", "Head", "C"}));
}

TEST_F(PreparationTest, ObjectsOutsideBandsPrintWhereTheyWereDesigned) {
    rows({{"A", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    TfrMemoView& outside = memo("Outside", 400, "outside");
    outside.Left = 50;
    prepare();
    ASSERT_EQ(pageCount(), 1);
    bool found = false;
    for (const auto& view : report_.EMFPages().Objects(0).Objects)
        if (!view->Memo.empty() && view->Memo.front() == "outside") {
            found = true;
            EXPECT_EQ(view->Left, 50);
            EXPECT_EQ(view->Top, 400);
        }
    EXPECT_TRUE(found);
}

TEST_F(PreparationTest, PageFooterOnTheLastSheetOnlyPrintsOnAOneSheetReport) {
    rows({{"A", ""}, {"B", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    bandWith(btPageFooter, "PF", 200, 20, "Footer [PAGE#]").Flags = flBandOnLastPage;
    prepare();
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(printed(0),
              (std::vector<Printed>{
                  {"A", top_}, {"B", top_ + 20}, {"Footer 1", printableBottom() - 20}}));
}

TEST_F(PreparationTest, WithoutPrintIfEmptyAMasterSourceThatCannotBeOpenedPrintsNothing) {
    TfrDBDataSet orphan("frDBDataSet9");
    sources_.add(orphan);
    bandWith(btReportTitle, "Title", 0, 20, "Title");
    bandWith(btMasterData, "Data", 40, 20, "x", "frDBDataSet9");
    printIfEmpty_ = false;
    EXPECT_NO_THROW(prepare());
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(PreparationTest, DataBandsWithoutTheirOwnSourcePrintWithTheFirstAsOneRow) {
    rows({{"A", ""}, {"B", ""}});
    bandWith(btMasterData, "Data", 40, 20, "[F_Fam]", "frDBDataSet1");
    bandWith(btMasterData, "Data2", 70, 20, "second [F_Fam]");
    bandWith(btMasterData, "Data3", 100, 20, "third [F_Fam]");
    prepare();
    EXPECT_EQ(printed(0), (std::vector<Printed>{{"A", top_},
                                                {"second A", top_ + 20},
                                                {"third A", top_ + 40},
                                                {"B", top_ + 60},
                                                {"second B", top_ + 80},
                                                {"third B", top_ + 100}}));
}

// A text box whose whole text names a memo field prints the field's lines as
// they are; a picture naming a blob field shows the field's image.
TEST_F(PreparationTest, WholeFieldObjectsTakeMemoLinesAndBlobImages) {
    TRxMemoryData notes("Table9",
                        {{"F_Note", TFieldType::ftMemo, 0}, {"F_Foto", TFieldType::ftBlob, 0}});
    TfrDBDataSet noteSource("frDBDataSet9");
    noteSource.SetDataSet(&notes);
    sources_.add(noteSource);
    notes.Open();
    notes.Append();
    notes.FieldByName("F_Note").SetAsString("first [line]\r\nsecond line");
    notes.FieldByName("F_Foto").SetAsString(std::string("BM\0\x01 bytes", 10));
    notes.Post();
    band(btMasterData, "Data", 40, 100, "frDBDataSet9");
    memo("Note", 40, "[frDBDataSet9.\"F_Note\"]");
    auto picture = std::make_unique<TfrPictureView>();
    picture->Name = "Foto";
    picture->Top = 70;
    picture->Width = picture->Height = 50;
    picture->Memo = {"[frDBDataSet9.\"F_Foto\"]"};
    page_->Objects.push_back(std::move(picture));
    prepare();
    ASSERT_TRUE(ui_.messages().empty());
    ASSERT_EQ(pageCount(), 1);
    const auto& objects = report_.EMFPages().Objects(0).Objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->Memo, (Lines{"first [line]", "second line"}));
    auto* printedPicture = dynamic_cast<TfrPictureView*>(objects[1].get());
    ASSERT_NE(printedPicture, nullptr);
    EXPECT_EQ(printedPicture->Picture.kind, gkBitmap);
    EXPECT_EQ(printedPicture->Picture.data, std::string("BM\0\x01 bytes", 10));
}

} // namespace
} // namespace pv
