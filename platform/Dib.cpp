#include "platform/Dib.h"

#include <cstring>

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
    if (compression != 0 && !(compression == 3 && (bitCount == 16 || bitCount == 32)))
        throw DibFormatError("compressed bitmaps are not supported");
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
