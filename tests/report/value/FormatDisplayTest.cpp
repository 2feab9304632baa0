// Every display category and sub-format, with both decimal separators.
#include "report/value/FormatDisplay.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using C = FormatCategory;

constexpr double kDate = 36104;                             // 5 November 1998
constexpr double kTime = (9 * 3600 + 5 * 60 + 7) / 86400.0; // 09:05:07

struct Case {
    Variant value;
    C category;
    int sub;
    int decimals;
    const char* custom;
    const char* withComma; // the format code's separator ","
    const char* withPoint; // and "."
};

TEST(FormatDisplay, EveryCategoryAndSubFormat) {
    ScopedSystemFormat system(SystemFormat{});
    const Case cases[] = {
        {Variant(1234.5), C::Text, 0, 0, "", "1234,5", "1234,5"}, // text uses the system's
        {Variant(std::string("abc")), C::Text, 0, 0, "", "abc", "abc"},
        {Variant(1234.5), C::Number, 0, 2, "", "1234,5", "1234.5"},
        {Variant(1234.0), C::Number, 0, 2, "", "1234", "1234"},
        {Variant(1234.5), C::Number, 1, 2, "", "1234,50", "1234.50"},
        {Variant(-0.004), C::Number, 1, 2, "", "0,00", "0.00"},
        {Variant(int32_t(7)), C::Number, 1, 0, "", "7", "7"},
        {Variant(1234.5), C::Number, 2, 2, "", "1 234,5", "1 234.5"},
        {Variant(1234567.25), C::Number, 2, 1, "", "1 234 567,3", "1 234 567.3"},
        {Variant(1234.5), C::Number, 3, 2, "", "1 234,50", "1 234.50"},
        {Variant(-1234.5), C::Number, 3, 2, "", "-1 234,50", "-1 234.50"},
        {Variant(1234.5), C::Number, 4, 0, "#,##0.000", "1 234,500", "1 234.500"},
        {Variant(-5.0), C::Number, 4, 0, "0.0;(0.0)", "(5,0)", "(5.0)"},
        {Variant(0.0), C::Number, 4, 0, "0.0;-0.0;'zero'", "zero", "zero"},
        {Variant(std::string("12,5")), C::Number, 1, 1, "", "12,5", "12.5"}, // text that converts
        {Variant(std::string("abc")), C::Number, 1, 2, "", "abc", "abc"},    // falls back
        {Variant::dateTime(kDate), C::Date, 0, 0, "", "05.11.98", "05.11.98"},
        {Variant::dateTime(kDate), C::Date, 1, 0, "", "05.11.1998", "05.11.1998"},
        {Variant::dateTime(kDate), C::Date, 2, 0, "", "5 ноя 1998", "5 ноя 1998"},
        {Variant::dateTime(kDate), C::Date, 3, 0, "", "5 ноября 1998", "5 ноября 1998"},
        {Variant::dateTime(kDate), C::Date, 4, 0, "yyyy-mm-dd", "1998-11-05", "1998-11-05"},
        {Variant::dateTime(kDate), C::Date, 4, 0, "mmmm yyyy", "Ноябрь 1998", "Ноябрь 1998"},
        {Variant::dateTime(kDate), C::Date, 4, 0, "dddd", "четверг", "четверг"},
        {Variant(std::string("15.01.2006")), C::Date, 3, 0, "", "15 января 2006", "15 января 2006"},
        {Variant(std::string("not a date")), C::Date, 1, 0, "", "not a date", "not a date"},
        {Variant::dateTime(kDate + kTime), C::Time, 0, 0, "", "09:05:07", "09:05:07"},
        {Variant::dateTime(kTime), C::Time, 1, 0, "", "9:05:07", "9:05:07"},
        {Variant::dateTime(kTime), C::Time, 2, 0, "", "09:05", "09:05"},
        {Variant::dateTime(kTime), C::Time, 3, 0, "", "9:05", "9:05"},
        {Variant::dateTime(kTime), C::Time, 4, 0, "hh 'h' nn 'min'", "09 h 05 min", "09 h 05 min"},
        {Variant(false), C::Boolean, 0, 0, "", "0", "0"},
        {Variant(true), C::Boolean, 0, 0, "", "1", "1"},
        {Variant(int32_t(0)), C::Boolean, 1, 0, "", "Нет", "Нет"},
        {Variant(int32_t(5)), C::Boolean, 1, 0, "", "Да", "Да"},
        {Variant(false), C::Boolean, 2, 0, "", "_", "_"},
        {Variant(true), C::Boolean, 2, 0, "", "x", "x"},
        {Variant(true), C::Boolean, 3, 0, "", "True", "True"},
        {Variant(false), C::Boolean, 4, 0, "нет;да", "нет", "нет"},
        {Variant(true), C::Boolean, 4, 0, "нет;да", "да", "да"},
        {Variant(), C::Number, 1, 2, "", "", ""},
        {Variant::null(), C::Date, 1, 0, "", "", ""},
        {Variant(std::string("   ")), C::Text, 0, 0, "", "", ""},
    };
    for (const auto& c : cases) {
        std::string custom = ru(c.custom);
        int32_t comma = makeFormat(c.category, c.sub, c.decimals, ',');
        int32_t point = makeFormat(c.category, c.sub, c.decimals, '.');
        EXPECT_EQ(cp1251ToUtf8(FormatDisplay(c.value, comma, custom)), c.withComma)
            << int(c.category) << "/" << c.sub << " " << c.value.toText();
        EXPECT_EQ(cp1251ToUtf8(FormatDisplay(c.value, point, custom)), c.withPoint)
            << int(c.category) << "/" << c.sub << " " << c.value.toText();
    }
}

TEST(FormatDisplay, ZeroSeparatorMeansTheSystemOne) {
    SystemFormat point;
    point.decimalSeparator = '.';
    ScopedSystemFormat system(point);
    EXPECT_EQ(FormatDisplay(Variant(2.5), makeFormat(C::Number, 1, 2), ""), "2.50");
}

TEST(FormatDisplay, DatesFollowTheSystemOrderWhenReadFromText) {
    SystemFormat us;
    us.shortDateFormat = "mm/dd/yyyy";
    us.dateSeparator = '/';
    ScopedSystemFormat system(us);
    EXPECT_EQ(FormatDisplay(Variant(std::string("11/05/1998")), makeFormat(C::Date, 1), ""),
              "05.11.1998");
}

} // namespace
} // namespace pv
