#include "platform/MeasuringCanvas.h"

#include "platform/FontService.h"

namespace pv {

MeasuringCanvas::MeasuringCanvas(FontService& fonts) : Canvas(fonts, kPixelsPerInch) {}

MeasuringCanvas& MeasuringCanvas::shared() {
    static MeasuringCanvas canvas(FontService::shared());
    return canvas;
}

} // namespace pv
