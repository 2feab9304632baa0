#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

// An in-memory, little-endian byte stream with a position: what templates and
// prepared reports are read from and written to. Reading past the end throws
// FrfFormatError; writing past the end grows the stream.
class ByteStream {
public:
    ByteStream() = default;
    explicit ByteStream(std::string bytes, bool fromFile = false)
        : bytes_(std::move(bytes)), fromFile_(fromFile) {}

    const std::string& bytes() const { return bytes_; }
    std::string takeBytes() { return std::move(bytes_); }
    size_t size() const { return bytes_.size(); }
    size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    size_t remaining() const { return atEnd() ? 0 : bytes_.size() - pos_; }
    // Throws FrfFormatError for a position beyond the end.
    void seek(size_t position);

    // A stream read from a file (the password is asked only then).
    bool fromFile() const { return fromFile_; }

    uint8_t readU8();
    uint16_t readU16();
    int16_t readI16() { return static_cast<int16_t>(readU16()); }
    uint32_t readU32();
    int32_t readI32() { return static_cast<int32_t>(readU32()); }
    double readF64();
    std::string readBytes(size_t count);
    void skip(size_t count);

    void writeU8(uint8_t v);
    void writeU16(uint16_t v);
    void writeI16(int16_t v) { writeU16(static_cast<uint16_t>(v)); }
    void writeU32(uint32_t v);
    void writeI32(int32_t v) { writeU32(static_cast<uint32_t>(v)); }
    void writeF64(double v);
    void writeBytes(std::string_view bytes);
    // Overwrites four bytes at `at` without moving the position.
    void patchI32(size_t at, int32_t v);

private:
    void need(size_t count) const;
    void put(const char* data, size_t count);

    std::string bytes_;
    size_t pos_ = 0;
    bool fromFile_ = false;
};

} // namespace pv
