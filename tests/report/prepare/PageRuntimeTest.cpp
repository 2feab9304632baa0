// Setting a template page up for preparation: which band each object prints
// in, and how bands find their headers, footers, groups and children.
#include "report/prepare/PageRuntime.h"
#include "report/script/ExpressionEngine.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/template/Report.h"
#include "report/model/SubReportView.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class PageRuntimeTest : public ::testing::Test {
protected:
    PageRuntimeTest() : engine_({}, globals_), compiler_(engine_) {
        sources_.add(first_);
        sources_.add(second_);
    }

    TfrBandView& band(int type, const std::string& name, int top, int height,
                      const std::string& format = {}) {
        auto view = std::make_unique<TfrBandView>();
        view->FrameTyp = type;
        view->Name = name;
        view->Left = 0;
        view->Top = top;
        view->Width = 700;
        view->Height = height;
        view->FormatStr = format;
        TfrBandView& ref = *view;
        page_.Objects.push_back(std::move(view));
        return ref;
    }
    TfrBandView& crossBand(int type, const std::string& name, int left, int width,
                           const std::string& format = {}) {
        TfrBandView& view = band(type, name, 0, 500, format);
        view.Left = left;
        view.Width = width;
        return view;
    }
    TfrView& memo(const std::string& name, int left, int top, int width = 50) {
        auto view = std::make_unique<TfrMemoView>();
        view->Name = name;
        view->Left = left;
        view->Top = top;
        view->Width = width;
        view->Height = 10;
        TfrView& ref = *view;
        page_.Objects.push_back(std::move(view));
        return ref;
    }
    PageRuntime& init(bool subReportPage = false) {
        runtime_ = std::make_unique<PageRuntime>(page_, subReportPage, sources_, compiler_);
        return *runtime_;
    }
    TfrBand& named(const std::string& name) {
        TfrBand* found = runtime_->findBand(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    static std::string nameOf(const TfrBand* band) { return band ? band->name : "-"; }
    static std::vector<std::string> namesOf(const std::vector<TfrBand*>& bands) {
        std::vector<std::string> names;
        for (const TfrBand* b : bands)
            names.push_back(b->name);
        return names;
    }
    // The bands an object was taken by, in the order they were built.
    std::vector<std::string> bandsHolding(const TfrView& view) {
        std::vector<std::string> names;
        for (int type = 0; type < kBandSlots; ++type)
            for (TfrBand* b : runtime_->chain(type))
                for (TfrView* o : b->objects)
                    if (o == &view) names.push_back(b->type == btNone ? "outside" : b->name);
        return names;
    }

    TfrVariables globals_;
    ExpressionEngine engine_;
    TfrInterpretator compiler_;
    TfrDBDataSet first_{"frDBDataSet1"}, second_{"frDBDataSet2"};
    DataSourceRegistry sources_;
    TfrPage page_;
    std::unique_ptr<PageRuntime> runtime_;
};

TEST_F(PageRuntimeTest, ObjectsGoToTheBandTheyLieInWithTopsMadeRelative) {
    band(btMasterData, "MasterData1", 100, 20, "frDBDataSet1");
    band(btReportTitle, "ReportTitle1", 0, 40);
    band(btPageHeader, "PageHeader1", 120, 20);
    struct Case {
        const char* object;
        int top;
        const char* band; // "outside": objects outside bands
        int relativeTop;
    } cases[] = {
        {"InTitle", 10, "ReportTitle1", 10},
        {"TitleTop", 0, "ReportTitle1", 0},
        {"TitleBottomEdge", 40, "ReportTitle1", 40},
        {"InMaster", 105, "MasterData1", 5},
        {"MasterTop", 100, "MasterData1", 0},
        // On the edge of two bands the band built first (lower type) takes it.
        {"SharedEdge", 120, "PageHeader1", 0},
        {"Between", 60, "outside", 60},
        {"Below", 300, "outside", 300},
    };
    std::vector<TfrView*> views;
    for (const Case& c : cases)
        views.push_back(&memo(c.object, 10, c.top));
    init();
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(bandsHolding(*views[i]), std::vector<std::string>{cases[i].band})
            << cases[i].object;
        EXPECT_EQ(views[i]->Top, cases[i].relativeTop) << cases[i].object;
    }
    EXPECT_TRUE(runtime_->outsideBands().exists());
    EXPECT_EQ(runtime_->outsideBands().view, nullptr);
}

TEST_F(PageRuntimeTest, BandsCopyTheirViewAndChainByY) {
    TfrBandView& lower = band(btMasterData, "MasterData2", 200, 30, "3");
    band(btMasterData, "MasterData1", 50, 20, "frDBDataSet2");
    lower.Flags = flStretched | flBandPrintIfSubsetEmpty | flBandNewPageAfter | flBandBreaked |
                  flBandPrintChildIfInvisible | flBandRepeatHeader;
    lower.Visible = 0;
    lower.Script = {"a := 1"};
    init();
    EXPECT_EQ(namesOf(runtime_->chain(btMasterData)),
              (std::vector<std::string>{"MasterData1", "MasterData2"}));
    TfrBand& b = named("MasterData2");
    EXPECT_EQ(runtime_->slot(btMasterData)->next, &b);
    EXPECT_EQ(b.prev, runtime_->slot(btMasterData));
    EXPECT_EQ(b.view, &lower);
    EXPECT_EQ(b.y, 200);
    EXPECT_EQ(b.height, 30);
    EXPECT_TRUE(b.stretched && b.printIfSubsetEmpty && b.newPageAfter && b.pageBreakAllowed &&
                b.printChildIfInvisible);
    EXPECT_FALSE(b.visible);
    EXPECT_EQ(b.flags & flBandRepeatHeader, flBandRepeatHeader);
    EXPECT_FALSE(b.script.code.empty());
    EXPECT_TRUE(b.script.errors.empty());
    // A record count gives the band a counted data source of its own.
    ASSERT_NE(b.DataSet(), nullptr);
    EXPECT_EQ(b.DataSet(), b.dataSource.owned.get());
    EXPECT_EQ(b.DataSet()->RangeEnd, reCount);
    EXPECT_EQ(b.DataSet()->RangeEndCount, 3);
    EXPECT_EQ(named("MasterData1").DataSet(), &second_);
    EXPECT_EQ(runtime_->slot(btDetailData), nullptr);
}

TEST_F(PageRuntimeTest, HeadersAndFootersPairWithTheirDataBands) {
    band(btMasterHeader, "Header1", 0, 10);
    band(btMasterHeader, "Header2", 10, 5); // its data band already has a header
    band(btMasterData, "DataA", 20, 10, "frDBDataSet1");
    band(btMasterFooter, "FooterA", 40, 10); // the last data band above it
    band(btMasterHeader, "HeaderB", 50, 5);
    band(btMasterData, "DataB", 60, 10, "frDBDataSet2");
    band(btMasterData, "DataC", 70, 10, "frDBDataSet2");
    band(btMasterFooter, "FooterC", 90, 10);
    band(btMasterFooter, "FooterC2", 100, 10);  // DataC has its footer already
    band(btDetailFooter, "DetailFooter", 5, 5); // above every detail band
    band(btDetailHeader, "DetailHeader", 110, 5);
    band(btDetailData, "Detail", 120, 10, "frDBDataSet2");
    init();
    struct Case {
        const char* band;
        const char* header;
        const char* footer;
    } data[] = {
        {"DataA", "Header1", "FooterA"},
        {"DataB", "HeaderB", "-"},
        {"DataC", "-", "FooterC"},
        {"Detail", "DetailHeader", "-"},
    };
    for (const Case& c : data) {
        EXPECT_EQ(nameOf(named(c.band).headerBand), c.header) << c.band;
        EXPECT_EQ(nameOf(named(c.band).footerBand), c.footer) << c.band;
    }
    struct Owner {
        const char* band;
        const char* dataBand;
    } owners[] = {
        {"Header1", "DataA"}, {"Header2", "-"},  {"FooterA", "DataA"},  {"HeaderB", "DataB"},
        {"FooterC", "DataC"}, {"FooterC2", "-"}, {"DetailFooter", "-"},
    };
    for (const Owner& o : owners)
        EXPECT_EQ(nameOf(named(o.band).dataBand), o.dataBand) << o.band;
}

TEST_F(PageRuntimeTest, GroupsPairByOrderAndChainUnderTheirDataBand) {
    band(btGroupFooter, "GroupFooterInner", 60, 10);
    band(btGroupHeader, "GroupOuter", 10, 10, "[frDBDataSet1.\"F_Strax\"]");
    band(btGroupHeader, "GroupInner", 20, 10, "[frDBDataSet1.\"F_Fam\"]");
    band(btMasterData, "MasterData1", 30, 10, "frDBDataSet1");
    band(btGroupFooter, "GroupFooterOuter", 45, 10);
    band(btMasterData, "MasterData2", 100, 10, "frDBDataSet2");
    band(btGroupHeader, "GroupOfSecond", 90, 5).Master = "MasterData2";
    band(btGroupHeader, "GroupOfUnknown", 95, 5).Master = "NoSuchBand";
    init();
    // Footers pair by y with headers by y, whatever they are called.
    EXPECT_EQ(nameOf(named("GroupOuter").footerBand), "GroupFooterOuter");
    EXPECT_EQ(nameOf(named("GroupInner").footerBand), "GroupFooterInner");
    EXPECT_EQ(nameOf(named("GroupFooterOuter").headerBand), "GroupOuter");

    TfrBand& master = named("MasterData1");
    std::vector<std::string> chain;
    for (TfrBand* g = master.firstGroup; g; g = g->nextGroup)
        chain.push_back(g->name);
    EXPECT_EQ(chain, (std::vector<std::string>{"GroupOuter", "GroupInner", "GroupOfUnknown"}));
    EXPECT_EQ(nameOf(master.lastGroup), "GroupOfUnknown");
    EXPECT_EQ(nameOf(master.lastGroup->prevGroup), "GroupInner");
    EXPECT_EQ(nameOf(named("MasterData2").firstGroup), "GroupOfSecond");
    EXPECT_EQ(named("MasterData2").firstGroup->nextGroup, nullptr);
    EXPECT_EQ(nameOf(named("GroupFooterOuter").dataBand), "MasterData1");

    TfrBand& outer = named("GroupOuter");
    EXPECT_EQ(outer.DataSet(), nullptr); // the format text is the condition
    EXPECT_FALSE(outer.groupCondition.empty());
    EXPECT_TRUE(outer.lastGroupValue.isEmpty());
}

TEST_F(PageRuntimeTest, ChildBandsAreLinkedByName) {
    band(btMasterData, "MasterData1", 10, 10, "frDBDataSet1").ChildBand = "child1";
    band(btChild, "Child1", 20, 10).ChildBand = "Child2";
    band(btChild, "Child2", 30, 10).ChildBand = "Missing";
    init();
    EXPECT_EQ(nameOf(named("MasterData1").child), "Child1");
    EXPECT_EQ(nameOf(named("Child1").child), "Child2");
    EXPECT_EQ(named("Child2").child, nullptr);
}

TEST_F(PageRuntimeTest, CrossBandsTakeObjectsHorizontally) {
    band(btMasterData, "MasterData1", 100, 20, "frDBDataSet1");
    band(btMasterHeader, "MasterHeader1", 60, 20);
    crossBand(btCrossData, "CrossData1", 200, 100, "MasterData1=frDBDataSet2;Nowhere=x;");
    crossBand(btCrossHeader, "CrossHeader1", 100, 90);
    TfrView& cell = memo("Cell", 220, 105, 50);
    TfrView& edge = memo("Edge", 250, 105, 50); // right edge exactly on the band's
    TfrView& across = memo("Across", 190, 105, 50);
    TfrView& head = memo("Head", 120, 65, 40);
    TfrView& loose = memo("Loose", 220, 400, 50);
    band(btPageHeader, "PageHeader1", 80, 10);
    TfrView& onEdge = memo("OnEdge", 220, 80, 50); // the bottom of MasterHeader1 too
    init();
    EXPECT_EQ(bandsHolding(cell), (std::vector<std::string>{"MasterData1", "CrossData1"}));
    EXPECT_EQ(cell.Left, 20);
    EXPECT_EQ(cell.Top, 5);
    EXPECT_EQ(bandsHolding(edge), (std::vector<std::string>{"MasterData1", "CrossData1"}));
    EXPECT_EQ(edge.Left, 50);
    EXPECT_EQ(bandsHolding(across), (std::vector<std::string>{"MasterData1"}));
    EXPECT_EQ(across.Left, 190);
    EXPECT_EQ(bandsHolding(head), (std::vector<std::string>{"MasterHeader1", "CrossHeader1"}));
    EXPECT_EQ(head.Left, 20);
    // Taken by a cross band only: not an object outside bands.
    EXPECT_EQ(bandsHolding(loose), (std::vector<std::string>{"CrossData1"}));
    EXPECT_EQ(loose.Top, 400);
    EXPECT_FALSE(runtime_->outsideBands().exists());
    // Its Top is made relative to one band only.
    EXPECT_EQ(bandsHolding(onEdge), (std::vector<std::string>{"PageHeader1", "CrossData1"}));
    EXPECT_EQ(onEdge.Top, 0);

    EXPECT_EQ(named("MasterData1").crossDataSource, &second_);
    EXPECT_EQ(named("MasterData1").DataSet(), &first_);
    TfrBand& cross = named("CrossData1");
    EXPECT_EQ(cross.x, 200);
    EXPECT_EQ(cross.width, 100);
    EXPECT_EQ(cross.DataSet(), nullptr); // a list names no data source of its own
}

TEST_F(PageRuntimeTest, SubReportObjectsAreTakenAfterOtherObjects) {
    band(btMasterData, "MasterData1", 100, 50, "frDBDataSet1");
    auto sub = std::make_unique<TfrSubReportView>();
    sub->Name = "SubReport1";
    sub->Top = 120;
    TfrView& subView = *sub;
    page_.Objects.insert(page_.Objects.begin(), std::move(sub));
    TfrView& text = memo("Memo1", 10, 110);
    init();
    const std::vector<TfrView*>& objects = named("MasterData1").objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0], &text);
    EXPECT_EQ(objects[1], &subView);
    EXPECT_EQ(subView.Top, 20);
}

TEST_F(PageRuntimeTest, SubReportPagesNeitherBreakNorSplit) {
    const uint16_t flags = flBandNewPageAfter | flBandBreaked;
    band(btMasterData, "MasterData1", 0, 10, "frDBDataSet1").Flags = flags;
    for (bool subReport : {false, true}) {
        for (auto& view : page_.Objects)
            view->Flags = flags;
        init(subReport);
        EXPECT_EQ(runtime_->skip(), subReport);
        EXPECT_EQ(named("MasterData1").newPageAfter, !subReport);
        EXPECT_EQ(named("MasterData1").pageBreakAllowed, !subReport);
    }

    TfrReport report;
    report.Pages.clear();
    for (int i = 0; i < 3; ++i)
        report.AddPage();
    auto sub = std::make_unique<TfrSubReportView>();
    sub->SubPage = 0; // a page before the one holding the object
    report.Page(2).Objects.push_back(std::move(sub));
    auto broken = std::make_unique<TfrSubReportView>();
    broken->SubPage = 7;
    report.Page(1).Objects.push_back(std::move(broken));
    EXPECT_EQ(subReportPages(report), (std::vector<bool>{true, false, false}));
}

TEST_F(PageRuntimeTest, ScriptsAndRememberedObjectsAreCollected) {
    band(btMasterData, "MasterData1", 0, 10, "frDBDataSet1").Script = {"if 1 a := 1"};
    TfrView& scripted = memo("Memo1", 0, 5);
    scripted.Script = {"Memo1.Visible := 0"};
    TfrView& remembered = memo("Memo2", 0, 5);
    remembered.Flags |= 0x8000;
    band(btGroupHeader, "Group1", 20, 5, "(frDBDataSet1.F_Fam");
    init();
    ASSERT_NE(runtime_->objectScript(scripted), nullptr);
    EXPECT_FALSE(runtime_->objectScript(scripted)->code.empty());
    EXPECT_EQ(runtime_->objectScript(remembered), nullptr);
    EXPECT_EQ(runtime_->flaggedObjects(), std::vector<TfrView*>{&remembered});
    // The band script that does not compile and the unbalanced condition.
    ASSERT_EQ(runtime_->errors().size(), 2u);
    EXPECT_EQ(runtime_->errors()[0].rfind("Group1: ", 0), 0u) << runtime_->errors()[0];
    EXPECT_EQ(runtime_->errors()[1].rfind("MasterData1: ", 0), 0u) << runtime_->errors()[1];
}

TEST_F(PageRuntimeTest, PageColumnsShareTheRoomBetweenTheMargins) {
    page_.PageInfo.paperWidth = 800;
    page_.PageInfo.offsetX = 18;
    page_.PageInfo.printableWidth = 764;
    struct Case {
        int columns, gap, left, right;
        int expectedColumns, width;
    } cases[] = {
        {1, 0, 30, 40, 1, 730},
        {0, 0, 30, 40, 1, 730},
        {2, 20, 30, 40, 2, 355},
        {3, 10, 0, 0, 3, 248}, // margins 0: the printable area (18..782)
    };
    for (const Case& c : cases) {
        page_.Columns = c.columns;
        page_.ColumnGap = c.gap;
        page_.LeftMargin = c.left;
        page_.RightMargin = c.right;
        init();
        EXPECT_EQ(runtime_->columns(), c.expectedColumns) << c.columns;
        EXPECT_EQ(runtime_->columnWidth(), c.width) << c.columns;
    }
}

} // namespace
} // namespace pv
