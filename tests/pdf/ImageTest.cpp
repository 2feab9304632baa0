#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"
#include "tests/pdf/PdfSamples.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace pv {
namespace {

std::string inflate(const std::string& data, std::size_t size) {
    std::string out(size, '\0');
    uLongf length = size;
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                         reinterpret_cast<const Bytef*>(data.data()), data.size()),
              Z_OK);
    out.resize(length);
    return out;
}

TEST(PdfImages, RowsBecomeRedGreenBlue) {
    TPDFImages images;
    images.AddBitmap(Bitmap24{1, 1, {0, 0, 255}});
    EXPECT_EQ(inflate(images.Item(0).Data(), 16), std::string("\xFF\x00\x00", 3));
    // Every pixel of every row, the last included.
    images.AddBitmap(Bitmap24{2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}});
    EXPECT_EQ(inflate(images.Item(1).Data(), 64),
              std::string("\x03\x02\x01\x06\x05\x04\x09\x08\x07\x0C\x0B\x0A", 12));
    EXPECT_EQ(images.Item(1).ResourceName(), "Im1");
}

TEST(PdfImages, ABitmapShorterThanItsSizeIsRefused) {
    TPDFImages images;
    for (const Bitmap24& bad : {Bitmap24{2, 2, std::vector<std::uint8_t>(11)}, Bitmap24{-1, 1, {}},
                                Bitmap24{1, -1, {}}}) {
        try {
            images.AddBitmap(bad);
            ADD_FAILURE() << bad.width << "x" << bad.height;
        } catch (const TPDFException& e) {
            EXPECT_STREQ(e.what(), "Not valid image.");
        }
    }
    EXPECT_EQ(images.Count(), 0);
}

TEST(PdfImages, SharedAcrossPagesWrittenOnceAndReleased) {
    TPDFDocument doc(test::fixedClock());
    doc.SetOnePass(true);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    const Bitmap24 same = test::checkerBitmap(4, 4);
    EXPECT_EQ(doc.AddImage(same), 0);
    EXPECT_EQ(doc.AddImage(same), 1); // identical pixels still make a new image
    doc.CurrentPage()->ShowImage(0, 0, 0, 0, 10, 10);
    doc.CurrentPage()->ShowImage(0, 0, 20, 0, 10, 10);
    doc.NewPage();
    TPDFImage& image = doc.Images().Item(0);
    EXPECT_TRUE(image.Written());
    EXPECT_TRUE(image.Data().empty());
    const int number = image.ObjectNumber();
    doc.CurrentPage()->ShowImage(0, 0, 0, 0, 10, 10);
    doc.EndDoc();
    const std::string pdf = out.str();
    // Both pages refer to the one object; the unused image is not written in one pass.
    const std::string ref = "/Im0 " + std::to_string(number) + " 0 R";
    std::size_t refs = 0;
    for (auto pos = pdf.find(ref); pos != std::string::npos; pos = pdf.find(ref, pos + 1))
        ++refs;
    EXPECT_EQ(refs, 2u);
    EXPECT_EQ(pdf.find("/Im1 "), std::string::npos);
    EXPECT_NE(pdf.find("<</Type /XObject\r\n/Subtype /Image\r\n/ColorSpace /DeviceRGB\r\n"
                       "/BitsPerComponent 8\r\n/Width 4\r\n/Height 4\r\n/Filter /FlateDecode\r\n"),
              std::string::npos);
}

TEST(PdfImages, BufferedDocumentsWriteTheRestAtTheEnd) {
    test::TempDir dir;
    const auto path = dir.file("images.pdf");
    TPDFDocument doc(test::fixedClock());
    doc.SetFileName(path.string());
    doc.BeginDoc();
    doc.AddImage(test::checkerBitmap(3, 5));
    doc.AddJpegImage("not really a jpeg", 1, 1, true);
    test::drawImage(doc);
    doc.EndDoc();
    const std::string pdf = test::readFile(path);
    EXPECT_NE(pdf.find("/ColorSpace /DeviceGray\r\n/BitsPerComponent 8\r\n/Width 1\r\n/Height 1\r\n"
                       "/Filter /DCTDecode\r\n/Length 17\r\n>>\r\nstream\r\nnot really a jpeg\r\n"),
              std::string::npos);
    const auto images = test::run("pdfimages -list " + test::quoted(path));
    EXPECT_NE(images.output.find("16     8  rgb"), std::string::npos) << images.output;
    // The checker image is shown on the page; pdftoppm renders its dark cells.
    EXPECT_EQ(test::run("qpdf --check " + test::quoted(path)).status, 0);
}

} // namespace
} // namespace pv
