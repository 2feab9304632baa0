#include "platform/CodePage.h"
#include "platform/MeasuringCanvas.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/draw/TextWrap.h"

#include <benchmark/benchmark.h>

namespace {

// Twenty lines of a form's text box, each longer than the box is wide.
pv::Lines memo20() {
    pv::Lines lines;
    for (int i = 0; i < 20; ++i)
        lines.push_back(pv::ru("Сведения о страховом стаже застрахованного лица, периоды "
                               "трудовой деятельности и пенсионные взносы за отчётный год ") +
                        std::to_string(2000 + i));
    return lines;
}

void BM_Wrap20LineCyrillicMemo(benchmark::State& state) {
    pv::MeasuringCanvas& canvas = pv::MeasuringCanvas::shared();
    pv::LogFont font;
    font.faceName = "Arial";
    font.height = -13;
    font.charSet = 204;
    canvas.SetFont(font);
    const pv::Lines memo = memo20();
    const pv::WrapOptions options{200, state.range(0) != 0};
    const pv::TextWidth width = pv::CanvasTextWidth(canvas);
    size_t lines = 0;
    for (auto _ : state) {
        pv::Lines wrapped = pv::WrapLines(memo, true, options, width);
        lines = wrapped.size();
        benchmark::DoNotOptimize(wrapped);
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_Wrap20LineCyrillicMemo)->Arg(0)->Arg(1)->ArgName("wordbreak");

// The whole measuring of a text box: font set-up, wrapping and the height.
void BM_MeasureHeightOf20LineCyrillicMemo(benchmark::State& state) {
    pv::TfrMemoView memo;
    memo.Width = 200;
    memo.Height = 40;
    memo.setFlag(pv::flWordBreak, state.range(0) != 0);
    memo.Memo = memo20();
    int height = 0;
    for (auto _ : state) {
        height = pv::MeasureMemo(memo, memo.Memo).textHeight;
        benchmark::DoNotOptimize(height);
    }
    state.counters["height"] = height;
}
BENCHMARK(BM_MeasureHeightOf20LineCyrillicMemo)->Arg(0)->Arg(1)->ArgName("wordbreak");

} // namespace

BENCHMARK_MAIN();
