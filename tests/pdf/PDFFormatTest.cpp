#include "pdf/PDFFormat.h"
#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

#include <locale>

namespace pv::pdf {
namespace {

TEST(PdfRealFormat, AtMostFourDecimalsWithoutTrailingZeros) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {12.5, "12.5"},      {3.00001, "3"},
        {595.0, "595"},      {0, "0"},
        {-0.00001, "0"},     {-0.02, "-0.02"},
        {0.55228, "0.5523"}, {841.88976, "841.8898"},
        {1e-4, "0.0001"},    {123456789.0, "123456789"},
        {-72.25, "-72.25"},  {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatReal(c.value), c.text) << c.value;
}

TEST(PdfRealFormat, IgnoresTheLocaleDecimalSeparator) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    SystemFormat format;
    format.decimalSeparator = ',';
    ScopedSystemFormat comma(format);
    const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new Comma));
    EXPECT_EQ(formatReal(12.5), "12.5");
    EXPECT_EQ(formatReal(-0.25), "-0.25");
    std::locale::global(saved);
}

TEST(PdfLiteralString, EscapesOnlyParenthesesBackslashAndCr) {
    EXPECT_EQ(escapeString("a(b)c\\d"), "a\\(b\\)c\\\\d");
    EXPECT_EQ(escapeString("x\ry"), "x\\ry");
    EXPECT_EQ(escapeString(std::string("l\nt\tz\xFF\x00", 8)), std::string("l\nt\tz\xFF\x00", 8));
}

TEST(PdfZeroPad, PadsButNeverCuts) {
    EXPECT_EQ(zeroPad(17, 10), "0000000017");
    EXPECT_EQ(zeroPad(0, 5), "00000");
    EXPECT_EQ(zeroPad(12345678901ull, 10), "12345678901");
}

TEST(PdfRounding, HalvesGoToEven) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.6), 3);
    EXPECT_EQ(roundHalfEven(-1.4), -1);
}

} // namespace
} // namespace pv::pdf
