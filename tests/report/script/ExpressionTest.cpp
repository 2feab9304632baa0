// Bracketed expressions as a text box shows them with the default format.
#include "tests/support/ExpressionFakes.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

SystemFormat withSeparator(char sep) {
    SystemFormat f;
    f.decimalSeparator = sep;
    return f;
}

std::string show(const std::string& expression, char sep = ',') {
    ScopedSystemFormat format(withSeparator(sep));
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    return cp1251ToUtf8(ExpandBracket(ru(expression), {}, engine));
}

struct Case {
    const char* expression;
    const char* comma; // shown with "," as the system separator
    const char* point; // shown with "."
};

TEST(Expression, PrintsWhatTheTextBoxShows) {
    const Case cases[] = {
        {"1+2*3", "7", "7"},
        {"(1+2)*3", "9", "9"},
        {"2 > 1", "1", "1"},
        {"1 > 2", "0", "0"},
        {"IF(2 > 1, 'a', 'b')", "a", "a"},
        {"IF(1 > 2, 'a', 'b')", "b", "b"},
        {"5/0", "0", "0"},
        {"7/2", "3,5", "3.5"},
        {"COPY('abcdef', 2, 3)", "bcd", "bcd"},
        {"COPY('abcdef', 5, 10)", "ef", "ef"},
        {"COPY('abcdef', 9, 1)", "", ""},
        {"INT(2.9999999999999)", "3", "3"},
        {"INT(2.5)", "2", "2"},
        {"INT(-2.5)", "-2", "-2"},
        {"FRAC(2.75)", "0,75", "0.75"},
        {"FRAC(1.99999999999999)", "0", "0"},
        {"ROUND(2.5)", "2", "2"},
        {"ROUND(3.5)", "4", "4"},
        {"ROUND(-0.5)", "0", "0"},
        {"1,5", "1,5", "1.5"},
        {"1.5", "1,5", "1.5"},
        {"1,5 + 1.5", "3", "3"},
        {",5 * 2", "1", "1"},
        {"10 MOD 3", "1", "1"},
        {"10 MOD 0", "0", "0"},
        {"NOT 0", "1", "1"},
        {"NOT 5", "0", "0"},
        {"-3 + 5", "2", "2"},
        {"2 * -3", "-6", "-6"},
        {"- -4", "4", "4"},
        {"+4", "4", "4"},
        {"6 AND 3", "2", "2"},
        {"6 OR 3", "7", "7"},
        {"TRUE AND FALSE", "False", "False"},
        {"true OR false", "True", "True"},
        // AND binds like "*": 2 = (2 AND 3) = 3, so templates parenthesise comparisons
        {"2 = 2 AND 3 = 3", "0", "0"},
        {"(2 = 2) AND (3 = 3)", "1", "1"},
        {"2 <> 3", "1", "1"},
        {"2 >= 2", "1", "1"},
        {"2 <= 1", "0", "0"},
        {"'a' + 'b'", "ab", "ab"},
        {"'it''s'", "it's", "it's"},
        {"'12' + 3", "15", "15"},
        {"'x' + 3", "x3", "x3"},
        {"'abc' < 'abd'", "1", "1"},
        {"STR 5 + STR 6", "56", "56"},
        {"1+2; 100", "3", "3"},
        {"Copy('abcdef', 1, 2, 3)", "ab", "ab"}, // a fourth argument is dropped
        {"clRed", "255", "255"},
        {"mb_IconWarning", "48", "48"},
        {"[1+2]", "3", "3"},
        {"UNKNOWNFN(1)", "0", "0"},
        {"1e3", "1000", "1000"},
        {"1/3", "0,333333333333333", "0.333333333333333"},
        {"2147483647 + 1", "2147483648", "2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(show(c.expression, ','), c.comma) << c.expression;
        EXPECT_EQ(show(c.expression, '.'), c.point) << c.expression;
    }
}

TEST(Expression, MalformedExpressionsRaiseErrors) {
    const char* cases[] = {"(1",     "1)", "1 +",           "1 2",     "'open", "1,2.3",
                           "COPY((", "[a", "IF('x', 1, 2)", "'a' - 1", "1abc",  "IF(TRUE, 1, 2)"};
    for (const char* c : cases) {
        TfrVariables globals;
        ExpressionEngine engine({}, globals);
        EXPECT_THROW(ExpandBracket(c, {}, engine), ExpressionError) << c;
    }
}

TEST(Expression, UnknownNameIsReportedInQuotes) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    try {
        ExpandBracket("reg_nom", {}, engine);
        FAIL();
    } catch (const ExpressionError& e) {
        EXPECT_EQ(e.what(), std::string("Переменная не определена: \"reg_nom\""));
        EXPECT_EQ(e.text(), ru("Переменная не определена: \"reg_nom\""));
    }
}

TEST(Expression, ProgramVariablesAndTheirClearing) {
    TfrVariables globals;
    test::FakeData data;
    ExpressionEngine engine({&data}, globals);
    globals.SetValue("reg_nom", Variant(std::string("016-001-000123")));
    EXPECT_EQ(ExpandText("[reg_nom]", {}, engine), "016-001-000123");
    globals.Clear();
    EXPECT_THROW(ExpandText("[reg_nom]", {}, engine), ExpressionError);
    data.dictionary["reg_nom"] = "'defined in the template'";
    EXPECT_EQ(ExpandText("[reg_nom]", {}, engine), "defined in the template");
}

TEST(Expression, DeepNestingIsRefusedNotOverflowed) {
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "COPY(";
    deep += "'a'";
    for (int i = 0; i < 5000; ++i)
        deep += ",1,1)";
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    EXPECT_THROW(engine.EvaluateText(deep), ExpressionError);

    std::string parens(40, '(');
    parens += "1" + std::string(40, ')');
    EXPECT_EQ(engine.EvaluateText(parens).toText(), "1");
}

TEST(Expression, CompiledConditionEvaluatesManyTimes) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    std::string postfix = engine.parser().Compile("n * 2 > 5");
    globals.SetValue("n", Variant(int32_t(2)));
    EXPECT_EQ(engine.parser().Evaluate(postfix), Variant(int32_t(0)));
    globals.SetValue("n", Variant(int32_t(3)));
    EXPECT_EQ(engine.parser().Evaluate(postfix), Variant(int32_t(1)));
}

TEST(Expression, ArgumentsSplitAtTopLevelCommas) {
    struct {
        const char* args;
        std::vector<std::string> expected;
    } cases[] = {
        {"a, b, c", {"a", "b", "c"}},
        {"'x,y', COPY('a,b', 1, 2), c, d", {"'x,y'", "COPY('a,b', 1, 2)", "c"}},
        {"", {}},
        {"(1, 2)", {"(1, 2)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TfrParser::SplitArguments(c.args), c.expected) << c.args;
    EXPECT_THROW(TfrParser::SplitArguments("(1, 2"), ExpressionError);
    EXPECT_THROW(TfrParser::SplitArguments("1), 2"), ExpressionError);
}

} // namespace
} // namespace pv
