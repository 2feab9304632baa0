#include "report/script/ExpressionEngine.h"
#include "report/model/LineView.h"
#include "report/draw/MemoLayout.h"
#include "report/prepare/MemoPrint.h"
#include "report/model/MemoView.h"
#include "report/draw/PictureDrawing.h"
#include "report/model/PictureView.h"
#include "report/draw/ViewDrawing.h"
#include "report/qt/QtPainterCanvas.h"

#include "platform/CodePage.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"
#include "tests/support/IconFixture.h"
#include "tests/support/WmfFixture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace pv {
namespace {

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "layout_page";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

// A metafile of 200 x 100 pixels: a filled panel, a triangle, a thick
// diagonal and a caption.
std::string metafilePicture() {
    EmfRecorder r(FontService::shared(), ReferenceDevice::screen(), Size{200, 100});
    r.SetPen({PenStyle::Solid, 2, rgb(0, 0, 128)});
    r.SetBrush({BrushStyle::Solid, rgb(210, 230, 255), 0});
    r.Rectangle(0, 0, 200, 100);
    r.SetBrush({BrushStyle::Solid, rgb(0, 160, 0), 0});
    const Point triangle[] = {{20, 90}, {60, 20}, {100, 90}};
    r.Polygon(triangle);
    r.SetPen({PenStyle::Solid, 5, rgb(220, 0, 0)});
    r.MoveTo(110, 90);
    r.LineTo(190, 10);
    LogFont font;
    font.faceName = "Arial";
    font.height = -20;
    font.weight = kFontWeightBold;
    r.SetFont(font);
    r.SetBkMode(BkMode::Transparent);
    r.TextOut(110, 60, ru("ПФР"));
    const std::vector<std::uint8_t> bytes = r.finish();
    return std::string(bytes.begin(), bytes.end());
}

// A 32 x 32 icon of 8 bits: a yellow disc in a red ring, masked outside.
std::string iconPicture() {
    test::IconImage disc;
    disc.width = disc.height = 32, disc.bitCount = 8;
    disc.palette = {rgb(255, 220, 0), rgb(200, 0, 0)};
    const auto r2 = [](int x, int y) { return (x - 16) * (x - 16) + (y - 16) * (y - 16); };
    disc.value = [r2](int x, int y) { return r2(x, y) > 100 ? 1u : 0u; };
    disc.masked = [r2](int x, int y) { return r2(x, y) > 225; };
    return test::iconFile({disc});
}

// An old-style metafile in twips, 3 x 1.5 cm: a frame, a filled ellipse, a caption.
std::string windowsMetafilePicture() {
    using namespace test;
    WmfBuilder b({{0, 0, 1700, 850}});
    b.record(wmf::SetWindowOrg, {0, 0}).record(wmf::SetWindowExt, {850, 1700});
    b.record(wmf::CreatePen, {0, 30, 0, 0x8000, 0}); // green
    b.record(wmf::CreateBrush, {0, 0xDCFF, 0, 0});   // yellow
    b.record(wmf::SelectObject, {0}).record(wmf::SelectObject, {1});
    b.record(wmf::Rectangle, {850, 1700, 0, 0});
    b.record(wmf::CreateBrush, {0, 0x00FF, 0x0080, 0}); // purple
    b.record(wmf::SelectObject, {2});
    b.record(wmf::Ellipse, {800, 800, 50, 50});
    std::vector<int> font = {-250, 0, 0, 0, 700, 0, 204 << 8, 0, 0}; // Cyrillic charset
    for (int w : WmfBuilder::textWords(std::string("Arial\0", 6)))
        font.push_back(w);
    b.record(wmf::CreateFont, font).record(wmf::SelectObject, {3});
    b.record(0x0102, {1}); // transparent background
    std::vector<int> text = {3};
    for (int w : WmfBuilder::textWords(ru("ПФР")))
        text.push_back(w);
    text.push_back(300), text.push_back(950);
    b.record(wmf::TextOut, text);
    return b.finish();
}

// A page of text boxes and lines covering the frame styles, alignments,
// rotation, justification, hyphenation and ruled lines.
void drawPage(Canvas& canvas, const DrawScale& scale) {
    const char* text = "Пенсионный фонд Российской Федерации, сведения о страховом стаже";
    const uint32_t alignments[] = {frtaLeft, frtaRight, frtaCenter, frtaJustify};
    for (int style = 0; style <= 5; ++style) {
        TfrMemoView m;
        m.Left = 10 + style * 125, m.Top = 10, m.Width = 115, m.Height = 90;
        m.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
        m.FrameStyle = uint16_t(style);
        m.FrameWidth = style == 5 ? 1 : 2;
        m.FillColor = style % 2 ? rgb(255, 255, 200) : clNone;
        m.Alignment = alignments[style % 4] | (style >= 4 ? frtaMiddle : 0);
        m.setFlag(flWordBreak, style % 2 == 1);
        m.Memo = {ru(text)};
        DrawMemo(canvas, m, scale);
    }
    TfrMemoView turned;
    turned.Left = 10, turned.Top = 120, turned.Width = 60, turned.Height = 200;
    turned.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    turned.Alignment = frtaVertical | frtaCenter;
    turned.Memo = {ru("Повёрнутый"), ru("текст")};
    DrawMemo(canvas, turned, scale);

    TfrMemoView ruled;
    ruled.Left = 90, ruled.Top = 120, ruled.Width = 300, ruled.Height = 100;
    ruled.setFlag(flUnderlines, true);
    ruled.FontStyle = fsBold | fsItalic;
    ruled.FontColor = int32_t(rgb(0, 0, 160));
    ruled.Memo = {ru("Строки на линейках, жирный курсив"), ru("вторая строка")};
    DrawMemo(canvas, ruled, scale);

    TfrMemoView highlighted;
    highlighted.Left = 420, highlighted.Top = 120, highlighted.Width = 150, highlighted.Height = 40;
    highlighted.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    highlighted.HighlightCondition = "2 > 1";
    highlighted.HighlightFontColor = rgb(200, 0, 0);
    highlighted.HighlightFillColor = rgb(200, 230, 255);
    highlighted.Memo = {ru("Выделено условием")};
    {
        ExpressionEngine engine;
        ScopedHighlight highlight(highlighted, engine);
        DrawMemo(canvas, highlighted, scale);
    }

    // A bitmap and a metafile kept in proportion and centred.
    TfrPictureView bitmap, metafile;
    bitmap.Left = 590, bitmap.Top = 120, bitmap.Width = 100, bitmap.Height = 100;
    bitmap.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    bitmap.setFlag(flPictCenter, true);
    std::string bmp(54 + 12 * 2, '\0');
    const unsigned char header[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40,
                                    0,   0,   0, 4, 0, 0, 0, 2, 0, 0, 0,  1, 0, 24};
    std::copy(std::begin(header), std::end(header), bmp.begin());
    for (size_t i = 54; i < bmp.size(); ++i)
        bmp[i] = char(i % 3 == 0 ? 0xC0 : 0x30);
    bitmap.Picture = {gkBitmap, bmp};
    DrawPicture(canvas, bitmap, scale);
    metafile.Left = 600, metafile.Top = 240, metafile.Width = 190, metafile.Height = 110;
    metafile.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    metafile.setFlag(flPictCenter, true);
    metafile.Picture = {gkMetafile, metafilePicture()};
    DrawPicture(canvas, metafile, scale);

    TfrPictureView old;
    old.Left = 430, old.Top = 275, old.Width = 150, old.Height = 75;
    old.Picture = {gkMetafile, windowsMetafilePicture()};
    DrawPicture(canvas, old, scale);

    // Icons: one stretched over a coloured fill, one at its own size on none.
    TfrPictureView icon, ownSize;
    icon.Left = 430, icon.Top = 200, icon.Width = 64, icon.Height = 64;
    icon.FillColor = rgb(200, 255, 200);
    icon.FrameTyp = frftLeft | frftRight | frftTop | frftBottom;
    icon.Picture = {gkIcon, iconPicture()};
    DrawPicture(canvas, icon, scale);
    ownSize = icon;
    ownSize.Left = 510, ownSize.FillColor = clNone;
    ownSize.setFlag(flStretched, false);
    DrawPicture(canvas, ownSize, scale);

    TfrLineView across, down;
    across.Left = 90, across.Top = 240, across.Width = 300, across.Height = 0;
    across.FrameWidth = 3;
    down.Left = 400, down.Top = 120, down.Width = 0, down.Height = 200;
    down.FrameStyle = uint16_t(FrameStyle::Dot);
    DrawLineView(canvas, across, scale);
    DrawLineView(canvas, down, scale);
}

class PositionSpy : public Canvas {
public:
    PositionSpy() : Canvas(FontService::shared(), 96) {}
    std::vector<Point> origins;

private:
    void drawText(Point origin, std::uint32_t, const Rect*, std::string_view,
                  const std::vector<int>&) override {
        origins.push_back(origin);
    }
};

TEST(LayoutPageTest, RendersOnQtAndRecordsTheSamePositions) {
    application();
    QImage image(800, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtPainterCanvas canvas(painter, FontService::shared(), 96);
        drawPage(canvas, {});
    }
    ASSERT_TRUE(image.save("layout_page.png"));
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(inked, 2000);
    // The pictures show: the metafile's triangle, the icon's disc, its masked
    // corners over the fill, and white where there is no fill.
    EXPECT_EQ(QColor(image.pixel(657, 311)), QColor(0, 160, 0));
    EXPECT_EQ(QColor(image.pixel(462, 232)), QColor(255, 220, 0));
    EXPECT_EQ(QColor(image.pixel(433, 203)), QColor(200, 255, 200));
    EXPECT_EQ(QColor(image.pixel(527, 216)), QColor(255, 220, 0));
    EXPECT_EQ(QColor(image.pixel(511, 201)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(465, 312)), QColor(255, 0, 128));
    EXPECT_EQ(QColor(image.pixel(570, 280)), QColor(255, 220, 0));

    PositionSpy spy;
    drawPage(spy, {});
    EmfRecorder recorder(FontService::shared());
    drawPage(recorder, {});
    const std::vector<std::uint8_t> bytes = recorder.finish();
    std::vector<Point> recorded;
    for (const EmfRecord& r : EmfReader(bytes))
        if (r.type() == emf::EMR_EXTTEXTOUTW) recorded.push_back(decodeExtTextOutW(r).reference);
    ASSERT_GT(spy.origins.size(), 20u);
    EXPECT_EQ(recorded, spy.origins);
}

} // namespace
} // namespace pv
