#include "program/FormScale.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pv;

namespace {

const ScaleSize kMainWindow{498, 247};

ScreenMetrics screen(int w, int h, int ppi, ScaleRect taskbar = {}) {
    return {w, h, ppi, taskbar};
}

ScaleRect bottomBar(int w, int h, int height = 30) {
    return {0, h - height, w, h};
}

TEST(FormScaleTest, ScaleFactorByScreen) {
    struct Case {
        const char* name;
        ScreenMetrics screen;
        ScaleSize design;
        bool maximised;
        std::optional<ScaleSize> expected; // none: not scaled
    };
    const std::vector<Case> cases{
        {"design screen", screen(1024, 768, 96, bottomBar(1024, 768)), kMainWindow, false,
         std::nullopt},
        {"800x600 at 96 fits the work area", screen(800, 600, 96, bottomBar(800, 600)), kMainWindow,
         false, std::nullopt},
        {"800x600 at 120 shrinks by the screen height", screen(800, 600, 120, bottomBar(800, 600)),
         kMainWindow, false, ScaleSize{389, 193}},
        {"1280x1024 at 120 grows by the density", screen(1280, 1024, 120, bottomBar(1280, 1024)),
         kMainWindow, false, ScaleSize{622, 309}},
        {"maximised is never scaled", screen(800, 600, 120), kMainWindow, true, std::nullopt},
        {"short screen at design density that does not fit", screen(640, 200, 96), kMainWindow,
         false, ScaleSize{130, 64}},
        {"density growth that does not fit falls back to the work area",
         screen(1280, 800, 192, bottomBar(1280, 800)), ScaleSize{800, 600}, false,
         ScaleSize{1025, 769}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto f = scaleFactor(c.screen, {96, 768, c.design}, c.maximised);
        ASSERT_EQ(f.has_value(), c.expected.has_value()) << (f ? *f : 0.0);
        if (!f) continue;
        ScaleSize s = scaledSize(c.design, *f);
        EXPECT_EQ(s.width, c.expected->width);
        EXPECT_EQ(s.height, c.expected->height);
    }
    EXPECT_DOUBLE_EQ(*scaleFactor(screen(800, 600, 120), {96, 768, kMainWindow}, false), 0.78125);
    EXPECT_DOUBLE_EQ(
        *scaleFactor(screen(1280, 1024, 120, bottomBar(1280, 1024)), {96, 768, kMainWindow}, false),
        1.25);
}

TEST(FormScaleTest, HalvesRoundToEven) {
    EXPECT_EQ(scaledSize({5, 7}, 0.5).width, 2);
    EXPECT_EQ(scaledSize({5, 7}, 0.5).height, 4);
}

TEST(FormScaleTest, EqualRatiosTakeTheWidthRatio) {
    // Work area 640 x 480 (top taskbar of height 0), design 800 x 600 at 192 ppi.
    auto f = scaleFactor(screen(640, 768, 192, {0, 0, 640, 288}), {96, 768, {800, 600}}, false);
    ASSERT_TRUE(f);
    EXPECT_DOUBLE_EQ(*f, 0.8);
}

TEST(FormScaleTest, TaskbarEdgeAndWorkArea) {
    struct Case {
        ScaleRect bar;
        TaskbarEdge edge;
        ScaleSize area;
    };
    const std::vector<Case> cases{
        {{0, 738, 1024, 768}, TaskbarEdge::Bottom, {1024, 737}},
        {{0, 0, 1024, 30}, TaskbarEdge::Top, {1024, 738}},
        {{0, 0, 60, 768}, TaskbarEdge::Left, {963, 768}},
        {{964, 0, 1024, 768}, TaskbarEdge::Right, {964, 768}},
        {{0, 0, 0, 0}, TaskbarEdge::Top, {1024, 768}},
    };
    for (const Case& c : cases) {
        ScreenMetrics s = screen(1024, 768, 96, c.bar);
        EXPECT_EQ(taskbarEdge(c.bar, 1024, 768), c.edge);
        ScaleSize a = workArea(s, c.edge);
        EXPECT_EQ(a.width, c.area.width);
        EXPECT_EQ(a.height, c.area.height);
    }
}

TEST(FormScaleTest, PlacingMovesTheWindowOffTheTaskbar) {
    struct Case {
        const char* name;
        TaskbarEdge edge;
        ScaleRect bar;
        ScaleRect window;
        std::optional<ScalePoint> expected;
    };
    const std::vector<Case> cases{
        {"bottom bar covering a centred window on a short screen",
         TaskbarEdge::Bottom,
         {0, 170, 640, 200},
         {71, 10, 569, 257},
         ScalePoint{71, 0}},
        {"bottom bar clear of the window",
         TaskbarEdge::Bottom,
         {0, 738, 1024, 768},
         {263, 260, 761, 507},
         std::nullopt},
        {"top bar over the window",
         TaskbarEdge::Top,
         {0, 0, 1024, 30},
         {10, 20, 508, 267},
         ScalePoint{10, 31}},
        {"left bar over the window",
         TaskbarEdge::Left,
         {0, 0, 60, 768},
         {40, 5, 538, 252},
         ScalePoint{61, 5}},
        {"right bar over the window",
         TaskbarEdge::Right,
         {964, 0, 1024, 768},
         {500, 5, 998, 252},
         ScalePoint{0, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = placeOffTaskbar(c.edge, c.bar, c.window);
        ASSERT_EQ(p.has_value(), c.expected.has_value());
        if (!p) continue;
        EXPECT_EQ(p->x, c.expected->x);
        EXPECT_EQ(p->y, c.expected->y);
    }
}

TEST(FormScaleTest, TaskbarFromAvailableGeometry) {
    const ScaleRect screenRect{100, 0, 1124, 768}; // a second screen to the right
    struct Case {
        ScaleRect available;
        ScaleRect bar;
    };
    const std::vector<Case> cases{
        {{100, 0, 1124, 738}, {0, 738, 1024, 768}}, {{100, 30, 1124, 768}, {0, 0, 1024, 30}},
        {{160, 0, 1124, 768}, {0, 0, 60, 768}},     {{100, 0, 1064, 768}, {964, 0, 1024, 768}},
        {{100, 0, 1124, 768}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ScaleRect bar = taskbarFromAvailable(screenRect, c.available);
        EXPECT_EQ(bar.left, c.bar.left);
        EXPECT_EQ(bar.top, c.bar.top);
        EXPECT_EQ(bar.right, c.bar.right);
        EXPECT_EQ(bar.bottom, c.bar.bottom);
        EXPECT_EQ(taskbarEdge(bar, 1024, 768),
                  taskbarEdge(c.bar, 1024, 768)); // the edge the rules find
    }
}

} // namespace
