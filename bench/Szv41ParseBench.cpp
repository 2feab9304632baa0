// The parse of a large ИН41 batch into the person and period tables.
#include "batch/BatchDriver.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "bench/Szv41BatchGenerator.h"
#include "platform/ScriptedUi.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

class NoReports : public pv::ReportService {
public:
    void LoadFromFile(pv::ReportId, const std::string&) override {}
    void PrepareAndPreview(pv::ReportId) override {}
};

void BM_ParseSzv41(benchmark::State& state) {
    const int persons = static_cast<int>(state.range(0));
    const int periods = 3;
    const std::string batch = pv::bench::generateSzv41Batch(persons, periods);
    // Read from a real file, as a run does.
    const auto path = std::filesystem::temp_directory_path() /
                      ("pv_bench_szv41_" + std::to_string(persons) + ".txt");
    std::ofstream(path, std::ios::binary).write(batch.data(), std::streamsize(batch.size()));
    pv::ScriptedUi ui;
    pv::DriverContext context;
    context.commandLineArg = path.string();
    NoReports reports;
    pv::BatchDriver driver(context, ui, reports);
    pv::FormTables tables(ui, [&driver] { return driver.DocType(); });
    pv::FormParsers parsers(tables);
    driver.setParsers(&parsers);
    for (auto _ : state)
        driver.BitBtn13Click();
    std::filesystem::remove(path);
    if (!ui.messages().empty() || tables.Table2.RecordCount() != persons ||
        tables.Table3.RecordCount() != persons * periods) {
        state.SkipWithError("the batch was not read in full");
        return;
    }
    const double stored = double(tables.Table2.StoredBytes() + tables.Table3.StoredBytes());
    state.counters["batch_MB"] = double(batch.size()) / 1e6;
    state.counters["stored_MB"] = stored / 1e6;
    state.counters["bytes_per_person"] = stored / persons;
    state.counters["persons_per_s"] =
        benchmark::Counter(double(persons), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ParseSzv41)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
