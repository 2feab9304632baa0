#include "platform/IconDecoder.h"

#include <cstdlib>
#include <cstring>

namespace pv {
namespace {

constexpr std::size_t kDirectorySize = 6, kEntrySize = 16, kInfoHeaderSize = 40;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint16_t u16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint16_t(d[at] | d[at + 1] << 8);
}
std::uint32_t u32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8 | std::uint32_t(d[at + 2]) << 16 |
           std::uint32_t(d[at + 3]) << 24;
}
std::uint64_t rowStride(std::uint64_t width, int bitCount) {
    return (width * std::uint64_t(bitCount) + 31) / 32 * 4;
}

bool isPng(std::span<const std::uint8_t> image) {
    return image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0;
}

// Fills in size and depth from the image's own header where it has one.
void readImageHeader(std::span<const std::uint8_t> image, IconEntry& e) {
    if (isPng(image)) {
        e.png = true;
        // IHDR follows the signature: length, type, then width and height big-endian.
        if (image.size() >= 24) {
            const auto be = [&](std::size_t at) {
                return std::uint32_t(image[at]) << 24 | std::uint32_t(image[at + 1]) << 16 |
                       std::uint32_t(image[at + 2]) << 8 | std::uint32_t(image[at + 3]);
            };
            if (be(16) > 0 && be(16) <= 65536 && be(20) > 0 && be(20) <= 65536)
                e.width = int(be(16)), e.height = int(be(20));
        }
        e.bitCount = 32;
        return;
    }
    if (image.size() < kInfoHeaderSize || u32(image, 0) < kInfoHeaderSize) return;
    const auto width = std::int32_t(u32(image, 4));
    const auto doubleHeight = std::int32_t(u32(image, 8));
    if (width > 0 && width <= 65536 && doubleHeight > 1 && doubleHeight <= 2 * 65536)
        e.width = width, e.height = doubleHeight / 2;
    if (const int bits = u16(image, 14)) e.bitCount = bits;
}

Color blend(const std::uint8_t* rgb, int alpha, Color background) {
    const auto mix = [alpha](int c, int b) { return (c * alpha + b * (255 - alpha) + 127) / 255; };
    return pv::rgb(mix(rgb[0], redOf(background)), mix(rgb[1], greenOf(background)),
                   mix(rgb[2], blueOf(background)));
}

Dib decodeBitmapImage(std::span<const std::uint8_t> image, Color background) {
    if (image.size() < kInfoHeaderSize) throw IconFormatError("icon image header is cut short");
    const std::uint32_t headerSize = u32(image, 0);
    if (headerSize < kInfoHeaderSize || headerSize > image.size())
        throw IconFormatError("icon image header size is wrong");
    const auto width = std::int32_t(u32(image, 4));
    const auto doubleHeight = std::int32_t(u32(image, 8));
    const int bitCount = u16(image, 14);
    // The stored height counts the colour rows and the mask rows.
    if (width <= 0 || doubleHeight < 2) throw IconFormatError("icon image has no pixels");
    const int height = doubleHeight / 2;

    std::uint64_t paletteBytes = 0;
    if (bitCount >= 1 && bitCount <= 8) {
        const std::uint32_t maxColors = 1u << bitCount;
        std::uint32_t used = u32(image, 32);
        if (used == 0 || used > maxColors) used = maxColors;
        paletteBytes = std::uint64_t(used) * 4;
    }
    const std::uint64_t bitsAt = headerSize + paletteBytes;
    if (bitsAt > image.size()) throw IconFormatError("icon colour table is cut short");

    // Icons store their rows uncompressed: the mask follows the colour rows at a fixed place.
    if (const std::uint32_t compression = u32(image, 16); compression != 0 && compression != 3)
        throw IconFormatError("icon image is compressed");
    // The colour rows are an ordinary bitmap of half the stored height.
    std::vector<std::uint8_t> info(image.begin(), image.begin() + std::ptrdiff_t(bitsAt));
    for (int i = 0; i < 4; ++i)
        info[8 + std::size_t(i)] = std::uint8_t(std::uint32_t(height) >> (8 * i));
    const std::span<const std::uint8_t> bits = image.subspan(std::size_t(bitsAt));
    Dib dib;
    try {
        dib = decodeDib(info, bits);
    } catch (const DibFormatError& e) {
        throw IconFormatError(std::string("icon image: ") + e.what());
    }

    const std::uint64_t colourBytes = rowStride(std::uint64_t(width), bitCount) * height;
    bool alphaUsed = false;
    if (bitCount == 32)
        for (std::uint64_t i = 3; i < colourBytes && !alphaUsed; i += 4)
            alphaUsed = bits[std::size_t(i)] != 0;
    if (alphaUsed) {
        const std::uint64_t stride = rowStride(std::uint64_t(width), 32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int alpha = bits[std::size_t(stride * (height - 1 - y) + 4 * x + 3)];
                const Color c = blend(dib.pixel(x, y), alpha, background);
                dib.setPixel(x, y, std::uint8_t(redOf(c)), std::uint8_t(greenOf(c)),
                             std::uint8_t(blueOf(c)));
            }
        return dib;
    }

    // A mask that is missing or cut short leaves every pixel showing.
    const std::uint64_t maskStride = rowStride(std::uint64_t(width), 1);
    if (colourBytes + maskStride * height > bits.size()) return dib;
    const std::uint8_t* mask = bits.data() + colourBytes;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = mask + maskStride * std::uint64_t(height - 1 - y);
        for (int x = 0; x < width; ++x)
            if (row[x / 8] & (0x80 >> (x % 8)))
                dib.setPixel(x, y, std::uint8_t(redOf(background)),
                             std::uint8_t(greenOf(background)), std::uint8_t(blueOf(background)));
    }
    return dib;
}

} // namespace

std::vector<IconEntry> iconEntries(std::span<const std::uint8_t> file) {
    if (file.size() < kDirectorySize || u16(file, 0) != 0 || u16(file, 2) != 1)
        throw IconFormatError("not an icon file");
    const std::size_t count = u16(file, 4);
    if (kDirectorySize + count * kEntrySize > file.size())
        throw IconFormatError("icon directory of " + std::to_string(count) +
                              " entries is cut short");
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectorySize + i * kEntrySize;
        IconEntry e;
        e.width = file[at] ? file[at] : 256;
        e.height = file[at + 1] ? file[at + 1] : 256;
        e.bitCount = u16(file, at + 6);
        e.size = u32(file, at + 8);
        e.offset = u32(file, at + 12);
        if (e.size == 0 || e.offset > file.size() || e.size > file.size() - e.offset) continue;
        readImageHeader(file.subspan(e.offset, e.size), e);
        entries.push_back(e);
    }
    return entries;
}

std::optional<IconEntry> chooseIconEntry(std::span<const std::uint8_t> file) {
    std::optional<IconEntry> best;
    for (const IconEntry& e : iconEntries(file)) {
        const auto better = [](const IconEntry& a, const IconEntry& b) {
            if (a.png != b.png) return !a.png;
            const std::int64_t areaA = std::int64_t(a.width) * a.height;
            const std::int64_t areaB = std::int64_t(b.width) * b.height;
            if (areaA != areaB) return areaA > areaB;
            return a.bitCount > b.bitCount;
        };
        if (!best || better(e, *best)) best = e;
    }
    return best;
}

Dib decodeIcon(std::span<const std::uint8_t> file, Color background) {
    const std::optional<IconEntry> entry = chooseIconEntry(file);
    if (!entry) throw IconFormatError("icon has no image inside the file");
    if (entry->png) throw IconFormatError("PNG-compressed icon images are not supported");
    return decodeBitmapImage(file.subspan(entry->offset, entry->size), background);
}

} // namespace pv
