#include "platform/EmfRecorder.h"
#include "platform/CodePage.h"
#include "platform/DeviceState.h"
#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"
#include "tests/support/MixedPage.h"

#include <gtest/gtest.h>

extern "C" {
#include <uemf.h>
#include <uemf_print.h>
#include <uemf_safe.h>
}

#include <algorithm>
#include <map>

namespace pv {
namespace {

std::vector<std::uint8_t> recordMixedPage(std::vector<test::MixedPageLine>* lines = nullptr) {
    EmfRecorder recorder(FontService::shared(), ReferenceDevice::screen(), Size{600, 440});
    auto drawn = test::drawMixedPage(recorder);
    if (lines) *lines = drawn;
    recorder.saveToFile(std::string(PV_BINARY_DIR) + "/mixed-page.emf");
    return recorder.finish();
}

std::vector<std::uint32_t> typesOf(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint32_t> types;
    for (const EmfRecord& r : EmfReader(data))
        types.push_back(r.type());
    return types;
}

TEST(EmfRecorder, MixedPageReadsBackRecordByRecord) {
    std::vector<test::MixedPageLine> lines;
    const std::vector<std::uint8_t> data = recordMixedPage(&lines);
    EmfReader reader(data);
    const EmfHeader& h = reader.header();
    EXPECT_EQ(h.bytes, data.size());
    EXPECT_EQ(h.frame, (EmfRect{0, 0, 15874, 11641})); // 600 x 440 pixels at 96 dpi in 0.01 mm
    EXPECT_EQ(h.device, (Size{1920, 1080}));
    EXPECT_EQ(h.millimeters, (Size{508, 286}));
    EXPECT_GE(h.bounds.left, 0);
    EXPECT_LE(h.bounds.right, 600);
    EXPECT_LE(h.bounds.bottom, 440);
    EXPECT_LE(h.bounds.top, 20);

    MeasuringCanvas measure(FontService::shared());
    DeviceState dc;
    std::size_t textIndex = 0, count = 0;
    std::vector<PenStyle> penStyles;
    std::vector<std::uint32_t> stockSelected;
    bool sawClip = false, sawBitmap = false, sawFill = false, sawRotated = false;
    int saveDepthAtClip = 0;
    for (const EmfRecord& r : reader) {
        ++count;
        dc.apply(r);
        switch (r.type()) {
        case emf::EMR_EXTTEXTOUTW: {
            ASSERT_LT(textIndex, lines.size());
            const test::MixedPageLine& line = lines[textIndex++];
            const EmfTextOut t = decodeExtTextOutW(r);
            EXPECT_EQ(t.text, codepage::toUtf16(line.text, 1251));
            EXPECT_EQ(t.reference, line.origin);
            EXPECT_EQ(dc.font(), line.font);
            measure.SetFont(line.font);
            const std::vector<int> expected = measure.textAdvances(line.text);
            EXPECT_EQ(t.dx, std::vector<std::int32_t>(expected.begin(), expected.end()));
            EXPECT_GE(t.bounds.right, t.bounds.left);
            if (line.font.escapement == 900) {
                sawRotated = true;
                // Bottom-to-top text: the box runs upwards from the reference point.
                EXPECT_LT(t.bounds.top, line.origin.y - 100);
                EXPECT_LE(t.bounds.right - t.bounds.left, 20);
            }
            break;
        }
        case emf::EMR_CREATEPEN:
            penStyles.push_back(decodeCreatePen(r).second.style);
            break;
        case emf::EMR_SELECTOBJECT:
            if (r.u32(8) & kStockObjectFlag) stockSelected.push_back(r.u32(8) & ~kStockObjectFlag);
            break;
        case emf::EMR_INTERSECTCLIPRECT:
            sawClip = true;
            EXPECT_EQ(r.rect(8), (EmfRect{220, 250, 380, 280}));
            saveDepthAtClip = dc.saveDepth();
            break;
        case emf::EMR_STRETCHDIBITS: {
            sawBitmap = true;
            const EmfStretchDib s = decodeStretchDIBits(r);
            EXPECT_EQ(s.dest, (Rect{40, 215, 200, 295}));
            EXPECT_EQ(s.dib.rgb, test::mixedPageBitmap().rgb);
            EXPECT_EQ(s.rop, emf::SRCCOPY);
            break;
        }
        case emf::EMR_BITBLT:
            sawFill = true;
            EXPECT_EQ(dc.brush().color, rgb(180, 210, 255));
            break;
        case emf::EMR_RECTANGLE:
            if (r.rect(8) == EmfRect{220, 150, 330, 190}) {
                EXPECT_EQ(dc.pen(), (Pen{PenStyle::Solid, 2, rgb(0, 120, 0)}));
                EXPECT_EQ(dc.brush().color, rgb(255, 230, 150));
            }
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(count, h.records);
    EXPECT_EQ(textIndex, lines.size());
    EXPECT_TRUE(sawClip && sawBitmap && sawFill && sawRotated);
    EXPECT_EQ(saveDepthAtClip, 1);
    EXPECT_EQ(dc.saveDepth(), 0);
    EXPECT_EQ(dc.highestIndex(), 0u) << "every object is deleted by the end";
    for (PenStyle s : {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot,
                       PenStyle::DashDotDot, PenStyle::InsideFrame})
        EXPECT_NE(std::find(penStyles.begin(), penStyles.end(), s), penStyles.end()) << int(s);
    for (std::uint32_t s : {emf::stock::NULL_PEN, emf::stock::NULL_BRUSH, emf::stock::BLACK_PEN,
                            emf::stock::WHITE_BRUSH, emf::stock::SYSTEM_FONT})
        EXPECT_NE(std::find(stockSelected.begin(), stockSelected.end(), s), stockSelected.end())
            << s;
    const auto types = typesOf(data);
    EXPECT_EQ(types.front(), emf::EMR_HEADER);
    EXPECT_EQ(types.back(), emf::EMR_EOF);
    for (std::uint32_t t :
         {emf::EMR_EXTCREATEFONTINDIRECTW, emf::EMR_CREATEBRUSHINDIRECT, emf::EMR_DELETEOBJECT,
          emf::EMR_SETTEXTCOLOR, emf::EMR_SETBKCOLOR, emf::EMR_SETBKMODE, emf::EMR_MOVETOEX,
          emf::EMR_LINETO, emf::EMR_POLYLINE16, emf::EMR_POLYGON16, emf::EMR_SAVEDC,
          emf::EMR_RESTOREDC})
        EXPECT_NE(std::find(types.begin(), types.end(), t), types.end()) << emf::recordTypeName(t);
}

// The measuring canvas takes the same page and ends in the same state as the
// recorder; both measure every line alike.
TEST(EmfRecorder, MeasuringCanvasDrawsTheSamePageToTheSameState) {
    EmfRecorder recorder(FontService::shared());
    MeasuringCanvas measuring(FontService::shared());
    const auto recorded = test::drawMixedPage(recorder);
    const auto measured = test::drawMixedPage(measuring);
    ASSERT_EQ(recorded.size(), measured.size());
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].font, measured[i].font);
        measuring.SetFont(measured[i].font);
        recorder.SetFont(recorded[i].font);
        EXPECT_EQ(measuring.textAdvances(measured[i].text),
                  recorder.textAdvances(recorded[i].text));
    }
    const CanvasState &a = recorder.state(), &b = measuring.state();
    EXPECT_EQ(a.pen, b.pen);
    EXPECT_EQ(a.brush, b.brush);
    EXPECT_EQ(a.textColor, b.textColor);
    EXPECT_EQ(a.bkColor, b.bkColor);
    EXPECT_EQ(a.position, b.position);
    EXPECT_FALSE(b.clip.has_value()) << "the clip went with the restored state";
}

// Playing a recording onto a new recorder records it again, byte for byte:
// the player, the reader and the device state agree with the recorder.
TEST(EmfPlayer, ReplayingARecordingRecordsTheSameMetafile) {
    const std::vector<std::uint8_t> first = recordMixedPage();
    EmfRecorder again(FontService::shared(), ReferenceDevice::screen(), Size{600, 440});
    playMetafile(EmfReader(first), again);
    const std::vector<std::uint8_t> second = again.finish();
    const auto a = EmfReader(first).records(), b = EmfReader(second).records();
    EXPECT_EQ(EmfReader(first).header().bounds, EmfReader(second).header().bounds);
    EXPECT_EQ(EmfReader(first).header().handles, EmfReader(second).header().handles);
    for (std::size_t i = 1; i < std::min(a.size(), b.size()); ++i) {
        const auto x = a[i].bytes(), y = b[i].bytes();
        ASSERT_TRUE(std::equal(x.begin(), x.end(), y.begin(), y.end()))
            << "record " << i << ": " << emf::recordTypeName(a[i].type()) << " against "
            << emf::recordTypeName(b[i].type());
    }
    EXPECT_EQ(a.size(), b.size());
    EXPECT_TRUE(second == first);
}

// libuemf reads the format independently of our reader: every record must
// pass its safety check and its printer must walk the whole file.
TEST(EmfRecorder, MixedPageOpensInAnIndependentReader) {
    std::vector<std::uint8_t> data = recordMixedPage();
    std::vector<char> bytes(data.begin(), data.end());
    char* const end = bytes.data() + bytes.size();
    std::size_t off = 0;
    int recnum = 0;
    testing::internal::CaptureStdout();
    bool sawEof = false;
    while (off < bytes.size()) {
        const char* rec = bytes.data() + off;
        ASSERT_TRUE(U_emf_record_safe(rec)) << "record " << recnum << " at " << off;
        const auto* head = reinterpret_cast<const U_EMR*>(rec);
        // The printer takes the start of the file and the record's offset; it
        // gives the record's size, or 0 at the end record.
        const int size = U_emf_onerec_print(bytes.data(), end, recnum, int(off));
        if (head->iType == U_EMR_EOF) {
            sawEof = size == 0;
            break;
        }
        ASSERT_GT(size, 0) << "record " << recnum;
        ASSERT_EQ(std::uint32_t(size), head->nSize);
        off += std::size_t(size);
        ++recnum;
    }
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(sawEof);
    EXPECT_EQ(off + 20, bytes.size());
    for (const char* name :
         {"U_EMR_EXTCREATEFONTINDIRECTW", "U_EMR_EXTTEXTOUTW", "U_EMR_STRETCHDIBITS",
          "U_EMR_INTERSECTCLIPRECT", "U_EMR_POLYGON16", "U_EMR_RESTOREDC"})
        EXPECT_NE(printed.find(name), std::string::npos) << name;
    // It reads our texts and advances back as we wrote them.
    EXPECT_NE(printed.find("string16:<Страховой стаж: Arial 10"), std::string::npos);
    EXPECT_NE(printed.find("Dx:9:6:7:7:"), std::string::npos);
}

TEST(EmfRecorder, ObjectsHeldByASavedStateOutliveTheirReplacement) {
    EmfRecorder rec(FontService::shared());
    const Pen first{PenStyle::Solid, 1, rgb(255, 0, 0)}, second{PenStyle::Dash, 1, rgb(0, 0, 255)};
    rec.SetPen(first);
    rec.Rectangle(0, 0, 10, 10);
    rec.SaveDC();
    rec.SetPen(second);
    rec.Rectangle(0, 0, 20, 20);
    rec.RestoreDC(-1);
    rec.Rectangle(0, 0, 30, 30);
    const std::vector<std::uint8_t> data = rec.finish();

    DeviceState dc;
    std::map<std::uint32_t, Pen> created;
    std::vector<Pen> drawnWith;
    for (const EmfRecord& r : EmfReader(data)) {
        if (r.type() == emf::EMR_DELETEOBJECT) {
            // Deleting an object that the current or a saved state holds would
            // leave the restore pointing at nothing.
            EXPECT_FALSE(dc.isInUse(r.u32(8))) << "record " << r.index();
        }
        if (r.type() == emf::EMR_SELECTOBJECT && !(r.u32(8) & kStockObjectFlag)) {
            EXPECT_NE(dc.object(r.u32(8)), nullptr) << "selects a deleted object";
        }
        dc.apply(r);
        if (r.type() == emf::EMR_RECTANGLE) drawnWith.push_back(dc.pen());
    }
    EXPECT_EQ(drawnWith, (std::vector<Pen>{first, second, first}));
}

TEST(EmfRecorder, ObjectRecordsCarryEveryField) {
    LogFont font;
    font.height = -27;
    font.width = 5;
    font.escapement = font.orientation = 450;
    font.weight = 600;
    font.italic = font.underline = font.strikeOut = true;
    font.charSet = 238;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 0x22;
    font.faceName = "Courier New";
    const Pen pen{PenStyle::DashDotDot, 4, rgb(1, 2, 3)};
    const Brush brush{BrushStyle::Hatched, rgb(4, 5, 6), 3};
    EmfRecorder rec(FontService::shared());
    rec.SetFont(font);
    rec.SetPen(pen);
    rec.SetBrush(brush);
    rec.TextOut(0, 0, "x");
    rec.Rectangle(0, 0, 9, 9);
    const auto data = rec.finish();
    int seen = 0;
    for (const EmfRecord& r : EmfReader(data)) {
        switch (r.type()) {
        case emf::EMR_EXTCREATEFONTINDIRECTW:
            EXPECT_EQ(decodeExtCreateFont(r).second, font);
            break;
        case emf::EMR_CREATEPEN:
            EXPECT_EQ(decodeCreatePen(r).second, pen);
            break;
        case emf::EMR_CREATEBRUSHINDIRECT:
            EXPECT_EQ(decodeCreateBrush(r).second, brush);
            break;
        default:
            continue;
        }
        ++seen;
    }
    EXPECT_EQ(seen, 3);
}

TEST(EmfRecorder, CoordinatesBeyondSixteenBitsAreKeptWhole) {
    EmfRecorder rec(FontService::shared());
    const Point small[] = {{1, 2}, {30000, -30000}};
    const Point large[] = {{1, 2}, {70000, -40000}};
    rec.Polyline(small);
    rec.Polyline(large);
    rec.Polygon(large);
    std::vector<std::pair<std::uint32_t, std::vector<Point>>> seen;
    const auto data = rec.finish();
    for (const EmfRecord& r : EmfReader(data)) {
        if (r.type() == emf::EMR_POLYLINE16) seen.push_back({r.type(), decodePoints16(r)});
        if (r.type() == emf::EMR_POLYLINE || r.type() == emf::EMR_POLYGON) {
            std::vector<Point> pts;
            for (std::uint32_t i = 0; i < r.u32(24); ++i)
                pts.push_back(r.pointL(28 + 8 * i));
            seen.push_back({r.type(), pts});
        }
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, emf::EMR_POLYLINE16);
    EXPECT_EQ(seen[0].second, std::vector<Point>(std::begin(small), std::end(small)));
    EXPECT_EQ(seen[1].first, emf::EMR_POLYLINE);
    EXPECT_EQ(seen[1].second, std::vector<Point>(std::begin(large), std::end(large)));
    EXPECT_EQ(seen[2].first, emf::EMR_POLYGON);
}

TEST(EmfRecorder, AnEmptyRecordingIsAHeaderAndAnEndWithEmptyBounds) {
    EmfRecorder rec(FontService::shared());
    const auto data = rec.finish();
    EmfReader reader(data);
    EXPECT_EQ(typesOf(data), (std::vector<std::uint32_t>{emf::EMR_HEADER, emf::EMR_EOF}));
    EXPECT_EQ(reader.header().bounds, (EmfRect{0, 0, -1, -1}));
    EXPECT_EQ(reader.header().records, 2u);
    EXPECT_EQ(rec.finish(), data);
    EXPECT_THROW(rec.LineTo(5, 5), std::logic_error);
}

TEST(EmfRecorder, TextRecordBoundsFollowTheAlignment) {
    LogFont font;
    font.faceName = "Arial";
    font.height = -13;
    const int width = FontService::shared().textExtent(font, "Test").cx;
    const PixelMetrics m = FontService::shared().pixelMetrics(font);
    struct Case {
        std::uint32_t align;
        EmfRect bounds;
    } cases[] = {
        {textalign::Left | textalign::Top, {100, 50, 100 + width - 1, 50 + m.height() - 1}},
        {textalign::Right | textalign::Top, {100 - width, 50, 99, 50 + m.height() - 1}},
        {textalign::Center | textalign::Bottom,
         {100 - width / 2, 50 - m.height(), 100 - width / 2 + width - 1, 49}},
        {textalign::Left | textalign::Baseline,
         {100, 50 - m.ascent, 100 + width - 1, 50 + m.descent - 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        EmfRecorder rec(FontService::shared());
        rec.SetFont(font);
        rec.SetTextAlign(c.align);
        rec.TextOut(100, 50, "Test");
        const auto data = rec.finish();
        DeviceState dc;
        for (const EmfRecord& r : EmfReader(data)) {
            dc.apply(r);
            if (r.type() != emf::EMR_EXTTEXTOUTW) continue;
            EXPECT_EQ(decodeExtTextOutW(r).bounds, c.bounds);
            EXPECT_EQ(dc.current().textAlign, c.align);
        }
    }
}

// Clip rectangles narrow one another; the canvas and the device context it
// records into must agree on the result, also when they do not meet.
TEST(EmfRecorder, ClipRectanglesIntersectOnCanvasAndDeviceAlike) {
    struct Case {
        Rect first, second, expected;
    };
    const Case cases[] = {
        {{0, 0, 100, 100}, {10, 20, 50, 60}, {10, 20, 50, 60}}, // nested
        {{10, 20, 50, 60}, {0, 0, 100, 100}, {10, 20, 50, 60}}, // wider second
        {{0, 0, 100, 100}, {50, 40, 150, 140}, {50, 40, 100, 100}},
        {{0, 0, 10, 10}, {20, 30, 40, 50}, {20, 30, 10, 10}}, // apart: empty
    };
    for (const Case& c : cases) {
        EmfRecorder recorder(FontService::shared());
        recorder.IntersectClipRect(c.first);
        recorder.IntersectClipRect(c.second);
        ASSERT_TRUE(recorder.state().clip.has_value());
        EXPECT_EQ(*recorder.state().clip, c.expected);
        const auto& device = recorder.deviceState().current().clip;
        ASSERT_TRUE(device.has_value());
        EXPECT_EQ(*device,
                  (EmfEdges{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}));
    }
}

} // namespace
} // namespace pv
