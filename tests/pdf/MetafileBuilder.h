#pragma once

#include "platform/EmfRecorder.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace pv::test {

using Bytes = std::vector<std::uint8_t>;

inline void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

inline void put16(Bytes& b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

inline void putFloat(Bytes& b, float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    put32(b, v);
}

// A record of 32-bit words after its type and size.
inline Bytes record(std::uint32_t type, std::initializer_list<std::int32_t> words) {
    Bytes b;
    put32(b, type);
    put32(b, std::uint32_t(8 + 4 * words.size()));
    for (std::int32_t w : words)
        put32(b, std::uint32_t(w));
    return b;
}

// A record with any body; the size is filled in and the body padded to 4 bytes.
inline Bytes record(std::uint32_t type, const Bytes& body) {
    Bytes b;
    put32(b, type);
    Bytes padded = body;
    while (padded.size() % 4)
        padded.push_back(0);
    put32(b, std::uint32_t(8 + padded.size()));
    b.insert(b.end(), padded.begin(), padded.end());
    return b;
}

// A 16-bit point record (EMR_POLYLINE16 and its kin) with zero bounds.
inline Bytes points16(std::uint32_t type, std::initializer_list<std::pair<int, int>> points) {
    Bytes body(16, 0);
    put32(body, std::uint32_t(points.size()));
    for (auto [x, y] : points) {
        put16(body, std::uint16_t(x));
        put16(body, std::uint16_t(y));
    }
    return record(type, body);
}

// What the recorder writes for a drawing, as bytes.
inline std::string recorded(const std::function<void(EmfRecorder&)>& draw,
                            Size page = Size{400, 300}) {
    EmfRecorder recorder(FontService::shared(), ReferenceDevice::screen(), page);
    draw(recorder);
    const Bytes bytes = recorder.finish();
    return std::string(bytes.begin(), bytes.end());
}

// A recorded metafile with more records put in front of its EMR_EOF, for the
// records the drawing layer itself never writes. The header's byte and record
// counts are brought up to date.
inline std::string withRecords(std::string metafile, std::initializer_list<Bytes> extra) {
    auto u32at = [&](std::size_t off) {
        std::uint32_t v;
        std::memcpy(&v, metafile.data() + off, 4);
        return v;
    };
    std::size_t eof = u32at(4);
    while (u32at(eof) != emf::EMR_EOF)
        eof += u32at(eof + 4);
    std::string inserted;
    for (const Bytes& r : extra)
        inserted.append(r.begin(), r.end());
    metafile.insert(eof, inserted);
    const std::uint32_t bytes = std::uint32_t(metafile.size());
    const std::uint32_t records = u32at(52) + std::uint32_t(extra.size());
    std::memcpy(metafile.data() + 48, &bytes, 4);
    std::memcpy(metafile.data() + 52, &records, 4);
    return metafile;
}

} // namespace pv::test
