#pragma once

namespace pv {

class Canvas;
class TfrView;
struct DrawScale;

// Draws one object of a page by its class: text boxes, pictures and lines
// draw themselves; bands, sub-reports and add-ins have nothing to show
// outside the designer.
void DrawView(Canvas& canvas, TfrView& view, const DrawScale& scale);

} // namespace pv
