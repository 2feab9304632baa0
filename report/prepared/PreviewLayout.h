#pragma once

#include "platform/Geometry.h"
#include "report/printer/PageMargins.h"
#include "report/printer/Printer.h"

#include <optional>
#include <string>
#include <vector>

namespace pv {

// How the preview chooses its zoom factor (preview pixels per report pixel).
enum class ZoomMode { Free = 0, PageWidth = 1, OnePage = 2, TwoPages = 3 };

// The report's InitialZoom: the mode a preview opens with.
enum class TfrPreviewZoom { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };

struct ZoomState {
    ZoomMode mode = ZoomMode::Free;
    double factor = 1.0;
    bool operator==(const ZoomState&) const = default;
};

// The zoom the last preview chose, kept for the next one in this process.
ZoomState& rememberedZoom();
// The zoom a preview opens with: pzDefault keeps `remembered`, the other
// choices set their mode (the factor follows at the first layout).
ZoomState openingZoom(TfrPreviewZoom initial, const ZoomState& remembered);

// The zoom menu, in menu order: 200%, 150%, 100%, 75%, 50%, 25%, 10%, page
// width, whole page, two pages.
int zoomMenuSize();
ZoomState zoomMenuChoice(int index, const ZoomState& current);
// The choice the current zoom checks, −1 for none.
int checkedZoomChoice(const ZoomState& zoom);

// The factor for `mode` in a page area of `area` pixels, for the current
// page's paper in report pixels; the free mode keeps `current`.
double zoomFactor(ZoomMode mode, double current, Size area, Size paper);
// round(factor × 100) followed by "%".
std::string zoomLabel(double factor);

// How many pages of these preview sizes go in one row of an area `areaWidth`
// wide (at least 1); whole page forces 1 and two pages 2.
int pagesPerRow(const std::vector<Size>& pageSizes, int areaWidth, ZoomMode mode);

struct PreviewGeometry {
    int perRow = 1;
    std::vector<Rect> pages; // preview pixels, before scrolling
    int scrollRangeX = 0;    // 0: the scroll bar is disabled
    int scrollRangeY = 0;
};

// Places pages of these papers (report pixels) at `factor` in rows.
PreviewGeometry layoutPages(const std::vector<Size>& papers, Size area, ZoomMode mode,
                            double factor);

// The 1-based page whose rectangle holds the line 11 pixels below the top of
// the area scrolled to `scrollY`; none when that line falls between pages.
std::optional<int> pageAtScroll(const PreviewGeometry& geometry, int scrollY);
// The vertical scroll position that shows the 1-based page's top 10 pixels
// below the area's top, as far as the scroll range allows.
int scrollTopForPage(const PreviewGeometry& geometry, int page);
// Whether a page rectangle is near enough to the view to be drawn: not
// entirely above the area and not starting beyond 2000 pixels below it.
bool pageNearView(const Rect& page, Point scroll);

// "Стр. N/M" (1251).
std::string pageLabel(int page, int pageCount);

// Where a page that does not use margins is drawn inside its preview
// rectangle: its printable area less its margins, at `factor`.
Rect unmarginedPageRect(const Rect& pageRect, const TfrPageInfo& info, const PageMargins& margins,
                        double factor);

} // namespace pv
