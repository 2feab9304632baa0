#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"

#include <benchmark/benchmark.h>

namespace {

// A 100-character line of a form: Cyrillic and digits as the batch files hold them.
std::string line100() {
    std::string s = pv::ru("Иванов Иван Иванович, 01.02.1960, 123-456-789 01, ООО «Ромашка», г. "
                           "Москва, ул. Ленина, д. 1");
    s.resize(100, ' ');
    return s;
}

pv::LogFont arial10() {
    pv::LogFont f;
    f.faceName = "Arial";
    f.height = -13;
    f.charSet = 204;
    return f;
}

void BM_AdvancesOf100CharacterLine(benchmark::State& state) {
    pv::MeasuringCanvas& canvas = pv::MeasuringCanvas::shared();
    canvas.SetFont(arial10());
    const std::string text = line100();
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.textAdvances(text));
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_AdvancesOf100CharacterLine);

void BM_ExtentOf100CharacterLine(benchmark::State& state) {
    pv::MeasuringCanvas& canvas = pv::MeasuringCanvas::shared();
    canvas.SetFont(arial10());
    const std::string text = line100();
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.GetTextExtent(text));
    state.SetItemsProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_ExtentOf100CharacterLine);

// Word wrapping measures growing prefixes while switching between two fonts.
void BM_ExtentAlternatingFonts(benchmark::State& state) {
    pv::MeasuringCanvas& canvas = pv::MeasuringCanvas::shared();
    pv::LogFont bold = arial10();
    bold.faceName = "Times New Roman";
    bold.weight = 700;
    const std::string text = line100();
    for (auto _ : state) {
        canvas.SetFont(arial10());
        benchmark::DoNotOptimize(canvas.GetTextExtent(text));
        canvas.SetFont(bold);
        benchmark::DoNotOptimize(canvas.GetTextExtent(text));
    }
    state.SetItemsProcessed(state.iterations() * 2 * std::int64_t(text.size()));
}
BENCHMARK(BM_ExtentAlternatingFonts);

} // namespace

BENCHMARK_MAIN();
