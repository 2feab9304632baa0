#include "report/model/FrfPrimitives.h"

#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"

#include <cmath>
#include <limits>

namespace pv {
namespace {

std::string readZeroTerminated(ByteStream& s) {
    std::string out;
    for (;;) {
        char c = static_cast<char>(s.readU8());
        if (c == 0) return out;
        out.push_back(c);
    }
}

uint16_t checkedLength(size_t length, const char* what) {
    if (length > 0xFFFF)
        throw FrfWriteError(std::string(what) + " of " + std::to_string(length) +
                            " bytes is longer than a template can hold (65535)");
    return static_cast<uint16_t>(length);
}

} // namespace

std::string readFrfText(ByteStream& s, int edition) {
    if (edition < 23) return readZeroTerminated(s);
    uint16_t length = s.readU16();
    std::string text = s.readBytes(length);
    s.readU8();
    return text;
}

void writeFrfText(ByteStream& s, const std::string& text) {
    s.writeU16(checkedLength(text.size(), "a text"));
    s.writeBytes(text);
    s.writeU8(0);
}

Lines readFrfLines(ByteStream& s, int edition) {
    Lines lines;
    if (edition < 23) {
        std::string all = readZeroTerminated(s);
        size_t start = 0;
        while (start < all.size()) {
            size_t cr = all.find('\r', start);
            if (cr == std::string::npos) cr = all.size();
            lines.push_back(all.substr(start, cr - start));
            start = cr + 1;
        }
        return lines;
    }
    if (s.readU16() == 0) {
        s.readU8();
        return lines;
    }
    // The count is not trusted: the separators say where the lines end.
    for (;;) {
        uint16_t length = s.readU16();
        lines.push_back(s.readBytes(length));
        if (s.readU8() == 0) return lines;
    }
}

void writeFrfLines(ByteStream& s, const Lines& lines) {
    // More lines than the count can say: readers go by the separators, so the
    // count only has to stay nonzero.
    s.writeU16(static_cast<uint16_t>(std::min<size_t>(lines.size(), 0xFFFF)));
    if (lines.empty()) {
        s.writeU8(0);
        return;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        s.writeU16(checkedLength(lines[i].size(), "a line"));
        s.writeBytes(lines[i]);
        s.writeU8(i + 1 < lines.size() ? 13 : 0);
    }
}

float frameWidthFromStored(int32_t stored) {
    if (stored <= 10) return static_cast<float>(stored);
    return static_cast<float>(stored / 1000.0);
}

int32_t frameWidthToStored(float width) {
    if (!std::isfinite(width)) return 1;
    if (width == std::floor(width) && width <= 10) {
        // Whole widths below the int range cannot be meant; keep the stored form valid.
        return width < -1e6f ? 0 : static_cast<int32_t>(width);
    }
    double thousandths = std::round(double(width) * 1000.0);
    if (thousandths > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    // Thousandths of 10 or less would read back as whole pixels: a fraction
    // that small is kept as the smallest stored fraction, a negative one as
    // its nearest whole number.
    if (thousandths <= 10) return width > 0 ? 11 : static_cast<int32_t>(std::round(width));
    return static_cast<int32_t>(thousandths);
}

void readViewGeometry(ByteStream& s, TfrView& v) {
    v.Left = s.readI32();
    v.Top = s.readI32();
    v.Width = s.readI32();
    v.Height = s.readI32();
    v.Flags = s.readU16();
    v.FrameTyp = s.readU16();
    v.FrameWidth = frameWidthFromStored(s.readI32());
    v.FrameColor = s.readU32();
    v.FrameStyle = s.readU16();
}

void writeViewGeometry(ByteStream& s, const TfrView& v) {
    s.writeI32(v.Left);
    s.writeI32(v.Top);
    s.writeI32(v.Width);
    s.writeI32(v.Height);
    s.writeU16(v.Flags);
    s.writeU16(v.FrameTyp);
    s.writeI32(frameWidthToStored(v.FrameWidth));
    s.writeU32(v.FrameColor);
    s.writeU16(v.FrameStyle);
}

uint8_t writtenSubVersion(const TfrView& v) {
    return v.typeCode() == gtBand ? 1 : v.ObjectSubVersion;
}

} // namespace pv
