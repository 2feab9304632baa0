#include "platform/WmfPlayer.h"
#include "tests/platform/DrawingSpy.h"
#include "tests/support/WmfFixture.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::DrawingSpy;
using test::inside;
using test::WmfBuilder;
namespace wmf = test::wmf;

std::span<const std::uint8_t> bytes(const std::string& d) {
    return {reinterpret_cast<const std::uint8_t*>(d.data()), d.size()};
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A picture in twips, 2000 x 1000: outline, diagonal, text, ellipse, bitmap.
std::string twipsPicture() {
    WmfBuilder b({{0, 0, 2000, 1000}});
    b.record(wmf::SetWindowOrg, {0, 0}).record(wmf::SetWindowExt, {1000, 2000});
    b.record(wmf::CreatePen, {0, 20, 0, 0x00C8, 0}); // slot 0: solid, 20 wide, red
    b.record(wmf::CreateBrush, {1, 0, 0, 0});        // slot 1: hollow
    b.record(wmf::SelectObject, {0}).record(wmf::SelectObject, {1});
    b.record(wmf::Rectangle, {1000, 2000, 0, 0});
    b.record(wmf::MoveTo, {100, 200}).record(wmf::LineTo, {900, 1800});
    // slot 2: Arial 200 high, bold.
    b.record(wmf::CreateFont, concat({-200, 0, 0, 0, 700, 0, 0, 0, 0},
                                     WmfBuilder::textWords(std::string("Arial\0", 6))));
    b.record(wmf::SelectObject, {2});
    b.record(wmf::TextOut, concat(concat({2}, WmfBuilder::textWords("Ab")), {300, 400}));
    b.record(wmf::Ellipse, {1000, 2000, 500, 1000});
    b.record(wmf::StretchDib, concat({0x0020, 0x00CC, 0, 2, 2, 0, 0, 500, 1000, 0, 1000},
                                     WmfBuilder::dibWords(2, 2, 0, 0, 255)));
    return b.finish();
}

TEST(WmfPlayer, PlacesThePictureInItsTarget) {
    const std::string wmfFile = twipsPicture();
    ASSERT_TRUE(isWindowsMetafile(bytes(wmfFile)));
    EXPECT_EQ(wmfPictureRect(bytes(wmfFile)), (Rect{0, 0, 2000, 1000}));
    const Rect target{100, 50, 300, 150}; // a tenth
    DrawingSpy spy;
    playWindowsMetafileInto(bytes(wmfFile), spy, target);

    ASSERT_TRUE(spy.find("rectangle"));
    EXPECT_EQ(spy.find("rectangle")->where, target);
    ASSERT_TRUE(spy.find("line"));
    EXPECT_EQ(spy.find("line")->where, (Rect{120, 60, 280, 140}));
    EXPECT_EQ(spy.linePens.at(0).width, 2);
    EXPECT_EQ(spy.linePens.at(0).color, rgb(200, 0, 0));
    ASSERT_EQ(spy.texts.size(), 1u);
    EXPECT_EQ(spy.texts[0].text, "Ab");
    EXPECT_EQ(spy.texts[0].font.faceName, "Arial");
    EXPECT_EQ(spy.texts[0].font.height, -20);
    EXPECT_TRUE(spy.texts[0].font.isBold());
    EXPECT_EQ(spy.find("text")->where.left, 140);
    EXPECT_EQ(spy.find("text")->where.top, 80);
    ASSERT_TRUE(spy.find("polygon"));
    EXPECT_TRUE(inside(spy.find("polygon")->where, {200, 100, 300, 150}));
    EXPECT_GE(spy.find("polygon")->where.right, 299) << "the ellipse reaches its box";
    ASSERT_TRUE(spy.find("dib"));
    EXPECT_EQ(spy.find("dib")->where, (Rect{200, 50, 300, 100}));
    for (const DrawingSpy::Call& c : spy.calls) {
        ASSERT_TRUE(c.clip) << c.what;
        EXPECT_TRUE(inside(*c.clip, target)) << c.what;
    }
}

TEST(WmfPlayer, PlainFileIsSizedByItsWindow) {
    struct Case {
        std::vector<int> org, ext; // y, x as the records store them
        std::optional<Rect> picture;
        int up;    // -1: the points are given with y running upwards
        Rect line; // the extent of the line drawn
    } cases[] = {
        {{0, 0}, {100, 200}, Rect{0, 0, 200, 100}, 1, {10, 10, 40, 20}},
        {{50, 100}, {100, 200}, Rect{100, 50, 300, 150}, 1, {-90, -40, -60, -30}},
        // A negative extent flips the axis: the window's origin stays at the top.
        {{0, 0}, {-100, 200}, Rect{0, -100, 200, 0}, -1, {10, 10, 40, 20}},
        {{0, 0}, {0, 200}, std::nullopt, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext[0]);
        WmfBuilder b;
        b.record(wmf::SetWindowOrg, {c.org[0], c.org[1]});
        b.record(wmf::SetWindowExt, {c.ext[0], c.ext[1]});
        b.record(wmf::MoveTo, {10 * c.up, 10}).record(wmf::LineTo, {20 * c.up, 40});
        const std::string file = b.finish();
        EXPECT_EQ(wmfPictureRect(bytes(file)), c.picture);
        DrawingSpy spy;
        playWindowsMetafileInto(bytes(file), spy, {0, 0, 200, 100});
        if (!c.picture) {
            EXPECT_TRUE(spy.calls.empty());
            continue;
        }
        ASSERT_TRUE(spy.find("line"));
        EXPECT_EQ(spy.find("line")->where, c.line);
    }
}

TEST(WmfPlayer, HostileFilesLeaveTheCanvasAsItWas) {
    const auto base = [] {
        WmfBuilder b({{0, 0, 100, 100}});
        b.record(wmf::SaveDC, {}).record(wmf::IntersectClipRect, {50, 50, 0, 0});
        b.record(wmf::CreatePen, {0, 3, 0, 0xFF, 0}).record(wmf::SelectObject, {0});
        b.record(wmf::MoveTo, {0, 0}).record(wmf::LineTo, {100, 100});
        return b;
    };
    std::vector<int> cutDib = WmfBuilder::dibWords(40, 40, 0, 0, 0);
    cutDib.resize(30);
    struct Case {
        const char* name;
        std::string file;
        bool throws;
    } cases[] = {
        {"restores more than it saved",
         base().record(wmf::RestoreDC, {-9}).record(wmf::RestoreDC, {7}).finish(), false},
        {"selects and deletes what is not there",
         base().record(wmf::SelectObject, {4000}).record(wmf::DeleteObject, {65535}).finish(),
         false},
        {"a polygon longer than its record", base().record(wmf::Polygon, {30000, 1, 2}).finish(),
         true},
        {"a text longer than its record", base().record(wmf::TextOut, {500, 0x4141}).finish(),
         true},
        {"a bitmap whose bits are missing",
         base()
             .record(wmf::StretchDib, concat({0x20, 0xCC, 0, 2, 2, 0, 0, 5, 5, 0, 0}, cutDib))
             .finish(),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingSpy spy;
        spy.SetPen({PenStyle::Dot, 2, rgb(1, 2, 3)});
        spy.IntersectClipRect({0, 0, 300, 300});
        const CanvasState before = spy.state();
        if (c.throws)
            EXPECT_THROW(playWindowsMetafileInto(bytes(c.file), spy, {250, 250, 350, 350}),
                         WmfFormatError);
        else
            playWindowsMetafileInto(bytes(c.file), spy, {250, 250, 350, 350});
        ASSERT_TRUE(spy.find("line"));
        EXPECT_TRUE(inside(*spy.find("line")->clip, {250, 250, 300, 300}));
        EXPECT_EQ(spy.state().pen, before.pen);
        EXPECT_EQ(spy.state().clip, before.clip);
        EXPECT_EQ(spy.SaveDC(), 1);
    }

    // Records whose sizes do not hold are refused before anything is drawn.
    std::string cut = base().finish();
    const std::string files[] = {
        cut.substr(0, 22 + 10),                                             // header cut short
        cut.substr(0, cut.size() - 3),                                      // ends inside a record
        std::string(cut).replace(22 + 18, 4, std::string("\x01\0\0\0", 4)), // size below 3 words
        std::string(cut).replace(22 + 18, 4, std::string("\xFF\xFF\xFF\x7F", 4)),
    };
    for (const std::string& file : files) {
        DrawingSpy spy;
        EXPECT_THROW(playWindowsMetafileInto(bytes(file), spy, {0, 0, 10, 10}), WmfFormatError);
    }
}

TEST(WmfPlayer, ObjectTableReusesFreedSlotsAndStaysBounded) {
    WmfBuilder b({{0, 0, 10, 10}});
    b.record(wmf::CreateRegion, {});                  // slot 0, not drawn with
    b.record(wmf::CreatePen, {0, 1, 0, 0x0000FF, 0}); // slot 1: red
    b.record(wmf::DeleteObject, {0});
    b.record(wmf::CreatePen, {0, 1, 0, 0x00FF00, 0}); // slot 0 again: green
    b.record(wmf::SelectObject, {0}).record(wmf::LineTo, {1, 1});
    b.record(wmf::SelectObject, {1}).record(wmf::LineTo, {2, 2});
    for (int i = 0; i < 70000; ++i) // beyond what a table can hold
        b.record(wmf::CreateBrush, {0, 0, 0, 0});
    b.record(wmf::SelectObject, {1}).record(wmf::LineTo, {3, 3});
    DrawingSpy spy;
    playWindowsMetafileInto(bytes(b.finish()), spy, {0, 0, 10, 10});
    ASSERT_EQ(spy.linePens.size(), 3u);
    EXPECT_EQ(spy.linePens[0].color, rgb(0, 255, 0));
    EXPECT_EQ(spy.linePens[1].color, rgb(255, 0, 0));
    EXPECT_EQ(spy.linePens[2].color, rgb(255, 0, 0));
}

} // namespace
} // namespace pv
