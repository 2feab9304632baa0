#include "report/value/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pv;

TEST(NumberText, GeneralFormKeepsFifteenDigitsAndSwitchesToScientific) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-12.5, "-12,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {0.0001, "0,0001"},
        {0.00001, "1E-5"},
        {1e15, "1E15"},
        {999999999999999, "999999999999999"},
        {1.5e20, "1,5E20"},
        {-2.5e-7, "-2,5E-7"},
        {1234567.891, "1234567,891"},
        {INFINITY, "INF"},
    };
    for (auto [value, text] : cases)
        EXPECT_EQ(formatGeneral(value, ','), text) << value;
    EXPECT_EQ(formatGeneral(1234.5, '.'), "1234.5");
}

TEST(NumberText, ParsesOnlyWellFormedNumbers) {
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("-0"), 0);
    for (const char* bad : {"", "-", "1.0", "0x10", "1 ", "99999999999"})
        EXPECT_FALSE(parseInteger(bad)) << bad;
    EXPECT_EQ(parseFloat(" 1,5 ", ','), 1.5);
    EXPECT_EQ(parseFloat(",5", ','), 0.5);
    EXPECT_EQ(parseFloat("5,", ','), 5.0);
    EXPECT_EQ(parseFloat("-1E3", ','), -1000.0);
    for (const char* bad : {"", ",", "e5", "1e", "nan", "1e999", "1,5,", "1.5"})
        EXPECT_FALSE(parseFloat(bad, ',')) << bad;
}
