#pragma once

#include <cstdint>

namespace pv {

// The toolbar buttons a report's preview shows.
enum TfrPreviewButton : std::uint32_t {
    pbZoom = 1u << 0,
    pbLoad = 1u << 1,
    pbSave = 1u << 2,
    pbPrint = 1u << 3,
    pbFind = 1u << 4,
    pbHelp = 1u << 5,
    pbExit = 1u << 6,
    pbPageSetup = 1u << 7,
};
using TfrPreviewButtons = std::uint32_t;

constexpr TfrPreviewButtons kDefaultPreviewButtons =
    pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit;

} // namespace pv
