// Arbitrary bytes after a valid header, for each of the individual-record
// document types: the run must end in a report or in one conversion error.
#include "batch/BatchDriver.h"
#include "batch/BatchText.h"
#include "batch/FormParsers.h"
#include "batch/FormTables.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/value/Variables.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class CountingReports : public pv::ReportService {
public:
    void LoadFromFile(pv::ReportId, const std::string&) override {}
    void PrepareAndPreview(pv::ReportId) override { ++shown; }
    int shown = 0;
};

std::string oem(const char* utf8) {
    return pv::codepage::fromUtf16(pv::codepage::utf8ToUtf16(utf8), pv::codepage::kOem866);
}

// Splitting a line at once gives what cutting each field out of it gives.
void checkFieldSplit(const std::string& line) {
    std::vector<std::string_view> fields;
    pv::ExtractFields(line, 24, fields);
    for (int n = 1; n <= 24; ++n)
        if (fields[n - 1] != pv::ExtractField(line, n)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const codes[] = {"ИН41", "ИН42", "ИНДС", "ИН20", "ИН30"};
    const char* code = codes[data[0] % 5];
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string batch = oem("\"ФАЙЛ\",\"04.00\",\"ПФР\"\r\n"
                            "\"ОРГН\",1,\"016-001-000123\",\"0012345678\",\"000\",\"ООО\"\r\n"
                            "\"ПАЧК\",17,\"10.01.2006\",,\"15.01.2006\",,2005,\"НР\",\"\",\"\","
                            "\"ИСХД\",\"\",4,2005,,,\"1.00\",\"2.00\",\"0\"\r\n");
    batch += oem("\"ОПИС\",\"") + oem(code) + "\",1\r\n" + body;

    pv::SystemFormat format;
    format.decimalSeparator = data[0] & 0x80 ? '.' : ',';
    pv::ScopedSystemFormat scoped(format);
    pv::frVariables().Clear();
    pv::ScriptedUi ui;
    pv::DriverContext context;
    CountingReports reports;
    pv::BatchDriver driver(context, ui, reports);
    pv::FormTables tables(ui, [&driver] { return driver.DocType(); });
    pv::FormParsers parsers(tables);
    driver.setParsers(&parsers);

    parsers.emptyRunTables();
    driver.batchFile().openBytes(batch);
    driver.processOpenedFile();

    const bool report = reports.shown == 1 && ui.messages().empty();
    const bool aborted = reports.shown == 0 && ui.messages().size() == 1 &&
                         ui.messages()[0].icon == pv::MsgIcon::Error &&
                         ui.messages()[0].caption == pv::programName();
    if (!report && !aborted) std::abort();
    if (driver.batchFile().isOpen()) std::abort();
    // Whatever was stored reads back.
    for (pv::TRxMemoryData* t : {&tables.Table2, &tables.Table3})
        for (int r = 0; r < t->RecordCount(); ++r)
            for (int f = 0; f < t->FieldCount(); ++f)
                t->StoredText(r, f);
    checkFieldSplit(pv::cp866ToCp1251(body.substr(0, body.find('\n'))));
    return 0;
}
