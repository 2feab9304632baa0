// Translation speed: a recorded form page (ruled grid and a text in every
// cell, as report pages are) translated onto a PDF page.
#include "pdf/MetafileTranslator.h"
#include "pdf/PDFDocument.h"
#include "platform/EmfRecorder.h"
#include "platform/FontService.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

std::string recordFormPage() {
    pv::EmfRecorder recorder(pv::FontService::shared(), pv::ReferenceDevice::screen(),
                             pv::Size{794, 1123});
    recorder.SetPen(pv::Pen{pv::PenStyle::Solid, 1, 0});
    pv::LogFont font;
    font.faceName = "Arial";
    font.height = -11;
    recorder.SetFont(font);
    recorder.SetBkMode(pv::BkMode::Transparent);
    for (int row = 0; row < 40; ++row)
        for (int col = 0; col < 5; ++col) {
            const int x = 40 + col * 140, y = 50 + row * 25;
            recorder.Rectangle(x, y, x + 141, y + 26);
            recorder.TextOut(x + 4, y + 5,
                             "Row " + std::to_string(row) + " col " + std::to_string(col));
        }
    const auto bytes = recorder.finish();
    return std::string(bytes.begin(), bytes.end());
}

void BM_TranslateFormPage(benchmark::State& state) {
    const std::string emf = recordFormPage();
    for (auto _ : state) {
        pv::TPDFDocument doc([] { return pv::PdfDateTime{}; });
        std::ostringstream out;
        doc.SetOutputStream(&out);
        doc.SetResolution(96);
        doc.BeginDoc();
        pv::TEMWParser parser(*doc.CurrentPage(), pv::FontService::shared());
        parser.LoadFromBytes(emf);
        parser.Translate();
        benchmark::DoNotOptimize(doc.CurrentPage()->Content().size());
        doc.Abort();
    }
    state.counters["records_bytes"] = double(emf.size());
}
BENCHMARK(BM_TranslateFormPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
