// The report's handlers, for a program that uses the engine as a library:
// each is called at its moment when assigned.
#include "report/model/MemoView.h"
#include "tests/report/prepare/PreparedReportFixture.h"

namespace pv {
namespace {

using testing_support::firstLines;

class ReportEventsTest : public testing_support::PreparedReportFixture {
protected:
    ReportEventsTest() {
        report_.AddPage();
        people({"A", "B"});
        TfrBandView& data = band(page(), btMasterData, "Data", 100, 20, "frDBDataSet1");
        data.Flags = flBandNewPageAfter;
        memo(page(), "Row", 100, "[F_Fam]");
    }
    TfrPage& page() { return report_.Page(0); }
    std::vector<std::string> calls_;
    void log(const std::string& s) { calls_.push_back(s); }
};

TEST_F(ReportEventsTest, DocumentPageAndBandEventsComeInOrder) {
    TfrReportEvents& e = report_.Events;
    e.OnBeginDoc = [&] { log("doc"); };
    e.OnEndDoc = [&] { log("/doc"); };
    e.OnBeginPage = [&](int p) { log("page " + std::to_string(p)); };
    e.OnEndPage = [&](int p) { log("/page " + std::to_string(p)); };
    e.OnBeginBand = [&](TfrBandView* b) { log("band " + (b ? b->Name : std::string("-"))); };
    e.OnEndBand = [&](TfrBandView* b) { log("/band"); };
    e.OnProgress = [&](int pages) { log("progress " + std::to_string(pages)); };
    prepare(report_);
    EXPECT_EQ(calls_, (std::vector<std::string>{"doc", "page 0", "progress 1", "band Data", "/band",
                                                "/page 0", "page 1", "progress 2", "band Data",
                                                "/band", "/page 1", "/doc"}));
}

TEST_F(ReportEventsTest, BeforePrintChangesTheLinesAnObjectPrints) {
    report_.Events.OnBeforePrint = [](Lines& lines, TfrView& view) {
        if (view.Name == "Row") lines = {"[F_Fam]!"};
    };
    prepare(report_);
    EXPECT_EQ(firstLines(report_, 0), (std::vector<std::string>{"[F_Fam]!"}))
        << "changed lines print as they are";
}

TEST_F(ReportEventsTest, GetValueAndUserFunctionAnswerWhatTheEngineDoesNotKnow) {
    dynamic_cast<TfrMemoView&>(*page().Objects.back()).Memo = {"[F_Fam] [Extra] [TWICE(F_Fam)]"};
    report_.Events.OnGetValue = [](std::string_view name) -> std::optional<Variant> {
        if (name == "Extra") return Variant("x");
        return std::nullopt;
    };
    report_.Events.OnUserFunction = [](std::string_view name, const std::string& p1,
                                       const std::string&,
                                       const std::string&) -> std::optional<Variant> {
        if (name == "TWICE") return Variant(p1 + p1);
        return std::nullopt;
    };
    prepare(report_);
    EXPECT_EQ(firstLines(report_, 0), (std::vector<std::string>{"A x F_FamF_Fam"}));
    EXPECT_TRUE(ui_.messages().empty());
}

TEST_F(ReportEventsTest, ManualBuildPrintsOnlyTheBandsItShows) {
    TfrBandView& title = band(page(), btReportTitle, "Title", 0, 20);
    memo(page(), "T", 0, "title");
    (void)title;
    std::vector<std::string> built;
    report_.Events.OnManualBuild = [&](TfrPage& p,
                                       const std::function<void(std::string_view)>& showBand) {
        built.push_back(p.Name);
        showBand("Title");
        showBand("Title");
    };
    prepare(report_);
    ASSERT_EQ(report_.EMFPages().Count(), 1);
    EXPECT_EQ(firstLines(report_, 0), (std::vector<std::string>{"title", "title"}));
    EXPECT_EQ(built.size(), 1u);
}

} // namespace
} // namespace pv
