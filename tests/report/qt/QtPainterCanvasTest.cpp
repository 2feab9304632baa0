#include "report/qt/QtPainterCanvas.h"
#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecorder.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"
#include "tests/support/MixedPage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <numeric>

namespace pv {
namespace {

QGuiApplication& app() {
    static int argc = 1;
    static char name[] = "report_qt_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return application;
}

QImage whitePage(int w, int h, int dpi = 96) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
    return image;
}

bool inked(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 160;
}

// Leftmost and rightmost inked columns, or {-1, -1}.
std::pair<int, int> inkColumns(const QImage& image) {
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (inked(image, x, y)) {
                if (left < 0) left = x;
                right = x;
                break;
            }
    return {left, right};
}

// Where the first glyph's ink starts and the last glyph's ink ends, relative
// to the origin, for glyphs placed at the given advances: read from the face
// file with FreeType directly, not through the drawing layer.
std::pair<double, double> expectedInk(const FontFace& face, int em, unsigned firstGlyph,
                                      unsigned lastGlyph, int lastPen) {
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face ft;
    FT_New_Face(lib, face.filePath().c_str(), face.faceIndex(), &ft);
    FT_Set_Pixel_Sizes(ft, 0, FT_UInt(em));
    FT_Load_Glyph(ft, firstGlyph, FT_LOAD_NO_HINTING);
    const double left = ft->glyph->metrics.horiBearingX / 64.0;
    FT_Load_Glyph(ft, lastGlyph, FT_LOAD_NO_HINTING);
    const double right =
        lastPen + (ft->glyph->metrics.horiBearingX + ft->glyph->metrics.width) / 64.0;
    FT_Done_Face(ft);
    FT_Done_FreeType(lib);
    return {left, right};
}

TEST(QtPainterCanvas, MixedPageRendersOffscreen) {
    app();
    QImage image = whitePage(600, 440);
    {
        QPainter painter(&image);
        QtPainterCanvas canvas(painter, FontService::shared());
        EXPECT_EQ(canvas.pixelsPerInch(), 96);
        test::drawMixedPage(canvas);
    }
    ASSERT_TRUE(image.save(QString(PV_BINARY_DIR) + "/mixed-page.png"));

    EXPECT_EQ(image.pixel(100, 170), qRgb(180, 210, 255)) << "filled rectangle";
    EXPECT_EQ(image.pixel(275, 170), qRgb(255, 230, 150)) << "rectangle with a brush";
    EXPECT_EQ(image.pixel(220, 170), qRgb(0, 120, 0)) << "its 2-pixel pen";
    EXPECT_EQ(image.pixel(45, 220), qRgb(0, 0, 255)) << "bitmap, top-left pixel";
    EXPECT_EQ(image.pixel(195, 290), qRgb(240, 224, 15)) << "bitmap, bottom-right pixel";
    EXPECT_EQ(image.pixel(40, 80), qRgb(0, 0, 0)) << "solid frame corner";
    EXPECT_EQ(image.pixel(40 + 5 * 78 + 35, 80), qRgb(255, 255, 255))
        << "the null pen draws nothing";
    EXPECT_EQ(image.pixel(555, 237), qRgb(60, 60, 60)) << "opaque text box";
    // The clipped line would run far to the right of its clip rectangle.
    for (int x = 383; x < 600; ++x)
        for (int y = 252; y < 279; ++y)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    bool clippedInk = false;
    for (int x = 222; x < 380; ++x)
        clippedInk |= inked(image, x, 262);
    EXPECT_TRUE(clippedInk);
    // The rotated line runs upwards from its origin, left of the frames.
    int rotatedInk = 0;
    for (int y = 200; y < 420; ++y)
        for (int x = 10; x < 30; ++x)
            rotatedInk += inked(image, x, y);
    EXPECT_GT(rotatedInk, 100);
}

// The recorded metafile of the page, played on the Qt canvas, gives the same
// pixels as the page drawn there directly.
TEST(QtPainterCanvas, PlayedMetafileLooksLikeTheDirectDrawing) {
    app();
    QImage direct = whitePage(600, 440), played = whitePage(600, 440);
    {
        QPainter painter(&direct);
        QtPainterCanvas canvas(painter, FontService::shared());
        test::drawMixedPage(canvas);
    }
    EmfRecorder recorder(FontService::shared(), ReferenceDevice::screen(), Size{600, 440});
    test::drawMixedPage(recorder);
    const std::vector<std::uint8_t> emf = recorder.finish();
    {
        QPainter painter(&played);
        QtPainterCanvas canvas(painter, FontService::shared());
        playMetafile(EmfReader(emf), canvas);
    }
    ASSERT_TRUE(played.save(QString(PV_BINARY_DIR) + "/mixed-page-from-emf.png"));
    int differing = 0;
    for (int y = 0; y < 440; ++y)
        for (int x = 0; x < 600; ++x)
            differing += direct.pixel(x, y) != played.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(QtPainterCanvas, DrawnLinesAreAsWideAsMeasured) {
    app();
    MeasuringCanvas measuring(FontService::shared());
    QImage scratch = whitePage(10, 10);
    QPainter scratchPainter(&scratch);
    QtPainterCanvas lineCanvas(scratchPainter, FontService::shared());
    const auto lines = test::drawMixedPage(lineCanvas);
    scratchPainter.end();
    for (const test::MixedPageLine& line : lines) {
        if (line.font.escapement != 0) continue;
        SCOPED_TRACE(line.text);
        measuring.SetFont(line.font);
        const std::vector<int> advances = measuring.textAdvances(line.text);
        const int measured = measuring.GetTextExtent(line.text).cx;
        ASSERT_EQ(std::accumulate(advances.begin(), advances.end(), 0), measured);

        QImage image = whitePage(measured + 40, 60);
        {
            QPainter painter(&image);
            QtPainterCanvas canvas(painter, FontService::shared());
            canvas.SetBkMode(BkMode::Transparent);
            canvas.SetFont(line.font);
            canvas.TextOut(20, 10, line.text);
        }
        FontFace& face = FontService::shared().face(line.font);
        const int em = face.emPixelsForHeight(line.font.height);
        const auto [inkLeft, inkRight] = expectedInk(
            face, em, face.glyphIndex(line.font.charSet, std::uint8_t(line.text.front())),
            face.glyphIndex(line.font.charSet, std::uint8_t(line.text.back())),
            measured - advances.back());
        const auto [left, right] = inkColumns(image);
        // The ink starts where the first glyph's outline starts and ends where
        // the last glyph's outline ends when that glyph is placed at the measured
        // width minus its own advance: so the drawn line is the measured width.
        EXPECT_NEAR(left - 20, inkLeft, 1.0);
        EXPECT_NEAR(right + 1 - 20, inkRight, 1.0);
    }
}

TEST(QtPainterCanvas, UnderlineAndStrikeOutSpanTheMeasuredWidth) {
    app();
    for (bool underline : {true, false}) {
        SCOPED_TRACE(underline);
        QImage image = whitePage(200, 60);
        LogFont font;
        font.faceName = "Arial";
        font.height = -20;
        font.underline = underline;
        font.strikeOut = !underline;
        int width = 0;
        {
            QPainter painter(&image);
            QtPainterCanvas canvas(painter, FontService::shared());
            canvas.SetBkMode(BkMode::Transparent);
            canvas.SetFont(font);
            width = canvas.GetTextExtent("ii ii").cx;
            canvas.TextOut(10, 10, "ii ii");
        }
        // A row inked along the whole width, also under the blank, where no glyph is.
        const PixelMetrics m = FontService::shared().pixelMetrics(font);
        int fullRows = 0;
        for (int y = 10; y < 10 + m.height(); ++y) {
            bool full = true;
            for (int x = 11; x < 10 + width - 1; ++x)
                full &= inked(image, x, y);
            fullRows += full;
            if (full) {
                EXPECT_EQ(underline, y > 10 + m.ascent) << "row " << y;
            }
        }
        EXPECT_GE(fullRows, 1);
    }
}

TEST(QtPainterCanvas, PrinterResolutionConvertsThePointSize) {
    app();
    QImage image = whitePage(800, 200, 300);
    QPainter painter(&image);
    QtPainterCanvas canvas(painter, FontService::shared());
    EXPECT_EQ(canvas.pixelsPerInch(), 300);
    LogFont font;
    font.faceName = "Arial";
    font.height = canvas.fontHeightForPoints(10); // 10 points at 300 dpi
    EXPECT_EQ(font.height, -42);
    canvas.SetFont(font);
    canvas.SetBkMode(BkMode::Transparent);
    canvas.TextOut(10, 10, "HHHH");
    painter.end();
    const auto [left, right] = inkColumns(image);
    // Four H of 722 thousandths at an em of 42 pixels: about 121 pixels.
    EXPECT_NEAR(right - left, 4 * 0.722 * 42 - 0.0, 12.0);
}

} // namespace
} // namespace pv
