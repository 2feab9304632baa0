// Arbitrary bytes as a prepared-report file: reading must not crash, hang or
// read outside the file. A file that reads must write back to one that reads
// again and writes the same bytes.
#include "report/model/ByteStream.h"
#include "report/prepared/PreparedPages.h"
#include "report/model/FrfError.h"
#include "report/template/Report.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string write(pv::TfrReport& report) {
    pv::ByteStream s;
    report.EMFPages().WritePreparedFile(s);
    return s.bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pv::TfrReport report;
    pv::ByteStream input(std::string(reinterpret_cast<const char*>(data), size));
    try {
        report.EMFPages().ReadPreparedFile(input);
    } catch (const pv::FrfFormatError&) {
        if (report.EMFPages().Count() != 0) std::abort(); // nothing half-read stays
        return 0;
    }
    const std::string first = write(report);
    pv::TfrReport again;
    pv::ByteStream written(first);
    try {
        again.EMFPages().ReadPreparedFile(written);
    } catch (const pv::FrfFormatError&) {
        std::abort(); // what was written must read
    }
    if (again.EMFPages().Count() != report.EMFPages().Count() || write(again) != first)
        std::abort();
    return 0;
}
