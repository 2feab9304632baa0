// Throughput of the PDF writer: a 1,000-page document of lines and text with
// deflated content, written into memory.
#include "pdf/PDFDocument.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

pv::PdfDateTime fixedTime() {
    return pv::PdfDateTime{};
}

void drawFormPage(pv::TPDFPage& page, int number) {
    // A grid of ruled cells with a line of text in each, as a printed form has.
    page.SetLineWidth(0.5);
    for (int row = 0; row < 40; ++row) {
        const double y = 40 + row * 19;
        page.MoveTo(30, y);
        page.LineTo(565, y);
        page.Stroke();
    }
    for (int col = 0; col < 6; ++col) {
        page.MoveTo(30 + col * 107, 40);
        page.LineTo(30 + col * 107, 781);
        page.Stroke();
    }
    page.SetActiveFont("Arial", 0, 0, 8);
    page.BeginText();
    for (int row = 0; row < 39; ++row)
        for (int col = 0; col < 5; ++col)
            page.TextOut(33 + col * 107, 43 + row * 19, 0,
                         "Row " + std::to_string(row) + " col " + std::to_string(col) + " p" +
                             std::to_string(number));
    page.EndText();
}

void BM_ThousandPageDocument(benchmark::State& state) {
    const bool onePass = state.range(0) != 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        pv::TPDFDocument doc(fixedTime);
        doc.SetCompression(pv::ctFlate);
        doc.SetOnePass(onePass);
        std::ostringstream out;
        doc.SetOutputStream(&out);
        doc.BeginDoc();
        for (int page = 0; page < 1000; ++page) {
            if (page > 0) doc.NewPage();
            drawFormPage(*doc.CurrentPage(), page);
        }
        doc.EndDoc();
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["pages/s"] =
        benchmark::Counter(1000.0 * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["bytes/page"] = static_cast<double>(bytes) / 1000.0;
}
BENCHMARK(BM_ThousandPageDocument)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("onePass")
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
