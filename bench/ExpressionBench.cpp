// Evaluation speed of the expressions text boxes and band conditions use.
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/script/ScriptInterpreter.h"

#include <benchmark/benchmark.h>

namespace {

void CompileExpression(benchmark::State& state) {
    pv::TfrParser parser;
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.Compile("IF(n * 2 > 5, COPY('abcdef', 2, 3), 'none')"));
}
BENCHMARK(CompileExpression);

void EvaluateCompiledCondition(benchmark::State& state) {
    pv::TfrVariables globals;
    globals.SetValue("n", pv::Variant(int32_t(3)));
    pv::ExpressionEngine engine({}, globals);
    std::string postfix = engine.parser().Compile("(n * 2 > 5) AND (n < 10)");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.parser().Evaluate(postfix));
}
BENCHMARK(EvaluateCompiledCondition);

void ExpandTextBoxLine(benchmark::State& state) {
    pv::TfrVariables globals;
    globals.SetValue("reg_nom", pv::Variant(std::string("016-001-000123")));
    globals.SetValue("sum", pv::Variant(1234.5));
    pv::ExpressionEngine engine({}, globals);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            pv::ExpandText("Reg. [reg_nom], total [sum #N0.00], page [1+2]", {}, engine));
}
BENCHMARK(ExpandTextBoxLine);

void RunLoopScript(benchmark::State& state) {
    pv::TfrVariables globals;
    pv::ExpressionEngine engine({}, globals);
    pv::TfrInterpretator interpretator(engine);
    auto script = interpretator.CompileScript({"s := 0; for i := 1 to 100 do s := s + i"});
    for (auto _ : state)
        interpretator.RunScript(script);
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(RunLoopScript);

} // namespace

BENCHMARK_MAIN();
