#pragma once

#include <cstdint>
#include <string>

namespace pv {

// A colour as the drawing layer and the metafile store it: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}
constexpr int redOf(Color c) {
    return int(c & 0xFF);
}
constexpr int greenOf(Color c) {
    return int((c >> 8) & 0xFF);
}
constexpr int blueOf(Color c) {
    return int((c >> 16) & 0xFF);
}

enum class PenStyle : std::uint32_t {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
    Null = 5,
    InsideFrame = 6
};

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1; // device pixels; 0 draws one pixel wide
    Color color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle : std::uint32_t { Solid = 0, Hollow = 1, Hatched = 2 };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = rgb(255, 255, 255);
    std::uint32_t hatch = 0;
    bool isHollow() const { return style == BrushStyle::Hollow; }
    friend bool operator==(const Brush&, const Brush&) = default;
};

constexpr int kFontWeightNormal = 400;
constexpr int kFontWeightBold = 700;

// A logical font as the platform describes one. `height` is in device pixels:
// negative for the character (em) height, positive for the cell height
// (ascent + descent), 0 for a default size. Escapement and orientation are in
// tenths of a degree, counter-clockwise. `faceName` is 1251 text, at most 31
// characters as the metafile keeps it.
struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = kFontWeightNormal;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 1; // the platform's "default" charset
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::string faceName;

    bool isBold() const { return weight >= 600; }
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

enum class BkMode : std::uint32_t { Transparent = 1, Opaque = 2 };

// How a bitmap stretched onto the device is resampled (`SetStretchBltMode`).
enum class StretchMode : std::uint32_t {
    BlackOnWhite = 1,
    WhiteOnBlack = 2,
    ColorOnColor = 3,
    Halftone = 4
};

// Text alignment flags of `SetTextAlign`.
namespace textalign {
constexpr std::uint32_t UpdateCp = 1;
constexpr std::uint32_t Left = 0;
constexpr std::uint32_t Right = 2;
constexpr std::uint32_t Center = 6;
constexpr std::uint32_t Top = 0;
constexpr std::uint32_t Bottom = 8;
constexpr std::uint32_t Baseline = 24;
constexpr std::uint32_t RtlReading = 256;
constexpr std::uint32_t HorizontalMask = 6;
constexpr std::uint32_t VerticalMask = 24;
} // namespace textalign

// Options of `ExtTextOut`.
namespace eto {
constexpr std::uint32_t Opaque = 0x0002;
constexpr std::uint32_t Clipped = 0x0004;
constexpr std::uint32_t RtlReading = 0x0080;
} // namespace eto

// The 2-D transform of a device context: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
struct XForm {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    friend bool operator==(const XForm&, const XForm&) = default;
};

} // namespace pv
