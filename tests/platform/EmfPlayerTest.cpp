#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"
#include "platform/MappingCanvas.h"
#include "tests/platform/DrawingSpy.h"

#include <gtest/gtest.h>

#include <numeric>

namespace pv {
namespace {

using test::DrawingSpy;
using test::inside;

// A picture of 100 x 50 pixels: an outline, a thick line, text, a bitmap.
std::vector<std::uint8_t> recordPicture(bool withClipGames = false) {
    EmfRecorder r(FontService::shared(), ReferenceDevice::screen(), Size{100, 50});
    r.SetPen({PenStyle::Solid, 3, rgb(200, 0, 0)});
    r.SetBrush({BrushStyle::Hollow, 0, 0});
    r.Rectangle(0, 0, 100, 50);
    if (withClipGames) {
        r.SaveDC();
        r.IntersectClipRect({0, 0, 50, 50});
        r.RemoveClip(); // inside the picture this must not lift the page's clip
    }
    r.MoveTo(10, 10);
    r.LineTo(90, 40);
    LogFont font;
    font.faceName = "Arial";
    font.height = -16;
    r.SetFont(font);
    r.TextOut(20, 20, "Ab");
    Dib dib(2, 2);
    r.StretchDIBits({50, 0, 100, 50}, dib);
    return r.finish();
}

// The metafile with `record` put in just before its end record.
std::vector<std::uint8_t> withRecord(std::vector<std::uint8_t> emf,
                                     const std::vector<std::uint8_t>& record) {
    std::size_t eof = 0;
    for (const EmfRecord& r : EmfReader(emf))
        if (r.type() == emf::EMR_EOF) eof = r.offset();
    emf.insert(emf.begin() + std::ptrdiff_t(eof), record.begin(), record.end());
    const auto put = [&emf](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            emf[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    put(48, std::uint32_t(emf.size()));
    return emf;
}

std::vector<std::uint8_t> record(std::uint32_t type, std::vector<std::uint32_t> fields) {
    std::vector<std::uint8_t> out;
    fields.insert(fields.begin(), {type, std::uint32_t(8 + 4 * fields.size())});
    for (std::uint32_t v : fields)
        for (int i = 0; i < 4; ++i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    return out;
}

TEST(PlayMetafileInto, MapsThePictureOntoItsTarget) {
    const std::vector<std::uint8_t> emf = recordPicture();
    const Rect target{200, 100, 400, 200}; // twice the picture's size
    DrawingSpy spy;
    playMetafileInto(EmfReader(emf), spy, target);

    ASSERT_TRUE(spy.find("rectangle"));
    EXPECT_EQ(spy.find("rectangle")->where, target);
    ASSERT_TRUE(spy.find("line"));
    EXPECT_EQ(spy.find("line")->where, (Rect{220, 120, 380, 180}));
    ASSERT_EQ(spy.linePens.size(), 1u);
    EXPECT_EQ(spy.linePens[0].width, 6);
    ASSERT_TRUE(spy.find("dib"));
    EXPECT_EQ(spy.find("dib")->where, (Rect{300, 100, 400, 200}));
    ASSERT_EQ(spy.texts.size(), 1u);
    EXPECT_EQ(spy.texts[0].font.height, -32);
    const DrawingSpy::Call* text = spy.find("text");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->where.left, 240);
    EXPECT_EQ(text->where.top, 140);
    // Advances are doubled as running positions: the whole run is twice as wide.
    LogFont font;
    font.faceName = "Arial";
    font.height = -16;
    const std::vector<int> small = FontService::shared().advances(font, "Ab", 0);
    EXPECT_EQ(advanceSum(spy.texts[0].advances), 2 * advanceSum(small));

    for (const DrawingSpy::Call& c : spy.calls) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.clip);
        EXPECT_TRUE(inside(*c.clip, target));
    }
}

TEST(PlayMetafileInto, LeavesTheCanvasAsItWas) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> emf;
        bool throws;
    } cases[] = {
        {"saves, clips and lifts its clip", recordPicture(true), false},
        {"restores more than it saved",
         withRecord(recordPicture(), record(emf::EMR_RESTOREDC, {std::uint32_t(-5)})), false},
        {"changes the stretch mode",
         withRecord(recordPicture(), record(emf::EMR_SETSTRETCHBLTMODE, {4})), false},
        {"breaks down half way",
         withRecord(recordPicture(true), record(emf::EMR_POLYLINE16, {0, 0, 0, 0, 0x40000000u})),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingSpy spy;
        spy.SetPen({PenStyle::Dot, 2, rgb(1, 2, 3)});
        spy.SetBrush({BrushStyle::Solid, rgb(4, 5, 6), 0});
        LogFont font;
        font.faceName = "Times New Roman";
        font.height = -13;
        spy.SetFont(font);
        spy.SetTextColor(rgb(7, 8, 9));
        spy.SetBkMode(BkMode::Transparent);
        spy.SetTextAlign(textalign::Baseline | textalign::UpdateCp);
        spy.IntersectClipRect({0, 0, 300, 300});
        spy.MoveTo(5, 6);
        const CanvasState before = spy.state();
        const Rect target{250, 250, 450, 350}; // partly outside the page's clip
        if (c.throws)
            EXPECT_THROW(playMetafileInto(EmfReader(c.emf), spy, target), EmfFormatError);
        else
            playMetafileInto(EmfReader(c.emf), spy, target);
        ASSERT_FALSE(spy.calls.empty());
        for (const DrawingSpy::Call& call : spy.calls) {
            ASSERT_TRUE(call.clip) << call.what;
            EXPECT_TRUE(inside(*call.clip, {250, 250, 300, 300})) << call.what;
        }
        const CanvasState& after = spy.state();
        EXPECT_EQ(after.pen, before.pen);
        EXPECT_EQ(after.brush, before.brush);
        EXPECT_EQ(after.font, before.font);
        EXPECT_EQ(after.textColor, before.textColor);
        EXPECT_EQ(after.bkColor, before.bkColor);
        EXPECT_EQ(after.bkMode, before.bkMode);
        EXPECT_EQ(after.textAlign, before.textAlign);
        EXPECT_EQ(after.stretchMode, before.stretchMode);
        EXPECT_EQ(after.position, before.position);
        EXPECT_EQ(after.clip, before.clip);
        EXPECT_EQ(spy.SaveDC(), 1) << "no saved state is left behind";
    }
}

TEST(PlayMetafileInto, PictureRectangleFromFrameOrBounds) {
    EmfHeader h;
    h.device = {1920, 1080};
    h.millimeters = {508, 286}; // 96 dpi across
    struct Case {
        EmfRect frame, bounds;
        std::optional<Rect> rect;
    } cases[] = {
        {{0, 0, 2645, 1322}, {10, 10, 20, 20}, Rect{0, 0, 100, 50}},
        {{2646, 0, 5291, 1322}, {}, Rect{100, 0, 200, 50}},
        {{0, 0, -1, -1}, {10, 20, 29, 39}, Rect{10, 20, 30, 40}}, // no frame: bounds
        {{0, 0, -1, -1}, {0, 0, -1, -1}, std::nullopt},
        {{0, 0, -1, -1}, {0, 0, INT32_MAX, 5}, std::nullopt},
    };
    for (const Case& c : cases) {
        h.frame = c.frame, h.bounds = c.bounds;
        EXPECT_EQ(metafilePictureRect(h), c.rect) << c.frame.right;
    }
    // A header that does not describe its device is taken at 96 dpi.
    h.millimeters = {0, 0};
    h.frame = {0, 0, 2645, 1322};
    EXPECT_EQ(metafilePictureRect(h), (Rect{0, 0, 100, 50}));
}

TEST(MappingCanvas, HostileCoordinatesStayInRange) {
    DrawingSpy spy;
    MappingCanvas mapped(spy, {0, 0, 1, 1}, {0, 0, 1000000, 1000000});
    mapped.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    ASSERT_TRUE(spy.find("rectangle"));
    const Rect r = spy.find("rectangle")->where;
    EXPECT_LT(r.left, 0);
    EXPECT_GT(r.right, 0);
    EXPECT_GT(r.width(), 0) << "no wrap-around";
}

} // namespace
} // namespace pv
