#include "program/ProgramSettingsReader.h"
#include "program/SettingsText.h"
#include "platform/CodePage.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

std::string typicalFile() {
    return pv::ru(
        "[ADV-11]\r\nбез копеек=Да\r\n\r\n[Dist]\r\nПроверка_рег=Да\r\n\r\n"
        "[Enterprise]\r\nДолжность_Исполнителя=Бухгалтер\r\nДолжность_Руководителя=Директор"
        "\r\nОКОНХ=91500\r\nОКПО=12345678\r\nФИО_ГлавБух=Петрова П.П.\r\n"
        "ФИО_Исполнителя=Сидорова С.С.\r\nФИО_Руководителя=Иванов И.И.\r\n\r\n"
        "[Spisk]\r\nБез списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3=Да\r\n\r\n");
}

// The main window's first activation: open, read the ten values, release.
void BM_ReadProgramSettings(benchmark::State& state) {
    auto dir = std::filesystem::temp_directory_path() / "pv_bench_settings";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "pachkaview.ini", std::ios::binary) << typicalFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(pv::readProgramSettings(dir.string() + "/"));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadProgramSettings);

// Parsing and writing back a large hand-edited file of many sections.
void BM_ParseAndWriteLargeFile(benchmark::State& state) {
    std::string bytes;
    for (int s = 0; s < state.range(0); ++s) {
        bytes += "[Section" + std::to_string(s * 7919 % 1000) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            bytes += "key" + std::to_string(k * 31 % 20) + "=value\r\n";
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(pv::SettingsText::parse(bytes).toBytes());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ParseAndWriteLargeFile)->Arg(10)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
