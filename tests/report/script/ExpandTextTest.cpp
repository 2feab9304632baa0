// Expansion of bracketed expressions in text-box lines, with inline formats.
#include "report/script/ExpandText.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/FormatDisplay.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class Expand : public ::testing::Test {
protected:
    Expand() : format_(SystemFormat{}), engine_({}, globals_) {
        globals_.SetValue("name", Variant(std::string("[name]")));
        globals_.SetValue("text0", Variant(std::string("0")));
        globals_.SetValue("sum", Variant(1234.5));
        globals_.SetValue("word", Variant(std::string("abc")));
        globals_.SetValue("flag", Variant(true));
        globals_.SetValue("day", Variant::dateTime(36104.5));
    }
    std::string expand(const std::string& line, const TextBoxSettings& box = {}) {
        return cp1251ToUtf8(ExpandText(ru(line), box, engine_));
    }

    ScopedSystemFormat format_;
    TfrVariables globals_;
    ExpressionEngine engine_;
};

TEST_F(Expand, BracketsNestAndQuotesHideThem) {
    struct {
        const char* line;
        const char* expanded;
    } cases[] = {
        {"no brackets", "no brackets"},
        {"a [1+1] b [2*3] c", "a 2 b 6 c"},
        {"[[1+2]]", "3"},
        {"[IF(1 > 0, '[x]', 'y')]", "[x]"},
        {"[COPY('a]b', 1, 3)]", "a]b"},
        {"[name] stays", "[name] stays"}, // inserted text is not expanded again
        {"open [ without end", "open [ without end"},
        {"[1] and [ unclosed", "1 and [ unclosed"},
        {"[]", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expand(c.line), c.expanded) << c.line;
}

TEST_F(Expand, InlineFormats) {
    struct {
        const char* line;
        const char* expanded;
    } cases[] = {
        {"[sum #N0.00]", "1234.50"},
        {"[sum #N0,00]", "1234,50"},
        {"[sum #N0-0]", "1234-5"},
        {"[sum #0.000]", "1234.500"},
        {"[sum #N0]", "1235"},
        {"[sum #N#,##0.00]", "1 234.50"},
        {"[word #N0.00]", "abc"}, // a text that is no number prints unchanged
        {"[text0 #N0.00]", "0.00"},
        {"[day #Ddd.mm.yyyy]", "05.11.1998"},
        {"[day #Dd mmmm yyyy]", "5 ноября 1998"},
        {"[day #Thh:nn]", "12:00"},
        {"[flag #Bнет;да]", "да"},
        {"[1 > 2 #Bнет;да]", "нет"},
        {"['a #b' + 'c']", "a #bc"}, // " #" inside quotes is text
    };
    for (const auto& c : cases)
        EXPECT_EQ(expand(c.line), c.expanded) << c.line;
}

TEST_F(Expand, InlineFormatOverridesTheBoxFormat) {
    TextBoxSettings box;
    box.Format = makeFormat(FormatCategory::Number, 3, 2, ',');
    EXPECT_EQ(expand("[sum]", box), "1 234,50");
    EXPECT_EQ(expand("[sum #N0.0]", box), "1234.5");
}

TEST_F(Expand, HideZerosHidesNumbersNotTexts) {
    TextBoxSettings box;
    box.HideZeros = true;
    EXPECT_EQ(expand("[0]", box), "");
    EXPECT_EQ(expand("[5 - 5]", box), "");
    EXPECT_EQ(expand("[text0]", box), "0");
    EXPECT_EQ(expand("[3]", box), "3");
    box.HideZeros = false;
    EXPECT_EQ(expand("[0]", box), "0");
}

TEST_F(Expand, TextOnlyBoxesAreLeftAlone) {
    TextBoxSettings box;
    box.TextOnly = true;
    EXPECT_EQ(expand("[1+2]", box), "[1+2]");
    std::vector<std::string> lines = {"[1+2]", "x"};
    EXPECT_EQ(ExpandLines(lines, box, engine_), lines);
    box.TextOnly = false;
    EXPECT_EQ(ExpandLines(lines, box, engine_), (std::vector<std::string>{"3", "x"}));
}

} // namespace
} // namespace pv
