#include "platform/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace pv {
namespace {

// Pictures larger than this are refused rather than allocated.
constexpr long kMaxPixels = 64L * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}

// Holds the decompressor so that every way out releases it.
class Decompressor {
public:
    explicit Decompressor(std::string_view bytes) : bytes_(bytes) {
        info_.err = jpeg_std_error(&err_.base);
        err_.base.error_exit = onError;
        err_.base.emit_message = onMessage;
        err_.message[0] = 0;
    }
    ~Decompressor() {
        if (created_) jpeg_destroy_decompress(&info_);
    }

    // Runs `body` with libjpeg errors turned into JpegError. The body must not
    // hold objects with destructors across libjpeg calls.
    template <class Body> void run(Body body) {
        if (setjmp(err_.jump)) throw JpegError(std::string("JPEG: ") + err_.message);
        jpeg_create_decompress(&info_);
        created_ = true;
        jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(bytes_.data()),
                     static_cast<unsigned long>(bytes_.size()));
        jpeg_read_header(&info_, TRUE);
        body(info_);
    }

private:
    std::string_view bytes_;
    jpeg_decompress_struct info_{};
    ErrorManager err_{};
    bool created_ = false;
};

} // namespace

void jpegSize(std::string_view bytes, int& width, int& height) {
    if (bytes.empty()) throw JpegError("JPEG: no data");
    Decompressor d(bytes);
    d.run([&](jpeg_decompress_struct& info) {
        width = static_cast<int>(info.image_width);
        height = static_cast<int>(info.image_height);
    });
}

Bitmap decodeJpeg(std::string_view bytes) {
    if (bytes.empty()) throw JpegError("JPEG: no data");
    Bitmap bitmap;
    std::vector<uint8_t> row;
    Decompressor d(bytes);
    bool tooLarge = false;
    d.run([&](jpeg_decompress_struct& info) {
        if (long(info.image_width) * long(info.image_height) > kMaxPixels) {
            tooLarge = true;
            return;
        }
        info.out_color_space =
            info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ? JCS_CMYK
                                                                                   : JCS_RGB;
        jpeg_start_decompress(&info);
        bitmap.width = static_cast<int>(info.output_width);
        bitmap.height = static_cast<int>(info.output_height);
        int channels = info.output_components;
        bitmap.rgba.resize(size_t(bitmap.width) * bitmap.height * 4);
        row.resize(size_t(bitmap.width) * channels);
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {row.data()};
            size_t y = info.output_scanline;
            jpeg_read_scanlines(&info, rows, 1);
            uint8_t* out = bitmap.rgba.data() + y * bitmap.width * 4;
            for (int x = 0; x < bitmap.width; ++x) {
                const uint8_t* p = row.data() + size_t(x) * channels;
                if (channels == 4) {
                    // Adobe's CMYK JPEGs store the inks inverted.
                    out[4 * x] = uint8_t(p[0] * p[3] / 255);
                    out[4 * x + 1] = uint8_t(p[1] * p[3] / 255);
                    out[4 * x + 2] = uint8_t(p[2] * p[3] / 255);
                } else {
                    out[4 * x] = p[0];
                    out[4 * x + 1] = p[1];
                    out[4 * x + 2] = p[2];
                }
                out[4 * x + 3] = 255;
            }
        }
        jpeg_finish_decompress(&info);
    });
    if (tooLarge) throw JpegError("JPEG: picture too large");
    return bitmap;
}

} // namespace pv
