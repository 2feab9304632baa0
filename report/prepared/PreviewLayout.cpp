#include "report/prepared/PreviewLayout.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pv {

namespace {

constexpr int kGap = 10;
constexpr std::array<int, 7> kPercentages = {200, 150, 100, 75, 50, 25, 10};
constexpr std::array<ZoomMode, 3> kModeChoices = {ZoomMode::PageWidth, ZoomMode::OnePage,
                                                  ZoomMode::TwoPages};

int scaled(int reportPixels, double factor) {
    return static_cast<int>(std::lround(reportPixels * factor));
}

int scrollRange(int extent, int area) {
    const int over = extent - area;
    return over > 0 ? over + kGap : 0;
}

} // namespace

ZoomState& rememberedZoom() {
    static ZoomState zoom;
    return zoom;
}

ZoomState openingZoom(TfrPreviewZoom initial, const ZoomState& remembered) {
    ZoomState zoom = remembered;
    switch (initial) {
    case TfrPreviewZoom::pzDefault:
        break;
    case TfrPreviewZoom::pzPageWidth:
        zoom.mode = ZoomMode::PageWidth;
        break;
    case TfrPreviewZoom::pzOnePage:
        zoom.mode = ZoomMode::OnePage;
        break;
    case TfrPreviewZoom::pzTwoPages:
        zoom.mode = ZoomMode::TwoPages;
        break;
    }
    return zoom;
}

int zoomMenuSize() {
    return static_cast<int>(kPercentages.size() + kModeChoices.size());
}

ZoomState zoomMenuChoice(int index, const ZoomState& current) {
    const int percentages = static_cast<int>(kPercentages.size());
    if (index >= 0 && index < percentages) return {ZoomMode::Free, kPercentages[index] / 100.0};
    if (index >= percentages && index < zoomMenuSize())
        return {kModeChoices[index - percentages], current.factor};
    return current;
}

int checkedZoomChoice(const ZoomState& zoom) {
    const int percentages = static_cast<int>(kPercentages.size());
    if (zoom.mode != ZoomMode::Free) {
        auto it = std::find(kModeChoices.begin(), kModeChoices.end(), zoom.mode);
        return percentages + static_cast<int>(it - kModeChoices.begin());
    }
    const long percent = std::lround(zoom.factor * 100);
    for (int i = 0; i < percentages; ++i)
        if (kPercentages[i] == percent) return i;
    return -1;
}

double zoomFactor(ZoomMode mode, double current, Size area, Size paper) {
    // A page without size would give an infinite factor; keep the current one.
    switch (mode) {
    case ZoomMode::PageWidth:
        return paper.cx > 0 ? double(area.cx - 2 * kGap) / paper.cx : current;
    case ZoomMode::OnePage:
        return paper.cy > 0 ? double(area.cy - 2 * kGap) / paper.cy : current;
    case ZoomMode::TwoPages:
        return paper.cx > 0 ? double(area.cx - 3 * kGap) / (2.0 * paper.cx) : current;
    case ZoomMode::Free:
        break;
    }
    return current;
}

std::string zoomLabel(double factor) {
    return std::to_string(std::lround(factor * 100)) + "%";
}

int pagesPerRow(const std::vector<Size>& pageSizes, int areaWidth, ZoomMode mode) {
    if (mode == ZoomMode::OnePage) return 1;
    if (mode == ZoomMode::TwoPages) return 2;
    int best = 1, inRow = 0, x = 0;
    for (const Size& page : pageSizes) {
        if (inRow > 0 && x + kGap + page.cx + kGap > areaWidth) {
            best = std::max(best, inRow);
            inRow = 0;
            x = 0;
        }
        x += kGap + page.cx;
        ++inRow;
    }
    return std::max(best, inRow);
}

PreviewGeometry layoutPages(const std::vector<Size>& papers, Size area, ZoomMode mode,
                            double factor) {
    std::vector<Size> sizes;
    sizes.reserve(papers.size());
    for (const Size& paper : papers)
        sizes.push_back({scaled(paper.cx, factor), scaled(paper.cy, factor)});

    PreviewGeometry geometry;
    geometry.perRow = pagesPerRow(sizes, area.cx, mode);
    int x = kGap, y = kGap, tallest = 0, right = 0, bottom = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0 && i % geometry.perRow == 0) {
            y += tallest + kGap;
            x = kGap;
            tallest = 0;
        }
        const Size size = sizes[i];
        int left = x;
        if (geometry.perRow == 1 && size.cx < area.cx) left = (area.cx - size.cx) / 2;
        geometry.pages.push_back({left, y, left + size.cx, y + size.cy});
        x += size.cx + kGap;
        tallest = std::max(tallest, size.cy);
        right = std::max(right, left + size.cx);
        bottom = std::max(bottom, y + size.cy);
    }
    geometry.scrollRangeX = scrollRange(right, area.cx);
    geometry.scrollRangeY = scrollRange(bottom, area.cy);
    return geometry;
}

std::optional<int> pageAtScroll(const PreviewGeometry& geometry, int scrollY) {
    const int line = scrollY + kGap + 1;
    for (std::size_t i = 0; i < geometry.pages.size(); ++i) {
        const Rect& page = geometry.pages[i];
        if (page.top <= line && line < page.bottom) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

int scrollTopForPage(const PreviewGeometry& geometry, int page) {
    if (page < 1 || page > static_cast<int>(geometry.pages.size())) return 0;
    return std::clamp(geometry.pages[page - 1].top - kGap, 0, geometry.scrollRangeY);
}

bool pageNearView(const Rect& page, Point scroll) {
    const int top = page.top - scroll.y;
    const int bottom = page.bottom - scroll.y;
    return bottom >= 0 && top <= 2000;
}

std::string pageLabel(int page, int pageCount) {
    return ru("Стр. ") + std::to_string(page) + "/" + std::to_string(pageCount);
}

Rect unmarginedPageRect(const Rect& pageRect, const TfrPageInfo& info, const PageMargins& margins,
                        double factor) {
    const int left = scaled(info.offsetX + margins.left, factor);
    const int top = scaled(info.offsetY + margins.top, factor);
    const int width = scaled(info.printableWidth - margins.left - margins.right, factor);
    const int height = scaled(info.printableHeight - margins.top - margins.bottom, factor);
    return {pageRect.left + left, pageRect.top + top, pageRect.left + left + width,
            pageRect.top + top + height};
}

} // namespace pv
