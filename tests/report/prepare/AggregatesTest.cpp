// SUM, AVG, MIN, MAX and COUNT printed by footers and summaries of a report
// prepared over a memory table.
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/MemoryTable.h"
#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepared/PreparedPages.h"
#include "report/template/Report.h"
#include "tests/support/TemplateBuilding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pv {
namespace {

struct Row {
    std::string group;
    double amount;
};

class AggregatesTest : public ::testing::Test {
protected:
    AggregatesTest()
        : format_(SystemFormat{}),
          table_("Table2", {{"F_Grp", TFieldType::ftString, 20}, {"F_Sum", TFieldType::ftFloat}}),
          source_("frDBDataSet1") {
        source_.SetDataSet(&table_);
        sources_.add(source_);
        report_.setUi(&ui_);
        report_.setClock([] { return 45000.5; });
        page_ = &report_.AddPage();
    }

    void rows(const std::vector<Row>& values) {
        table_.Open();
        for (const Row& row : values) {
            table_.Append();
            table_.FieldByName("F_Grp").SetAsString(row.group);
            table_.FieldByName("F_Sum").SetAsFloat(row.amount);
            table_.Post();
        }
    }
    void amounts(const std::vector<double>& values) {
        std::vector<Row> list;
        for (double v : values)
            list.push_back({"", v});
        rows(list);
    }

    // A band with one text box at its top.
    TfrBandView& band(int type, const std::string& name, int top, int height,
                      const std::string& text, const std::string& format = {}) {
        TfrBandView& b = testing_support::addBandView(*page_, type, name, top, height, format);
        testing_support::addMemoView(*page_, "M" + name, top, text);
        return b;
    }
    TfrBandView& data(const std::string& text = "[F_Sum]") {
        return band(btMasterData, "Data", 40, 20, text, "frDBDataSet1");
    }

    void prepare() {
        ReportPreparation preparation(report_, sources_);
        preparation.Prepare();
        error_ = preparation.errorMessage();
    }
    int pageCount() { return report_.EMFPages().Count(); }
    std::vector<std::string> texts(int page) {
        std::vector<std::string> out;
        for (const auto& view : report_.EMFPages().Objects(page).Objects)
            out.push_back(view->Memo.empty() ? std::string() : view->Memo.front());
        return out;
    }
    // The texts of one page that start with `prefix`.
    std::vector<std::string> textsStarting(int page, const std::string& prefix) {
        std::vector<std::string> out;
        for (const std::string& t : texts(page))
            if (t.starts_with(prefix)) out.push_back(t);
        return out;
    }

    ScopedSystemFormat format_;
    TRxMemoryData table_;
    TfrDBDataSet source_;
    DataSourceRegistry sources_;
    ScriptedUi ui_;
    TfrReport report_;
    TfrPage* page_ = nullptr;
    std::optional<std::string> error_;
};

TEST_F(AggregatesTest, GroupFooterRestartsPerGroupWhileTheSummarySeesAllRows) {
    rows({{"A", 1}, {"A", 2}, {"B", 3}, {"C", 4}, {"C", 5}});
    band(btGroupHeader, "GH", 10, 20, "G [F_Grp]", "[frDBDataSet1.\"F_Grp\"]");
    data();
    band(btGroupFooter, "GF", 70, 20, "sum [SUM([F_Sum])] count [COUNT(Data)]");
    band(btReportSummary, "Total", 100, 20, "total [SUM([F_Sum])]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "sum"),
              (std::vector<std::string>{"sum 3 count 2", "sum 3 count 1", "sum 9 count 2"}));
    EXPECT_EQ(textsStarting(0, "total"), (std::vector<std::string>{"total 15"}));
}

TEST_F(AggregatesTest, AverageOfAGroupDividesByThatGroupsRows) {
    rows({{"A", 1}, {"A", 4}, {"B", 3}, {"C", 2}, {"C", 4}, {"C", 9}});
    band(btGroupHeader, "GH", 10, 20, "G [F_Grp]", "[frDBDataSet1.\"F_Grp\"]");
    data();
    band(btGroupFooter, "GF", 70, 20, "avg [AVG([F_Sum])]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(
        textsStarting(0, "avg"),
        (std::vector<std::string>{"avg 2" + std::string(1, systemFormat().decimalSeparator) + "5",
                                  "avg 3", "avg 5"}));
}

struct SummaryCase {
    const char* what;
    std::vector<double> values;
    std::string text;
    std::string expected;
};

class SummaryAggregateTest : public AggregatesTest,
                             public ::testing::WithParamInterface<SummaryCase> {};

TEST_P(SummaryAggregateTest, OverAllRows) {
    const SummaryCase& c = GetParam();
    amounts(c.values);
    data();
    band(btReportSummary, "Total", 100, 20, "= " + c.text);
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "="), (std::vector<std::string>{"= " + c.expected}));
}

INSTANTIATE_TEST_SUITE_P(
    Functions, SummaryAggregateTest,
    ::testing::Values(
        SummaryCase{"Sum", {5, -2, 7, 10}, "[SUM([F_Sum])]", "20"},
        SummaryCase{"Count", {5, -2, 7, 10}, "[COUNT(Data)]", "4"},
        SummaryCase{"Avg", {5, -2, 7, 10}, "[AVG([F_Sum])]", "5"},
        SummaryCase{"Min", {5, -2, 7, 10}, "[MIN([F_Sum])]", "-2"},
        SummaryCase{"Max", {5, -2, 7, 10}, "[MAX([F_Sum])]", "10"},
        // MAX starts at 0, as stored templates expect.
        SummaryCase{"MaxOfNegatives", {-3, -1, -7}, "[MAX([F_Sum])]", "0"},
        SummaryCase{"MinOfNegatives", {-3, -1, -7}, "[MIN([F_Sum])]", "-7"},
        SummaryCase{"NamedBand", {1, 2}, "[SUM([F_Sum], Data)]", "3"},
        SummaryCase{"InArithmetic", {1, 2}, "[SUM([F_Sum]) * 10 + COUNT(Data)]", "32"},
        SummaryCase{"SameCallTwice", {1, 2}, "[SUM([F_Sum])] [SUM([F_Sum])]", "3 3"},
        SummaryCase{"TwoExpressions", {1, 2}, "[SUM([F_Sum])] [SUM([F_Sum] * 2)]", "3 6"},
        SummaryCase{"AvgWithoutRows", {}, "[AVG([F_Sum])]", "0"},
        SummaryCase{"OtherBandNamed", {1, 2}, "[SUM([F_Sum], Total)]", "0"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(AggregatesTest, PageFooterSumsTheRowsOfItsOwnPage) {
    std::vector<double> values;
    for (int i = 1; i <= 120; ++i)
        values.push_back(i);
    amounts(values);
    data("row [F_Sum]");
    band(btPageFooter, "PF", 1000, 20, "page [SUM([F_Sum])] [COUNT(Data)]").Flags =
        flBandOnFirstPage | flBandOnLastPage;
    prepare();
    ASSERT_FALSE(error_) << *error_;
    ASSERT_GT(pageCount(), 1);
    int seen = 0;
    for (int p = 0; p < pageCount(); ++p) {
        int sum = 0, count = 0;
        for (const std::string& t : textsStarting(p, "row ")) {
            sum += std::stoi(t.substr(4));
            ++count;
        }
        seen += count;
        EXPECT_EQ(
            textsStarting(p, "page"),
            (std::vector<std::string>{"page " + std::to_string(sum) + " " + std::to_string(count)}))
            << "page " << p + 1;
    }
    EXPECT_EQ(seen, 120);
}

TEST_F(AggregatesTest, InvisibleRowsCountOnlyWhenTheCallIncludesThem) {
    amounts({1, 2, 6});
    data().Visible = 0;
    band(btReportSummary, "Total", 100, 20,
         "= [SUM([F_Sum])] [SUM([F_Sum], Data, 1)] [MAX([F_Sum], Data, 1)] [COUNT(Data)] "
         "[AVG([F_Sum])] [AVG([F_Sum], Data, 1)]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "="), (std::vector<std::string>{"= 0 9 6 0 0 3"}));
}

// The row count AVG divides by is the data band's: a group footer restarting
// it leaves the summary's sum whole but its average without rows.
TEST_F(AggregatesTest, AverageSharesItsRowCountWithTheGroupFooter) {
    rows({{"A", 1}, {"A", 3}, {"B", 8}});
    band(btGroupHeader, "GH", 10, 20, "G [F_Grp]", "[frDBDataSet1.\"F_Grp\"]");
    data();
    band(btGroupFooter, "GF", 70, 20, "avg [AVG([F_Sum])]");
    band(btReportSummary, "Total", 100, 20, "total [AVG([F_Sum])]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "avg"), (std::vector<std::string>{"avg 2", "avg 8"}));
    EXPECT_EQ(textsStarting(0, "total"), (std::vector<std::string>{"total 0"}));
}

TEST_F(AggregatesTest, SummaryOfADoublePassReportSeesTheRowsInTheFinalPass) {
    amounts({1, 2, 3});
    report_.DoublePass = 1;
    data();
    band(btReportSummary, "Total", 100, 20, "= [SUM([F_Sum])]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "="), (std::vector<std::string>{"= 6"}));
}

TEST_F(AggregatesTest, AggregateInAScriptAndThroughADictionaryVariable) {
    amounts({1, 2, 3});
    data();
    band(btReportSummary, "Total", 100, 20, "= [Doubled] [Tripled]").Script = {
        "Tripled := SUM([F_Sum]) * 3"};
    report_.Dictionary.Variables.SetValue("Doubled", Variant("SUM([F_Sum]) * 2"));
    report_.Dictionary.Variables.SetValue("Tripled", Variant("0"));
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "="), (std::vector<std::string>{"= 12 18"}));
}

// Detail rows carry their master's group in F_Grp; the filter shows those of
// the current master row.
class DetailAggregatesTest : public AggregatesTest {
protected:
    DetailAggregatesTest()
        : details_("Table3", {{"F_Grp", TFieldType::ftString, 20}, {"F_Sum", TFieldType::ftFloat}}),
          detailSource_("frDBDataSet2") {
        detailSource_.SetDataSet(&details_);
        sources_.add(detailSource_);
        details_.Open();
        for (const Row& row : std::vector<Row>{{"A", 1}, {"A", 2}, {"B", 5}, {"C", 7}}) {
            details_.Append();
            details_.FieldByName("F_Grp").SetAsString(row.group);
            details_.FieldByName("F_Sum").SetAsFloat(row.amount);
            details_.Post();
        }
        details_.SetOnFilterRecord([this](TRxMemoryData& t, bool& accept) {
            accept = t.FieldByName("F_Grp").AsString() == table_.FieldByName("F_Grp").AsString();
        });
        details_.SetFiltered(true);
        rows({{"A", 0}, {"B", 0}, {"C", 0}});
        band(btMasterData, "Data", 40, 20, "[frDBDataSet1.\"F_Grp\"]", "frDBDataSet1");
        band(btDetailData, "Detail", 70, 20, "[frDBDataSet2.\"F_Sum\"]", "frDBDataSet2");
    }

    TRxMemoryData details_;
    TfrDBDataSet detailSource_;
};

TEST_F(DetailAggregatesTest, DetailFooterRestartsForEveryMasterRow) {
    band(btDetailFooter, "DF", 100, 20,
         "sub [SUM([frDBDataSet2.\"F_Sum\"])] [COUNT(Detail)] [MAX([frDBDataSet2.\"F_Sum\"])]");
    band(btMasterFooter, "MF", 130, 20, "masters [COUNT(Data)]");
    band(btReportSummary, "Total", 160, 20,
         "total [SUM([frDBDataSet2.\"F_Sum\"], Detail)] [AVG([frDBDataSet2.\"F_Sum\"], Detail)]");
    prepare();
    ASSERT_FALSE(error_) << *error_;
    EXPECT_EQ(textsStarting(0, "sub"),
              (std::vector<std::string>{"sub 3 2 2", "sub 5 1 5", "sub 7 1 7"}));
    EXPECT_EQ(textsStarting(0, "masters"), (std::vector<std::string>{"masters 3"}));
    // The detail footers restart the detail rows' shared count after each
    // master row: the summary's sum is whole, its average has no rows left.
    EXPECT_EQ(textsStarting(0, "total"), (std::vector<std::string>{"total 15 0"}));
}

} // namespace
} // namespace pv
