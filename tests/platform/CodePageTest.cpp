#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace pv;

TEST(CodePage, OemCyrillicBecomesWindowsCyrillic) {
    // "ИН41" and "пачка" in 866 bytes.
    const std::string oem = "\x88\x8D" "41 \xAF\xA0\xE7\xAA\xA0";
    EXPECT_EQ(cp866ToCp1251(oem), ru("ИН41 пачка"));
    EXPECT_EQ(cp866ToCp1251("\xF0\xF1"), ru("Ёё"));
    EXPECT_EQ(cp866ToCp1251("\xFC"), ru("№"));
}

TEST(CodePage, Utf8RoundTripThrough1251) {
    const std::string text = "Пенсионный фонд, ЁЖИК № 5";
    EXPECT_EQ(cp1251ToUtf8(utf8ToCp1251(text)), text);
}

TEST(CodePage, CharactersWithoutByteBecomeQuestionMark) {
    EXPECT_EQ(utf8ToCp1251("a\u4E2Db"), "a?b");
    // Box drawing exists in 866 but not in 1251.
    EXPECT_EQ(cp866ToCp1251("\xC4"), "?");
}

TEST(CodePage, MalformedUtf8IsReplacedNotOverread) {
    EXPECT_EQ(codepage::utf8ToUtf16("\xD0"), u"\uFFFD");
    EXPECT_EQ(codepage::utf8ToUtf16("a\xE2\x82").substr(0, 2), u"a\uFFFD");
    EXPECT_EQ(codepage::utf16ToUtf8(codepage::utf8ToUtf16("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
}

TEST(CodePage, OtherWindowsPages) {
    EXPECT_EQ(codepage::toUtf16("\x80", 1252), u"\u20AC");
    EXPECT_EQ(codepage::fromUtf16(u"\u0104", 1250), "\xA5");
    EXPECT_FALSE(codepage::isKnown(437));
}

TEST(CodePage, TerminalTextBreaksLinesWhereTheMessageBoxDoes) {
    const struct {
        std::string ansi;
        std::string utf8;
    } cases[] = {
        {ru("один\rдва"), "один\nдва"},
        {ru("один\r\nдва"), "один\nдва"},
        {ru("один\r\rдва\r"), "один\n\nдва\n"},
        {"\n", "\n"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1251ToTerminal(c.ansi), c.utf8) << c.utf8;
}
