// A composite report prepares its members one after the other into one list
// of prepared pages, numbered on from member to member.
#include "report/template/CompositeReport.h"
#include "tests/report/prepare/PreparedReportFixture.h"

namespace pv {
namespace {

using testing_support::firstLines;

class CompositeReportTest : public testing_support::PreparedReportFixture {
protected:
    CompositeReportTest() {
        for (TfrReport* r : {&a_, &b_, &c_, static_cast<TfrReport*>(&composite_)})
            setUp(*r);
        people({"Ivanov", "Petrov"});
    }

    // A member of one sheet: a title with its name and the page numbers.
    void oneSheet(TfrReport& report, const std::string& name) {
        TfrPage& page = report.AddPage();
        band(page, btReportTitle, "Title", 0, 20);
        memo(page, "M" + name, 0, name + ru(" [PAGE#] из [TOTALPAGES]"));
    }
    // A member with a sheet per person.
    void sheetPerPerson(TfrReport& report, const std::string& name) {
        TfrPage& page = report.AddPage();
        band(page, btMasterData, "Data", 40, 20, "frDBDataSet1").Flags = flBandNewPageAfter;
        memo(page, "M" + name, 40, name + ru(" [F_Fam] [PAGE#] из [TOTALPAGES]"));
    }
    void addAll() {
        composite_.AddReport(a_, "frReport1");
        composite_.AddReport(b_, "frReport2");
        composite_.AddReport(c_, "frReport3");
    }
    std::vector<std::string> allPages() {
        std::vector<std::string> out;
        for (int p = 0; p < composite_.EMFPages().Count(); ++p)
            for (const std::string& line : firstLines(composite_, p))
                out.push_back(std::to_string(p) + ": " + line);
        return out;
    }

    TfrReport a_, b_, c_;
    TfrCompositeReport composite_;
};

TEST_F(CompositeReportTest, DoublePassNumbersPagesOnAcrossMembersWithTheirTotal) {
    oneSheet(a_, "A");
    sheetPerPerson(b_, "B");
    oneSheet(c_, "C");
    addAll();
    composite_.DoublePass = kTrue;
    prepare(composite_);
    EXPECT_EQ(allPages(), (std::vector<std::string>{ru("0: A 1 из 4"), ru("1: B Ivanov 2 из 4"),
                                                    ru("2: B Petrov 3 из 4"), ru("3: C 4 из 4")}));
    EXPECT_EQ(a_.EMFPages().Count(), 0) << "the members keep no pages of their own";

    composite_.DoublePass = 0;
    prepare(composite_);
    EXPECT_EQ(allPages().back(), ru("3: C 4 из 0")) << "a single pass knows no total";
}

TEST_F(CompositeReportTest, MemberContinuesOnThePreviousSheetOnlyOnTheSamePaper) {
    struct Case {
        const char* what;
        uint8_t orientation;
        std::vector<std::string> pages;
    };
    const Case cases[] = {
        {"same paper", 0, {ru("0: A 1 из 0"), ru("0: C 1 из 0")}},
        {"turned paper", 1, {ru("0: A 1 из 0"), ru("1: C 2 из 0")}},
    };
    for (const Case& c : cases) {
        TfrReport first, second;
        setUp(first);
        setUp(second);
        oneSheet(first, "A");
        oneSheet(second, "C");
        second.Page(0).PrintToPrevPage = kTrue;
        second.Page(0).Orientation = c.orientation;
        composite_.ClearReports();
        composite_.AddReport(first, "frReport1");
        composite_.AddReport(second, "frReport3");
        prepare(composite_);
        EXPECT_EQ(allPages(), c.pages) << c.what;
    }
}

TEST_F(CompositeReportTest, EachMemberGetsItsDocumentEventsAndItsTemplateBack) {
    oneSheet(a_, "A");
    oneSheet(b_, "B");
    b_.Page(0).Objects.back()->Script = {"MB.Memo := 'changed'"};
    std::vector<std::string> calls;
    a_.Events.OnBeginDoc = [&] { calls.push_back("A begin"); };
    a_.Events.OnEndDoc = [&] { calls.push_back("A end"); };
    b_.Events.OnBeginDoc = [&] { calls.push_back("B begin"); };
    composite_.Events.OnBeginDoc = [&] { calls.push_back("composite begin"); };
    composite_.Events.OnBeginPage = [&](int page) {
        calls.push_back("page " + std::to_string(page));
    };
    composite_.AddReport(a_, "frReport1");
    composite_.AddReport(b_, "frReport2");
    prepare(composite_);
    EXPECT_EQ(calls, (std::vector<std::string>{"A begin", "B begin", "composite begin", "page 0",
                                               "page 1", "A end"}));
    auto* changed = dynamic_cast<TfrMemoView*>(b_.Page(0).Objects.back().get());
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->Memo, (Lines{ru("B [PAGE#] из [TOTALPAGES]")}));
}

TEST_F(CompositeReportTest, AnErrorInAMemberNamesThatMemberAndDiscardsEverything) {
    oneSheet(a_, "A");
    TfrPage& page = b_.AddPage();
    band(page, btReportTitle, "Title", 0, 20);
    memo(page, "Broken", 0, "[NoSuchThing]");
    addAll();
    prepare(composite_);
    EXPECT_EQ(composite_.EMFPages().Count(), 0);
    ASSERT_EQ(ui_.messages().size(), 1u);
    EXPECT_NE(ui_.messages()[0].text.find("frReport2"), std::string::npos)
        << ui_.messages()[0].text;
}

} // namespace
} // namespace pv
