// Loading and saving a template the size of a dense form: a page with a few
// hundred text boxes, as the batch driver does before every report.
#include "report/model/ByteStream.h"
#include "report/model/MemoView.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSource.h"

#include <benchmark/benchmark.h>

namespace {

std::string denseTemplate(int memos) {
    pv::TfrReport report;
    report.setClock([] { return 40000.0; });
    pv::TfrPage& page = report.AddPage();
    for (int i = 0; i < memos; ++i) {
        auto m = std::make_unique<pv::TfrMemoView>();
        m->Name = "Memo" + std::to_string(i + 1);
        m->Left = i % 10 * 70;
        m->Top = i / 10 * 18;
        m->Width = 70;
        m->Height = 18;
        m->Memo = {"[frDBDataSet1.\"F_Field" + std::to_string(i) + "\"]"};
        page.Objects.push_back(std::move(m));
    }
    pv::ByteStream s;
    report.SaveToStream(s);
    return s.bytes();
}

void BM_LoadTemplate(benchmark::State& state) {
    std::string bytes = denseTemplate(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pv::TfrReport report;
        pv::ByteStream s(bytes);
        report.LoadFromStream(s);
        benchmark::DoNotOptimize(report.Pages.size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadTemplate)->Arg(50)->Arg(500);

void BM_CompileTemplateSource(benchmark::State& state) {
    pv::TfrReport loaded;
    pv::ByteStream s(denseTemplate(static_cast<int>(state.range(0))));
    loaded.LoadFromStream(s);
    std::string source = pv::writeTemplateSource(loaded);
    for (auto _ : state) {
        pv::TfrReport report;
        pv::readTemplateSource(source, report);
        benchmark::DoNotOptimize(report.Pages.size());
    }
}
BENCHMARK(BM_CompileTemplateSource)->Arg(500);

} // namespace
