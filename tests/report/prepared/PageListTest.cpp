#include "report/prepared/PageList.h"
#include "platform/CodePage.h"
#include "platform/ConversionError.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(PageListTest, SelectsThePagesWritten) {
    struct Case {
        const char* text;
        int pageCount;
        std::vector<int> pages;
    } cases[] = {
        {"", 3, {1, 2, 3}},
        {"   ", 3, {1, 2, 3}},
        {"2-", 5, {2, 3, 4, 5}},
        {"1,3, 5-6", 6, {1, 3, 5, 6}},
        {" 1 , 3 ", 6, {1, 3}},
        {"4-2", 5, {}},
        {"3-3", 5, {3}},
        {"3,1", 5, {3, 1}}, // the order written
        {"2,2", 5, {2, 2}}, // and every mention
        {"2", 1, {}},       // beyond the last page
        {"0,1", 3, {1}},    // before the first
        {"4-9", 5, {4, 5}}, // a range clipped to the report
        {"1-2147483647", 2, {1, 2}},
        {"1,4-", 5, {1, 4, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parsePageList(c.text, c.pageCount), c.pages);
    }
}

TEST(PageListTest, NonNumbersRaiseTheConversionError) {
    struct Case {
        const char* text;
        const char* culprit;
    } cases[] = {
        {"1,a", "a"}, {"x-3", "x"},     {"1-y", "y"},
        {"1,,2", ""}, {"1,", ""},       {"-3", ""},
        {"-", ""},    {"1-2-3", "2-3"}, {"99999999999", "99999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parsePageList(c.text, 5);
            ADD_FAILURE() << "no error";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.text(), "'" + std::string(c.culprit) + ru("' - неверное целое значение"));
        }
    }
}

} // namespace
} // namespace pv
