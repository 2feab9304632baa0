#include "batch/BatchDate.h"

#include "batch/BatchNumber.h"
#include "platform/ConversionError.h"
#include "platform/CodePage.h"

#include <cstdint>

namespace pv {
namespace {

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

std::string_view part(std::string_view text, size_t from, size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

} // namespace

double EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        throw ConversionError(ru("Неверный аргумент для формирования даты"));
    // Days from 1 January of year 1, then shifted to the serial's origin.
    const int64_t y = year - 1;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += daysInMonth(year, m);
    days += day - 1;
    return static_cast<double>(days - 693593);
}

double BatchDate(std::string_view text) {
    const int day = BatchInteger(part(text, 0, 2));
    const int month = BatchInteger(part(text, 3, 2));
    const int year = BatchInteger(part(text, 6, 4));
    return EncodeDate(year, month, day);
}

} // namespace pv
