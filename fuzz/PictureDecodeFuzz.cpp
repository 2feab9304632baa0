// Arbitrary bytes as a picture of a template: the first byte picks the kind
// and the options, the rest is the picture's data. Sizing, decoding and
// drawing it must not crash, hang, throw or allocate without bound.
#include "platform/FontService.h"
#include "platform/IconDecoder.h"
#include "platform/MeasuringCanvas.h"
#include "report/draw/PictureDrawing.h"
#include "report/model/PictureView.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    pv::TfrPictureView view;
    view.Picture.kind = std::uint8_t(1 + data[0] % 4);
    view.Picture.data.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    view.Flags = std::uint16_t((data[0] >> 2) & 7);
    view.Left = 5, view.Top = 7, view.Width = 120, view.Height = 80;

    (void)view.Picture.size();
    (void)pv::DecodePicture(view.Picture);
    try {
        (void)pv::chooseIconEntry({data + 1, size - 1});
    } catch (const pv::IconFormatError&) {
    }

    pv::MeasuringCanvas canvas(pv::FontService::shared());
    pv::DrawScale scale;
    scale.printing = data[0] & 0x20;
    scale.sx = scale.sy = data[0] & 0x40 ? 3.5 : 1;
    pv::DrawPicture(canvas, view, scale);
    return 0;
}
