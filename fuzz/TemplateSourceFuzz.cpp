// Arbitrary text as a template source: it is compiled or refused with an
// error, never a crash. What compiles must load back, and its own source must
// compile to the same bytes.
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    // Picture files are not read: the fuzzer must not wander the file system.
    if (text.find("image-file") != std::string::npos) return 0;
    pv::TfrReport report;
    try {
        pv::readTemplateSource(text, report);
    } catch (const pv::TemplateSourceError&) {
        return 0;
    }
    std::string bytes;
    try {
        bytes = save(report);
    } catch (const pv::FrfWriteError&) {
        return 0;
    }
    pv::TfrReport loaded;
    pv::ByteStream s(bytes);
    loaded.LoadFromStream(s);
    if (loaded.lastLoad() != pv::LoadResult::Ok) std::abort();

    pv::TfrReport again;
    pv::readTemplateSource(pv::writeTemplateSource(report), again);
    if (save(again) != bytes) std::abort();
    return 0;
}
