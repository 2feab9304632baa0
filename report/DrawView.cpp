#include "report/DrawView.h"

#include "report/LineView.h"
#include "report/MemoLayout.h"
#include "report/MemoView.h"
#include "report/PictureDrawing.h"
#include "report/PictureView.h"
#include "report/ViewDrawing.h"

namespace pv {

void DrawView(Canvas& canvas, TfrView& view, const DrawScale& scale) {
    if (auto* memo = dynamic_cast<TfrMemoView*>(&view))
        DrawMemo(canvas, *memo, scale);
    else if (auto* picture = dynamic_cast<TfrPictureView*>(&view))
        DrawPicture(canvas, *picture, scale);
    else if (auto* line = dynamic_cast<TfrLineView*>(&view))
        DrawLineView(canvas, *line, scale);
}

} // namespace pv
