// The cost of an embedded TrueType face: a one-page document of Cyrillic text
// in Arial (the whole face file goes in), written into memory, with its size;
// and selecting fonts once they exist, as every text record of a page does.
#include "pdf/PDFDocument.h"
#include "platform/CodePage.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

pv::PdfDateTime fixedTime() {
    return pv::PdfDateTime{};
}

void BM_OnePageCyrillicTrueType(benchmark::State& state) {
    const std::string line =
        pv::ru("Индивидуальные сведения о страховом стаже застрахованного лица");
    std::size_t bytes = 0;
    for (auto _ : state) {
        pv::TPDFDocument doc(fixedTime);
        doc.SetCompression(pv::ctFlate);
        std::ostringstream out;
        doc.SetOutputStream(&out);
        doc.BeginDoc();
        pv::TPDFPage& page = *doc.CurrentPage();
        page.SetActiveFont("Arial", 0, 204, 10);
        page.BeginText();
        for (int row = 0; row < 40; ++row)
            page.TextOut(40, 40 + row * 18, 0, line);
        page.EndText();
        doc.EndDoc();
        bytes = out.str().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_OnePageCyrillicTrueType)->Unit(benchmark::kMillisecond);

void BM_SelectExistingFonts(benchmark::State& state) {
    pv::TPDFDocument doc(fixedTime);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    pv::TPDFPage& page = *doc.CurrentPage();
    const char* const faces[] = {"Arial", "Times New Roman", "Courier New"};
    for (auto _ : state)
        for (const char* face : faces)
            for (int style = 0; style < 4; ++style)
                page.SetActiveFont(face, style, 204, 10);
    state.SetItemsProcessed(state.iterations() * 12);
    doc.Abort();
}
BENCHMARK(BM_SelectExistingFonts);

} // namespace

BENCHMARK_MAIN();
