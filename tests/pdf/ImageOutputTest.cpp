#include "pdf/JpegEncoder.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "tests/pdf/PdfTestSupport.h"
#include "tests/pdf/PpmImage.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::expectPdfError;

struct Colour {
    int r, g, b;
};

// Four blocks of 8 × 8 pixels in a row: red, green, blue, gray, then the
// same row again below in the reverse order.
const Colour kBlocks[2][4] = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 128, 128}},
                              {{128, 128, 128}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}}};

Bitmap24 blocks() {
    Bitmap24 b{32, 16, {}};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const Colour& c = kBlocks[y / 8][x / 8];
            b.bgr.insert(b.bgr.end(), {std::uint8_t(c.b), std::uint8_t(c.g), std::uint8_t(c.r)});
        }
    return b;
}

// Each block is shown 40 × 40 points wide at 72 dpi; the centre of every
// block must have the block's colour, exactly for deflate, nearly for JPEG.
TEST(PdfImageOutput, DeflateAndJpegImagesRenderTheirPixels) {
    test::TempDir dir;
    const struct {
        TPDFImage::Encoding encoding;
        int tolerance;
        const char* filter;
    } cases[] = {{TPDFImage::Deflate, 0, "/Filter /FlateDecode"},
                 {TPDFImage::Jpeg, 24, "/Filter /DCTDecode"}};
    for (const auto& c : cases) {
        const auto path = dir.file(std::string("image-") + std::to_string(c.encoding) + ".pdf");
        TPDFDocument doc(test::fixedClock());
        doc.SetFileName(path.string());
        doc.SetJPEGQuality(95);
        doc.BeginDoc();
        const int index = doc.AddImage(blocks(), c.encoding);
        doc.CurrentPage()->ShowImage(index, 0, 100, 200, 160, 80);
        doc.EndDoc();
        const std::string pdf = test::readFile(path);
        EXPECT_NE(pdf.find("/ColorSpace /DeviceRGB\r\n/BitsPerComponent 8\r\n/Width 32\r\n"
                           "/Height 16\r\n" +
                           std::string(c.filter)),
                  std::string::npos);
        EXPECT_EQ(test::qpdfCheck(path).status, 0);
        const test::PpmImage page = test::renderFirstPage(path, 72);
        ASSERT_EQ(page.width, 595);
        ASSERT_EQ(page.height, 842);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 4; ++col) {
                const Colour& want = kBlocks[row][col];
                const int x = 100 + col * 40 + 20, y = 200 + row * 40 + 20;
                EXPECT_TRUE(page.near(x, y, want.r, want.g, want.b, c.tolerance))
                    << c.filter << " block " << row << "," << col << " is " << int(page.at(x, y)[0])
                    << " " << int(page.at(x, y)[1]) << " " << int(page.at(x, y)[2]);
            }
        EXPECT_TRUE(page.near(50, 50, 255, 255, 255, 0)); // nothing outside the image
    }
}

TEST(PdfImageOutput, JpegIsBaselineAtTheDocumentsQuality) {
    Bitmap24 noisy{64, 64, {}};
    for (int i = 0; i < 64 * 64 * 3; ++i)
        noisy.bgr.push_back(std::uint8_t((i * 7919) % 251));
    const EncodedJpeg low = encodeJpeg(noisy, 10), high = encodeJpeg(noisy, 95);
    EXPECT_LT(low.file.size() * 2, high.file.size());
    for (const EncodedJpeg* jpeg : {&low, &high}) {
        ASSERT_GE(jpeg->file.size(), 4u);
        EXPECT_EQ(jpeg->file.substr(0, 2), "\xFF\xD8");
        EXPECT_NE(jpeg->file.find("\xFF\xC0"), std::string::npos); // baseline frame
        EXPECT_EQ(jpeg->file.find("\xFF\xC2"), std::string::npos); // no progressive frame
        EXPECT_FALSE(jpeg->grayscale);
    }
    // The document's quality decides; out-of-range values are clamped.
    TPDFDocument doc(test::fixedClock());
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    EXPECT_EQ(doc.JPEGQuality(), 80);
    doc.AddImage(noisy, TPDFImage::Jpeg);
    doc.SetJPEGQuality(10);
    doc.AddImage(noisy, TPDFImage::Jpeg);
    doc.SetJPEGQuality(1000);
    doc.AddImage(noisy, TPDFImage::Jpeg);
    EXPECT_EQ(doc.Images().Item(0).Data(), encodeJpeg(noisy, 80).file);
    EXPECT_EQ(doc.Images().Item(1).Data(), low.file);
    EXPECT_EQ(doc.Images().Item(2).Data(), encodeJpeg(noisy, 100).file);
    EXPECT_EQ(doc.Images().Item(2).ResourceName(), "Im2");
    doc.Abort();
    // Without a document the default quality is used.
    TPDFImages images;
    images.AddBitmap(noisy, TPDFImage::Jpeg);
    EXPECT_EQ(images.Item(0).Data(), encodeJpeg(noisy, 80).file);
}

TEST(PdfImageOutput, BadBitmapsAndClosedDocumentsAreRefused) {
    TPDFImages images;
    for (const Bitmap24& bad : {Bitmap24{2, 2, std::vector<std::uint8_t>(11)}, Bitmap24{0, 0, {}},
                                Bitmap24{-1, 1, {}}, Bitmap24{1, 0, {}}})
        expectPdfError([&] { images.AddBitmap(bad, TPDFImage::Jpeg); }, "Not valid image.");
    EXPECT_EQ(images.Count(), 0);
    TPDFDocument doc(test::fixedClock());
    expectPdfError([&] { doc.AddImage(blocks(), TPDFImage::Jpeg); },
                   "Generation PDF file not activated");
}

} // namespace
} // namespace pv
