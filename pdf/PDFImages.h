#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pv {

class TPDFDocument;

// A 24-bit bitmap as the platform stores it: rows from the top down, each
// width × 3 bytes of blue, green, red.
struct Bitmap24 {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};

// One image XObject of the document.
class TPDFImage {
public:
    enum Encoding { Deflate = 0, Jpeg = 1 };

    TPDFImage(Encoding encoding, int width, int height, bool grayscale, std::string resourceName,
              std::string data);

    Encoding GetEncoding() const { return encoding_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerComponent() const { return 8; }
    bool Grayscale() const { return grayscale_; }
    const std::string& ResourceName() const { return resourceName_; }
    const std::string& Data() const { return data_; }
    int ObjectNumber() const { return number_; }
    bool Written() const { return written_; }

    // Writes the object once and lets its data go.
    void Write(TPDFDocument& doc);

private:
    Encoding encoding_;
    int width_, height_;
    bool grayscale_;
    std::string resourceName_;
    std::string data_;
    int number_ = -1;
    bool written_ = false;
};

// The document's list of images; every addition is a new image.
class TPDFImages {
public:
    // Deflated RGB rows.
    int AddBitmap(const Bitmap24& bitmap);
    // The bitmap in the encoding given; a JPEG is made at `jpegQuality`.
    int AddBitmap(const Bitmap24& bitmap, TPDFImage::Encoding encoding, int jpegQuality = 80);
    // A baseline JPEG file as it is.
    int AddJpeg(std::string jpegFile, int width, int height, bool grayscale);

    int Count() const { return static_cast<int>(images_.size()); }
    TPDFImage& Item(int index) const { return *images_.at(index); }
    void Clear() { images_.clear(); }

private:
    std::string nextName() const { return "Im" + std::to_string(images_.size()); }
    std::vector<std::unique_ptr<TPDFImage>> images_;
};

} // namespace pv
