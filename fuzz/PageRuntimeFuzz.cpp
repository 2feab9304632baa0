// Arbitrary bytes as a template, set up for preparation: every page that
// loads must initialise its bands and bind its whole-field objects without
// crashing, whatever its bands, names, links and sub-report targets say.
#include "report/model/ByteStream.h"
#include "report/prepare/DataSourceContext.h"
#include "report/script/ExpressionEngine.h"
#include "report/prepare/PageRuntime.h"
#include "report/template/Report.h"
#include "report/data/MemoryTable.h"
#include "report/prepare/WholeFieldBinding.h"

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
    return 0;
}
