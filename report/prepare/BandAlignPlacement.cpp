#include "report/prepare/BandAlignPlacement.h"

#include "report/model/View.h"

namespace pv {
namespace {

// The right edge of the nearest left-aligned neighbour to the left, or the limit.
int leftBound(const TfrView& view, const std::vector<const TfrView*>& neighbours, int limit) {
    const TfrView* nearest = nullptr;
    for (const TfrView* n : neighbours)
        if (n != &view && n->BandAlign == baLeft && n->Left < view.Left &&
            (!nearest || n->Left > nearest->Left))
            nearest = n;
    return nearest ? nearest->Left + nearest->Width : limit;
}

// The nearest right-aligned neighbour to the right, if any.
const TfrView* rightNeighbour(const TfrView& view, const std::vector<const TfrView*>& neighbours) {
    const TfrView* nearest = nullptr;
    for (const TfrView* n : neighbours)
        if (n != &view && n->BandAlign == baRight && n->Left > view.Left &&
            (!nearest || n->Left < nearest->Left))
            nearest = n;
    return nearest;
}

} // namespace

PlacementLimits placementLimits(bool useMargins, int paperWidth, int leftMargin, int rightMargin,
                                int printerLeftOffset, int printableWidth) {
    if (!useMargins) return {0, paperWidth};
    return {leftMargin != 0 ? leftMargin : printerLeftOffset,
            rightMargin != 0 ? paperWidth - rightMargin : printerLeftOffset + printableWidth};
}

void PlaceByBandAlign(TfrView& view, const std::vector<const TfrView*>& neighbours,
                      PlacementLimits limits) {
    switch (view.BandAlign) {
    case baLeft:
        view.Left = leftBound(view, neighbours, limits.left);
        break;
    case baRight: {
        const TfrView* n = rightNeighbour(view, neighbours);
        view.Left = n ? n->Left - view.Width - 1 : limits.right - view.Width;
        break;
    }
    case baCenter:
        view.Left = limits.left + (limits.right - limits.left - view.Width) / 2;
        break;
    case baWidth:
        view.Left = limits.left;
        view.Width = limits.right - limits.left - 1;
        break;
    case baRest: {
        const TfrView* n = rightNeighbour(view, neighbours);
        const int left = leftBound(view, neighbours, limits.left);
        view.Width = (n ? n->Left : limits.right) - left;
        view.Left = left;
        break;
    }
    default:
        break;
    }
}

} // namespace pv
