#include "report/draw/ViewDrawing.h"
#include "report/model/LineView.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/draw/PictureDrawing.h"
#include "report/model/PictureView.h"
#include "report/draw/TextWrap.h"
#include "report/model/ViewGeometry.h"

#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/EmfRecorder.h"
#include "platform/FontService.h"
#include "tests/support/IconFixture.h"
#include "tests/support/WmfFixture.h"

#include <gtest/gtest.h>

#include <numeric>

namespace pv {
namespace {

// Keeps what is drawn: lines with their pen, fills, texts with their advances.
class SpyCanvas : public Canvas {
public:
    SpyCanvas() : Canvas(FontService::shared(), 96) {}
    struct Line {
        Point from, to;
        Pen pen;
    };
    struct Text {
        Point origin;
        std::string text;
        std::vector<int> advances;
        int width() const { return std::accumulate(advances.begin(), advances.end(), 0); }
    };
    std::vector<Line> lines;
    std::vector<Rect> fills;
    std::vector<Text> texts;
    std::vector<Rect> pictures, rectangles;
    std::vector<Dib> dibs;
    std::vector<StretchMode> stretchModes; // in force at each picture

protected:
    void drawDib(const Rect& dest, const Dib& dib) override {
        pictures.push_back(dest);
        dibs.push_back(dib);
        stretchModes.push_back(state().stretchMode);
    }
    void drawRectangle(const Rect& r) override { rectangles.push_back(r); }
    void drawLine(Point from, Point to) override { lines.push_back({from, to, state().pen}); }
    void drawFillRect(const Rect& r, const Brush&) override { fills.push_back(r); }
    void drawText(Point origin, std::uint32_t, const Rect*, std::string_view text,
                  const std::vector<int>& advances) override {
        texts.push_back({origin, std::string(text), advances});
    }
};

TfrMemoView box(int left, int top, int width, int height) {
    TfrMemoView m;
    m.Left = left, m.Top = top, m.Width = width, m.Height = height;
    m.FontName = "Arial";
    return m;
}

TEST(ApplyScaleTest, MarginsAndBoxFollowTheFrame) {
    TfrMemoView m = box(10, 20, 100, 50);
    m.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    m.FrameWidth = 3;
    ViewGeometry g = ApplyScale(m, {});
    // round(1.5) = 2 across, and half of that down.
    EXPECT_EQ(g.gx, m.GapX + 2);
    EXPECT_EQ(g.gy, m.GapY + 1);
    EXPECT_EQ(g.box, (Rect{11, 21, 109, 69}));
    EXPECT_EQ(g.right, 110);
    EXPECT_EQ(g.bottom, 70);

    m.FrameTyp = 0;
    m.FrameWidth = 1; // round(0.5) = 0: halves go to the even neighbour
    g = ApplyScale(m, {});
    EXPECT_EQ(g.gx, m.GapX);
    EXPECT_EQ(g.gy, m.GapY);
    EXPECT_EQ(g.box, (Rect{10, 20, 111, 71}));
}

TEST(ApplyScaleTest, ScalesWithHalvesToEven) {
    struct Case {
        int left;
        double sx;
        int ox;
        int x;
    } cases[] = {{5, 0.5, 0, 2}, {7, 0.5, 0, 4}, {10, 2, 5, 25}, {3, 1.5, 0, 4}};
    for (const Case& c : cases) {
        TfrMemoView m = box(c.left, 0, 10, 10);
        EXPECT_EQ(ApplyScale(m, {c.sx, 1, c.ox, 0}).x, c.x) << c.left << " x " << c.sx;
    }
}

TEST(DrawFrameTest, SidesInOrderRightLeftBottomTop) {
    TfrMemoView m = box(0, 0, 100, 50);
    m.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    SpyCanvas c;
    const DrawScale s;
    DrawFrame(c, m, ApplyScale(m, s), s);
    ASSERT_EQ(c.lines.size(), 4u);
    EXPECT_EQ(c.lines[0].from, (Point{100, 0})); // right
    EXPECT_EQ(c.lines[0].to, (Point{100, 50}));
    EXPECT_EQ(c.lines[1].from, (Point{0, 0}));  // left
    EXPECT_EQ(c.lines[2].to, (Point{100, 50})); // bottom
    EXPECT_EQ(c.lines[3].to, (Point{100, 0}));  // top
    EXPECT_EQ(c.lines[0].pen.width, 1);
}

TEST(DrawFrameTest, BrokenAndDoubleSides) {
    TfrMemoView m = box(0, 0, 100, 50);
    m.FrameTyp = frftTop;
    m.FrameWidth = 3;
    m.FillColor = rgb(255, 255, 0);
    const DrawScale s;
    {
        m.FrameStyle = uint16_t(FrameStyle::Dash);
        SpyCanvas c;
        DrawFrame(c, m, ApplyScale(m, s), s);
        ASSERT_EQ(c.lines.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.lines[i].from.y, i - 1);
            EXPECT_EQ(c.lines[i].pen.width, 1);
            EXPECT_EQ(c.lines[i].pen.style, PenStyle::Dash);
        }
        EXPECT_EQ(c.state().bkColor, m.FillColor);
    }
    {
        m.FrameStyle = uint16_t(FrameStyle::Double);
        SpyCanvas c;
        DrawFrame(c, m, ApplyScale(m, s), s);
        ASSERT_EQ(c.lines.size(), 3u);
        EXPECT_EQ(c.lines[0].from.y, -3);
        EXPECT_EQ(c.lines[1].from.y, 0);
        EXPECT_EQ(c.lines[1].pen.color, m.FillColor);
        EXPECT_EQ(c.lines[2].from.y, 3);
        EXPECT_EQ(c.lines[2].pen.width, 3);
    }
    {
        SpyCanvas c; // transparent: the gap shows what lies beneath
        m.FillColor = clNone;
        DrawFrame(c, m, ApplyScale(m, s), s);
        EXPECT_EQ(c.lines.size(), 2u);
    }
}

TEST(DrawFrameTest, NothingWithoutSidesOrInTheFirstPass) {
    TfrMemoView m = box(0, 0, 100, 50);
    SpyCanvas c;
    DrawFrame(c, m, ApplyScale(m, {}), {});
    m.FrameTyp = frftTop;
    DrawScale firstPass;
    firstPass.firstPassOfTwo = true;
    DrawFrame(c, m, ApplyScale(m, firstPass), firstPass);
    EXPECT_TRUE(c.lines.empty());
}

TEST(DrawBackgroundTest, TransparentPaintsOnlyInTheDesigner) {
    TfrMemoView m = box(10, 10, 20, 20);
    SpyCanvas c;
    DrawBackground(c, m, ApplyScale(m, {}), {});
    EXPECT_TRUE(c.fills.empty());
    DrawScale designer;
    designer.designer = true;
    DrawBackground(c, m, ApplyScale(m, designer), designer);
    ASSERT_EQ(c.fills.size(), 1u);
    EXPECT_EQ(c.fills[0], (Rect{10, 10, 30, 30}));
}

TEST(DrawLineViewTest, FlatLinesAndPoints) {
    struct Case {
        int width, height;
        Point to;
    } cases[] = {{100, 0, {110, 20}}, {0, 0, {10, 20}}, {0, 40, {10, 60}}};
    for (const Case& k : cases) {
        TfrLineView line;
        line.Left = 10, line.Top = 20, line.Width = k.width, line.Height = k.height;
        SpyCanvas c;
        DrawLineView(c, line, {});
        ASSERT_EQ(c.lines.size(), 1u) << k.width << "x" << k.height;
        EXPECT_EQ(c.lines[0].from, (Point{10, 20}));
        EXPECT_EQ(c.lines[0].to, k.to);
    }
}

TEST(PictureTargetTest, KeepAspectWithAndWithoutCenter) {
    TfrPictureView p;
    p.Width = p.Height = 100;
    const ViewGeometry g = ApplyScale(p, {});
    const Rect top = PictureTarget(g, 200, 100, {}, true, true, false);
    EXPECT_EQ(top.top, g.box.top);
    EXPECT_EQ(top.height(), 50);
    EXPECT_EQ(top.width(), g.box.width());
    const Rect centred = PictureTarget(g, 200, 100, {}, true, true, true);
    EXPECT_EQ(centred.top, g.box.top + (g.box.height() - 50) / 2);
    EXPECT_EQ(centred.height(), 50);
    // Unstretched: its own size, scaled.
    const Rect own = PictureTarget(g, 40, 30, {2, 2, 0, 0}, false, false, false);
    EXPECT_EQ(own.width(), 80);
    EXPECT_EQ(own.height(), 60);
}

// A 24-bit bitmap file of one colour.
std::string bmpFile(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string d(54 + size_t(row) * size_t(height), '\0');
    const auto put = [&d](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            d[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    d[0] = 'B', d[1] = 'M';
    put(2, uint32_t(d.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (size_t i = 54; i < d.size(); ++i)
        d[i] = char(0x80);
    return d;
}

TEST(DrawPictureTest, BitmapIntoItsTargetAndBadBytesOnlyFramed) {
    TfrPictureView p;
    p.Width = p.Height = 100;
    p.FrameTyp = frftTop;
    p.setFlag(flPictCenter, true);
    p.Picture = {gkBitmap, bmpFile(200, 100)};
    SpyCanvas c;
    DrawPicture(c, p, {});
    const ViewGeometry g = ApplyScale(p, {});
    ASSERT_EQ(c.pictures.size(), 1u);
    EXPECT_EQ(c.pictures[0], PictureTarget(g, 200, 100, {}, true, true, true));
    EXPECT_EQ(c.pictures[0].height(), 50);
    EXPECT_EQ(c.lines.size(), 1u) << "the frame is drawn after the picture";

    struct Case {
        Graphic graphic;
        size_t pictures, rectangles;
    } cases[] = {
        {{gkBitmap, "BM garbage that is no bitmap"}, 0, 0},
        {{gkBitmap, bmpFile(4, 4).substr(0, 60)}, 0, 0}, // bits cut short
        {{gkJpeg, "\xFF\xD8 not really"}, 0, 0},
        {{gkMetafile, "\x01\x00"}, 0, 0},
        {{gkNone, ""}, 0, 0},
    };
    for (const Case& k : cases) {
        p.Picture = k.graphic;
        SpyCanvas bad;
        DrawPicture(bad, p, {});
        EXPECT_EQ(bad.pictures.size(), k.pictures) << int(k.graphic.kind);
        EXPECT_EQ(bad.rectangles.size(), k.rectangles) << int(k.graphic.kind);
        EXPECT_EQ(bad.lines.size(), 1u);
    }
}

// A metafile picture of 200 x 100 pixels: its outline and a diagonal.
std::string metafilePicture() {
    EmfRecorder r(FontService::shared(), ReferenceDevice::screen(), Size{200, 100});
    r.SetPen({PenStyle::Solid, 1, rgb(0, 0, 200)});
    r.SetBrush({BrushStyle::Hollow, 0, 0});
    r.Rectangle(0, 0, 200, 100);
    r.MoveTo(0, 0);
    r.LineTo(200, 100);
    const std::vector<std::uint8_t> bytes = r.finish();
    return std::string(bytes.begin(), bytes.end());
}

// The same picture as an old-style metafile, placeable, 96 units per inch.
std::string windowsMetafilePicture() {
    test::WmfBuilder b({{0, 0, 200, 100}}, 96);
    b.record(test::wmf::CreatePen, {0, 1, 0, 0, 200}); // blue: 0x00C80000
    b.record(test::wmf::CreateBrush, {1, 0, 0, 0});
    b.record(test::wmf::SelectObject, {0}).record(test::wmf::SelectObject, {1});
    b.record(test::wmf::Rectangle, {100, 200, 0, 0});
    b.record(test::wmf::MoveTo, {0, 0}).record(test::wmf::LineTo, {100, 200});
    return b.finish();
}

TEST(DrawPictureTest, MetafileFillsItsTargetAsABitmapWould) {
    for (const std::string& picture : {metafilePicture(), windowsMetafilePicture()}) {
        SCOPED_TRACE(picture.substr(0, 1) == "\x01" ? "enhanced" : "old-style");
        EXPECT_EQ(Graphic({gkMetafile, picture}).size()->width, 200);
        EXPECT_EQ(Graphic({gkMetafile, picture}).size()->height, 100);
        struct Case {
            bool stretched, keepAspect, center;
            DrawScale scale;
        } cases[] = {
            {true, false, false, {}},
            {true, true, false, {}},
            {true, true, true, {}},
            {false, false, false, {0.5, 0.5, 3, 4}},
            {false, false, true, {0.25, 0.25, 0, 0}},
            {true, true, true, {2, 2, 0, 0, true}}, // printing plays it the same way
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.stretched << c.keepAspect << c.center);
            TfrPictureView p;
            p.Left = 10, p.Top = 20, p.Width = p.Height = 100;
            p.FrameTyp = frftTop;
            p.setFlag(flStretched, c.stretched);
            p.setFlag(flPictRatio, c.keepAspect);
            p.setFlag(flPictCenter, c.center);
            p.Picture = {gkMetafile, picture};
            SpyCanvas canvas;
            canvas.SetPen({PenStyle::Dash, 2, rgb(1, 2, 3)});
            const ViewGeometry g = ApplyScale(p, c.scale);
            const Rect target =
                PictureTarget(g, 200, 100, c.scale, c.stretched, c.keepAspect, c.center);
            DrawPicture(canvas, p, c.scale);
            ASSERT_EQ(canvas.rectangles.size(), 1u);
            EXPECT_EQ(canvas.rectangles[0], target);
            ASSERT_EQ(canvas.lines.size(), 2u) << "the diagonal, then the frame";
            EXPECT_EQ(canvas.lines[0].from, (Point{target.left, target.top}));
            EXPECT_EQ(canvas.lines[0].to, (Point{target.right, target.bottom}));
            EXPECT_EQ(canvas.lines[0].pen.color, rgb(0, 0, 200));
            EXPECT_FALSE(canvas.state().clip) << "the target's clip is taken off again";
            EXPECT_EQ(canvas.SaveDC(), 1);
        }
    }
    // In proportion, the 200 x 100 picture in a 100 x 100 box is half as high.
    TfrPictureView p;
    p.Width = p.Height = 100;
    p.setFlag(flPictCenter, true);
    p.Picture = {gkMetafile, windowsMetafilePicture()};
    SpyCanvas canvas;
    DrawPicture(canvas, p, {});
    ASSERT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.rectangles[0].height(), 50);
    EXPECT_EQ(canvas.rectangles[0].top, 25);
}

TEST(DrawPictureTest, MetafilesAndIconsThatDoNotDecode) {
    const std::string emf = metafilePicture();
    std::string broken = emf;
    broken[emf.size() - 16] = char(0x7C); // the end record's size runs past the end
    std::string placeable(22, '\0');
    const unsigned char key[] = {0xD7, 0xCD, 0xC6, 0x9A};
    std::copy(std::begin(key), std::end(key), placeable.begin());
    const std::string wmfFile = windowsMetafilePicture();
    const std::string cutWmf = wmfFile.substr(0, wmfFile.size() - 10);
    test::IconImage png;
    png.png = true, png.width = png.height = 48;
    test::IconImage outside;
    outside.value = [](int, int) { return 0u; };
    std::string pointsOutside = test::iconFile({outside});
    pointsOutside[6 + 12] = char(0x70);
    struct Case {
        const char* name;
        Graphic graphic;
        size_t rectangles;
    } cases[] = {
        {"metafile cut", {gkMetafile, emf.substr(0, emf.size() - 8)}, 0},
        {"metafile with a bad record", {gkMetafile, broken}, 0},
        {"not a metafile", {gkMetafile, "garbage bytes that are no metafile"}, 0},
        {"placeable header alone", {gkMetafile, placeable}, 0},
        {"old-style metafile cut", {gkMetafile, cutWmf}, 0},
        {"icon of one PNG image", {gkIcon, test::iconFile({png})}, 1},
        {"icon whose image lies outside", {gkIcon, pointsOutside}, 0},
        {"not an icon", {gkIcon, "\1\2\3"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TfrPictureView p;
        p.Width = p.Height = 100;
        p.FrameTyp = frftTop;
        p.Picture = c.graphic;
        SpyCanvas canvas;
        EXPECT_NO_THROW(DrawPicture(canvas, p, {}));
        EXPECT_EQ(canvas.rectangles.size(), c.rectangles);
        EXPECT_TRUE(canvas.pictures.empty());
        ASSERT_EQ(canvas.lines.size(), 1u) << "only the frame";
        EXPECT_EQ(canvas.SaveDC(), 1);
    }
}

TEST(DrawPictureTest, IconIsDrawnFromItsBestImageOverTheFill) {
    test::IconImage small, large;
    small.width = small.height = 16;
    small.value = [](int, int) { return 0xFF0000u; };
    large.width = large.height = 32;
    large.bitCount = 8;
    large.palette = {rgb(0, 255, 0)};
    large.value = [](int, int) { return 0u; };
    large.masked = [](int x, int y) { return x == 0 && y == 0; };
    TfrPictureView p;
    p.Width = p.Height = 64;
    p.setFlag(flStretched, false);
    p.Picture = {gkIcon, test::iconFile({small, large})};
    struct Case {
        uint32_t fill;
        Color shows;
    } cases[] = {{clNone, rgb(255, 255, 255)}, {rgb(10, 20, 30), rgb(10, 20, 30)}};
    for (const Case& c : cases) {
        p.FillColor = c.fill;
        SpyCanvas canvas;
        DrawPicture(canvas, p, {});
        ASSERT_EQ(canvas.dibs.size(), 1u);
        const Dib& dib = canvas.dibs[0];
        ASSERT_EQ(dib.width, 32);
        EXPECT_EQ(canvas.pictures[0].width(), 32) << "unstretched: its own size";
        EXPECT_EQ(rgb(dib.pixel(0, 0)[0], dib.pixel(0, 0)[1], dib.pixel(0, 0)[2]), c.shows);
        EXPECT_EQ(rgb(dib.pixel(1, 0)[0], dib.pixel(1, 0)[1], dib.pixel(1, 0)[2]), rgb(0, 255, 0));
        EXPECT_EQ(canvas.stretchModes[0], StretchMode::BlackOnWhite);
    }
}

// A 1-bit bitmap file, black and white.
std::string monochromeBmpFile(int width, int height) {
    std::string d = bmpFile(width, height).substr(0, 54);
    d[28] = 1;
    d[10] = char(54 + 8);
    d += std::string("\0\0\0\0\xFF\xFF\xFF\0", 8);
    d += std::string(size_t((width + 31) / 32 * 4 * height), char(0xAA));
    return d;
}

TEST(DrawPictureTest, PrintingResamplesAllButMonochromeBitmaps) {
    test::IconImage icon;
    icon.value = [](int, int) { return 0u; };
    struct Case {
        Graphic graphic;
        bool printing;
        StretchMode mode;
    } cases[] = {
        {{gkBitmap, bmpFile(8, 4)}, false, StretchMode::BlackOnWhite},
        {{gkBitmap, bmpFile(8, 4)}, true, StretchMode::Halftone},
        {{gkBitmap, monochromeBmpFile(8, 4)}, true, StretchMode::BlackOnWhite},
        {{gkIcon, test::iconFile({icon})}, true, StretchMode::BlackOnWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.graphic.kind) << c.printing);
        TfrPictureView p;
        p.Width = p.Height = 100;
        p.Picture = c.graphic;
        SpyCanvas canvas;
        DrawScale scale;
        scale.printing = c.printing;
        DrawPicture(canvas, p, scale);
        ASSERT_EQ(canvas.stretchModes.size(), 1u);
        EXPECT_EQ(canvas.stretchModes[0], c.mode);
        EXPECT_EQ(canvas.state().stretchMode, StretchMode::BlackOnWhite) << "put back after";
        EXPECT_EQ(canvas.SaveDC(), 1);
    }
}

class DrawMemoTest : public testing::Test {
protected:
    // The width a text gets on the spy canvas in the box's font.
    int widthOf(const TfrMemoView& m, const std::string& text) {
        SpyCanvas c;
        c.SetFont(MemoFont(m, MeasuringFontHeight(m)));
        return c.GetTextExtent(text).cx;
    }
};

TEST_F(DrawMemoTest, HorizontalAlignments) {
    struct Case {
        uint32_t alignment;
        const char* name;
    } cases[] = {{frtaLeft, "left"}, {frtaRight, "right"}, {frtaCenter, "centre"}};
    for (const Case& k : cases) {
        TfrMemoView m = box(10, 10, 200, 30);
        m.Alignment = k.alignment;
        m.Memo = {ru("Итого")};
        SpyCanvas c;
        ASSERT_EQ(DrawMemo(c, m, {}), 1);
        const ViewGeometry g = ApplyScale(m, {});
        const int tw = widthOf(m, m.Memo[0]);
        const int expected = k.alignment == frtaLeft ? g.x + g.gx
                             : k.alignment == frtaRight
                                 ? g.x + g.box.width() - g.gx - tw - 1
                                 : g.x + g.gx + (g.box.width() - 2 * g.gx - tw) / 2;
        ASSERT_EQ(c.texts.size(), 1u);
        EXPECT_EQ(c.texts[0].origin, (Point{expected, g.y + g.gy})) << k.name;
    }
}

TEST_F(DrawMemoTest, JustifiedSpreadsAllButParagraphEnds) {
    TfrMemoView m = box(0, 0, 120, 200);
    m.Alignment = frtaJustify;
    m.Memo = {ru("Пенсионный фонд Российской Федерации"), ru("Нет_пробелов_в_строке_совсем")};
    m.setFlag(flWordBreak, false);
    SpyCanvas c;
    DrawMemo(c, m, {});
    const ViewGeometry g = ApplyScale(m, {});
    const int full = g.box.width() - 2 * g.gx;
    ASSERT_GE(c.texts.size(), 3u);
    EXPECT_EQ(c.texts[0].width(), full) << "a wrapped line fills the box";
    for (const auto& t : c.texts)
        EXPECT_EQ(t.origin.x, g.gx);
    const auto& lastOfFirst = c.texts[c.texts.size() - 2];
    EXPECT_LT(lastOfFirst.width(), full) << "the paragraph's last line keeps its width";
    EXPECT_EQ(c.texts.back().width(), widthOf(m, c.texts.back().text)) << "no blanks to spread";
}

TEST_F(DrawMemoTest, AutoWidthKeepsTheRightEdgeOfRightAlignedText) {
    TfrMemoView m = box(100, 0, 20, 20);
    m.setFlag(flAutoWidth, true);
    m.Alignment = frtaRight;
    m.Memo = {ru("Длинное значение поля")};
    SpyCanvas c;
    DrawMemo(c, m, {});
    EXPECT_GT(m.Width, 20);
    EXPECT_EQ(m.Left + m.Width, 120);
    ASSERT_EQ(c.texts.size(), 1u) << "auto-sized text does not wrap";

    TfrMemoView left = box(100, 0, 20, 20);
    left.setFlag(flAutoWidth, true);
    left.Memo = m.Memo;
    DrawMemo(c, left, {});
    EXPECT_EQ(left.Left, 100);
    EXPECT_EQ(left.Width, m.Width);
}

TEST_F(DrawMemoTest, RotatedLinesRunUpAndToTheRight) {
    TfrMemoView m = box(0, 0, 100, 200);
    m.Alignment = frtaVertical;
    m.Memo = {ru("Первая"), ru("Вторая")};
    SpyCanvas c;
    DrawMemo(c, m, {});
    const ViewGeometry g = ApplyScale(m, {});
    ASSERT_EQ(c.texts.size(), 2u);
    EXPECT_EQ(c.texts[0].origin, (Point{g.x + g.gx, g.box.bottom - g.gy}));
    EXPECT_EQ(c.texts[1].origin.x - c.texts[0].origin.x, m.LineSpacing + MeasuringFontHeight(m));
    EXPECT_EQ(c.state().font.escapement, 900);
}

TEST_F(DrawMemoTest, VerticalAlignmentAndClipAtBottom) {
    TfrMemoView m = box(0, 0, 200, 100);
    m.Memo = {"A", "B"};
    const MemoLayout layout = MeasureMemo(m, m.Memo);
    EXPECT_EQ(layout.textHeight, 2 * (m.LineSpacing + MeasuringFontHeight(m)) + 2 * m.GapY);
    const ViewGeometry g = ApplyScale(m, {});
    m.Alignment = frtaDown;
    SpyCanvas down;
    DrawMemo(down, m, {});
    EXPECT_EQ(down.texts[0].origin.y, g.box.bottom - layout.textHeight - 1 + g.gy);
    m.Alignment = frtaDown | frtaMiddle; // both bits: top
    SpyCanvas top;
    DrawMemo(top, m, {});
    EXPECT_EQ(top.texts[0].origin.y, g.y + g.gy);

    m.Alignment = frtaLeft;
    m.Height = layout.lineHeight + 2 * m.GapY; // room for one line
    SpyCanvas clipped;
    EXPECT_EQ(DrawMemo(clipped, m, {}, {true}), 1);
}

TEST_F(DrawMemoTest, ValueWithLineBreakGivesTwoLinesAndHeights) {
    TfrMemoView m = box(0, 0, 200, 100);
    const MemoLayout layout = MeasureMemo(m, {"first\r\nsecond"});
    EXPECT_EQ(layout.lines.size(), 2u);
    const int fp = MeasuringFontHeight(m); // 10 pt: 13 pixels
    EXPECT_EQ(fp, 13);
    m.FrameWidth = 1;
    EXPECT_EQ(SmallestPartHeight(m), 2 + m.LineSpacing + fp + 2 * m.GapY);
    m.Height = 4 + 3 * (m.LineSpacing + fp) + 5;
    EXPECT_EQ(LeftoverHeight(m), 4 + 5);

    // A spacing that cancels the font leaves lines of no height: nothing to
    // divide by, and ruled lines are not drawn.
    m.LineSpacing = -fp;
    EXPECT_EQ(LeftoverHeight(m), 4);
    m.setFlag(flUnderlines, true);
    m.Memo = {"x"};
    SpyCanvas c;
    EXPECT_EQ(DrawMemo(c, m, {}), 1);
    EXPECT_TRUE(c.lines.empty());
}

TEST_F(DrawMemoTest, CutAcrossPagesLosesAndDoublesNoLine) {
    TfrMemoView m = box(0, 0, 200, 0);
    m.Memo = {"one", "two", "three", "four", "five"};
    const int lineHeight = m.LineSpacing + MeasuringFontHeight(m);
    struct Case {
        int lines;
        Lines written, rest;
    } cases[] = {
        {2, {"one\x01", "two\x01"}, {"three\x01", "four\x01", "five\x01"}},
        {0, {"\x01"}, {"one\x01", "two\x01", "three\x01", "four\x01", "five\x01"}},
        {9, {"one\x01", "two\x01", "three\x01", "four\x01", "five\x01"}, {}},
    };
    for (const Case& c : cases) {
        m.Height = c.lines * lineHeight + 2 * m.GapY;
        const MemoParts parts = CutMemo(m);
        EXPECT_EQ(parts.written, c.written) << c.lines;
        EXPECT_EQ(parts.rest, c.rest) << c.lines;
    }
    // A line cut inside a paragraph carries no marker; the part is marked
    // as wrapped, and the rest is laid out as it stands.
    m.Memo = {ru("Пенсионный фонд Российской Федерации")};
    m.Width = 60;
    m.Height = lineHeight + 2 * m.GapY;
    const MemoParts parts = CutMemo(m);
    ASSERT_EQ(parts.written.size(), 2u);
    EXPECT_EQ(parts.written[1], "\x01");
    TfrMemoView next = m;
    next.Memo = parts.rest;
    next.Width = 400; // wider now, and still not wrapped again
    EXPECT_EQ(MeasureMemo(next, next.Memo).lines, parts.rest);
}

} // namespace
} // namespace pv
