#pragma once

#include <vector>

namespace pv {

class TfrView;

// The horizontal room objects are placed in: the page's margins, or the
// printer's printable area where a margin is 0.
struct PlacementLimits {
    int left = 0;
    int right = 0;
};

PlacementLimits placementLimits(bool useMargins, int paperWidth, int leftMargin, int rightMargin,
                                int printerLeftOffset, int printableWidth);

// Moves (and for width and rest, sizes) a view by its `BandAlign`.
// `neighbours` are the other non-band objects of the page with the same top.
// Bottom and top alignment belong to the band engine and change nothing here.
void PlaceByBandAlign(TfrView& view, const std::vector<const TfrView*>& neighbours,
                      PlacementLimits limits);

} // namespace pv
