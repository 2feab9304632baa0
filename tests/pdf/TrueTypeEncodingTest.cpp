#include "pdf/TrueTypeEncoding.h"
#include "pdf/GlyphNames.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace pv {
namespace {

using test::count;

TEST(GlyphNames, TheListInNameOrderAndTheFirstNameOfAValue) {
    EXPECT_EQ(std::string(kGlyphNames[0].name), "A");
    EXPECT_EQ(kGlyphNames[0].unicode, 0x0041);
    EXPECT_EQ(std::string(kGlyphNames[kGlyphNameCount - 1].name), "zeta");
    EXPECT_EQ(kGlyphNames[kGlyphNameCount - 1].unicode, 0x03B6);
    for (int i = 1; i < kGlyphNameCount; ++i)
        EXPECT_LE(std::string(kGlyphNames[i - 1].name), std::string(kGlyphNames[i].name)) << i;
    const struct {
        char16_t value;
        const char* name;
    } cases[] = {{0x0041, "A"},         {0x00C6, "AE"},        {0x01FC, "AEacute"},
                 {0x0410, "afii10017"}, {0x2116, "afii61352"}, {0x00A0, "space"},
                 {0x0020, "space"},     {0x20AC, "Euro"},      {0x00A4, "currency"}};
    for (const auto& c : cases) {
        ASSERT_NE(glyphNameOf(c.value), nullptr) << int(c.value);
        EXPECT_STREQ(glyphNameOf(c.value), c.name);
    }
    EXPECT_EQ(glyphNameOf(0x0001), nullptr);
    EXPECT_EQ(glyphNameOf(0xFFFD), nullptr);
}

TEST(TrueTypeEncoding, PredefinedEncodings) {
    EXPECT_EQ(trueTypeEncoding(0), "/Encoding /WinAnsiEncoding\r\n");
    EXPECT_EQ(trueTypeEncoding(2), "/Encoding /StandardEncoding\r\n");
    EXPECT_EQ(trueTypeEncoding(77), "/Encoding /MacRomanEncoding\r\n");
    // A code page the program has no table for: no differences at all.
    EXPECT_EQ(trueTypeEncoding(128),
              "/Encoding <</Type/Encoding\r\n/BaseEncoding /WinAnsiEncoding\r\n>>\r\n");
}

TEST(TrueTypeEncoding, CodePagesOfTheCharsets) {
    const int cases[][2] = {{128, 932},  {134, 936},  {136, 950},  {161, 1253}, {162, 1254},
                            {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
                            {222, 874},  {238, 1250}, {255, 866},  {130, 1252}, {3, 1252}};
    for (const auto& c : cases)
        EXPECT_EQ(encodingCodePage(c[0]), c[1]) << c[0];
}

TEST(TrueTypeEncoding, CyrillicDifferencesNameEveryCode) {
    const std::string e = trueTypeEncoding(204);
    const std::string head = "/Encoding <</Type/Encoding\r\n/Differences [1 \r\n";
    ASSERT_EQ(e.substr(0, head.size()), head);
    // Control codes have no name; 32 is the first named code and ends a row.
    std::string controls;
    for (int code = 1; code < 32; ++code)
        controls += "/space";
    EXPECT_EQ(e.substr(head.size(), controls.size() + 8), controls + "/space\r\n");
    EXPECT_NE(e.find("/at\r\n/A/B/C/D/E/F/G/H/I/J/K/L/M/N/O/P\r\n/Q"), std::string::npos);
    // 0xC0…0xC2 and the last row: А Б В … я in the 1990s names.
    EXPECT_NE(e.find("/afii10017\r\n/afii10018/afii10019"), std::string::npos);
    EXPECT_NE(e.find("/afii10096/afii10097]\r\n>>\r\n"), std::string::npos)
        << e.substr(e.size() - 60);
    EXPECT_NE(e.find("/afii61352"), std::string::npos); // 0xB9, the numero sign
    EXPECT_EQ(count(e, "/uniFFFD"), 1);                 // 0x98 is undefined in 1251
    EXPECT_EQ(count(e, "/") - 4, 255);                  // one name per code after the keys
    // Rows end after the named multiples of 16: all but 16, a control code.
    EXPECT_EQ(count(e, "\r\n"), 2 + 14 + 2);
}

TEST(TrueTypeEncoding, EveryTableDrivenCharsetNamesItsLetters) {
    const struct {
        int charset;
        const char* fragment;
    } cases[] = {
        {161, "/Alpha/Beta/Gamma/Delta"},        // Greek 0xC1…0xC4
        {238, "/Racute\r\n/Aacute/Acircumflex"}, // Central European 0xC0…0xC2
        {255, "/afii10017\r\n/afii10018"},       // the OEM code page 866 at 0x80
        {163, "/Abreve"},                        // Vietnamese 0xC3
    };
    for (const auto& c : cases) {
        const std::string e = trueTypeEncoding(c.charset);
        EXPECT_NE(e.find(c.fragment), std::string::npos) << c.charset;
        EXPECT_EQ(count(e, "/") - 4, 255) << c.charset;
    }
}

} // namespace
} // namespace pv
