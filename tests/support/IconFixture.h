#pragma once

#include "platform/GdiObjects.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pv::test {

// One image of a hand-built icon file.
struct IconImage {
    int width = 4, height = 4, bitCount = 24;
    std::vector<Color> palette;                   // for 1, 4 and 8 bits
    std::function<std::uint32_t(int, int)> value; // palette index, or 0xAARRGGBB
    std::function<bool(int, int)> masked;         // true: the AND mask leaves the pixel out
    bool png = false;                             // a PNG signature and header instead
    bool withMask = true;
};

inline void putLe(std::string& d, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        d.push_back(char((v >> (8 * i)) & 0xFF));
}

inline std::string iconImageBytes(const IconImage& im) {
    std::string d;
    if (im.png) {
        d = std::string("\x89PNG\r\n\x1A\n", 8) + std::string("\0\0\0\x0DIHDR", 8);
        for (int v : {im.width, im.height})
            for (int i = 3; i >= 0; --i)
                d.push_back(char((v >> (8 * i)) & 0xFF));
        d += std::string("\x08\x06\0\0\0", 5) + std::string(4, '\0');
        return d;
    }
    const int colours = im.bitCount <= 8 ? 1 << im.bitCount : 0;
    putLe(d, 40, 4);
    putLe(d, std::uint32_t(im.width), 4);
    putLe(d, std::uint32_t(im.height * 2), 4);
    putLe(d, 1, 2);
    putLe(d, std::uint32_t(im.bitCount), 2);
    for (int i = 0; i < 6; ++i)
        putLe(d, 0, 4);
    for (int i = 0; i < colours; ++i) {
        const Color c = i < int(im.palette.size()) ? im.palette[std::size_t(i)] : 0;
        d.push_back(char(blueOf(c)));
        d.push_back(char(greenOf(c)));
        d.push_back(char(redOf(c)));
        d.push_back(0);
    }
    const int stride = (im.width * im.bitCount + 31) / 32 * 4;
    for (int y = im.height - 1; y >= 0; --y) {
        std::string row(std::size_t(stride), '\0');
        for (int x = 0; x < im.width; ++x) {
            const std::uint32_t v = im.value(x, y);
            if (im.bitCount <= 8) {
                const int perByte = 8 / im.bitCount;
                const int shift = 8 - im.bitCount * (x % perByte + 1);
                row[std::size_t(x / perByte)] = char(row[std::size_t(x / perByte)] | (v << shift));
            } else {
                const std::size_t at = std::size_t(x) * std::size_t(im.bitCount / 8);
                row[at] = char(v & 0xFF);
                row[at + 1] = char((v >> 8) & 0xFF);
                row[at + 2] = char((v >> 16) & 0xFF);
                if (im.bitCount == 32) row[at + 3] = char((v >> 24) & 0xFF);
            }
        }
        d += row;
    }
    if (!im.withMask) return d;
    const int maskStride = (im.width + 31) / 32 * 4;
    for (int y = im.height - 1; y >= 0; --y) {
        std::string row(std::size_t(maskStride), '\0');
        for (int x = 0; x < im.width; ++x)
            if (im.masked && im.masked(x, y))
                row[std::size_t(x / 8)] = char(row[std::size_t(x / 8)] | (0x80 >> (x % 8)));
        d += row;
    }
    return d;
}

// An icon file of the images, stored one after the other behind the directory.
inline std::string iconFile(const std::vector<IconImage>& images) {
    std::string dir, data;
    putLe(dir, 0, 2);
    putLe(dir, 1, 2);
    putLe(dir, std::uint32_t(images.size()), 2);
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (const IconImage& im : images) {
        const std::string bytes = iconImageBytes(im);
        dir.push_back(char(im.width >= 256 ? 0 : im.width));
        dir.push_back(char(im.height >= 256 ? 0 : im.height));
        dir.push_back(char(im.bitCount <= 8 ? (1 << im.bitCount) & 0xFF : 0));
        dir.push_back(0);
        putLe(dir, 1, 2);
        putLe(dir, std::uint32_t(im.bitCount), 2);
        putLe(dir, std::uint32_t(bytes.size()), 4);
        putLe(dir, offset, 4);
        offset += std::uint32_t(bytes.size());
        data += bytes;
    }
    return dir + data;
}

} // namespace pv::test
