#include "pdf/PDFImages.h"

#include "pdf/JpegEncoder.h"
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"

#include <zlib.h>

namespace pv {

namespace {

// The rows turned from blue-green-red into red-green-blue, deflated as one stream.
std::string deflateRows(const Bitmap24& bitmap) {
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
    if (bitmap.width < 0 || bitmap.height < 0 ||
        bitmap.bgr.size() < rowBytes * static_cast<std::size_t>(bitmap.height))
        throw TPDFException("Not valid image.");
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw TPDFException("Cannot compress image");
    std::string out;
    std::string row(rowBytes, '\0');
    char buffer[16384];
    for (int y = 0; y <= bitmap.height; ++y) {
        const bool last = y == bitmap.height;
        if (!last) {
            const std::uint8_t* src = bitmap.bgr.data() + rowBytes * y;
            for (std::size_t x = 0; x < rowBytes; x += 3) {
                row[x] = static_cast<char>(src[x + 2]);
                row[x + 1] = static_cast<char>(src[x + 1]);
                row[x + 2] = static_cast<char>(src[x]);
            }
        }
        z.next_in = reinterpret_cast<Bytef*>(row.data());
        z.avail_in = last ? 0 : static_cast<uInt>(rowBytes);
        int rc;
        do {
            z.next_out = reinterpret_cast<Bytef*>(buffer);
            z.avail_out = sizeof buffer;
            rc = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(buffer, sizeof buffer - z.avail_out);
        } while (z.avail_out == 0 || (last && rc != Z_STREAM_END));
    }
    deflateEnd(&z);
    return out;
}

} // namespace

TPDFImage::TPDFImage(Encoding encoding, int width, int height, bool grayscale,
                     std::string resourceName, std::string data)
    : encoding_(encoding), width_(width), height_(height), grayscale_(grayscale),
      resourceName_(std::move(resourceName)), data_(std::move(data)) {}

void TPDFImage::Write(TPDFDocument& doc) {
    if (written_) return;
    doc.BeginObject(number_);
    doc.WriteLine("/Type /XObject");
    doc.WriteLine("/Subtype /Image");
    doc.WriteLine(grayscale_ ? "/ColorSpace /DeviceGray" : "/ColorSpace /DeviceRGB");
    doc.WriteLine("/BitsPerComponent " + std::to_string(BitsPerComponent()));
    doc.WriteLine("/Width " + std::to_string(width_));
    doc.WriteLine("/Height " + std::to_string(height_));
    doc.WriteLine(encoding_ == Deflate ? "/Filter /FlateDecode" : "/Filter /DCTDecode");
    const std::string data = doc.Encrypt(number_, data_);
    doc.WriteLine("/Length " + std::to_string(data.size()));
    doc.WriteStreamData(data);
    std::string().swap(data_);
    written_ = true;
}

int TPDFImages::AddBitmap(const Bitmap24& bitmap) {
    images_.push_back(std::make_unique<TPDFImage>(TPDFImage::Deflate, bitmap.width, bitmap.height,
                                                  false, nextName(), deflateRows(bitmap)));
    return Count() - 1;
}

int TPDFImages::AddBitmap(const Bitmap24& bitmap, TPDFImage::Encoding encoding, int jpegQuality) {
    if (encoding == TPDFImage::Deflate) return AddBitmap(bitmap);
    EncodedJpeg jpeg = encodeJpeg(bitmap, jpegQuality);
    return AddJpeg(std::move(jpeg.file), bitmap.width, bitmap.height, jpeg.grayscale);
}

int TPDFImages::AddJpeg(std::string jpegFile, int width, int height, bool grayscale) {
    images_.push_back(std::make_unique<TPDFImage>(TPDFImage::Jpeg, width, height, grayscale,
                                                  nextName(), std::move(jpegFile)));
    return Count() - 1;
}

} // namespace pv
