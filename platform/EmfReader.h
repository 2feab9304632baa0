#pragma once

#include "platform/Error.h"

#include "platform/Dib.h"
#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pv {

// A metafile that does not hold what its sizes and offsets claim.
class EmfFormatError : public Error {
public:
    explicit EmfFormatError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// Rectangles inside metafile records are kept as stored: for bounds and
// frames both edges are inclusive.
struct EmfRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const EmfRect&, const EmfRect&) = default;
};

// A rectangle of drawing coordinates with exclusive right and bottom edges,
// as clip records give them.
using EmfEdges = EmfRect;

// One record: a view into the metafile bytes. Every accessor checks that the
// field lies inside the record and throws EmfFormatError otherwise.
class EmfRecord {
public:
    EmfRecord(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t index)
        : bytes_(bytes), offset_(offset), index_(index) {}

    std::uint32_t type() const { return u32(0); }
    std::uint32_t size() const { return std::uint32_t(bytes_.size()); }
    std::size_t offset() const { return offset_; } // from the start of the metafile
    std::size_t index() const { return index_; }   // 0 for the header
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    std::uint8_t u8(std::size_t off) const;
    std::uint16_t u16(std::size_t off) const;
    std::int16_t i16(std::size_t off) const { return std::int16_t(u16(off)); }
    std::uint32_t u32(std::size_t off) const;
    std::int32_t i32(std::size_t off) const { return std::int32_t(u32(off)); }
    float f32(std::size_t off) const;
    EmfRect rect(std::size_t off) const;
    Point pointL(std::size_t off) const { return {i32(off), i32(off + 4)}; }
    // `count` bytes at `off`, which must lie inside the record.
    std::span<const std::uint8_t> slice(std::size_t off, std::size_t count) const;
    // A record-relative (offset, count) pair; count × unit bytes must fit.
    std::span<const std::uint8_t> block(std::size_t off, std::size_t count, std::size_t unit) const;

    [[noreturn]] void fail(const std::string& what) const;

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_, index_;
};

struct EmfHeader {
    EmfRect bounds; // device pixels
    EmfRect frame;  // hundredths of a millimetre
    std::uint32_t bytes = 0;
    std::uint32_t records = 0;
    std::uint16_t handles = 0;
    Size device;      // reference device, pixels
    Size millimeters; // reference device, millimetres
    std::u16string description;
};

// Walks a metafile record by record. A translator typically does
//
//     EmfReader reader(bytes);
//     DeviceState dc;                      // platform/DeviceState.h
//     for (const EmfRecord& r : reader) {  // header first, EMR_EOF last
//         dc.apply(r);                     // objects, colours, saves, transform
//         switch (r.type()) {              // numbers from platform/EmfRecords.h
//         case emf::EMR_EXTTEXTOUTW: use(decodeExtTextOutW(r), dc.font()); break;
//         ...
//         }
//     }
//
// Field offsets of the records are in emf::layout (generated from the
// format's reference table). The constructor checks the header;
// iteration checks every record's size against the data and stops after
// EMR_EOF (or at the end of the data). Throws EmfFormatError with the record
// number and offset of the first bad record.
class EmfReader {
public:
    explicit EmfReader(std::span<const std::uint8_t> data);

    const EmfHeader& header() const { return header_; }

    class Iterator {
    public:
        Iterator(const EmfReader* reader, std::size_t offset, std::size_t index);
        const EmfRecord& operator*() const { return *current_; }
        const EmfRecord* operator->() const { return &*current_; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return offset_ == other.offset_; }

    private:
        void load();
        const EmfReader* reader_;
        std::size_t offset_, index_;
        std::optional<EmfRecord> current_;
    };
    // Starts with the header record.
    Iterator begin() const { return Iterator(this, 0, 0); }
    Iterator end() const { return Iterator(this, data_.size(), 0); }

    // All records, checked, in order.
    std::vector<EmfRecord> records() const;

private:
    std::span<const std::uint8_t> data_;
    EmfHeader header_;
};

// Decoded forms of the records the drawing layer writes.
struct EmfTextOut {
    EmfRect bounds;
    std::uint32_t graphicsMode = 0;
    float exScale = 0, eyScale = 0;
    Point reference;
    std::uint32_t options = 0;
    std::optional<EmfRect> rectangle;
    std::u16string text;
    std::vector<std::int32_t> dx;
};
EmfTextOut decodeExtTextOutW(const EmfRecord& record);

std::pair<std::uint32_t, LogFont> decodeExtCreateFont(const EmfRecord& record);
std::pair<std::uint32_t, Pen> decodeCreatePen(const EmfRecord& record);
std::pair<std::uint32_t, Brush> decodeCreateBrush(const EmfRecord& record);

// EMR_POLYLINE16, EMR_POLYGON16 and the other 16-bit point lists.
std::vector<Point> decodePoints16(const EmfRecord& record);

struct EmfStretchDib {
    EmfRect bounds;
    Rect dest;   // xDest, yDest, cxDest, cyDest as a rectangle
    Rect source; // xSrc, ySrc, cxSrc, cySrc
    std::uint32_t rop = 0;
    Dib dib;
};
EmfStretchDib decodeStretchDIBits(const EmfRecord& record);

} // namespace pv
