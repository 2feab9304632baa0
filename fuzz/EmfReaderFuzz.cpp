#include "platform/DeviceState.h"
#include "platform/EmfPlayer.h"
#include "platform/EmfReader.h"
#include "platform/EmfRecords.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"

#include <cstddef>
#include <cstdint>

// Walks a metafile as the PDF translator and the preview search do: every
// record through the device state, the drawing records through their decoders.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        pv::EmfReader reader({data, size});
        pv::DeviceState dc;
        for (const pv::EmfRecord& r : reader) {
            dc.apply(r);
            switch (r.type()) {
            case pv::emf::EMR_EXTTEXTOUTW:
                pv::decodeExtTextOutW(r);
                break;
            case pv::emf::EMR_POLYLINE16:
            case pv::emf::EMR_POLYGON16:
                pv::decodePoints16(r);
                break;
            case pv::emf::EMR_STRETCHDIBITS:
                pv::decodeStretchDIBits(r);
                break;
            default:
                break;
            }
        }
    } catch (const pv::EmfFormatError&) {
    }
    // And as a picture drawn on a canvas, which measures every text it is given.
    try {
        pv::MeasuringCanvas canvas(pv::FontService::shared());
        pv::playMetafile(pv::EmfReader({data, size}), canvas);
    } catch (const pv::EmfFormatError&) {
    }
    return 0;
}
