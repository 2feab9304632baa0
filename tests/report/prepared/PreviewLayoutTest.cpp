#include "report/prepared/PreviewLayout.h"
#include "platform/CodePage.h"
#include "report/prepared/PreviewLink.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

const Size kA4{758, 1071}; // report pixels
const Size kA4Wide{1071, 758};

TEST(PreviewZoomTest, FactorAndLabelPerMode) {
    struct Case {
        ZoomMode mode;
        Size area;
        Size paper;
        double factor;
        const char* label;
    } cases[] = {
        {ZoomMode::PageWidth, {1000, 700}, kA4, 980.0 / 758, "129%"},
        {ZoomMode::OnePage, {1000, 800}, kA4, 780.0 / 1071, "73%"},
        {ZoomMode::TwoPages, {1000, 700}, kA4, 970.0 / 1516, "64%"},
        {ZoomMode::PageWidth, {1000, 700}, kA4Wide, 980.0 / 1071, "92%"},
        {ZoomMode::Free, {1000, 700}, kA4, 0.75, "75%"},
        {ZoomMode::PageWidth, {1000, 700}, {0, 0}, 0.75, "75%"}, // a page of no size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const double factor = zoomFactor(c.mode, 0.75, c.area, c.paper);
        EXPECT_DOUBLE_EQ(factor, c.factor);
        EXPECT_EQ(zoomLabel(factor), c.label);
    }
    EXPECT_EQ(zoomLabel(0.1), "10%");
    EXPECT_EQ(zoomLabel(2.0), "200%");
}

TEST(PreviewZoomTest, MenuChoicesAndTheCheckedOne) {
    const ZoomState current{ZoomMode::Free, 0.42};
    struct Case {
        int index;
        ZoomState zoom;
    } cases[] = {
        {0, {ZoomMode::Free, 2.0}},     {2, {ZoomMode::Free, 1.0}},
        {6, {ZoomMode::Free, 0.1}},     {7, {ZoomMode::PageWidth, 0.42}},
        {8, {ZoomMode::OnePage, 0.42}}, {9, {ZoomMode::TwoPages, 0.42}},
    };
    ASSERT_EQ(zoomMenuSize(), 10);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(zoomMenuChoice(c.index, current), c.zoom);
        EXPECT_EQ(checkedZoomChoice(c.zoom), c.index);
    }
    EXPECT_EQ(zoomMenuChoice(10, current), current);
    EXPECT_EQ(checkedZoomChoice(current), -1);
}

TEST(PreviewZoomTest, DefaultInitialZoomKeepsTheLastChoice) {
    ZoomState saved = rememberedZoom();
    rememberedZoom() = zoomMenuChoice(4, rememberedZoom()); // 50% in the last preview
    EXPECT_EQ(openingZoom(TfrPreviewZoom::pzDefault, rememberedZoom()),
              (ZoomState{ZoomMode::Free, 0.5}));
    EXPECT_EQ(openingZoom(TfrPreviewZoom::pzPageWidth, rememberedZoom()).mode, ZoomMode::PageWidth);
    EXPECT_EQ(openingZoom(TfrPreviewZoom::pzOnePage, rememberedZoom()).mode, ZoomMode::OnePage);
    EXPECT_EQ(openingZoom(TfrPreviewZoom::pzTwoPages, rememberedZoom()).mode, ZoomMode::TwoPages);
    rememberedZoom() = saved;
}

TEST(PreviewLayoutTest, PagesPerRow) {
    struct Case {
        const char* what;
        std::vector<Size> sizes;
        int areaWidth;
        ZoomMode mode;
        int perRow;
    } cases[] = {
        {"four fit, the fifth would pass", std::vector<Size>(6, {190, 268}), 1000, ZoomMode::Free,
         4},
        {"exactly to the edge", std::vector<Size>(3, {980, 10}), 1000, ZoomMode::Free, 1},
        {"wider than the area", std::vector<Size>(3, {2000, 10}), 1000, ZoomMode::Free, 1},
        {"the fullest row counts",
         {{600, 10}, {600, 10}, {100, 10}, {100, 10}, {100, 10}},
         1000,
         ZoomMode::Free,
         4},
        {"no pages", {}, 1000, ZoomMode::Free, 1},
        {"whole page forces one", std::vector<Size>(6, {190, 268}), 1000, ZoomMode::OnePage, 1},
        {"two pages force two", std::vector<Size>(6, {190, 268}), 1000, ZoomMode::TwoPages, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pagesPerRow(c.sizes, c.areaWidth, c.mode), c.perRow);
    }
}

TEST(PreviewLayoutTest, PageWidthPagesAreCentredOneBelowTheOther) {
    const Size area{1000, 700};
    const double factor = zoomFactor(ZoomMode::PageWidth, 1, area, kA4);
    PreviewGeometry g = layoutPages({kA4, kA4, kA4}, area, ZoomMode::PageWidth, factor);
    EXPECT_EQ(g.perRow, 1);
    ASSERT_EQ(g.pages.size(), 3u);
    EXPECT_EQ(g.pages[0], (Rect{10, 10, 990, 1395}));
    EXPECT_EQ(g.pages[1], (Rect{10, 1405, 990, 2790}));
    EXPECT_EQ(g.pages[2], (Rect{10, 2800, 990, 4185}));
    EXPECT_EQ(g.scrollRangeX, 0);
    EXPECT_EQ(g.scrollRangeY, 4185 - 700 + 10);

    struct Case {
        int scrollY;
        std::optional<int> page;
    } current[] = {{0, 1},    {1383, 1}, {1384, std::nullopt},
                   {1394, 2}, {2778, 2}, {2779, std::nullopt},
                   {2789, 3}};
    for (const auto& c : current)
        EXPECT_EQ(pageAtScroll(g, c.scrollY), c.page) << c.scrollY;

    EXPECT_EQ(scrollTopForPage(g, 1), 0);
    EXPECT_EQ(scrollTopForPage(g, 2), 1395);
    EXPECT_EQ(scrollTopForPage(g, 3), 2790);
    EXPECT_EQ(scrollTopForPage(g, 4), 0);
}

TEST(PreviewLayoutTest, RowsStartBelowTheTallestPageOfTheRowBefore) {
    const Size area{500, 400};
    PreviewGeometry g = layoutPages({kA4Wide, kA4, kA4}, area, ZoomMode::TwoPages, 0.2);
    // 214 × 152, 152 × 214, 152 × 214
    ASSERT_EQ(g.pages.size(), 3u);
    EXPECT_EQ(g.pages[0], (Rect{10, 10, 224, 162}));
    EXPECT_EQ(g.pages[1], (Rect{234, 10, 386, 224}));
    EXPECT_EQ(g.pages[2], (Rect{10, 234, 162, 448}));
    EXPECT_EQ(g.scrollRangeX, 0);
    EXPECT_EQ(g.scrollRangeY, 448 - 400 + 10);
}

TEST(PreviewLayoutTest, AZoomedPageWiderThanTheAreaScrollsSideways) {
    PreviewGeometry g = layoutPages({kA4}, {1000, 700}, ZoomMode::Free, 2.0);
    EXPECT_EQ(g.pages[0], (Rect{10, 10, 1526, 2152}));
    EXPECT_EQ(g.scrollRangeX, 1526 - 1000 + 10);
    EXPECT_EQ(g.scrollRangeY, 2152 - 700 + 10);
}

TEST(PreviewLayoutTest, PagesNearTheViewAreDrawn) {
    struct Case {
        Rect page;
        int scrollY;
        bool near;
    } cases[] = {
        {{10, 10, 990, 1395}, 0, true},     {{10, 10, 990, 1395}, 1395, true},
        {{10, 10, 990, 1395}, 1396, false}, {{10, 2500, 990, 3000}, 0, false},
        {{10, 2500, 990, 3000}, 500, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pageNearView(c.page, {0, c.scrollY}), c.near) << c.page.top << " " << c.scrollY;
}

TEST(PreviewLayoutTest, PageWithoutMarginsIsDrawnInItsPrintableArea) {
    TfrPageInfo info; // the virtual printer's A4
    info.paperWidth = 758;
    info.paperHeight = 1071;
    info.offsetX = info.offsetY = 18;
    info.printableWidth = 722;
    info.printableHeight = 1035;
    const PageMargins margins{10, 20, 30, 40};
    struct Case {
        double factor;
        Rect rect;
    } cases[] = {
        {1.0, {10 + 28, 10 + 38, 10 + 28 + 682, 10 + 38 + 975}},
        {2.0, {10 + 56, 10 + 76, 10 + 56 + 1364, 10 + 76 + 1950}},
        {980.0 / 758, {10 + 36, 10 + 49, 10 + 36 + 882, 10 + 49 + 1261}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unmarginedPageRect({10, 10, 990, 1395}, info, margins, c.factor), c.rect)
            << c.factor;
}

TEST(PreviewLayoutTest, PageLabel) {
    EXPECT_EQ(pageLabel(3, 12), ru("Стр. 3/12"));
    EXPECT_EQ(pageLabel(1, 1), ru("Стр. 1/1"));
}

TEST(PreviewLinkTest, LinkObjectsGoToPagesOrTheShell) {
    struct Case {
        const char* name;
        const char* tag;
        PreviewLink link;
        std::optional<int> page; // of five
        const char* hint;
    } cases[] = {
        {"URL1", "@3", {PreviewLink::Page, "", 3}, 3, "Стр. 3"},
        {"URL1", "@0", {PreviewLink::Page, "", 1}, 1, "Стр. 1"},
        {"URL1", "@-4", {PreviewLink::Page, "", 1}, 1, "Стр. 1"},
        {"URL1", "@9", {PreviewLink::Page, "", 9}, std::nullopt, "Стр. 9"},
        {"URL1", "Стр@5", {PreviewLink::Page, "", 5}, 5, "Стр. 5"},
        {"URL2",
         "http://pfr.example/",
         {PreviewLink::Shell, "http://pfr.example/", 0},
         std::nullopt,
         "http://pfr.example/"},
        {"URL1", "@x", {}, std::nullopt, ""}, // not a page number: no link
        {"URL1", "@", {}, std::nullopt, ""},
        {"Memo1", "@3", {}, std::nullopt, ""},
        {"url1", "@3", {}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.tag);
        PreviewLink link = previewLink(c.name, ru(c.tag));
        PreviewLink expected = c.link;
        expected.target = ru(expected.target);
        EXPECT_EQ(link, expected);
        EXPECT_EQ(linkedPage(link, 5), c.page);
        EXPECT_EQ(linkHint(link), ru(c.hint));
    }
}

} // namespace
} // namespace pv
