#include "platform/EmfReader.h"

#include "platform/CodePage.h"
#include "platform/EmfRecords.h"

#include <cstring>

namespace pv {

namespace L = emf::layout;

namespace {
// Corners from an origin and an extent as the record stores them; the sum
// wraps instead of overflowing on hostile values.
int plus(std::int32_t a, std::int32_t b) {
    return std::int32_t(std::uint32_t(a) + std::uint32_t(b));
}
} // namespace

std::uint8_t EmfRecord::u8(std::size_t off) const {
    return slice(off, 1)[0];
}

std::uint16_t EmfRecord::u16(std::size_t off) const {
    auto b = slice(off, 2);
    return std::uint16_t(b[0] | b[1] << 8);
}

std::uint32_t EmfRecord::u32(std::size_t off) const {
    auto b = slice(off, 4);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

float EmfRecord::f32(std::size_t off) const {
    const std::uint32_t bits = u32(off);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

EmfRect EmfRecord::rect(std::size_t off) const {
    return {i32(off), i32(off + 4), i32(off + 8), i32(off + 12)};
}

std::span<const std::uint8_t> EmfRecord::slice(std::size_t off, std::size_t count) const {
    if (off > bytes_.size() || count > bytes_.size() - off)
        fail("a field at offset " + std::to_string(off) + " lies outside the record");
    return bytes_.subspan(off, count);
}

std::span<const std::uint8_t> EmfRecord::block(std::size_t off, std::size_t count,
                                               std::size_t unit) const {
    if (count > bytes_.size() / (unit ? unit : 1))
        fail("an array of " + std::to_string(count) + " items does not fit the record");
    return slice(off, count * unit);
}

void EmfRecord::fail(const std::string& what) const {
    const char* name = emf::recordTypeName(bytes_.size() >= 4 ? type() : 0);
    throw EmfFormatError("metafile record " + std::to_string(index_) + " (" +
                         (name ? name : "type " + std::to_string(bytes_.size() >= 4 ? type() : 0)) +
                         ") at offset " + std::to_string(offset_) + ": " + what);
}

EmfReader::EmfReader(std::span<const std::uint8_t> data) : data_(data) {
    namespace H = L::EMR_HEADER;
    if (data.size() < 88) throw EmfFormatError("metafile is shorter than its header");
    const EmfRecord probe(data.first(88), 0, 0);
    const std::uint32_t size = probe.u32(H::Size);
    if (probe.type() != emf::EMR_HEADER || probe.u32(H::RecordSignature) != emf::ENHMETA_SIGNATURE)
        throw EmfFormatError("not an enhanced metafile (no header record)");
    if (size < 88 || size % 4 != 0 || size > data.size())
        throw EmfFormatError("metafile header has a wrong size");
    const EmfRecord rec(data.first(size), 0, 0);
    header_.bounds = rec.rect(H::Bounds);
    header_.frame = rec.rect(H::Frame);
    header_.bytes = rec.u32(H::Bytes);
    header_.records = rec.u32(H::Records);
    header_.handles = rec.u16(H::Handles);
    header_.device = {rec.i32(H::Device), rec.i32(H::Device + 4)};
    header_.millimeters = {rec.i32(H::Millimeters), rec.i32(H::Millimeters + 4)};
    if (header_.bytes < size || header_.bytes > data.size())
        throw EmfFormatError("metafile header claims " + std::to_string(header_.bytes) +
                             " bytes, the data holds " + std::to_string(data.size()));
    // The walk never goes beyond the size the header claims.
    data_ = data.first(header_.bytes);
    if (const std::uint32_t n = rec.u32(H::nDescription)) {
        auto text = rec.block(rec.u32(H::offDescription), n, 2);
        for (std::size_t i = 0; i + 1 < text.size(); i += 2)
            header_.description.push_back(char16_t(text[i] | text[i + 1] << 8));
    }
}

EmfReader::Iterator::Iterator(const EmfReader* reader, std::size_t offset, std::size_t index)
    : reader_(reader), offset_(offset), index_(index) {
    load();
}

void EmfReader::Iterator::load() {
    const auto& data = reader_->data_;
    current_.reset();
    if (offset_ >= data.size()) {
        offset_ = data.size();
        return;
    }
    auto fail = [&](const std::string& what) {
        throw EmfFormatError("metafile record " + std::to_string(index_) + " at offset " +
                             std::to_string(offset_) + ": " + what);
    };
    if (data.size() - offset_ < 8) fail("the data ends inside the record's type and size");
    const EmfRecord head(data.subspan(offset_, 8), offset_, index_);
    const std::uint32_t size = head.u32(4);
    if (size < 8 || size % 4 != 0) fail("record size " + std::to_string(size) + " is not valid");
    if (size > data.size() - offset_)
        fail("record size " + std::to_string(size) + " runs past the end");
    current_.emplace(data.subspan(offset_, size), offset_, index_);
}

EmfReader::Iterator& EmfReader::Iterator::operator++() {
    if (!current_) return *this;
    if (current_->type() == emf::EMR_EOF) {
        offset_ = reader_->data_.size();
        current_.reset();
        return *this;
    }
    offset_ += current_->size();
    ++index_;
    load();
    return *this;
}

std::vector<EmfRecord> EmfReader::records() const {
    std::vector<EmfRecord> out;
    for (const EmfRecord& r : *this)
        out.push_back(r);
    return out;
}

EmfTextOut decodeExtTextOutW(const EmfRecord& r) {
    namespace T = L::EMR_EXTTEXTOUTW;
    EmfTextOut t;
    t.bounds = r.rect(T::Bounds);
    t.graphicsMode = r.u32(T::iGraphicsMode);
    t.exScale = r.f32(T::exScale);
    t.eyScale = r.f32(T::eyScale);
    t.reference = r.pointL(T::EmrText_Reference);
    const std::uint32_t chars = r.u32(T::EmrText_Chars);
    t.options = r.u32(T::EmrText_Options);
    std::size_t offDx = T::EmrText_offDx;
    if (t.options & emf::ETO_NO_RECT)
        offDx = T::EmrText_Rectangle;
    else
        t.rectangle = r.rect(T::EmrText_Rectangle);
    auto text = r.block(r.u32(T::EmrText_offString), chars, 2);
    t.text.reserve(chars);
    for (std::size_t i = 0; i < text.size(); i += 2)
        t.text.push_back(char16_t(text[i] | text[i + 1] << 8));
    const std::uint32_t dxOffset = r.u32(offDx);
    if (dxOffset != 0 && chars > 0) {
        const std::size_t perChar = (t.options & emf::ETO_PDY) ? 2 : 1;
        auto dx = r.block(dxOffset, chars * perChar, 4);
        for (std::size_t i = 0; i < chars; ++i)
            t.dx.push_back(r.i32(dxOffset + i * perChar * 4));
        (void)dx;
    }
    return t;
}

std::pair<std::uint32_t, LogFont> decodeExtCreateFont(const EmfRecord& r) {
    namespace F = L::EMR_EXTCREATEFONTINDIRECTW;
    LogFont f;
    f.height = r.i32(F::elw_LogFont_Height);
    f.width = r.i32(F::elw_LogFont_Width);
    f.escapement = r.i32(F::elw_LogFont_Escapement);
    f.orientation = r.i32(F::elw_LogFont_Orientation);
    f.weight = r.i32(F::elw_LogFont_Weight);
    f.italic = r.u8(F::elw_LogFont_Italic) != 0;
    f.underline = r.u8(F::elw_LogFont_Underline) != 0;
    f.strikeOut = r.u8(F::elw_LogFont_StrikeOut) != 0;
    f.charSet = r.u8(F::elw_LogFont_CharSet);
    f.outPrecision = r.u8(F::elw_LogFont_OutPrecision);
    f.clipPrecision = r.u8(F::elw_LogFont_ClipPrecision);
    f.quality = r.u8(F::elw_LogFont_Quality);
    f.pitchAndFamily = r.u8(F::elw_LogFont_PitchAndFamily);
    std::u16string face;
    for (int i = 0; i < 32; ++i) {
        const char16_t c = r.u16(F::elw_LogFont_Facename + 2 * std::size_t(i));
        if (c == 0) break;
        face.push_back(c);
    }
    f.faceName = codepage::fromUtf16(face, 1251);
    return {r.u32(F::ihFonts), f};
}

std::pair<std::uint32_t, Pen> decodeCreatePen(const EmfRecord& r) {
    namespace P = L::EMR_CREATEPEN;
    Pen p;
    p.style = PenStyle(r.u32(P::LogPen_PenStyle) & 0xF);
    p.width = r.i32(P::LogPen_Width);
    p.color = r.u32(P::LogPen_ColorRef) & 0xFFFFFF;
    return {r.u32(P::ihPen), p};
}

std::pair<std::uint32_t, Brush> decodeCreateBrush(const EmfRecord& r) {
    namespace B = L::EMR_CREATEBRUSHINDIRECT;
    Brush b;
    const std::uint32_t style = r.u32(B::LogBrush_BrushStyle);
    b.style = style == emf::BS_NULL      ? BrushStyle::Hollow
              : style == emf::BS_HATCHED ? BrushStyle::Hatched
                                         : BrushStyle::Solid;
    b.color = r.u32(B::LogBrush_Color) & 0xFFFFFF;
    b.hatch = r.u32(B::LogBrush_BrushHatch);
    return {r.u32(B::ihBrush), b};
}

std::vector<Point> decodePoints16(const EmfRecord& r) {
    namespace P = L::EMR_POLYLINE16;
    const std::uint32_t count = r.u32(P::Count);
    r.block(P::aPoints, count, 4);
    std::vector<Point> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        points.push_back({r.i16(P::aPoints + 4 * i), r.i16(P::aPoints + 4 * i + 2)});
    return points;
}

EmfStretchDib decodeStretchDIBits(const EmfRecord& r) {
    namespace S = L::EMR_STRETCHDIBITS;
    EmfStretchDib s;
    s.bounds = r.rect(S::Bounds);
    const int x = r.i32(S::xDest), y = r.i32(S::yDest);
    s.dest = {x, y, plus(x, r.i32(S::cxDest)), plus(y, r.i32(S::cyDest))};
    const int sx = r.i32(S::xSrc), sy = r.i32(S::ySrc);
    s.source = {sx, sy, plus(sx, r.i32(S::cxSrc)), plus(sy, r.i32(S::cySrc))};
    s.rop = r.u32(S::BitBltRasterOperation);
    auto info = r.slice(r.u32(S::offBmiSrc), r.u32(S::cbBmiSrc));
    auto bits = r.slice(r.u32(S::offBitsSrc), r.u32(S::cbBitsSrc));
    try {
        s.dib = decodeDib(info, bits);
    } catch (const DibFormatError& e) {
        r.fail(e.what());
    }
    return s;
}

} // namespace pv
