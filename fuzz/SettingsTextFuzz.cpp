#include "program/SettingsText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Whatever the bytes, reading never fails, and a file written once reads back
// to the same content.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pv::SettingsText text = pv::SettingsText::parse(bytes);
    for (const auto& section : text.sections())
        for (const auto& line : section->lines())
            (void)section->findValue(line.substr(0, 3));
    const std::string written = text.toBytes();
    const std::string again = pv::SettingsText::parse(written).toBytes();
    if (again != written) std::abort();
    return 0;
}
