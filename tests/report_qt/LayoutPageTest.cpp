#include "report/ExpressionEngine.h"
#include "report/LineView.h"
#include "report/MemoLayout.h"
#include "report/MemoPrint.h"
#include "report/MemoView.h"
#include "report/PictureDrawing.h"
#include "report/PictureView.h"
#include "report/ViewDrawing.h"
#include "report/qt/QtPainterCanvas.h"

#include "platform/CodePage.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"

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

    // A bitmap kept in proportion and centred, and a metafile as its bounds.
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
    metafile.Left = 700, metafile.Top = 120, metafile.Width = 80, metafile.Height = 60;
    metafile.Picture = {gkMetafile, "\x01"};
    DrawPicture(canvas, metafile, scale);

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
