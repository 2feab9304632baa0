#pragma once

#include <string>
#include <string_view>

namespace pv {

// Conversions between the single-byte code pages the program reads and writes
// (DOS 866 for batch files, Windows 1251 inside the engine, other Windows code
// pages for fonts) and Unicode. Table driven; no locale is consulted.
namespace codepage {

constexpr int kOem866 = 866;
constexpr int kWindows1251 = 1251;

bool isKnown(int codePage);

// Bytes of `codePage` to UTF-16. Undefined bytes become U+FFFD.
std::u16string toUtf16(std::string_view bytes, int codePage);

// UTF-16 to bytes of `codePage`; characters the code page lacks become `fallback`.
std::string fromUtf16(std::u16string_view text, int codePage, char fallback = '?');

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

} // namespace codepage

// The batch-line conversion: every line of a batch file is turned into 1251 right after reading.
std::string cp866ToCp1251(std::string_view oem);

std::string cp1251ToUtf8(std::string_view ansi);
std::string utf8ToCp1251(std::string_view utf8);
// A 1251 text as a terminal shows it: UTF-8, with its line breaks (CR LF, or
// the lone CR of the engine's message boxes) as line feeds.
std::string cp1251ToTerminal(std::string_view ansi);

// Russian texts are written as UTF-8 in the sources; this turns one into the
// engine's 1251 form.
inline std::string ru(std::string_view utf8) { return utf8ToCp1251(utf8); }

} // namespace pv
