// Arbitrary bytes as the records of a batch of one document type (given at
// build time as PV_FUZZ_DOC_TYPE, UTF-8) after a valid header: the run must end
// in a report, whose tables are then walked as the templates walk them, or in
// one error message; never a crash or a hang.
#include "batch/BatchDriver.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class WalkingReports : public pv::ReportService {
public:
    explicit WalkingReports(pv::FormTables& tables) : tables_(tables) {}
    void LoadFromFile(pv::ReportId, const std::string&) override {}
    void PrepareAndPreview(pv::ReportId) override {
        ++shown;
        using pv::TRxMemoryData;
        for (const auto& e : tables_.all())
            if (e.table->Active()) visit(*e.table);
        TRxMemoryData& persons = tables_.Table2;
        if (!persons.Active()) return;
        for (persons.First(); !persons.Eof(); persons.Next()) {
            visit(tables_.TableFid);
            visit(tables_.TableFidVr);
            visit(tables_.TableFidVs);
            TRxMemoryData& activities = tables_.TableDEJT;
            if (!activities.Active()) {
                visit(tables_.Table3);
                continue;
            }
            for (activities.First(); !activities.Eof(); activities.Next())
                visit(tables_.Table3);
        }
    }
    int shown = 0;

private:
    void visit(pv::TRxMemoryData& table) {
        if (!table.Active()) return;
        for (table.First(); !table.Eof(); table.Next())
            for (int i = 0; i < table.FieldCount(); ++i)
                table.Fields(i).AsString();
    }
    pv::FormTables& tables_;
};

std::string headerBytes() {
    const std::string lines = "\"ФАЙЛ\",\"04.00\",\"ПФР\"\r\n"
                              "\"ОРГН\",1,\"016-001-000123\",\"0012345678\",\"000\",\"ООО\"\r\n"
                              "\"ПАЧК\",17,\"10.01.2006\",,\"15.01.2006\",,2005,\"НР\",\"\",\"\","
                              "\"ИСХД\",\"\",4,2005,,,\"1.5\",\"2\",\"0\"\r\n"
                              "\"ОПИС\",\"" PV_FUZZ_DOC_TYPE "\",1\r\n";
    return pv::codepage::fromUtf16(pv::codepage::utf8ToUtf16(lines), 866);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string header = headerBytes();
    pv::ScriptedUi ui;
    pv::DriverContext context;
    pv::BatchDriver* driverPtr = nullptr;
    pv::FormTables tables(ui, [&] { return driverPtr->DocType(); });
    WalkingReports reports(tables);
    pv::BatchDriver driver(context, ui, reports);
    driverPtr = &driver;
    pv::FormParsers parsers(tables);
    driver.setParsers(&parsers);

    parsers.emptyRunTables();
    driver.batchFile().openBytes(header + std::string(reinterpret_cast<const char*>(data), size));
    driver.processOpenedFile();

    const bool endedInReport = reports.shown == 1 && ui.messages().empty();
    const bool endedInError = reports.shown == 0 && ui.messages().size() == 1;
    if (!(endedInReport || endedInError) || driver.batchFile().isOpen()) std::abort();
    return 0;
}
