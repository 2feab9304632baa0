#pragma once

#include <cstdint>
#include <vector>

namespace pv {

class TfrEMFPages;

// Draws a prepared page (0-based index) onto a recording metafile of its
// paper size in report pixels, as the preview's search reads it. A page that
// was not in view drops its objects again afterwards.
std::vector<std::uint8_t> RecordPreparedPage(TfrEMFPages& pages, int index);

} // namespace pv
