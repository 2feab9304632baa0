#include "platform/CodePage.h"
#include "platform/ConversionError.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

using namespace pv;

// Whatever encoding a message arrives in, what() is UTF-8 and text() 1251.
TEST(Error, HoldsTheMessageInBothEncodings) {
    const Error fromUtf8("Нет файла", Error::Encoding::Utf8);
    const Error from1251(ru("Нет файла"), Error::Encoding::Cp1251);
    for (const Error* e : {&fromUtf8, &from1251}) {
        EXPECT_STREQ(e->what(), "Нет файла");
        EXPECT_EQ(e->text(), ru("Нет файла"));
    }
}

TEST(Error, DialogTextOfAnyException) {
    EXPECT_EQ(dialogText(ConversionError(ru("'x' - неверное целое значение"))),
              ru("'x' - неверное целое значение"));
    EXPECT_EQ(dialogText(std::runtime_error("Ёлка")), ru("Ёлка"));
    EXPECT_EQ(dialogText(std::bad_alloc()), "std::bad_alloc");
}
