// Band columns print a band's rows side by side; cross-tab bands, which this
// engine does not print, are refused before any page is formed.
#include "tests/report/prepare/PreparedReportFixture.h"

namespace pv {
namespace {

using testing_support::PreparedText;
using testing_support::preparedTexts;

class BandColumnsTest : public testing_support::PreparedReportFixture {
protected:
    TfrPage& page() { return report_.Page(0); }
    // Each object's first line with its place relative to the first one.
    std::vector<std::string> placed(int p) {
        std::vector<std::string> out;
        const std::vector<PreparedText> texts = preparedTexts(report_, p);
        for (const PreparedText& t : texts)
            out.push_back(t.text() + "@" + std::to_string(t.left - texts[0].left) + "," +
                          std::to_string(t.top - texts[0].top));
        return out;
    }
};

TEST_F(BandColumnsTest, RowsGoSideBySideAndTheNextBandBelowAtTheLeft) {
    report_.AddPage();
    people({"A", "B", "C", "D", "E"});
    TfrBandView& data = band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
    data.Columns = 3;
    data.ColumnWidth = 150;
    data.ColumnGap = 10;
    memo(page(), "Row", 100, "[F_Fam]");
    band(page(), btReportSummary, "Summary", 200, 20);
    memo(page(), "End", 200, "end");
    prepare(report_);
    EXPECT_EQ(placed(0), (std::vector<std::string>{"A@0,0", "B@160,0", "C@320,0", "D@0,20",
                                                   "E@160,20", "end@0,40"}));
}

TEST_F(BandColumnsTest, CrossBandsAreRefusedWithAMessageNamingTheBand) {
    report_.AddPage();
    people({"A"});
    band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
    memo(page(), "Row", 100, "[F_Fam]");
    TfrBandView& cross = band(page(), btCrossData, "Cross1", 0, 400, "frDBDataSet2");
    cross.Left = 300;
    cross.Width = 100;
    prepare(report_);
    EXPECT_EQ(report_.EMFPages().Count(), 0) << "nothing misprinted";
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_NE(ui_.messages()[0].text.find("Cross1"), std::string::npos);
    EXPECT_EQ(ui_.messages()[0].caption, ru("Ошибка"));
}

} // namespace
} // namespace pv
