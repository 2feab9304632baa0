// Arbitrary bytes as a template: loading must not crash, hang or allocate
// without bound. What loads must save, load again to the same bytes, and
// survive the trip through the template source form.
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/template/frf/FrfWriter.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string save(pv::TfrReport& r) {
    pv::ByteStream s;
    pv::writeFrf(r, s, r.PrinterName, 40000.0);
    return s.bytes();
}

bool load(pv::TfrReport& r, const std::string& bytes) {
    pv::ByteStream s(bytes);
    r.LoadFromStream(s);
    return r.lastLoad() == pv::LoadResult::Ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pv::TfrReport report;
    report.setClock([] { return 40000.0; });
    if (!load(report, std::string(reinterpret_cast<const char*>(data), size))) return 0;

    std::string first;
    try {
        first = save(report);
    } catch (const pv::FrfWriteError&) {
        return 0; // an old-edition text longer than the new form can hold
    }
    pv::TfrReport again;
    again.setClock([] { return 40000.0; });
    if (!load(again, first) || save(again) != first) std::abort();

    pv::TfrReport fromSource;
    try {
        pv::readTemplateSource(pv::writeTemplateSource(again), fromSource);
    } catch (const pv::TemplateSourceError& e) {
        // Only names the designer would never have let through stop the source.
        if (std::string(e.what()).find("a second object named") == std::string::npos) std::abort();
        return 0;
    }
    if (save(fromSource) != first) std::abort();
    return 0;
}
