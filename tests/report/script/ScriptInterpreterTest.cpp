// Small programs compiled and run, and the syntax errors scripts get.
#include "tests/support/ExpressionFakes.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"
#include "report/script/ScriptInterpreter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pv {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

// "name=value name=value" of the globals in list order.
std::string globalsOf(const TfrVariables& vars) {
    std::string out;
    for (int i = 0; i < vars.Count(); ++i)
        out += (out.empty() ? "" : " ") + vars.Name(i) + "=" + vars.ValueAt(i).toText();
    return out;
}

std::string run(const std::string& source) {
    ScopedSystemFormat format(SystemFormat{});
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    TfrInterpretator interpretator(engine);
    CompiledScript script = interpretator.CompileScript(lines(source));
    EXPECT_TRUE(script.errors.empty()) << source << "\n" << script.errors[0];
    interpretator.RunScript(script, 100000);
    return globalsOf(globals);
}

TEST(Script, Programs) {
    struct {
        const char* source;
        const char* globals;
    } cases[] = {
        {"a := 1; b := a + 1", "a=1 b=2"},
        {"begin x := 'a'; x := x + 'b' end", "x=ab"},
        {"if 2 > 1 then r := 'yes' else r := 'no'", "r=yes"},
        {"if 1 > 2 then r := 'yes' else r := 'no'", "r=no"},
        {"r := 0; if 1 > 2 then r := 1", "r=0"},
        {"if 1 then if 0 then r := 1 else r := 2", "r=2"},
        {"s := 0; for i := 1 to 10 do s := s + i", "i=11 s=55"},
        {"s := 0; for i := 5 to 1 do s := s + 1", "i=5 s=0"},
        // the bound is evaluated again before each round
        {"n := 3; c := 0; for i := 1 to n do begin c := c + 1; if i = 1 then n := 5 end",
         "c=5 i=6 n=5"},
        {"i := 0; while i < 4 do i := i + 1", "i=4"},
        {"i := 10; repeat i := i - 3 until i < 0", "i=-2"},
        {"i := 0;\n1: i := i + 1;\nif i < 3 then goto 1", "i=3"},
        {"goto 5; a := 1; 5: b := 2", "b=2"},
        {"arr[1] := 'one'; arr[1 + 1] := 'two'; x := arr[2]; y := GETARRAY(arr, 1)",
         "Arr_arr_1=one Arr_arr_2=two x=two y=one"},
        {"SETARRAY(m, 'k', 5 * 2); v := GETARRAY(m, 'k')", "Arr_m_k=10 v=10"},
        {"a := 1; INC(a); INC(a); b := 5; DEC(b)", "a=3 b=4"},
        {"a := 1; exit(0); a := 2", "a=1"},
        {"a := 1; // a := 2\n{ a := 3;\n a := 4 } b := '{not a comment}' + '//'",
         "a=1 b={not a comment}//"},
        {"\ta\t:=\t7", "a=7"},
        {"BEGIN A := 1; END;", "A=1"},
        {"", ""},
        {"a := 'it''s; fine'", "a=it's; fine"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1251ToUtf8(run(ru(c.source))), c.globals) << c.source;
}

TEST(Script, SyntaxErrors) {
    struct {
        const char* source;
        const char* error;
        const char* before; // globals set by the statements before the error
    } cases[] = {
        // the statement missing its ";" is the one dropped
        {"a := 1\nb := 2", "Line 2/3: Need \";\" or \"end\" here", ""},
        {"a := 1;\nb := 2\nc := 3", "Line 3/3: Need \";\" or \"end\" here", "a=1"},
        {"begin a := 1; b := 2", "Line 1/21: Need \";\" or \"end\" here", "a=1 b=2"},
        {"if 1 a := 1", "Line 1/8: Need \"then\" here", ""},
        {"a := 1; repeat a := a + 1", "Line 1/26: Need \";\" or \"until\" here", "a=2"},
        {"while 1 a := 1", "Line 1/11: Need \"do\" here", ""},
        {"for i := 1 do a := 1", "Line 1/12: Need \"to\" here", ""},
        {"for i = 1 to 2 do a := 1", "Line 1/7: Need \":=\" here", ""},
        {"for i := 1 to 3 a := 1", "Line 1/19: Need \"do\" here", ""},
        {"goto x", "Line 1/6: \"goto\" label must be a number", ""},
        {"a := (1 + 2", "Line 1/12: Need \")\" here", ""},
        {"a := COPY('x', 1, 1", "Line 1/20: Need \")\" here", ""},
        {"b := 1; arr[1 := 2", "Line 1/19: Need \"]\" here", "b=1"},
        {"a := 1; goto 7", "Line 1/14: Label 7 is not defined", "a=1"},
    };
    for (const auto& c : cases) {
        ScopedSystemFormat format(SystemFormat{});
        TfrVariables globals;
        ExpressionEngine engine({}, globals);
        TfrInterpretator interpretator(engine);
        CompiledScript script = interpretator.CompileScript(lines(c.source));
        ASSERT_EQ(script.errors.size(), 1u) << c.source;
        EXPECT_EQ(script.errors[0], c.error) << c.source;
        interpretator.RunScript(script, 1000);
        EXPECT_EQ(globalsOf(globals), c.before) << c.source;
    }
}

TEST(Script, TooLongScriptIsRefused) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    TfrInterpretator interpretator(engine);
    std::string line = "a := 1;" + std::string(100, ' ');
    std::vector<std::string> source(400, line); // 400 × 108 characters
    CompiledScript script = interpretator.CompileScript(source);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_TRUE(script.code.empty());
    source.resize(250);
    EXPECT_TRUE(interpretator.CompileScript(source).errors.empty());
}

TEST(Script, StepLimitEndsAnEndlessLoop) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    TfrInterpretator interpretator(engine);
    CompiledScript script = interpretator.CompileScript({"1: goto 1"});
    ASSERT_TRUE(script.errors.empty());
    EXPECT_THROW(interpretator.RunScript(script, 500), ScriptStepLimitError);
    script = interpretator.CompileScript({"while 1 do a := 1"});
    EXPECT_THROW(interpretator.RunScript(script, 500), ScriptStepLimitError);
}

TEST(Script, RunTimeErrorsPropagate) {
    TfrVariables globals;
    ExpressionEngine engine({}, globals);
    TfrInterpretator interpretator(engine);
    CompiledScript script = interpretator.CompileScript({"a := 1; b := nosuch + 1; c := 2"});
    ASSERT_TRUE(script.errors.empty());
    EXPECT_THROW(interpretator.RunScript(script), ExpressionError);
    EXPECT_EQ(globalsOf(globals), "a=1");
}

TEST(Script, ReachesThePreparation) {
    TfrVariables globals;
    test::FakeState state;
    test::FakeObjects objects;
    test::FakeActions actions;
    objects.properties["MEMO1.VISIBLE"] = Variant(true);
    state.system["PAGE#"] = Variant(int32_t(1));
    ExpressionEngine engine({nullptr, &state, &objects, &actions}, globals);
    TfrInterpretator interpretator(engine);
    CompiledScript script = interpretator.CompileScript(
        lines("CurY := 100; Memo1.Visible := False; Memo1.Hide; ShowBand(Child1);\n"
              "if PAGE# = 0 then NewPage; Memo1.Memo[2] := 'x'; StopReport; NEWCOLUMN()"));
    ASSERT_TRUE(script.errors.empty()) << script.errors[0];
    interpretator.RunScript(script);
    EXPECT_EQ(state.assigned["CURY"].toText(), "100");
    EXPECT_EQ(objects.properties["MEMO1.VISIBLE"], Variant(false));
    std::vector<std::string> calls = {"MEMO1.HIDE(||)", "MEMO1.SETINDEXPROPERTY(Memo|2|'x')"};
    EXPECT_EQ(objects.calls, calls);
    std::vector<std::string> log = {"show Child1", "stop", "newcolumn"};
    EXPECT_EQ(actions.log, log);
    EXPECT_EQ(globals.Count(), 0);
}

} // namespace
} // namespace pv
