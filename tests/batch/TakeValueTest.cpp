#include "batch/TakeValue.h"
#include "batch/Adv1Questionnaire.h"
#include "batch/Adv23Applications.h"
#include "batch/RecordLayout.h"

#include <gtest/gtest.h>

#include <map>

using namespace pv;

namespace {

TEST(TakeValue, ValueAndWhatIsLeft) {
    struct Case {
        const char* rest;
        const char* separator;
        int extra;
        const char* value;
        const char* left;
    };
    const Case cases[] = {
        {"ANKT\",1,\"01.02.2003\"", "\",", 0, "ANKT", "1,\"01.02.2003\""},
        // the record number: the comma and the next opening quote go
        {"1,\"01.02.2003\",\"X\"", ",", 1, "1", "01.02.2003\",\"X\""},
        {"a, b\",\"c\"", "\",\"", 0, "a, b", "c\""},
        {"tel\"", "\"", 0, "tel", ""},
        // the separator right at the start: an empty value
        {"\",\"next\"", "\",\"", 0, "", "next\""},
        // not found: empty value, the separator's length less one goes
        {"abcdef", "\",\"", 0, "", "cdef"},
        {"abcdef", "\"", 0, "", "abcdef"},
        {"abcdef", ",", 1, "", "bcdef"},
        {"ab", "\",\"", 0, "", ""},
        {"", ",", 1, "", ""},
    };
    for (const Case& c : cases) {
        std::string rest = c.rest;
        EXPECT_EQ(TakeValue(rest, c.separator, c.extra), c.value) << c.rest << " / " << c.separator;
        EXPECT_EQ(rest, c.left) << c.rest << " / " << c.separator;
    }
}

// The separators of each layout follow from the forms of the fields; these are
// the lists as the batch format writes them out, field by field (1-based).
TEST(RecordLayout, SeparatorsFollowTheFormsOfTheFields) {
    using Seps = std::map<std::string, std::vector<int>>;
    auto range = [](int from, int to) {
        std::vector<int> v;
        for (int i = from; i <= to; ++i)
            v.push_back(i);
        return v;
    };
    auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> v;
        for (const auto& p : parts)
            v.insert(v.end(), p.begin(), p.end());
        return v;
    };
    struct Case {
        const char* name;
        const RecordLayout& layout;
        size_t size;
        Seps separators;
    };
    const Case cases[] = {
        {"АНКТ",
         Adv1Questionnaire::layout(),
         28,
         {{"\",", {1, 9, 22}},
          {"\",\"", join({range(3, 8), range(13, 21), range(24, 27)})},
          {",", {10, 11}},
          {",\"", {12, 23}},
          {"\"", {28}}}},
        {"ОБМН",
         Adv23Applications::exchangeLayout(),
         34,
         {{"\",", {1, 13, 28}},
          {"\",\"", join({range(3, 12), range(17, 27), range(30, 33)})},
          {",", {14, 15}},
          {",\"", {16, 29}},
          {"\"", {34}}}},
        {"ДУБЛ",
         Adv23Applications::duplicateLayout(),
         46,
         {{"\",", {1, 9, 23, 38}},
          {"\",\"", join({range(3, 8), range(13, 22), range(27, 37), range(40, 45)})},
          {",", {10, 11, 24, 25}},
          {",\"", {12, 26, 39}},
          {"\"", {46}}}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.layout.size(), c.size) << c.name;
        EXPECT_EQ(c.layout.separator(1), ",") << c.name;
        EXPECT_EQ(c.layout.extra(1), 1) << c.name;
        size_t listed = 1; // field 2
        for (const auto& [separator, fields] : c.separators)
            for (int n : fields) {
                ++listed;
                EXPECT_EQ(c.layout.separator(n - 1), separator) << c.name << " field " << n;
                EXPECT_EQ(c.layout.extra(n - 1), 0) << c.name << " field " << n;
            }
        EXPECT_EQ(listed, c.size) << c.name << ": every field is listed once";
    }
}

} // namespace
