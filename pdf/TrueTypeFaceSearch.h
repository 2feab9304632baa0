#pragma once

#include "platform/FontService.h"

#include <optional>
#include <vector>

namespace pv {

// A style (bold and italic bits) and charset an installed face has.
struct FaceVariant {
    int style = 0;
    int charset = 0;
    bool operator==(const FaceVariant&) const = default;
};

// Picks the installed TrueType variant of a family (its entries as the font
// service lists them) that serves a request best: the requested style and
// charset; else without italic, then without bold too, then in the style of
// the family's first entry; then all of these again in the first entry's
// charset. Nothing when the family has no TrueType entry or none fits.
std::optional<FaceVariant> findTrueTypeVariant(const std::vector<FontEntry>& entries, int style,
                                               int charset);

} // namespace pv
