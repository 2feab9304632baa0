#include "platform/ConversionError.h"
#include "report/prepared/PageList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// The page list typed in the print dialog, on a report of a few pages: every
// page selected must be one of the report's.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int pageCount = data[0] % 16;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        for (int page : pv::parsePageList(text, pageCount))
            if (page < 1 || page > pageCount) std::abort();
    } catch (const pv::ConversionError&) {
    }
    return 0;
}
