#include "platform/JpegDecoder.h"
#include "report/model/Graphic.h"
#include "tests/support/IconFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace pv {
namespace {

// A width × height JPEG of one colour, made with libjpeg's encoder.
std::string makeJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[3 * x] = r;
        row[3 * x + 1] = g;
        row[3 * x + 2] = b;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

TEST(JpegDecoderTest, DecodesSizeAndPixels) {
    std::string jpeg = makeJpeg(17, 5, 200, 40, 90);
    Bitmap bitmap = decodeJpeg(jpeg);
    ASSERT_EQ(bitmap.width, 17);
    ASSERT_EQ(bitmap.height, 5);
    ASSERT_EQ(bitmap.rgba.size(), 17u * 5 * 4);
    const uint8_t* last = &bitmap.rgba[(4 * 17 + 16) * 4];
    EXPECT_NEAR(last[0], 200, 4);
    EXPECT_NEAR(last[1], 40, 4);
    EXPECT_NEAR(last[2], 90, 4);
    EXPECT_EQ(last[3], 255);
}

TEST(JpegDecoderTest, DamagedDataIsAnErrorNotACrash) {
    std::string jpeg = makeJpeg(8, 8, 1, 2, 3);
    for (const std::string& bad : {std::string(), std::string("not a jpeg"), jpeg.substr(0, 20)}) {
        EXPECT_THROW(decodeJpeg(bad), JpegError);
        Graphic g{gkJpeg, bad};
        EXPECT_FALSE(g.size());
    }
}

TEST(GraphicTest, SizeFromTheHeaderOfEachKind) {
    const auto icon = [](int size, int bits) {
        test::IconImage im;
        im.width = im.height = size, im.bitCount = bits;
        im.value = [](int, int) { return 0u; };
        return im;
    };
    const auto placeable = [](int left, int top, int right, int bottom, int inch) {
        std::string d("\xD7\xCD\xC6\x9A\0\0", 6);
        for (int v : {left, top, right, bottom, inch})
            d += std::string{char(v & 0xFF), char((v >> 8) & 0xFF)};
        return d + std::string(6, '\0');
    };
    std::string bmp = "BM" + std::string(12, '\0');
    bmp += std::string("\x28\0\0\0", 4) + std::string("\x0A\0\0\0", 4) +
           std::string("\xFA\xFF\xFF\xFF", 4);
    std::string ico =
        std::string("\0\0\1\0\1\0", 6) + std::string("\x20\x00", 2) + std::string(14, '\0');
    struct Case {
        Graphic graphic;
        std::optional<std::pair<int, int>> size;
    } cases[] = {
        {{gkBitmap, bmp}, {{10, 6}}}, // a top-down bitmap's negative height
        {{gkIcon, ico}, {{32, 256}}}, // a size byte of 0 is 256
        {{gkJpeg, makeJpeg(3, 2, 0, 0, 0)}, {{3, 2}}},
        {{gkIcon, test::iconFile({icon(16, 32), icon(48, 8), icon(32, 32)})}, {{48, 48}}},
        {{gkMetafile, "\xD7\xCD\xC6\x9A"}, std::nullopt},
        // A placeable metafile's box of 1440 units per inch: 2 x 1 inches.
        {{gkMetafile, placeable(0, 0, 2880, 1440, 1440)}, {{192, 96}}},
        {{gkMetafile, placeable(0, 0, 2880, 1440, 0)}, std::nullopt},
        {{gkBitmap, "BM"}, std::nullopt},
        {{gkNone, ""}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.graphic.kind));
        auto size = c.graphic.size();
        ASSERT_EQ(size.has_value(), c.size.has_value());
        if (size) {
            EXPECT_EQ(size->width, c.size->first);
            EXPECT_EQ(size->height, c.size->second);
        }
    }
}

} // namespace
} // namespace pv
