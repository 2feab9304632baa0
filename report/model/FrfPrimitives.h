#pragma once

#include "report/model/View.h"

#include <cstdint>
#include <string>

namespace pv {

class ByteStream;

// The newest template edition, the one written.
constexpr int kFrfEdition = 25;

// What the readers of the class fields need to know about the stream.
struct FrfContext {
    int edition = kFrfEdition;
};

// Texts: editions 23 and later store a u16 length, the bytes and a byte 0;
// older ones the bytes up to a byte 0.
std::string readFrfText(ByteStream& s, int edition);
void writeFrfText(ByteStream& s, const std::string& text);

// Lines: editions 23 and later store a u16 count, then each line with a u16
// length, separated by byte 13 and ended by byte 0 (a lone 0 when there are
// none); older ones one 0-terminated text whose lines are separated by 13.
Lines readFrfLines(ByteStream& s, int edition);
void writeFrfLines(ByteStream& s, const Lines& lines);

// The frame width as stored: a value of 10 or less is whole pixels, larger
// values thousandths of a pixel.
float frameWidthFromStored(int32_t stored);
int32_t frameWidthToStored(float width);

// The 30 bytes of a view's geometry: Left, Top, Width, Height, Flags,
// FrameTyp, the frame width in stored form, FrameColor, FrameStyle.
void readViewGeometry(ByteStream& s, TfrView& v);
void writeViewGeometry(ByteStream& s, const TfrView& v);

// The object sub-version written with a view: bands are written in the
// layout of sub-version 1, other classes keep the value read.
uint8_t writtenSubVersion(const TfrView& v);

} // namespace pv
