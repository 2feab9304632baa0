// Arbitrary bytes as a batch file: every line read and split into fields.
#include "batch/BatchFile.h"
#include "batch/BatchText.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pv::BatchFile file;
    file.openBytes(std::string(reinterpret_cast<const char*>(data), size));
    int guard = 0;
    while (!file.atEnd() && guard++ < 100000) {
        std::string line = file.ReadBatchLine();
        for (int n = 0; n <= 12; ++n) pv::ExtractField(line, n);
        pv::ExtractField(line, 1 << 20);
        pv::StripLeadingZeros(line);
        pv::NormalizeDate(line);
        pv::PointToDecimalSeparator(line);
    }
    file.ReadBatchLine();
    return 0;
}
