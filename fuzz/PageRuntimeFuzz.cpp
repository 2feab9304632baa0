// Arbitrary bytes as a template, set up for preparation: every page that
// loads must initialise its bands and bind its whole-field objects without
// crashing, whatever its bands, names, links and sub-report targets say. The
// template is then prepared over three rows a table, its scripts and its
// sheets capped, so neither a loop nor a page explosion passes for a hang.
#include "platform/Error.h"
#include "report/data/MemoryTable.h"
#include "report/model/ByteStream.h"
#include "report/prepare/DataSourceContext.h"
#include "report/prepare/PageRuntime.h"
#include "report/prepare/ReportPreparation.h"
#include "report/prepare/WholeFieldBinding.h"
#include "report/prepared/PreparedPages.h"
#include "report/script/ExpressionEngine.h"
#include "report/template/Report.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pv::TfrReport report;
    report.setClock([] { return 40000.0; });
    pv::ByteStream stream(std::string(reinterpret_cast<const char*>(data), size));
    report.LoadFromStream(stream);
    if (report.lastLoad() != pv::LoadResult::Ok) return 0;

    pv::TRxMemoryData people("Table2", {{"F_Fam", pv::TFieldType::ftString, 20},
                                        {"F_Strax", pv::TFieldType::ftString, 14}});
    pv::TRxMemoryData periods("Table3", {{"F_Days", pv::TFieldType::ftInteger, 0}});
    people.Open();
    periods.Open();
    for (int i = 0; i < 3; ++i) {
        people.Append();
        people.FieldByName("F_Fam").SetAsString(i == 1 ? "" : "Row" + std::to_string(i));
        people.FieldByName("F_Strax").SetAsString("111-111-111 1" + std::to_string(i % 2));
        people.Post();
        periods.Append();
        periods.FieldByName("F_Days").SetAsString(std::to_string(i * 10));
        periods.Post();
    }
    pv::TfrDBDataSet first("frDBDataSet1"), second("frDBDataSet2");
    first.SetDataSet(&people);
    second.SetDataSet(&periods);
    pv::DataSourceRegistry sources;
    sources.add(first);
    sources.add(second);
    pv::DataSourceContext context(sources, &report.Dictionary);

    pv::TfrVariables globals;
    pv::ExpressionEngine engine({&context}, globals);
    pv::TfrInterpretator compiler(engine);
    const std::vector<bool> subReports = pv::subReportPages(report);
    for (size_t i = 0; i < report.Pages.size(); ++i) {
        pv::TfrPage& page = *report.Pages[i];
        if (page.isDialog()) continue;
        pv::PageRuntime runtime(page, subReports[i], sources, compiler);
        std::vector<pv::TfrView*> objects;
        for (auto& view : page.Objects)
            objects.push_back(view.get());
        pv::WholeFieldBindings bindings;
        bindings.bind(objects, context);
    }

    // The page runtimes above moved the objects into their bands; preparation
    // starts from the template as it was loaded.
    pv::ByteStream again(std::string(reinterpret_cast<const char*>(data), size));
    report.LoadFromStream(again);
    if (report.lastLoad() != pv::LoadResult::Ok) return 0;
    try {
        pv::ReportPreparation preparation(report, sources);
        preparation.setLimits(20'000, 30);
        preparation.Prepare();
    } catch (const pv::Error&) {
        // A data source the template names wrongly ends the preparation with
        // the database's error, as it would in the program.
    }
    if (report.EMFPages().Count() > 30) __builtin_trap(); // the cap did not hold
    return 0;
}
