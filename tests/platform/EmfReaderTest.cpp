#include "platform/EmfReader.h"
#include "platform/DeviceState.h"
#include "platform/Dib.h"
#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace pv {
namespace {

void put32(std::vector<std::uint8_t>& d, std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        d[off + i] = std::uint8_t(v >> (8 * i));
}

// A small metafile with one text record, the second record after the header.
std::vector<std::uint8_t> sample() {
    EmfRecorder rec(FontService::shared());
    rec.TextOut(10, 10, "Hi");
    rec.Rectangle(0, 0, 5, 5);
    return rec.finish();
}

std::size_t offsetOf(const std::vector<std::uint8_t>& data, std::uint32_t type) {
    for (const EmfRecord& r : EmfReader(data))
        if (r.type() == type) return r.offset();
    return 0;
}

// Walks everything, decoding the records the drawing layer writes.
void readAll(const std::vector<std::uint8_t>& data) {
    EmfReader reader(data);
    DeviceState dc;
    for (const EmfRecord& r : reader) {
        dc.apply(r);
        if (r.type() == emf::EMR_EXTTEXTOUTW) decodeExtTextOutW(r);
        if (r.type() == emf::EMR_POLYLINE16) decodePoints16(r);
        if (r.type() == emf::EMR_STRETCHDIBITS) decodeStretchDIBits(r);
    }
}

TEST(EmfReader, DamagedMetafilesGiveAFormatErrorNamingThePlace) {
    using Damage = std::function<void(std::vector<std::uint8_t>&)>;
    const auto text = [](const std::vector<std::uint8_t>& d) {
        return offsetOf(d, emf::EMR_EXTTEXTOUTW);
    };
    struct Case {
        const char* name;
        Damage damage;
        const char* message;
    } cases[] = {
        {"shorter than a header", [](auto& d) { d.resize(40); }, "shorter than its header"},
        {"no signature", [](auto& d) { put32(d, 40, 0); }, "not an enhanced metafile"},
        {"header size odd", [](auto& d) { put32(d, 4, 110); }, "header has a wrong size"},
        {"claims more bytes", [](auto& d) { put32(d, 48, std::uint32_t(d.size() + 4)); }, "claims"},
        {"cut in the middle", [](auto& d) { put32(d, 48, std::uint32_t(d.size() - 12)); },
         "runs past the end"},
        {"record size zero", [&](auto& d) { put32(d, text(d) + 4, 0); }, "is not valid"},
        {"record size unaligned", [&](auto& d) { put32(d, text(d) + 4, 13); }, "is not valid"},
        {"record size huge", [&](auto& d) { put32(d, text(d) + 4, 0xFFFFFFF0); },
         "runs past the end"},
        {"string outside", [&](auto& d) { put32(d, text(d) + 48, 0xFFFFFF00); },
         "outside the record"},
        {"too many characters", [&](auto& d) { put32(d, text(d) + 44, 0x7FFFFFFF); },
         "does not fit"},
        {"advances outside", [&](auto& d) { put32(d, text(d) + 72, 1000); }, "outside the record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> data = sample();
        c.damage(data);
        try {
            readAll(data);
            ADD_FAILURE() << "no error";
        } catch (const EmfFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(EmfReader, RecordsAfterTheEndRecordAreNotRead) {
    std::vector<std::uint8_t> data = sample();
    const std::size_t size = data.size();
    data.resize(size + 8, 0xEE); // garbage beyond what the header claims
    std::size_t n = 0;
    for (const EmfRecord& r : EmfReader(data)) {
        ++n;
        EXPECT_LT(r.offset(), size);
    }
    EXPECT_EQ(n, EmfReader(data).header().records);
}

TEST(Dib, DecodesPalettedAndDirectBitmapsInBothRowOrders) {
    // 2 x 2 pixels: red, green / blue, white, top row first.
    const std::uint8_t red[3] = {255, 0, 0}, green[3] = {0, 255, 0}, blue[3] = {0, 0, 255},
                       white[3] = {255, 255, 255};
    auto header = [](int w, int h, int bits, int colors) {
        std::vector<std::uint8_t> d(40, 0);
        put32(d, 0, 40);
        put32(d, 4, std::uint32_t(w));
        put32(d, 8, std::uint32_t(h));
        d[12] = 1;
        d[14] = std::uint8_t(bits);
        put32(d, 32, std::uint32_t(colors));
        return d;
    };
    auto palette = [](std::vector<std::uint8_t> d) {
        for (auto c : {std::array<int, 3>{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}})
            d.insert(d.end(), {std::uint8_t(c[2]), std::uint8_t(c[1]), std::uint8_t(c[0]), 0});
        return d;
    };
    auto compressed = [](std::vector<std::uint8_t> d, std::uint32_t compression) {
        put32(d, 16, compression);
        return d;
    };
    // The same four pixels as a PNG file.
    const std::vector<std::uint8_t> png = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
        0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xFD,
        0xD4, 0x9A, 0x73, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8,
        0xCF, 0xC0, 0xC0, 0x00, 0xC2, 0x0C, 0xFF, 0x81, 0x00, 0x00, 0x1F, 0xEE, 0x05, 0xFB, 0x0B,
        0xD9, 0x68, 0x8B, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> info, bits;
    } cases[] = {
        // Bottom-up: the last row in the data is the top row.
        {"8 bits", palette(header(2, 2, 8, 4)), {2, 3, 0, 0, 0, 1, 0, 0}},
        {"4 bits", palette(header(2, 2, 4, 4)), {0x23, 0, 0, 0, 0x01, 0, 0, 0}},
        {"24 bits",
         header(2, 2, 24, 0),
         {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}},
        {"32 bits top-down",
         header(2, -2, 32, 0),
         {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}},
        // Run-length: encoded runs, end of line and end of bitmap.
        {"8 bits run-length",
         compressed(palette(header(2, 2, 8, 4)), 1),
         {1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1}},
        {"4 bits run-length",
         compressed(palette(header(2, 2, 4, 4)), 2),
         {2, 0x23, 0, 0, 2, 0x01, 0, 1}},
        {"PNG in the bits", compressed(header(2, 2, 0, 0), 5), png},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Dib dib = decodeDib(c.info, c.bits);
        ASSERT_EQ(dib.width, 2);
        ASSERT_EQ(dib.height, 2);
        EXPECT_EQ(0, std::memcmp(dib.pixel(0, 0), red, 3));
        EXPECT_EQ(0, std::memcmp(dib.pixel(1, 0), green, 3));
        EXPECT_EQ(0, std::memcmp(dib.pixel(0, 1), blue, 3));
        EXPECT_EQ(0, std::memcmp(dib.pixel(1, 1), white, 3));
    }
    // What we write decodes to what we wrote, rows padded to four bytes.
    Dib odd(3, 2);
    odd.setPixel(2, 1, 1, 2, 3);
    EXPECT_EQ(dibBits(odd).size(), 24u);
    EXPECT_EQ(decodeDib(dibInfoHeader(odd), dibBits(odd)).rgb, odd.rgb);

    std::vector<std::uint8_t> bits(64, 0);
    EXPECT_THROW(decodeDib(header(2, 2, 24, 0), std::vector<std::uint8_t>(8)), DibFormatError);
    EXPECT_THROW(decodeDib(header(2, 2, 7, 0), bits), DibFormatError);
    EXPECT_THROW(decodeDib(header(0, 2, 24, 0), bits), DibFormatError);
    EXPECT_THROW(decodeDib(header(100000, 100000, 24, 0), bits), DibFormatError);
    EXPECT_THROW(decodeDib(header(2, 2, 8, 0), bits), DibFormatError); // colour table missing
}

TEST(DeviceState, SavedStatesAndWorldTransforms) {
    DeviceState dc;
    EXPECT_EQ(dc.pen().color, rgb(0, 0, 0));
    EXPECT_EQ(dc.brush().color, rgb(255, 255, 255));
    dc.createObject(1, Pen{PenStyle::Dot, 3, rgb(1, 2, 3)});
    EXPECT_TRUE(dc.selectObject(1));
    EXPECT_FALSE(dc.selectObject(7));                    // no such object
    EXPECT_FALSE(dc.selectObject(kStockObjectFlag | 9)); // no such stock object
    EXPECT_EQ(dc.freeIndex(), 2u);
    dc.save();
    EXPECT_TRUE(dc.selectObject(kStockObjectFlag | emf::stock::NULL_PEN));
    EXPECT_EQ(dc.pen().style, PenStyle::Null);
    EXPECT_TRUE(dc.isInUse(1)); // still held by the saved state
    dc.setWorldTransform({2, 0, 0, 2, 10, 20});
    EXPECT_TRUE(dc.modifyWorldTransform({1, 0, 0, 1, 5, 5}, 3)); // then translate
    EXPECT_EQ(dc.worldTransform(), (XForm{2, 0, 0, 2, 15, 25}));
    EXPECT_TRUE(dc.modifyWorldTransform({1, 0, 0, 1, 5, 5}, 2)); // translate first
    EXPECT_EQ(dc.worldTransform(), (XForm{2, 0, 0, 2, 25, 35}));
    EXPECT_FALSE(dc.modifyWorldTransform({}, 9));
    EXPECT_FALSE(dc.restore(-2));
    EXPECT_FALSE(dc.restore(0));
    EXPECT_TRUE(dc.restore(1));
    EXPECT_EQ(dc.pen(), (Pen{PenStyle::Dot, 3, rgb(1, 2, 3)}));
    EXPECT_EQ(dc.worldTransform(), XForm{});
    dc.deleteObject(1);
    EXPECT_EQ(dc.pen().style, PenStyle::Dot); // a deleted selection keeps its value
    EXPECT_EQ(dc.freeIndex(), 1u);
}

} // namespace
} // namespace pv
