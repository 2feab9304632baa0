#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv::source {

// Names of bit sets and enumerations in the template source, shared by its
// writer and reader.
struct Name {
    const char* word;
    uint32_t value;
};

extern const std::vector<Name> kMemoFlags, kBandFlags, kPictureFlags, kPlainFlags;
extern const std::vector<Name> kFrameSides, kFontStyles, kBandTypes, kFrameStyles, kBandAligns,
    kGraphicKinds, kBlobTypes, kFormatCategories, kPaperNames;

// The flag words a view of this type code (gtMemo, gtBand, ...) knows;
// types without flags of their own know only "stretched".
const std::vector<Name>& flagNamesOf(uint8_t viewType);

// The word of `value` in an enumeration, if it has one.
std::optional<std::string> wordOf(const std::vector<Name>& names, uint32_t value);
std::optional<uint32_t> valueOf(const std::vector<Name>& names, std::string_view word);

// Bits as words ("wordwrap stretched"), with a number for bits without a
// word; "none" for 0.
std::string bitsToWords(const std::vector<Name>& names, uint32_t bits);

// 1251 text as a quoted UTF-8 token; bytes without a character (and
// control characters, quotes and backslashes) are escaped.
std::string quote(const std::string& text1251);
// A bare token when the text allows it, else quoted.
std::string word(const std::string& text1251);

// Colours: "none" (transparent), "#RRGGBB", or hexadecimal for system colours.
std::string colorText(uint32_t color);
std::optional<uint32_t> parseColor(std::string_view token);

// Dates: "YYYY-MM-DD HH:MM:SS[.mmm]" when that is exact, else the number.
std::string dateText(double days);
std::optional<double> parseDate(std::string_view date, std::string_view time);

std::string base64Encode(std::string_view bytes);
// No value when the text is not base64.
std::optional<std::string> base64Decode(std::string_view text);

// The shortest decimal text that reads back as the same float.
std::string floatText(float value);

} // namespace pv::source
