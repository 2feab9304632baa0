#include "platform/Dib.h"

#include "platform/JpegDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string_view>

namespace pv {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;
// Larger pictures are refused rather than allocated: no form carries one.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

std::uint32_t u32(std::span<const std::uint8_t> d, std::size_t off) {
    return std::uint32_t(d[off]) | std::uint32_t(d[off + 1]) << 8 |
           std::uint32_t(d[off + 2]) << 16 | std::uint32_t(d[off + 3]) << 24;
}
std::uint16_t u16(std::span<const std::uint8_t> d, std::size_t off) {
    return std::uint16_t(d[off] | d[off + 1] << 8);
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
std::size_t rowStride(int width, int bitCount) {
    return ((std::size_t(width) * bitCount + 31) / 32) * 4;
}

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_JPEG = 4,
                        BI_PNG = 5;

// Run-length bits expanded into palette indexes, one byte per pixel, rows
// bottom-up as stored. Pixels the runs skip or never reach keep index 0, as
// the device's background would show through. Runs past the edges are cut.
std::vector<std::uint8_t> expandRle(std::span<const std::uint8_t> bits, int width, int height,
                                    bool fourBit) {
    std::vector<std::uint8_t> index(std::size_t(width) * height, 0);
    int x = 0, y = 0;
    auto put = [&](std::uint8_t v) {
        if (x < width && y < height) index[std::size_t(y) * width + x] = v;
        ++x;
    };
    std::size_t i = 0;
    while (i + 1 < bits.size() && y < height) {
        const std::uint8_t count = bits[i], value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int n = 0; n < count; ++n)
                put(fourBit ? std::uint8_t(n % 2 ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (i + 1 >= bits.size()) break;
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else { // a literal run, padded to a 16-bit boundary
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            if (i + bytes > bits.size()) throw DibFormatError("bitmap run is cut short");
            for (int n = 0; n < value; ++n)
                put(fourBit ? std::uint8_t(n % 2 ? bits[i + n / 2] & 15 : bits[i + n / 2] >> 4)
                            : bits[i + n]);
            i += (bytes + 1) & ~std::size_t(1);
        }
    }
    return index;
}

Dib fromRgba(int width, int height, const std::vector<std::uint8_t>& rgba) {
    if (std::int64_t(width) * height > kMaxPixels) throw DibFormatError("bitmap is too large");
    Dib dib(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * width + x) * 4];
            // Transparent pixels over white paper.
            auto over = [&](std::uint8_t c) {
                return std::uint8_t((c * p[3] + 255 * (255 - p[3])) / 255);
            };
            dib.setPixel(x, y, over(p[0]), over(p[1]), over(p[2]));
        }
    return dib;
}

struct PngInput {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

void readPng(png_structp png, png_bytep out, png_size_t length) {
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > in->bytes.size() - in->at) png_error(png, "PNG data is cut short");
    std::memcpy(out, in->bytes.data() + in->at, length);
    in->at += length;
}

[[noreturn]] void pngFailed(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// libpng reports errors by a long jump; the C++ exception is thrown once the
// library has let go of its state.
Dib decodePng(std::span<const std::uint8_t> bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, nullptr);
    if (!png) throw DibFormatError("PNG reader cannot start");
    png_infop info = png_create_info_struct(png);
    PngInput in{bytes};
    std::vector<std::uint8_t> rgba;
    png_uint_32 width = 0, height = 0;
    bool failed = false;
    if (!info) {
        failed = true;
    } else if (setjmp(png_jmpbuf(png))) {
        failed = true;
    } else {
        png_set_read_fn(png, &in, readPng);
        png_set_user_limits(png, 1u << 16, 1u << 16);
        png_read_info(png, info);
        width = png_get_image_width(png, info);
        height = png_get_image_height(png, info);
        if (std::int64_t(width) * height > kMaxPixels) png_error(png, "too large");
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        rgba.resize(std::size_t(width) * height * 4);
        std::vector<png_bytep> rows(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = &rgba[std::size_t(y) * width * 4];
        png_read_image(png, rows.data());
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (failed) throw DibFormatError("bitmap holds a PNG picture that cannot be read");
    return fromRgba(int(width), int(height), rgba);
}

Dib decodeEmbedded(std::uint32_t compression, std::span<const std::uint8_t> bits) {
    if (compression == BI_PNG) return decodePng(bits);
    try {
        const Bitmap b =
            decodeJpeg(std::string_view(reinterpret_cast<const char*>(bits.data()), bits.size()));
        return fromRgba(b.width, b.height, b.rgba);
    } catch (const JpegError&) {
        throw DibFormatError("bitmap holds a JPEG picture that cannot be read");
    }
}

} // namespace

Dib::Dib(int w, int h) : width(w), height(h), rgb(std::size_t(w) * h * 3, 255) {}

void Dib::setPixel(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::uint8_t* p = &rgb[(std::size_t(y) * width + x) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

std::vector<std::uint8_t> dibInfoHeader(const Dib& dib) {
    std::vector<std::uint8_t> out;
    put32(out, kInfoHeaderSize);
    put32(out, std::uint32_t(dib.width));
    put32(out, std::uint32_t(dib.height)); // positive: bottom-up rows
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, std::uint32_t(rowStride(dib.width, 24) * dib.height));
    put32(out, 3780); // 96 dpi in pixels per metre
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    return out;
}

std::vector<std::uint8_t> dibBits(const Dib& dib) {
    const std::size_t stride = rowStride(dib.width, 24);
    std::vector<std::uint8_t> out(stride * dib.height, 0);
    for (int y = 0; y < dib.height; ++y) {
        std::uint8_t* row = &out[stride * (dib.height - 1 - y)];
        for (int x = 0; x < dib.width; ++x) {
            const std::uint8_t* p = dib.pixel(x, y);
            row[3 * x] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
    }
    return out;
}

Dib decodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits) {
    if (info.size() < kInfoHeaderSize) throw DibFormatError("bitmap header is too short");
    const std::uint32_t headerSize = u32(info, 0);
    const auto width = std::int32_t(u32(info, 4));
    const auto rawHeight = std::int32_t(u32(info, 8));
    const int bitCount = u16(info, 14);
    const std::uint32_t compression = u32(info, 16);
    std::uint32_t colorsUsed = u32(info, 32);
    if (headerSize < kInfoHeaderSize || headerSize > info.size())
        throw DibFormatError("bitmap header size is wrong");
    if (compression == BI_JPEG || compression == BI_PNG) return decodeEmbedded(compression, bits);
    const bool rle =
        (compression == BI_RLE8 && bitCount == 8) || (compression == BI_RLE4 && bitCount == 4);
    if (compression != BI_RGB && !rle &&
        !(compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        throw DibFormatError("bitmap compression " + std::to_string(compression) +
                             " is not known for " + std::to_string(bitCount) + " bits per pixel");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        throw DibFormatError("bitmap has " + std::to_string(bitCount) + " bits per pixel");
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        throw DibFormatError("bitmap has no pixels");
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    if (std::int64_t(width) * height > kMaxPixels) throw DibFormatError("bitmap is too large");

    std::vector<std::uint8_t> palette; // r, g, b triples
    if (bitCount <= 8) {
        const std::uint32_t maxColors = 1u << bitCount;
        if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
        palette.assign(std::size_t(maxColors) * 3, 0);
        std::size_t off = headerSize;
        for (std::uint32_t i = 0; i < colorsUsed; ++i, off += 4) {
            if (off + 4 > info.size()) throw DibFormatError("bitmap colour table is cut short");
            palette[3 * i] = info[off + 2];
            palette[3 * i + 1] = info[off + 1];
            palette[3 * i + 2] = info[off];
        }
    }
    if (rle) {
        if (topDown) throw DibFormatError("run-length bitmaps are stored bottom-up");
        const std::vector<std::uint8_t> index =
            expandRle(bits, width, height, compression == BI_RLE4);
        Dib dib(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* c =
                    &palette[3 * index[std::size_t(height - 1 - y) * width + x]];
                dib.setPixel(x, y, c[0], c[1], c[2]);
            }
        return dib;
    }
    const std::size_t stride = rowStride(width, bitCount);
    if (stride * height > bits.size()) throw DibFormatError("bitmap bits are cut short");

    Dib dib(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &bits[stride * (topDown ? y : height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            std::uint8_t r, g, b;
            if (bitCount <= 8) {
                const int perByte = 8 / bitCount;
                const int shift = 8 - bitCount * (x % perByte + 1);
                const int index = (row[x / perByte] >> shift) & ((1 << bitCount) - 1);
                r = palette[3 * index];
                g = palette[3 * index + 1];
                b = palette[3 * index + 2];
            } else if (bitCount == 16) {
                const int v = row[2 * x] | row[2 * x + 1] << 8;
                r = std::uint8_t(((v >> 10) & 31) * 255 / 31);
                g = std::uint8_t(((v >> 5) & 31) * 255 / 31);
                b = std::uint8_t((v & 31) * 255 / 31);
            } else {
                const std::uint8_t* p = row + x * (bitCount / 8);
                b = p[0];
                g = p[1];
                r = p[2];
            }
            dib.setPixel(x, y, r, g, b);
        }
    }
    return dib;
}

} // namespace pv
