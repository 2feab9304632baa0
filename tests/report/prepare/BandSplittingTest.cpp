// Bands too tall for what is left of a sheet: a band allowed to split, and a
// band taller than a whole sheet, are cut at the sheet's bottom after the
// last whole line of a text box, and the rest goes on the next sheets.
#include "tests/report/prepare/PreparedReportFixture.h"

#include <algorithm>

namespace pv {
namespace {

using testing_support::PreparedText;
using testing_support::preparedTexts;

// The text lines of the objects named `name` on every page, in order, with
// the layout's paragraph marks taken out.
std::vector<std::string> linesOf(TfrReport& report, const std::string& name) {
    std::vector<std::string> out;
    for (int p = 0; p < report.EMFPages().Count(); ++p)
        for (const PreparedText& t : preparedTexts(report, p)) {
            if (t.name != name) continue;
            for (std::string line : t.lines) {
                std::erase_if(line, [](char c) { return static_cast<unsigned char>(c) < ' '; });
                if (!line.empty()) out.push_back(line);
            }
        }
    return out;
}

class BandSplittingTest : public testing_support::PreparedReportFixture {
protected:
    TfrPage& page() { return report_.Page(0); }
    // A text box of `count` lines "L1"… whose height grows with them.
    TfrMemoView& longText(int top, int count, const std::string& name = "Long") {
        TfrMemoView& m = memo(page(), name, top, "");
        m.Memo = numbered("L", count);
        return m;
    }
    void expectEachBottomWithinSheet(const std::string& name) {
        for (int p = 0; p < report_.EMFPages().Count(); ++p)
            for (const PreparedText& t : preparedTexts(report_, p))
                if (t.name == name)
                    EXPECT_LE(t.top + t.height, sheetBottom(report_)) << "page " << p;
    }
};

TEST_F(BandSplittingTest, TextTallerThanThreeSheetsPrintsEveryLineOnceOnThreeSheets) {
    report_.AddPage();
    report_.DoublePass = kTrue;
    band(page(), btPageHeader, "PH", 0, 20).Flags = flBandOnFirstPage;
    memo(page(), "Head", 0, "[PAGE#]/[TOTALPAGES]");
    people({"A"});
    band(page(), btMasterData, "Data", 30, 20, "frDBDataSet1").Flags = flStretched;
    longText(30, 150);
    prepare(report_);

    ASSERT_EQ(report_.EMFPages().Count(), 3);
    EXPECT_EQ(linesOf(report_, "Long"), numbered("L", 150));
    EXPECT_EQ(linesOf(report_, "Head"), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    expectEachBottomWithinSheet("Long");
}

TEST_F(BandSplittingTest, SplitAllowedBandIsCutAtTheSheetBottomInsteadOfMoving) {
    report_.AddPage();
    // The rows leave three rows' room on their second sheet: less than the text needs.
    const int perSheet = (sheetBottom(report_) - sheetTop(report_)) / 20;
    people(numbered("P", 2 * perSheet - 3));
    band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
    memo(page(), "Row", 100, "[F_Fam]");
    band(page(), btReportSummary, "Summary", 200, 40).Flags = flStretched | flBandBreaked;
    longText(200, 10);

    prepare(report_);
    const int last = report_.EMFPages().Count() - 1;
    ASSERT_EQ(last, 2);
    auto names = [&](int p) {
        std::vector<std::string> out;
        for (const PreparedText& t : preparedTexts(report_, p))
            if (out.empty() || out.back() != t.name) out.push_back(t.name);
        return out;
    };
    EXPECT_EQ(names(last - 1), (std::vector<std::string>{"Row", "Long"}))
        << "the text starts under the last rows";
    EXPECT_EQ(names(last), (std::vector<std::string>{"Long"}));
    EXPECT_EQ(preparedTexts(report_, last).front().top, sheetTop(report_));
    EXPECT_EQ(linesOf(report_, "Long"), numbered("L", 10));
    expectEachBottomWithinSheet("Long");
}

TEST_F(BandSplittingTest, BandNotAllowedToSplitMovesWholeToTheNextSheet) {
    report_.AddPage();
    const int perSheet = (sheetBottom(report_) - sheetTop(report_)) / 20;
    people(numbered("P", 2 * perSheet - 3));
    band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
    memo(page(), "Row", 100, "[F_Fam]");
    band(page(), btReportSummary, "Summary", 200, 40).Flags = flStretched;
    longText(200, 10);
    prepare(report_);
    const int last = report_.EMFPages().Count() - 1;
    ASSERT_EQ(last, 2);
    std::vector<PreparedText> texts = preparedTexts(report_, last);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front().name, "Long");
    EXPECT_EQ(texts.front().top, sheetTop(report_));
    EXPECT_EQ(linesOf(report_, "Long"), numbered("L", 10));
}

// A child band drawn right under its data band owns the objects on its top
// edge and stretches with them, as the children further down do.
TEST_F(BandSplittingTest, ChildRightUnderItsDataBandStretches) {
    report_.AddPage();
    people({"Ivanov"});
    TfrBandView& data = band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
    data.ChildBand = "Child1";
    memo(page(), "Row", 100, "[F_Fam]");
    band(page(), btChild, "Child1", 120, 18).Flags = flStretched;
    TfrMemoView& text = longText(120, 5, "ChildText");
    text.Height = 18;
    prepare(report_);
    const std::vector<PreparedText> texts = preparedTexts(report_, 0);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].name, "ChildText");
    EXPECT_EQ(texts[1].top, texts[0].top + 20);
    EXPECT_GT(texts[1].height, 4 * 12) << "the five lines have room";
}

} // namespace
} // namespace pv
