#include "report/prepared/PreparedPageRecording.h"

#include "platform/EmfRecorder.h"
#include "platform/FontService.h"
#include "report/prepared/PreparedPages.h"

namespace pv {

std::vector<std::uint8_t> RecordPreparedPage(TfrEMFPages& pages, int index) {
    PreparedPage& entry = pages.Page(index);
    const int w = entry.paperWidthPixels(), h = entry.paperHeightPixels();
    const bool wasVisible = entry.visible;
    entry.visible = true;
    EmfRecorder recorder(FontService::shared(), ReferenceDevice::screen(), Size{w, h});
    pages.PaintPage(index, recorder, PaintRectangle(entry, Rect{0, 0, w, h}),
                    PaintTarget::Recording);
    entry.visible = wasVisible;
    if (!wasVisible) pages.DropObjects(index);
    return recorder.finish();
}

} // namespace pv
