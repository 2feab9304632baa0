#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace pv::test {

// Builds an old-style metafile record by record: parameters are 16-bit words.
class WmfBuilder {
public:
    // With `box`, a placeable header of that box in `inch` units per inch.
    explicit WmfBuilder(std::optional<std::vector<int>> box = std::nullopt, int inch = 1440) {
        if (box) {
            word(0xCDD7), word(0x9AC6), word(0);
            for (int v : *box)
                word(std::uint16_t(v));
            word(std::uint16_t(inch)), word(0), word(0), word(0);
        }
        headerAt_ = bytes_.size();
        word(1), word(9), word(0x0300);
        word(0), word(0); // size in words, patched
        word(0);          // objects
        word(0), word(0); // largest record
        word(0);
    }

    WmfBuilder& record(std::uint16_t function, std::initializer_list<int> params) {
        return record(function, std::vector<int>(params));
    }
    WmfBuilder& record(std::uint16_t function, const std::vector<int>& params) {
        const std::uint32_t size = 3 + std::uint32_t(params.size());
        word(std::uint16_t(size)), word(std::uint16_t(size >> 16)), word(function);
        for (int v : params)
            word(std::uint16_t(v));
        return *this;
    }
    // Text bytes as parameter words, padded to an even length.
    static std::vector<int> textWords(const std::string& text) {
        std::vector<int> out;
        for (std::size_t i = 0; i < text.size(); i += 2)
            out.push_back(std::uint8_t(text[i]) |
                          (i + 1 < text.size() ? std::uint8_t(text[i + 1]) << 8 : 0));
        return out;
    }
    // A packed 24-bit DIB of one colour as parameter words.
    static std::vector<int> dibWords(int width, int height, std::uint8_t r, std::uint8_t g,
                                     std::uint8_t b) {
        std::string d;
        const auto put = [&d](std::uint32_t v, int n) {
            for (int i = 0; i < n; ++i)
                d.push_back(char((v >> (8 * i)) & 0xFF));
        };
        put(40, 4), put(std::uint32_t(width), 4), put(std::uint32_t(height), 4), put(1, 2);
        put(24, 2);
        for (int i = 0; i < 6; ++i)
            put(0, 4);
        const int stride = (width * 3 + 3) / 4 * 4;
        for (int y = 0; y < height; ++y) {
            std::string row(std::size_t(stride), '\0');
            for (int x = 0; x < width; ++x)
                row[3 * std::size_t(x)] = char(b), row[3 * std::size_t(x) + 1] = char(g),
                        row[3 * std::size_t(x) + 2] = char(r);
            d += row;
        }
        return textWords(d);
    }

    std::string finish() {
        record(0x0000, {});
        const std::uint32_t words = std::uint32_t((bytes_.size() - headerAt_) / 2);
        bytes_[headerAt_ + 6] = char(words & 0xFF), bytes_[headerAt_ + 7] = char(words >> 8 & 0xFF);
        bytes_[headerAt_ + 8] = char(words >> 16 & 0xFF);
        bytes_[headerAt_ + 9] = char(words >> 24 & 0xFF);
        return bytes_;
    }

private:
    void word(std::uint16_t v) {
        bytes_.push_back(char(v & 0xFF));
        bytes_.push_back(char(v >> 8));
    }
    std::string bytes_;
    std::size_t headerAt_ = 0;
};

// Record functions the tests use.
namespace wmf {
constexpr std::uint16_t SaveDC = 0x001E, RestoreDC = 0x0127, SelectObject = 0x012D,
                        DeleteObject = 0x01F0, SetTextColor = 0x0209, SetWindowOrg = 0x020B,
                        SetWindowExt = 0x020C, LineTo = 0x0213, MoveTo = 0x0214, Polygon = 0x0324,
                        IntersectClipRect = 0x0416, Ellipse = 0x0418, Rectangle = 0x041B,
                        TextOut = 0x0521, ExtTextOut = 0x0A32, StretchDib = 0x0F43,
                        CreatePen = 0x02FA, CreateFont = 0x02FB, CreateBrush = 0x02FC,
                        CreateRegion = 0x06FF;
} // namespace wmf

} // namespace pv::test
