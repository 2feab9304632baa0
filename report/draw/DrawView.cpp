#include "report/draw/DrawView.h"

#include "report/model/LineView.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/draw/PictureDrawing.h"
#include "report/model/PictureView.h"
#include "report/draw/ViewDrawing.h"

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
