#pragma once

namespace pv {

// Windows character-set numbers that fonts and metafiles carry.
namespace charset {
constexpr int Ansi = 0;
constexpr int Default = 1;
constexpr int Symbol = 2;
constexpr int Mac = 77;
constexpr int ShiftJis = 128;
constexpr int Hangul = 129;
constexpr int Gb2312 = 134;
constexpr int ChineseBig5 = 136;
constexpr int Greek = 161;
constexpr int Turkish = 162;
constexpr int Vietnamese = 163;
constexpr int Hebrew = 177;
constexpr int Arabic = 178;
constexpr int Baltic = 186;
constexpr int Russian = 204;
constexpr int Thai = 222;
constexpr int EastEurope = 238;
constexpr int Oem = 255;
} // namespace charset

// The program runs as on a Russian desktop: these are its system code pages.
constexpr int kSystemAnsiCodePage = 1251;
constexpr int kSystemOemCodePage = 866;

// The code page whose bytes a font of `charset` shows; the system ANSI code
// page for the default charset and for numbers without a code page of their own.
int codePageOfCharset(int charset);

} // namespace pv
