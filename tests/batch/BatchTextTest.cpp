#include "batch/BatchText.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

using namespace pv;

namespace {

struct FieldCase {
    const char* line; // UTF-8, converted to 1251
    int n;
    const char* expected;
};

const std::string kAddressLine =
    "\"ИН41\",1,\"123-456-789 00\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",,\"ул. Мира, д. 5, кв. 7\",10.5";

} // namespace

class ExtractFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(ExtractFieldTest, CutsTheField) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(ExtractField(ru(c.line), c.n), ru(c.expected)) << c.line << " n=" << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExtractFieldTest,
    ::testing::Values(
        FieldCase{kAddressLine.c_str(), 8, "ул. Мира, д. 5, кв. 7"},
        FieldCase{kAddressLine.c_str(), 9, "10.5"},
        FieldCase{kAddressLine.c_str(), 4, "ИВАНОВ"},
        FieldCase{kAddressLine.c_str(), 7, ""},
        FieldCase{"\"ИНДС\",1,\"123-456-789 00\",\"ИВАНОВ\",\"ИВАН\",\"ИВАНОВИЧ\",,\"ул. Мира, д. 5, кв. "
                  "7\",10.5",
                  9, " д. 5"},
        FieldCase{"\"ИН42\",2,\"\",\"\",", 3, ""}, FieldCase{"\"ИН42\",2,\"\",\"\",", 10, ""},
        FieldCase{"\"ИН42\",2,\"\",\"\",", 2, "2"}, FieldCase{"\"ВУПЛ\",5", 1, "ВУПЛ"},
        FieldCase{"\"ВУПЛ\",5", 0, "ВУПЛ"}, FieldCase{"\"ВУПЛ\",5", -3, "ВУПЛ"},
        FieldCase{"a,\"\",c", 2, ""}, FieldCase{"a,\",c", 2, ""},
        // Doubled quotes are not unescaped; blanks are kept.
        FieldCase{"a,\"x \"\"y\"\" \",c", 2, "x \"\"y\"\" "},
        // An unquoted address loses its first character and shifts the later fields.
        FieldCase{"\"ИН41\",1,2,3,4,5,6,Мира 5\",7,8", 8, "ира 5"},
        FieldCase{"\"ИН41\",1,2,3,4,5,6,Мира 5\",7,8", 9, "7"},
        // An address without its closing quote-comma empties everything after it.
        FieldCase{"\"ИН41\",1,2,3,4,5,6,\"Мира, 5,7", 8, "Мира, 5,7"},
        FieldCase{"\"ИН41\",1,2,3,4,5,6,\"Мира, 5,7", 9, ""}, FieldCase{"", 1, ""},
        FieldCase{"", 5, ""}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return std::to_string(info.index); });

TEST(PointToDecimalSeparator, ReplacesOnlyTheFirstPoint) {
    SystemFormat comma;
    comma.decimalSeparator = ',';
    ScopedSystemFormat scoped(comma);
    EXPECT_EQ(PointToDecimalSeparator("1234.56"), "1234,56");
    EXPECT_EQ(PointToDecimalSeparator("1.2.3"), "1,2.3");
    EXPECT_EQ(PointToDecimalSeparator("17"), "17");
    EXPECT_EQ(PointToDecimalSeparator(""), "");
}

TEST(PointToDecimalSeparator, PointSystemKeepsThePoint) {
    SystemFormat point;
    point.decimalSeparator = '.';
    ScopedSystemFormat scoped(point);
    EXPECT_EQ(PointToDecimalSeparator("1234.56"), "1234.56");
}

TEST(StripLeadingZeros, Cases) {
    const std::pair<const char*, const char*> cases[] = {
        {"  00123", "123"}, {"000", "0"},       {"0000", "0"},    {"0.50", ".50"},
        {"", ""},           {" 0771234567", "771234567"},       {"12 ", "12 "},
        {"\t\r 0", "0"},    {"0012345678", "12345678"},         {"abc", "abc"},
        {"   ", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(StripLeadingZeros(in), out) << '"' << in << '"';
}

TEST(FormatFixed, Cases) {
    EXPECT_EQ(FormatFixed(1234.5, 0, 2), "1234.50");
    EXPECT_EQ(FormatFixed(1234.5, 10, 2), "   1234.50");
    EXPECT_EQ(FormatFixed(-3.14159, 8, 3), "  -3.142");
    EXPECT_EQ(FormatFixed(123456.789, 3, 1), "123456.8");
    EXPECT_EQ(FormatFixed(7, 0, 0), "7");
    EXPECT_EQ(FormatFixed(-0.001, 0, 2), "0.00");
}

TEST(NormalizeDate, Cases) {
    EXPECT_EQ(NormalizeDate("01/02/2005"), "01.02.2005");
    EXPECT_EQ(NormalizeDate("01.02.2005"), "01.02.2005");
    EXPECT_EQ(NormalizeDate(""), "..");
    EXPECT_EQ(NormalizeDate("1.2.2005"), "1...2.05");
    EXPECT_EQ(NormalizeDate("01-02-2005 extra"), "01.02.2005");
}
