#include "report/prepared/PreparedPages.h"

#include "platform/Canvas.h"
#include "platform/MeasuringCanvas.h"
#include "report/draw/DrawView.h"
#include "report/draw/ExportObject.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/printer/PaperSizes.h"
#include "report/prepared/PreparedObject.h"
#include "report/prepared/PreviewLayout.h"
#include "report/prepared/PreviewLink.h"
#include "report/model/ViewGeometry.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace pv {
namespace {

// How far outside the clip an object may start and still be drawn: frames
// and italic overhang reach past the rectangle.
constexpr int kClipSlack = 10;

int pixelsOr(int32_t fromInfo, int32_t tenths) {
    return fromInfo > 0 ? fromInfo : tenthsMmToReportPixels(tenths);
}

Rect deviceRect(const TfrView& v, const DrawScale& s) {
    const int left = s.ox + roundEven(v.Left * s.sx);
    const int top = s.oy + roundEven(v.Top * s.sy);
    return {left, top, left + roundEven(v.Width * s.sx), top + roundEven(v.Height * s.sy)};
}

bool reachesClip(const TfrView& v, const DrawScale& s, const Rect& clip) {
    Rect r = deviceRect(v, s);
    r = {r.left - kClipSlack, r.top - kClipSlack, r.right + kClipSlack, r.bottom + kClipSlack};
    return !intersection(r, clip).isEmpty();
}

std::unique_ptr<TfrPage> readObjects(const PreparedPage& entry) {
    auto page = std::make_unique<TfrPage>();
    page->Size = entry.size;
    page->PaperWidth = entry.width;
    page->PaperHeight = entry.height;
    page->Orientation = entry.orientation;
    page->Bin = entry.bin == -1 ? TfrPage::kDefaultBin : entry.bin;
    page->UseMargins = entry.useMargins;
    page->LeftMargin = entry.leftMargin;
    page->TopMargin = entry.topMargin;
    page->RightMargin = entry.rightMargin;
    page->BottomMargin = entry.bottomMargin;
    page->PageInfo = entry.pageInfo;
    ByteStream s(entry.stream.bytes());
    page->Objects = ReadPreparedObjects(s);
    // An auto-sized box takes the width of its text once, on the measuring
    // canvas, so every later drawing starts from the same box.
    for (auto& object : page->Objects)
        if (auto* memo = dynamic_cast<TfrMemoView*>(object.get()); memo && memo->flag(flAutoWidth))
            DrawMemo(MeasuringCanvas::shared(), *memo, DrawScale{});
    return page;
}

void applyLink(ObjectHit& hit, int pageCount) {
    const PreviewLink link = previewLink(hit.object->Name, hit.object->Tag);
    if (link.kind == PreviewLink::Shell) {
        hit.link = ObjectHit::Link::OpenShell;
        hit.target = link.target;
    } else if (std::optional<int> page = linkedPage(link, pageCount)) {
        hit.link = ObjectHit::Link::GoToPage;
        hit.page = *page;
    } else {
        return;
    }
    hit.hint = linkHint(link);
}

} // namespace

int PreparedPage::paperWidthPixels() const {
    return pixelsOr(pageInfo.paperWidth, width);
}

int PreparedPage::paperHeightPixels() const {
    return pixelsOr(pageInfo.paperHeight, height);
}

Rect PaintRectangle(const PreparedPage& page, const Rect& pageRect) {
    if (page.useMargins) return pageRect;
    const double factor = double(pageRect.width()) / std::max(page.paperWidthPixels(), 1);
    const PageMargins margins{page.leftMargin, page.topMargin, page.rightMargin, page.bottomMargin};
    return unmarginedPageRect(pageRect, page.pageInfo, margins, factor);
}

TfrEMFPages::TfrEMFPages(TfrReport& report) : report_(report) {}

TfrEMFPages::~TfrEMFPages() = default;

PreparedPage& TfrEMFPages::checked(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("prepared page " + std::to_string(index) + " of " +
                                std::to_string(Count()));
    return *pages_[size_t(index)];
}

const PreparedPage& TfrEMFPages::checked(int index) const {
    return const_cast<TfrEMFPages*>(this)->checked(index);
}

PreparedPage& TfrEMFPages::Page(int index) {
    return checked(index);
}

const PreparedPage& TfrEMFPages::Page(int index) const {
    return checked(index);
}

PreparedPage& TfrEMFPages::AppendPage(const TfrPage& templatePage) {
    return InsertPage(Count(), templatePage);
}

PreparedPage& TfrEMFPages::InsertPage(int index, const TfrPage& t) {
    auto entry = std::make_unique<PreparedPage>();
    entry->size = t.Size;
    entry->width = t.PaperWidth;
    entry->height = t.PaperHeight;
    entry->orientation = t.Orientation;
    entry->bin = isDefaultBin(t.Bin) ? -1 : t.Bin;
    entry->useMargins = t.UseMargins ? 1 : 0;
    entry->leftMargin = t.LeftMargin;
    entry->topMargin = t.TopMargin;
    entry->rightMargin = t.RightMargin;
    entry->bottomMargin = t.BottomMargin;
    entry->pageInfo = t.PageInfo;
    BeginPreparedStream(entry->stream);
    const size_t at = size_t(std::clamp(index, 0, Count()));
    return **pages_.insert(pages_.begin() + std::ptrdiff_t(at), std::move(entry));
}

void TfrEMFPages::RemovePage(int index) {
    checked(index);
    pages_.erase(pages_.begin() + index);
}

void TfrEMFPages::ClearPages() {
    pages_.clear();
}

void TfrEMFPages::AddObject(int index, const TfrView& view) {
    WritePrepared(ObjectStream(index), view);
}

ByteStream& TfrEMFPages::ObjectStream(int index) {
    ByteStream& s = checked(index).stream;
    s.seek(s.size());
    return s;
}

TfrPage& TfrEMFPages::Objects(int index) {
    PreparedPage& entry = checked(index);
    if (!entry.page) entry.page = readObjects(entry);
    return *entry.page;
}

void TfrEMFPages::DropObjects(int index) {
    checked(index).page.reset();
}

void TfrEMFPages::PaintPage(int index, Canvas& canvas, const Rect& rect, PaintTarget target) {
    PreparedPage& entry = checked(index);
    if (!entry.visible) {
        entry.page.reset();
        return;
    }
    TfrPage& page = Objects(index);
    DrawScale scale;
    scale.sx = double(rect.width()) / std::max(entry.paperWidthPixels(), 1);
    scale.sy = double(rect.height()) / std::max(entry.paperHeightPixels(), 1);
    scale.ox = rect.left;
    scale.oy = rect.top;
    scale.printing = target == PaintTarget::Printer && frPrinter().printing();
    const std::optional<Rect>& held = canvas.state().clip;
    const Rect* clip = target == PaintTarget::Screen && held ? &*held : nullptr;
    for (auto& object : page.Objects) {
        if (clip && !reachesClip(*object, scale, *clip)) continue;
        DrawView(canvas, *object, scale);
    }
}

void TfrEMFPages::ExportPage(int index, TfrExportFilter& filter) {
    TfrPage& page = Objects(index);
    for (auto& object : page.Objects)
        ExportObject(*object, filter);
    DropObjects(index);
}

ObjectHit TfrEMFPages::ObjectAtPoint(int index, Point point) {
    PreparedPage& entry = checked(index);
    const Rect area = PaintRectangle(entry, entry.screenRect);
    const double sx = double(area.width()) / std::max(entry.paperWidthPixels(), 1);
    const double sy = double(area.height()) / std::max(entry.paperHeightPixels(), 1);
    ObjectHit hit;
    if (sx <= 0 || sy <= 0) return hit;
    const double x = (point.x - area.left) / sx;
    const double y = (point.y - area.top) / sy;
    auto& objects = Objects(index).Objects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const TfrView& v = **it;
        if (x >= v.Left && x < v.Left + v.Width && y >= v.Top && y < v.Top + v.Height) {
            hit.object = it->get();
            break;
        }
    }
    if (hit.object) applyLink(hit, Count());
    return hit;
}

} // namespace pv
