#include "pdf/JpegEncoder.h"

#include "pdf/PDFException.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace pv {

namespace {

// libjpeg ends the process on an error unless told otherwise; this jumps back
// to the encoder, which turns the error into an exception.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Runs the whole compression; false when libjpeg reported an error. Kept free
// of objects with destructors, as a long jump would skip them.
bool compress(const Bitmap24& bitmap, int quality, const unsigned char* rgb, unsigned char** out,
              unsigned long* size, bool* gray) {
    jpeg_compress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jumpBack;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = static_cast<JDIMENSION>(bitmap.width);
    info.image_height = static_cast<JDIMENSION>(bitmap.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(bitmap.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    *gray = info.jpeg_color_space == JCS_GRAYSCALE;
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

EncodedJpeg encodeJpeg(const Bitmap24& bitmap, int quality) {
    const std::size_t stride = static_cast<std::size_t>(bitmap.width) * 3;
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.bgr.size() < stride * static_cast<std::size_t>(bitmap.height))
        throw TPDFException("Not valid image.");
    // The platform keeps blue, green, red; the encoder takes red, green, blue.
    std::string rgb(stride * static_cast<std::size_t>(bitmap.height), '\0');
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = static_cast<char>(bitmap.bgr[i + 2]);
        rgb[i + 1] = static_cast<char>(bitmap.bgr[i + 1]);
        rgb[i + 2] = static_cast<char>(bitmap.bgr[i]);
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool gray = false;
    const bool ok =
        compress(bitmap,
                 quality < 0     ? 0
                 : quality > 100 ? 100
                                 : quality,
                 reinterpret_cast<const unsigned char*>(rgb.data()), &buffer, &size, &gray);
    EncodedJpeg result;
    if (ok && buffer) result.file.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    if (!ok || result.file.empty()) throw TPDFException("Not valid image.");
    result.grayscale = gray;
    return result;
}

} // namespace pv
