// The standard functions, the aggregate splitter and the collected error message.
#include "tests/support/ExpressionFakes.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/ExpressionErrorMessage.h"
#include "report/script/FunctionSplitter.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class AnsweringUi : public ScriptedUi {
public:
    std::string typed = "typed";
    std::string askedPrompt, askedDefault;
    std::string inputText(const std::string&, const std::string& prompt,
                          const std::string& defaultText) override {
        askedPrompt = prompt;
        askedDefault = defaultText;
        return typed;
    }
};

TEST(StdFunctions, Results) {
    ScopedSystemFormat format(SystemFormat{});
    TfrVariables globals;
    globals.SetValue("d", Variant::dateTime(36104.75)); // 5 November 1998, 18:00
    AnsweringUi ui;
    ExpressionContext context;
    context.ui = &ui;
    ExpressionEngine engine(context, globals);
    struct {
        const char* expression;
        const char* shown;
    } cases[] = {
        {"DAYOF(d)", "5"},
        {"MONTHOF(d)", "11"},
        {"YEAROF(d)", "1998"},
        {"DAYOF('15.01.2006')", "15"},
        {"FORMATDATETIME('dd.mm.yyyy hh:nn', d)", "05.11.1998 18:00"},
        {"FORMATDATETIME('d mmm', d)", "5 ноя"},
        {"FORMATFLOAT('0.00', 2.345)", "2,35"},
        {"FORMATFLOAT('#,##0', 1234567)", "1 234 567"},
        {"FORMATFLOAT('#.##', 0)", ""},
        {"FORMATFLOAT('000', 7)", "007"},
        {"FORMATTEXT('000-000-000 00', '12345678901')", "123-456-789 01"},
        {"FORMATTEXT('00.00', '12')", "12.  "},
        {"LENGTH('абвгд')", "5"},
        {"LOWERCASE('АБВ Abc')", "абв abc"},
        {"UPPERCASE('ёжик')", "ЁЖИК"},
        {"NAMECASE('иВАНОВ')", "Иванов"},
        {"NAMECASE('')", ""},
        {"TRIM('  a b  ')", "a b"},
        {"POS('c', 'abc')", "3"},
        {"POS('z', 'abc')", "0"},
        {"POS('', 'abc')", "0"},
        {"POS('', '')", "0"},
        {"MAXNUM(3, 7)", "7"},
        {"MINNUM(3, 7)", "3"},
        {"MAXNUM('b', 'a')", "b"},
        {"MAXNUM('3', '10')", "10"},
        {"MINNUM('3', '10')", "3"},
        {"MAXNUM('2,5', 2)", "2,5"},
        {"STRTODATE('05.11.1998') + 1", "06.11.1998"},
        {"STRTOTIME('18:30') #Thh:nn", "18:30"},
        {"INPUT('Name?', 'Ivan')", "typed"},
        {"MESSAGEBOX('Sure?', 'Ask', mb_YesNo + mb_IconQuestion)", "6"},
        {"SUM(x)", "0"}, // no preparation: nothing aggregated
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1251ToUtf8(ExpandBracket(ru(c.expression), {}, engine)), c.shown)
            << c.expression;
    EXPECT_EQ(ui.askedPrompt, "Name?");
    EXPECT_EQ(ui.askedDefault, "Ivan");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Sure?");
    EXPECT_EQ(ui.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages()[0].buttons, MsgButtons::YesNo);
}

TEST(StdFunctions, ArgumentsAreEvaluatedOnlyWhenTaken) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    // The branch not taken is never evaluated, so its unknown name does no harm.
    EXPECT_EQ(engine.EvaluateText("IF(1, 'yes', nosuchname)"), Variant("yes"));
    EXPECT_EQ(engine.EvaluateText("IF(0, nosuchname, 'no')"), Variant("no"));
}

TEST(FunctionSplitter, FindsAggregateCalls) {
    TfrFunctionSplitter splitter;
    struct {
        const char* expression;
        std::vector<std::string> calls;
    } cases[] = {
        {"SUM([frDBDataSet1.\"F_Sum\"], MasterData1) + 1",
         {"SUM([frDBDataSet1.\"F_Sum\"], MasterData1)"}},
        {"IF(COUNT(Band1) > 0, avg(x, Band1, 1), 0)", {"COUNT(Band1)", "avg(x, Band1, 1)"}},
        {"'SUM(x)' + MYSUM(1) + SUMMA", {}},
        {"[MAX(a)] - MIN (b)", {"MAX(a)"}},
        {"SUM(1", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitter.Split(c.expression), c.calls) << c.expression;
}

TEST(ErrorMessage, CollectsTheObjectAndTheError) {
    std::string message = expressionErrorMessage({"[a]", "line 2"}, "frReport1", "Memo5",
                                                 ru("Переменная не определена: \"a\""));
    EXPECT_EQ(cp1251ToUtf8(message), "Возникла ошибка при обработке выражения\r[a]\rline 2\r\r"
                                     "Документ: frReport1\rОбъект: Memo5\r\r"
                                     "Переменная не определена: \"a\"");
    EXPECT_EQ(cp1251ToUtf8(expressionErrorMessage({}, "frReport1", "", "boom")),
              "Возникла ошибка при обработке выражения\r\rДокумент: frReport1\r\rboom");
    EXPECT_EQ(cp1251ToUtf8(expressionErrorCaption()), "Ошибка");
}

} // namespace
} // namespace pv
