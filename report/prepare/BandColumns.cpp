// Page formation: band columns. A band whose view has Columns > 1 (one row a
// column) prints its successive rows side by side, each ColumnWidth +
// ColumnGap to the right of the one before, and after Columns rows goes back
// to the left below the tallest of them.
#include "report/model/BandView.h"
#include "report/prepare/PageFormation.h"
#include "report/prepare/PageRuntime.h"
#include "report/prepared/PreparedPages.h"

#include <algorithm>

namespace pv {

bool PageFormation::usesBandColumns(const TfrBand& band) const {
    return band.view && band.view->Columns > 1 && band.view->RowsPerColumn == 1 &&
           band.type != btPageFooter && band.type != btOverlay;
}

void PageFormation::enterBandColumn(TfrBand& band) {
    if (!usesBandColumns(band)) return;
    if (band.bandColumn == 0) {
        band.savedOffset = runtime_.horizontalOffset;
        band.rowPage = pass_.currentPage;
        band.rowTop = band.rowBottom = runtime_.curY;
        return;
    }
    runtime_.horizontalOffset =
        band.savedOffset + band.bandColumn * (band.view->ColumnWidth + band.view->ColumnGap);
    runtime_.curY = band.rowTop;
}

void PageFormation::leaveBandColumn(TfrBand& band) {
    if (!usesBandColumns(band)) return;
    // A row that did not fit went to a new sheet, at its left: the columns
    // start again there.
    if (pass_.currentPage != band.rowPage) {
        band.bandColumn = 0;
        band.savedOffset = runtime_.horizontalOffset;
        band.rowPage = pass_.currentPage;
        band.rowTop = band.rowBottom = band.y;
    }
    band.rowBottom = std::max(band.rowBottom, runtime_.curY);
    runtime_.curY = band.rowBottom;
    if (++band.bandColumn >= band.view->Columns) {
        band.bandColumn = 0;
        runtime_.horizontalOffset = band.savedOffset;
    }
}

// Another band printed after a row left open goes below it, at the left.
void PageFormation::closeBandColumns(const TfrBand& next) {
    TfrBand* last = runtime_.lastBand;
    if (!last || last == &next || last->bandColumn == 0) return;
    runtime_.horizontalOffset = last->savedOffset;
    runtime_.curY = std::max(runtime_.curY, last->rowBottom);
    last->bandColumn = 0;
}

} // namespace pv
