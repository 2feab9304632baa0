#pragma once

#include "platform/Error.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pv {

// A device-independent bitmap held as 24-bit pixel rows, top row first,
// three bytes per pixel in the order red, green, blue, no row padding.
struct Dib {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Dib() = default;
    Dib(int w, int h);
    void setPixel(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    const std::uint8_t* pixel(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

class DibFormatError : public Error {
public:
    explicit DibFormatError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// The packed form stored in metafiles: a 40-byte BITMAPINFOHEADER (24 bits,
// bottom-up, no compression) and the bits with rows padded to 4 bytes.
std::vector<std::uint8_t> dibInfoHeader(const Dib& dib);
std::vector<std::uint8_t> dibBits(const Dib& dib);

// Decodes a bitmap of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel, bottom-up
// or top-down, with its colour table; run-length encoded 8- and 4-bit bitmaps;
// and a JPEG or PNG picture carried as the bits (transparency over white). Throws DibFormatError
// when the header or the bits do not hold what they claim.
Dib decodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits);

} // namespace pv
