#include "platform/CodePage.h"
#include "platform/TextCase.h"

#include <gtest/gtest.h>

using namespace pv;

TEST(TextCase, CyrillicAndLatinCompareWithoutCase) {
    EXPECT_TRUE(equalsNoCase(ru("Проверка_рег"), ru("ПРОВЕРКА_РЕГ")));
    EXPECT_TRUE(equalsNoCase("f_strax", "F_Strax"));
    EXPECT_TRUE(equalsNoCase(ru("ёлка"), ru("ЁЛКА")));
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_GT(compareNoCase("abcd", "ABC"), 0);
}

TEST(TextCase, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(trim(" \t path.txt \r\n"), "path.txt");
    EXPECT_EQ(trimLeft("  a "), "a ");
    EXPECT_EQ(trimRight("  a "), "  a");
    EXPECT_EQ(trim("   "), "");
}
