#include "report/model/ByteStream.h"

#include "report/model/FrfError.h"

#include <bit>
#include <cstring>

namespace pv {

void ByteStream::need(size_t count) const {
    if (count > remaining())
        throw FrfFormatError("unexpected end of stream at offset " + std::to_string(pos_));
}

void ByteStream::seek(size_t position) {
    if (position > bytes_.size())
        throw FrfFormatError("offset " + std::to_string(position) + " lies beyond the end (" +
                             std::to_string(bytes_.size()) + ")");
    pos_ = position;
}

uint8_t ByteStream::readU8() {
    need(1);
    return static_cast<uint8_t>(bytes_[pos_++]);
}

uint16_t ByteStream::readU16() {
    need(2);
    auto b = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
    pos_ += 2;
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t ByteStream::readU32() {
    need(4);
    auto b = reinterpret_cast<const unsigned char*>(bytes_.data() + pos_);
    pos_ += 4;
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

double ByteStream::readF64() {
    need(8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes_[pos_ + i]);
    pos_ += 8;
    return std::bit_cast<double>(v);
}

std::string ByteStream::readBytes(size_t count) {
    need(count);
    std::string out = bytes_.substr(pos_, count);
    pos_ += count;
    return out;
}

void ByteStream::skip(size_t count) {
    need(count);
    pos_ += count;
}

void ByteStream::put(const char* data, size_t count) {
    if (pos_ > bytes_.size()) bytes_.resize(pos_);
    size_t overlap = std::min(count, bytes_.size() - pos_);
    bytes_.replace(pos_, overlap, data, count);
    pos_ += count;
}

void ByteStream::writeU8(uint8_t v) {
    char c = static_cast<char>(v);
    put(&c, 1);
}

void ByteStream::writeU16(uint16_t v) {
    char b[2] = {char(v & 0xFF), char(v >> 8)};
    put(b, 2);
}

void ByteStream::writeU32(uint32_t v) {
    char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    put(b, 4);
}

void ByteStream::writeF64(double v) {
    uint64_t bits = std::bit_cast<uint64_t>(v);
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = char((bits >> (8 * i)) & 0xFF);
    put(b, 8);
}

void ByteStream::writeBytes(std::string_view bytes) {
    put(bytes.data(), bytes.size());
}

void ByteStream::patchI32(size_t at, int32_t v) {
    size_t saved = pos_;
    pos_ = at;
    writeI32(v);
    pos_ = saved;
}

} // namespace pv
