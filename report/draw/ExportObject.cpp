#include "report/draw/ExportObject.h"

#include "platform/MeasuringCanvas.h"
#include "report/export/ExportFilter.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"

namespace pv {

void ExportObject(TfrView& view, TfrExportFilter& filter) {
    filter.ObjectData(view.Left, view.Top, view);
    if (auto* memo = dynamic_cast<TfrMemoView*>(&view)) {
        MemoDrawOptions options;
        options.exportTo = &filter;
        DrawMemo(MeasuringCanvas::shared(), *memo, DrawScale{}, options);
    }
}

} // namespace pv
