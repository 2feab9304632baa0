#include "pdf/MetafileTranslator.h"
#include "pdf/EmfPageTranslator.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "platform/CodePage.h"
#include "platform/EmfReader.h"
#include "tests/pdf/MetafileBuilder.h"
#include "tests/pdf/PdfTestSupport.h"
#include "tests/support/MixedPage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pv {
namespace {

using namespace emf;
using test::Bytes;
using test::record;
using test::recorded;
using test::withRecords;
using Lines = std::vector<std::string>;

// The lines a metafile adds to a fresh page of the given resolution.
Lines translate(const std::string& metafile, int resolution = 96) {
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(resolution);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TPDFPage& page = *doc.CurrentPage();
    TEMWParser parser(page, FontService::shared());
    parser.LoadFromBytes(metafile);
    parser.Translate();
    Lines lines = page.Content();
    doc.Abort();
    lines.erase(lines.begin()); // the page's own opening "q"
    return lines;
}

// The operator of each line: its last word.
Lines operators(const Lines& lines) {
    Lines ops;
    for (const std::string& line : lines) {
        const auto blank = line.rfind(' ');
        ops.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
    }
    return ops;
}

int count(const Lines& ops, const std::string& op) {
    return int(std::count(ops.begin(), ops.end(), op));
}

std::ptrdiff_t indexOf(const Lines& ops, const std::string& op, std::size_t from = 0) {
    auto it = std::find(ops.begin() + std::ptrdiff_t(from), ops.end(), op);
    return it == ops.end() ? -1 : it - ops.begin();
}

std::string empty() {
    return recorded([](EmfRecorder&) {});
}

TEST(EMWParser, HeaderAndEndOnlyAddNoLines) {
    EXPECT_EQ(translate(empty()), Lines{});
}

TEST(EMWParser, AnUnloadedParserRefusesFrameAndTranslation) {
    TPDFDocument doc(test::fixedClock());
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TEMWParser parser(*doc.CurrentPage(), FontService::shared());
    for (auto call : {std::function<void()>([&] { parser.FrameSize(); }),
                      std::function<void()>([&] { parser.Translate(); })}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const TPDFException& e) {
            EXPECT_STREQ(e.what(), "Metafile not loaded");
        }
    }
    doc.Abort();
}

TEST(EMWParser, FrameIsTheDrawnBoundsScaledToThePage) {
    const std::string emf = recorded([](EmfRecorder& c) {
        c.SetPen(Pen{PenStyle::Solid, 1, 0});
        c.Rectangle(10, 20, 200, 100);
    });
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(192);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TEMWParser parser(*doc.CurrentPage(), FontService::shared());
    parser.LoadFromBytes(emf);
    const auto frame = parser.FrameSize();
    const EmfRect bounds =
        EmfReader(std::span(reinterpret_cast<const std::uint8_t*>(emf.data()), emf.size()))
            .header()
            .bounds;
    EXPECT_EQ(frame.right, bounds.right * 2);
    EXPECT_EQ(frame.bottom, bounds.bottom * 2);
    EXPECT_GE(bounds.right, 199);
    doc.Abort();
}

TEST(EMWParser, TextRecordsInARowShareOneTextObject) {
    const std::string emf = recorded([](EmfRecorder& c) {
        LogFont font;
        font.faceName = "Arial";
        font.height = -13;
        c.SetFont(font);
        c.TextOut(10, 10, "one");
        c.SetTextColor(rgb(255, 0, 0));
        font.weight = kFontWeightBold;
        c.SetFont(font);
        c.TextOut(10, 30, "two");
        c.SetTextColor(rgb(0, 0, 255));
        c.TextOut(10, 50, "three");
    });
    const Lines lines = translate(emf);
    const Lines ops = operators(lines);
    EXPECT_EQ(count(ops, "BT"), 1);
    EXPECT_EQ(count(ops, "ET"), 1);
    EXPECT_EQ(count(ops, "Tj"), 3);
    EXPECT_LT(indexOf(ops, "BT"), indexOf(ops, "Tj"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1 0 0 rg"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "0 0 1 rg"), lines.end());
    EXPECT_EQ(count(ops, "Tf"), 2); // the bold font is applied inside the open object
}

TEST(EMWParser, ANullPenEndsStrokeOnlyShapesWithoutPainting) {
    const std::string emf = recorded([](EmfRecorder& c) {
        c.SetPen(Pen{PenStyle::Null, 1, 0});
        const Point pts[] = {{10, 10}, {50, 10}, {50, 50}};
        c.Polyline(pts);
        c.MoveTo(5, 5);
        c.LineTo(60, 60);
    });
    const Lines ops = operators(translate(emf));
    EXPECT_EQ(count(ops, "S"), 0);
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back(), "n");
    EXPECT_EQ(count(ops, "l"), 3);
}

// The fill rule follows EMR_SETPOLYFILLMODE; the pen decides between fill and fill-and-stroke.
TEST(EMWParser, FillModeChoosesTheFillOperator) {
    struct Case {
        std::optional<int> mode;
        PenStyle pen;
        const char* paint;
    } cases[] = {
        {std::nullopt, PenStyle::Solid, "B*"},
        {std::nullopt, PenStyle::Null, "f*"},
        {2, PenStyle::Solid, "B"},
        {2, PenStyle::Null, "f"},
        {1, PenStyle::Solid, "B*"},
    };
    for (const Case& c : cases) {
        std::string emf = recorded([&](EmfRecorder& r) {
            r.SetPen(Pen{c.pen, 1, 0});
            r.SetBrush(Brush{BrushStyle::Solid, rgb(0, 128, 0)});
            r.Rectangle(0, 0, 1, 1); // makes the pen and brush current
        });
        Bytes polygon = test::points16(EMR_POLYGON16, {{10, 10}, {90, 10}, {50, 80}});
        emf = c.mode ? withRecords(emf, {record(EMR_SETPOLYFILLMODE, {*c.mode}), polygon})
                     : withRecords(emf, {polygon});
        const Lines ops = operators(translate(emf));
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[ops.size() - 2], "h");
        EXPECT_EQ(ops.back(), c.paint) << (c.mode ? *c.mode : 0);
    }
}

TEST(EMWParser, ANullBrushRectangleIsOnlyStroked) {
    const std::string emf = recorded([](EmfRecorder& c) {
        c.SetPen(Pen{PenStyle::Solid, 2, rgb(0, 0, 255)});
        c.SetBrush(Brush{BrushStyle::Hollow, 0});
        c.Rectangle(10, 10, 110, 60);
    });
    const Lines lines = translate(emf);
    const Lines ops = operators(lines);
    const auto re = indexOf(ops, "re");
    ASSERT_GE(re, 0);
    EXPECT_EQ(ops[re + 1], "S");
    EXPECT_EQ(count(ops, "f*") + count(ops, "B*") + count(ops, "f") + count(ops, "B"), 0);
    // At 96 dpi k is 1; the right and bottom edges are exclusive.
    EXPECT_EQ(lines[re], "7.5 797.75 74.25 36.75 re");
}

TEST(EMWParser, EachIntersectClipReplacesTheLastOne) {
    std::string emf = withRecords(empty(), {record(EMR_INTERSECTCLIPRECT, {0, 0, 100, 100}),
                                            record(EMR_INTERSECTCLIPRECT, {10, 10, 50, 50})});
    const Lines ops = operators(translate(emf));
    EXPECT_EQ(ops, (Lines{"q", "n", "re", "W", "n", "Q", "q", "n", "re", "W", "n"}));
}

TEST(EMWParser, PolyBezierToWithThreePointsDrawsOneCurveAndMovesOn) {
    std::string emf =
        withRecords(empty(), {record(EMR_CREATEPEN, {1, 0, 1, 0, 0}), record(EMR_SELECTOBJECT, {1}),
                              record(EMR_MOVETOEX, {0, 0}),
                              test::points16(EMR_POLYBEZIERTO16, {{10, 0}, {20, 10}, {30, 30}}),
                              record(EMR_LINETO, {40, 40})});
    const Lines lines = translate(emf, 72);
    const Lines ops = operators(lines);
    EXPECT_EQ(count(ops, "c"), 1);
    // The line starts where the curve ended: (30, 30) at k = 0.75.
    const auto line = indexOf(ops, "l");
    ASSERT_GE(line, 1);
    EXPECT_EQ(lines[line - 1], "22.5 819.5 m");
    EXPECT_EQ(lines[indexOf(ops, "c")], "7.5 842 15 834.5 22.5 819.5 c");
}

TEST(EMWParser, OpaqueTextPaintsItsBackgroundFirst) {
    const std::string emf = recorded([](EmfRecorder& c) {
        LogFont font;
        font.faceName = "Arial";
        font.height = -16;
        c.SetFont(font);
        c.SetBkColor(rgb(255, 255, 0));
        const Rect box{10, 10, 120, 40};
        c.ExtTextOut(12, 12, eto::Opaque, &box, "boxed");
    });
    const Lines lines = translate(emf);
    const Lines ops = operators(lines);
    const auto yellow = std::find(lines.begin(), lines.end(), "1 1 0 rg") - lines.begin();
    const auto tj = indexOf(ops, "Tj");
    ASSERT_LT(yellow, tj);
    EXPECT_EQ(ops[yellow + 1], "n");
    EXPECT_EQ(ops[yellow + 2], "re");
    EXPECT_EQ(ops[yellow + 3], "f");
    // The text keeps its place inside the box, (12, 12), not the corner (10, 10).
    EXPECT_EQ(lines[tj - 1], "1 0 0 1 9 821 Tm");
}

// A restore of the graphics state also takes back the colours set after the
// save; the next shape of the same colour must write it again.
TEST(EMWParser, ColoursAreWrittenAgainAfterTheClipIsTakenBack) {
    std::string emf = withRecords(
        empty(),
        {record(EMR_INTERSECTCLIPRECT, {0, 0, 100, 100}),
         record(EMR_CREATEBRUSHINDIRECT, {1, 0, 0x0000FF, 0}), record(EMR_SELECTOBJECT, {1}),
         record(EMR_SELECTOBJECT, {int(0x80000008)}), record(EMR_RECTANGLE, {0, 0, 10, 10}),
         record(EMR_INTERSECTCLIPRECT, {0, 0, 50, 50}), record(EMR_RECTANGLE, {0, 0, 10, 10})});
    const Lines lines = translate(emf);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "1 0 0 rg"), 2);
    const auto q = std::find(lines.begin(), lines.end(), "Q") - lines.begin();
    EXPECT_EQ(lines[q + 1], "1 0 0 rg");
}

// A clipped text inside a clip saves the state a second time; taking back the
// outer clip must bring the colour cache back to what that state holds.
TEST(EMWParser, ColoursAfterAClipAroundClippedTextAreWrittenAgain) {
    const std::string emf = recorded([](EmfRecorder& c) {
        c.SetBrush(Brush{BrushStyle::Solid, rgb(0, 0, 255), 0});
        c.Rectangle(0, 0, 5, 5);
        c.IntersectClipRect(Rect{0, 0, 200, 200});
        c.SetBrush(Brush{BrushStyle::Solid, rgb(0, 255, 0), 0});
        c.Rectangle(0, 0, 5, 5);
        LogFont font;
        font.faceName = "Arial";
        font.height = -16;
        c.SetFont(font);
        const Rect box{10, 10, 120, 40};
        c.ExtTextOut(12, 12, eto::Clipped, &box, "clipped");
        c.RemoveClip();
        c.Rectangle(20, 20, 40, 40);
    });
    const Lines lines = translate(emf);
    const auto last = std::find(lines.rbegin(), lines.rend(), "Q");
    ASSERT_NE(last, lines.rend());
    // The restore brought back the blue; the green brush still selected is written again.
    const Lines after(last.base(), lines.end());
    const auto green = std::find(after.begin(), after.end(), "0 1 0 rg");
    const auto re = std::find_if(after.begin(), after.end(),
                                 [](const std::string& l) { return l.ends_with(" re"); });
    ASSERT_NE(re, after.end());
    EXPECT_LT(green, re) << "the last rectangle would be filled in the blue of before the clip";
}

// Figures collected in a path stay in it until the path is painted.
TEST(EMWParser, PolygonsInsideAPathAreFilledTogether) {
    std::string emf = withRecords(
        empty(),
        {record(EMR_CREATEBRUSHINDIRECT, {1, 0, 0, 0}), record(EMR_SELECTOBJECT, {1}),
         record(EMR_BEGINPATH, {}), test::points16(EMR_POLYGON16, {{0, 0}, {10, 0}, {10, 10}}),
         test::points16(EMR_POLYGON16, {{20, 0}, {30, 0}, {30, 10}}), record(EMR_CLOSEFIGURE, {}),
         record(EMR_ENDPATH, {}), record(EMR_FILLPATH, {0, 0, 0, 0})});
    const Lines ops = operators(translate(emf));
    EXPECT_EQ(ops, (Lines{"n", "m", "m", "l", "l", "m", "l", "l", "h", "f*", "n"}));
}

TEST(EMWParser, AFilledPathFollowsTheFillMode) {
    std::string emf =
        withRecords(empty(), {record(EMR_SETPOLYFILLMODE, {2}), record(EMR_BEGINPATH, {}),
                              test::points16(EMR_POLYGON16, {{0, 0}, {10, 0}, {10, 10}}),
                              record(EMR_ENDPATH, {}), record(EMR_FILLPATH, {0, 0, 0, 0})});
    const Lines ops = operators(translate(emf));
    EXPECT_EQ(ops, (Lines{"n", "m", "m", "l", "l", "f", "n"}));
}

TEST(EMWParser, PenStylesBecomeDashPatterns) {
    struct Case {
        PenStyle style;
        const char* dash;
    } cases[] = {{PenStyle::Dash, "[8 8] 0 d"},
                 {PenStyle::Dot, "[2 2] 0 d"},
                 {PenStyle::DashDot, "[8 2 2 2] 0 d"},
                 {PenStyle::DashDotDot, "[8 2 2 2 2 2] 0 d"}};
    for (const Case& c : cases) {
        const std::string emf = recorded([&](EmfRecorder& r) {
            r.SetPen(Pen{c.style, 1, 0});
            r.MoveTo(0, 0);
            r.LineTo(50, 0);
        });
        const Lines lines = translate(emf);
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.dash), lines.end()) << c.dash;
        EXPECT_EQ(operators(lines).back(), "S");
    }
}

TEST(EMWParser, TextAfterARotatedLineIsUpright) {
    const std::string emf = recorded([](EmfRecorder& c) {
        LogFont font;
        font.faceName = "Arial";
        font.height = -13;
        LogFont rotated = font;
        rotated.escapement = rotated.orientation = 900;
        c.SetFont(rotated);
        c.TextOut(12, 200, "up");
        c.SetFont(font);
        c.TextOut(40, 20, "across");
    });
    const Lines lines = translate(emf, 72);
    Lines matrices;
    for (const std::string& l : lines)
        if (l.ends_with(" Tm"))
            matrices.push_back(l.substr(0, l.find(' ', l.find(' ', l.find(' ') + 1) + 1)));
    // The rotated text turns after taking its place; the next one takes its
    // place in the turned matrix and turns back.
    EXPECT_EQ(matrices, (Lines{"1 0 0", "0 1 -1", "0 1 -1", "1 0 0"}));
}

// A pen chosen between two text records changes the dash once the text object ends.
TEST(EMWParser, ADashedPenSelectedDuringTextAppliesAfterTheText) {
    std::string emf = recorded([](EmfRecorder& c) {
        LogFont font;
        font.faceName = "Arial";
        font.height = -13;
        c.SetFont(font);
        c.TextOut(10, 10, "before");
    });
    emf = withRecords(emf, {record(EMR_CREATEPEN, {9, 1, 1, 0, 0}), record(EMR_SELECTOBJECT, {9}),
                            record(EMR_MOVETOEX, {0, 0}), record(EMR_LINETO, {50, 0})});
    const Lines lines = translate(emf);
    const auto et = std::find(lines.begin(), lines.end(), "ET") - lines.begin();
    const auto dash = std::find(lines.begin(), lines.end(), "[8 8] 0 d") - lines.begin();
    ASSERT_LT(std::size_t(dash), lines.size());
    EXPECT_GT(dash, et);
    EXPECT_EQ(operators(lines).back(), "S");
}

// Left, centre and right alignment put the text right, either side of, or left of the reference
// point.
TEST(EMWParser, TextAlignmentBitsChooseTheReferencePoint) {
    auto xOf = [](std::uint32_t align) {
        std::string emf = recorded([&](EmfRecorder& c) {
            LogFont font;
            font.faceName = "Arial";
            font.height = -16;
            c.SetFont(font);
            c.SetTextAlign(align);
            c.SetBkMode(BkMode::Transparent);
            c.TextOut(200, 50, "middle");
        });
        const Lines lines = translate(emf, 72);
        for (const std::string& l : lines)
            if (l.ends_with(" Tm")) {
                std::istringstream in(l);
                double a, b, c, d, e;
                in >> a >> b >> c >> d >> e;
                return e;
            }
        return -1.0;
    };
    const double left = xOf(textalign::Left), centre = xOf(textalign::Center),
                 right = xOf(textalign::Right);
    EXPECT_NEAR(left, 150, 1);
    EXPECT_LT(right, centre);
    EXPECT_LT(centre, left);
    EXPECT_NEAR(left - centre, centre - right, 1.5);
}

TEST(EMWParser, RightMultipliedTransformsComposeOnTheReferenceDevice) {
    auto xform = [](std::uint32_t type, float m11, float m22, float dx, float dy, int mode) {
        Bytes body;
        for (float f : {m11, 0.0f, 0.0f, m22, dx, dy})
            test::putFloat(body, f);
        if (mode) test::put32(body, std::uint32_t(mode));
        return record(type, body);
    };
    std::string emf =
        withRecords(empty(), {record(EMR_CREATEPEN, {1, 0, 1, 0, 0}), record(EMR_SELECTOBJECT, {1}),
                              xform(EMR_SETWORLDTRANSFORM, 2, 2, 0, 0, 0),
                              xform(EMR_MODIFYWORLDTRANSFORM, 1, 1, 10, 0, 3),
                              record(EMR_MOVETOEX, {0, 0}), record(EMR_LINETO, {1, 0})});
    const Lines lines = translate(emf, 72);
    // Right-multiplied: the scale comes first, then the shift, so x' = 2x + 10.
    EXPECT_EQ(lines[lines.size() - 3], "7.5 842 m");
    EXPECT_EQ(lines[lines.size() - 2], "9 842 l");
}

TEST(EMWParser, StockObjectsSetTheirOwnColours) {
    struct Case {
        std::uint32_t stock;
        const char* line; // the colour line it writes after a white brush
    } cases[] = {{1, "0.6667 0.6667 0.6667 rg"},
                 {2, "0.502 0.502 0.502 rg"},
                 {3, "0.4 0.4 0.4 rg"},
                 {4, "0 0 0 rg"},
                 {5, nullptr},
                 {6, "1 1 1 RG"}};
    for (const Case& c : cases) {
        std::string emf =
            withRecords(empty(), {record(EMR_SELECTOBJECT, {int(0x80000000)}),
                                  record(EMR_SELECTOBJECT, {int(0x80000000 | c.stock)})});
        const Lines lines = translate(emf);
        ASSERT_GE(lines.size(), 1u);
        EXPECT_EQ(lines[0], "1 1 1 rg");
        if (c.line)
            EXPECT_EQ(lines, (Lines{"1 1 1 rg", c.line})) << c.stock;
        else
            EXPECT_EQ(lines.size(), 1u) << c.stock; // the null brush is white as well
    }
}

TEST(EMWParser, RestoreDcReadsThePenBack) {
    std::string emf = withRecords(
        empty(), {record(EMR_CREATEPEN, {1, 0, 2, 0, 0x0000FF}), record(EMR_SELECTOBJECT, {1}),
                  record(EMR_SAVEDC, {}), record(EMR_CREATEPEN, {2, 1, 4, 0, 0xFF0000}),
                  record(EMR_SELECTOBJECT, {2}), record(EMR_RESTOREDC, {-1})});
    const Lines lines = translate(emf, 72);
    EXPECT_EQ(lines, (Lines{"1 0 0 RG", "1.5 w", "0 0 1 RG", "[8 8] 0 d", "3 w", "1 0 0 RG",
                            "[] 0 d", "1.5 w", "1 1 1 rg"}));
}

TEST(EMWParser, PolyDrawFollowsEachPointsType) {
    Bytes body(16, 0);
    test::put32(body, 4);
    for (auto [x, y] : {std::pair{0, 0}, {40, 0}, {40, 40}, {80, 80}}) {
        test::put32(body, std::uint32_t(x));
        test::put32(body, std::uint32_t(y));
    }
    for (std::uint8_t type : {6, 2, 3, 2})
        body.push_back(type); // move, line, line + close, line
    std::string emf =
        withRecords(empty(), {record(EMR_CREATEPEN, {1, 0, 1, 0, 0}), record(EMR_SELECTOBJECT, {1}),
                              record(EMR_POLYDRAW, body)});
    const Lines lines = translate(emf, 72);
    const Lines tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (Lines{"n", "0 842 m", "0 842 m", "30 842 l", "30 812 l", "0 842 l", "60 782 l",
                           "S"}));
    // The figure ends at its last point, where the next line starts.
    const Lines more = translate(withRecords(emf, {record(EMR_LINETO, {0, 0})}), 72);
    EXPECT_EQ(Lines(more.end() - 3, more.end()), (Lines{"60 782 m", "0 842 l", "S"}));
}

TEST(EMWParser, APixelIsAShortStrokeInItsOwnColour) {
    std::string emf =
        withRecords(empty(), {record(EMR_CREATEPEN, {1, 0, 3, 0, 0}), record(EMR_SELECTOBJECT, {1}),
                              record(EMR_SETPIXELV, {10, 10, 0x00FF00})});
    const Lines lines = translate(emf, 72);
    EXPECT_EQ(
        Lines(lines.begin() + 1, lines.end()),
        (Lines{"n", "0 1 0 RG", "1 w", "7.5 834.5 m", "7.51 834.49 l", "S", "2.25 w", "0 0 0 RG"}));
}

TEST(EMWParser, BadRecordsFailWithTheReadersError) {
    std::string emf = withRecords(empty(), {record(EMR_POLYLINE16, {0, 0, 0, 0, 1000})});
    EXPECT_THROW(translate(emf), EmfFormatError);
    EXPECT_THROW(translate("not a metafile at all"), EmfFormatError);
}

TEST(EMWParser, UnlistedRecordsAreSkipped) {
    std::string emf = withRecords(empty(), {record(EMR_SETMAPMODE, {1}), record(EMR_COMMENT, {0}),
                                            record(EMR_SETMITERLIMIT, {10})});
    EXPECT_EQ(translate(emf), Lines{});
}

TEST(EMWParser, StretchedBitmapsBecomeImages) {
    const std::string emf = recorded([](EmfRecorder& c) {
        c.StretchDIBits(Rect{10, 10, 74, 42}, test::mixedPageBitmap());
    });
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(96);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TEMWParser parser(*doc.CurrentPage(), FontService::shared());
    parser.LoadFromBytes(emf);
    parser.Translate();
    ASSERT_EQ(doc.Images().Count(), 1);
    EXPECT_EQ(doc.Images().Item(0).Width(), 16);
    EXPECT_EQ(doc.Images().Item(0).Height(), 8);
    EXPECT_EQ(doc.Images().Item(0).GetEncoding(), TPDFImage::Jpeg)
        << "device-independent bitmaps go as JPEG";
    const Lines ops = operators(doc.CurrentPage()->Content());
    EXPECT_NE(indexOf(ops, "Do"), -1);
    doc.Abort();
}

// The page-close path: what was drawn on the page's recording comes first.
TEST(EmfPageTranslator, RecordedDrawingIsTranslatedWhenThePageCloses) {
    test::TempDir dir;
    EmfPageRecordingFactory factory(FontService::shared());
    EmfPageTranslator translator(FontService::shared());
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(96);
    doc.SetRecordingFactory(&factory);
    doc.SetTranslator(&translator);
    doc.SetFileName(dir.file("page.pdf").string());
    doc.BeginDoc();
    auto& recording = static_cast<EmfPageRecording&>(*doc.Canvas());
    test::drawMixedPage(recording.Recorder());
    TPDFPage& first = *doc.CurrentPage();
    doc.NewPage();
    const Lines& content = first.Content();
    const auto gap = std::find(content.begin(), content.end(), "") - content.begin();
    ASSERT_LT(std::size_t(gap), content.size());
    EXPECT_EQ(content[gap + 1], "q");
    EXPECT_GT(count(operators(content), "Tj"), 3);
    doc.EndDoc();
    EXPECT_EQ(test::qpdfCheck(dir.file("page.pdf")).status, 0);
}

} // namespace
} // namespace pv
