// Float patterns, date-time patterns and reading dates from text.
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/value/DateTimeFormat.h"
#include "report/value/FloatFormat.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(FloatFormat, Patterns) {
    struct {
        const char* pattern;
        double value;
        const char* comma;
    } cases[] = {
        {"0.00", 2.345, "2,35"}, // rounded as written, not as the binary neighbour
        {"0.00", -2.345, "-2,35"},
        {"0.00", 0.005, "0,01"},
        {"#.##", 0, ""},
        {"0", 2.5, "3"},
        {"000", 7, "007"},
        {"#,##0", 1234567, "1 234 567"},
        {"#,##0.00", -1234.5, "-1 234,50"},
        {"0.##", 1.5, "1,5"},
        {"0.0#", 1.234, "1,23"},
        {"'N' 0.0 'rub'", 3, "N 3,0 rub"},
        {"0.0;(0.0)", -2, "(2,0)"},
        {"0.0;(0.0);'-'", 0, "-"},
        {"0.00E+00", 12345, "1,23E+04"},
        {"0.0E-0", 0.00012, "1,2E-4"},
        {"", 1.5, "1,5"},
        {"0.00", 999.999, "1000,00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFloat(c.pattern, c.value, ','), c.comma) << c.pattern << " " << c.value;
        std::string point = c.comma;
        for (char& ch : point)
            if (ch == ',') ch = '.';
        EXPECT_EQ(FormatFloat(c.pattern, c.value, '.'), point) << c.pattern << " " << c.value;
    }
    EXPECT_EQ(formatFixed(1234.005, 2, ',', true), "1 234,01");
    EXPECT_EQ(formatFixed(-0.001, 2, ',', false), "0,00");
}

TEST(DateTimeFormat, Patterns) {
    ScopedSystemFormat format(SystemFormat{});
    const double moment = 36104 + (15 * 3600 + 4 * 60 + 9) / 86400.0; // 15:04:09
    struct {
        const char* pattern;
        const char* shown;
    } cases[] = {
        {"d.m.yy", "5.11.98"},
        {"dd/mm/yyyy", "05.11.1998"}, // "/" is the system date separator
        {"ddd dddd", "Чт четверг"},
        {"d mmmm yyyy", "5 ноября 1998"},
        {"mmmm yyyy", "Ноябрь 1998"},
        {"mmm", "ноя"},
        {"h:n:s", "15:4:9"},
        {"hh:mm", "15:04"}, // "m" after an hour means minutes
        {"hh:nn am/pm", "03:04 pm"},
        {"h a/p", "3 p"},
        {"zzz", "000"},
        {"\"day\" d", "day 5"},
        {"ddddd", "05.11.1998"},
        {"dddddd", "5 ноября 1998"},
        {"c", "05.11.1998 15:04:09"},
        {"t", "15:04"},
        {"tt", "15:04:09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1251ToUtf8(FormatDateTime(c.pattern, moment)), c.shown) << c.pattern;
}

TEST(DateTimeFormat, ReadingDates) {
    ScopedSystemFormat format(SystemFormat{});
    struct {
        const char* text;
        std::optional<double> days;
    } cases[] = {
        {"05.11.1998", 36104},
        {" 5.11.98 ", 36104},
        {"01.01.49", encodeDate(2049, 1, 1)},
        {"01.01.50", encodeDate(1950, 1, 1)},
        {"30.12.1899", 0},
        {"29.02.2001", std::nullopt},
        {"32.01.2000", std::nullopt},
        {"05.11", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToDate(c.text), c.days) << c.text;
    EXPECT_EQ(StrToTime("18:30"), encodeTime(18, 30, 0));
    EXPECT_EQ(StrToTime("6:30:15 PM"), encodeTime(18, 30, 15));
    EXPECT_EQ(StrToTime("25:00"), std::nullopt);
    EXPECT_EQ(StrToDateTime("05.11.1998 12:00"), 36104.5);
    EXPECT_EQ(decodeDate(-1).day, 29);
    EXPECT_THROW(decodeDate(1e9), std::exception);
}

} // namespace
} // namespace pv
