#include "platform/IconDecoder.h"
#include "tests/support/IconFixture.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using test::iconFile;
using test::IconImage;

std::span<const std::uint8_t> bytes(const std::string& d) {
    return {reinterpret_cast<const std::uint8_t*>(d.data()), d.size()};
}

Color at(const Dib& dib, int x, int y) {
    const std::uint8_t* p = dib.pixel(x, y);
    return rgb(p[0], p[1], p[2]);
}

const Color kBackground = rgb(10, 200, 30);
const std::vector<Color> kPalette = {rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 128, 0),
                                     rgb(50, 60, 70)};

// Colours that differ in every pixel of a row and between rows, so that a
// row read upside down or a pixel read from the wrong bits shows.
std::uint32_t paletteIndex(int x, int y) {
    return std::uint32_t(x + 2 * y) % 4;
}
std::uint32_t trueColour(int x, int y) {
    return 0xFF000000u | std::uint32_t(20 * x + 1) << 16 | std::uint32_t(30 * y + 2) << 8 | 77u;
}
Color trueColourAsColor(int x, int y) {
    return rgb(20 * x + 1, 30 * y + 2, 77);
}

TEST(IconDecoderTest, EveryDepthWithItsMask) {
    struct Case {
        int bitCount;
        int width;
    } cases[] = {{1, 5}, {4, 3}, {8, 4}, {24, 3}, {32, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        IconImage im;
        im.width = c.width, im.height = 3, im.bitCount = c.bitCount;
        const bool paletted = c.bitCount <= 8;
        im.palette = kPalette;
        if (c.bitCount == 1) im.palette = {kPalette[0], kPalette[1]};
        const std::uint32_t colours = c.bitCount == 1 ? 2 : 4;
        im.value = [&](int x, int y) {
            // A 32-bit image whose alpha bytes are all 0 uses its mask.
            if (c.bitCount == 32) return trueColour(x, y) & 0xFFFFFF;
            return paletted ? paletteIndex(x, y) % colours : trueColour(x, y);
        };
        im.masked = [](int x, int y) { return x == 0 && y == 0; };
        const Dib dib = decodeIcon(bytes(iconFile({im})), kBackground);
        ASSERT_EQ(dib.width, c.width);
        ASSERT_EQ(dib.height, 3);
        EXPECT_EQ(at(dib, 0, 0), kBackground) << "masked out";
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < c.width; ++x) {
                if (x == 0 && y == 0) continue;
                const Color want =
                    paletted ? im.palette[paletteIndex(x, y) % colours] : trueColourAsColor(x, y);
                EXPECT_EQ(at(dib, x, y), want) << x << "," << y;
            }
    }
}

TEST(IconDecoderTest, AlphaBlendsOverTheBackground) {
    IconImage im;
    im.width = 3, im.height = 1, im.bitCount = 32;
    const std::uint32_t alpha[] = {0, 128, 255};
    im.value = [&](int x, int) { return alpha[x] << 24 | 0xFFFFFFu; };
    // With an alpha channel the mask no longer decides.
    im.masked = [](int x, int) { return x == 2; };
    const Dib dib = decodeIcon(bytes(iconFile({im})), rgb(0, 0, 0));
    EXPECT_EQ(at(dib, 0, 0), rgb(0, 0, 0));
    EXPECT_EQ(at(dib, 1, 0), rgb(128, 128, 128));
    EXPECT_EQ(at(dib, 2, 0), rgb(255, 255, 255));
}

TEST(IconDecoderTest, ChoosesTheLargestThenTheDeepestBitmap) {
    const auto image = [](int size, int bits, bool png = false) {
        IconImage im;
        im.width = im.height = size, im.bitCount = bits, im.png = png;
        im.palette = kPalette;
        im.value = [bits](int, int) { return bits <= 8 ? 1u : 0xFF00FF00u; };
        return im;
    };
    struct Case {
        std::vector<IconImage> images;
        int width, bitCount;
        bool png;
    } cases[] = {
        {{image(16, 32), image(32, 4), image(32, 24), image(24, 32)}, 32, 24, false},
        {{image(32, 8), image(32, 32), image(32, 4)}, 32, 32, false},
        // A PNG image is passed over while a bitmap is there to draw.
        {{image(16, 8), image(256, 32, true)}, 16, 8, false},
        {{image(48, 32, true)}, 48, 32, true},
    };
    for (const Case& c : cases) {
        const std::string file = iconFile(c.images);
        const std::optional<IconEntry> e = chooseIconEntry(bytes(file));
        ASSERT_TRUE(e);
        EXPECT_EQ(e->width, c.width);
        EXPECT_EQ(e->height, c.width);
        EXPECT_EQ(e->bitCount, c.bitCount);
        EXPECT_EQ(e->png, c.png);
        if (c.png)
            EXPECT_THROW(decodeIcon(bytes(file), kBackground), IconFormatError);
        else
            EXPECT_EQ(decodeIcon(bytes(file), kBackground).width, c.width);
    }
}

TEST(IconDecoderTest, OffsetsAndSizesOutsideTheFileAreRefused) {
    IconImage im;
    im.width = im.height = 4, im.bitCount = 8, im.palette = kPalette;
    im.value = [](int, int) { return 2u; };
    const std::string good = iconFile({im});
    const auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string d = good;
        for (int i = 0; i < 4; ++i)
            d[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
        return d;
    };
    const std::size_t image = 6 + 16; // where the one image starts
    // The file cut to `size` bytes with the image's entry cut to match.
    const auto cut = [&](std::size_t size) {
        std::string d = good.substr(0, size);
        const std::uint32_t v = std::uint32_t(size - image);
        for (int i = 0; i < 4; ++i)
            d[6 + 8 + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
        return d;
    };
    const std::string cases[] = {
        "",
        good.substr(0, 5),
        good.substr(0, 6 + 10),                     // directory cut short
        patched(6 + 12, 0xFFFFFFF0u),               // image offset far outside
        patched(6 + 8, 0xFFFFFFFFu),                // image size far outside
        patched(6 + 8, std::uint32_t(good.size())), // size runs past the end
        good.substr(0, good.size() - 1),            // the same, by a byte
        patched(image, 0x7FFFFFFFu),                // header size beyond the image
        cut(image + 40 + 100),                      // colour table cut short
        cut(image + 40 + 1024 + 8),                 // colour bits cut short
        patched(image + 4, 0x00100000u),            // width whose bits are not there
        patched(image + 8, 0x7FFFFFFEu),            // height whose bits are not there
        patched(image + 8, 1),                      // no rows at all
        patched(image + 14, 3),                     // 3 bits per pixel
        patched(image + 16, 1),                     // run-length compressed
    };
    for (const std::string& bad : cases) {
        SCOPED_TRACE(bad.size());
        EXPECT_THROW(decodeIcon(bytes(bad), kBackground), IconFormatError);
    }
    // Only a mask cut short is forgiven: every pixel then shows.
    im.masked = [](int, int) { return true; };
    const std::string masked = iconFile({im});
    ASSERT_EQ(good.size(), masked.size());
    std::string shortMask = masked.substr(0, masked.size() - 4);
    const std::uint32_t v = std::uint32_t(shortMask.size() - image);
    for (int i = 0; i < 4; ++i)
        shortMask[6 + 8 + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    EXPECT_EQ(at(decodeIcon(bytes(masked), kBackground), 1, 1), kBackground);
    EXPECT_EQ(at(decodeIcon(bytes(shortMask), kBackground), 1, 1), kPalette[2]);
}

} // namespace
} // namespace pv
