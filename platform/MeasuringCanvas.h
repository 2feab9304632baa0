#pragma once

#include "platform/Canvas.h"

namespace pv {

// The engine's measuring surface: a 96 dpi canvas that keeps the state and
// measures text with the font service, and draws nothing. Line breaks are
// decided here, so preview, print and export break lines alike.
class MeasuringCanvas : public Canvas {
public:
    static constexpr int kPixelsPerInch = 96;
    explicit MeasuringCanvas(FontService& fonts);

    // The one engine-wide measuring canvas, on the shared font service.
    static MeasuringCanvas& shared();
};

} // namespace pv
