#include "pdf/MetafileTranslator.h"
#include "pdf/PDFDocument.h"
#include "platform/FontService.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <stdexcept>

// Arbitrary bytes as a page's metafile: translated onto a page and written,
// so that every record handler and the page operations it calls are walked.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pv::TPDFDocument doc([] { return pv::PdfDateTime{}; });
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.SetResolution(96);
    doc.BeginDoc();
    try {
        pv::TEMWParser parser(*doc.CurrentPage(), pv::FontService::shared());
        parser.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
        parser.FrameSize();
        parser.Translate();
        doc.EndDoc();
    } catch (const std::runtime_error&) {
        // Malformed records and refused page operations are reported, not crashes.
        if (doc.Generating()) doc.Abort();
    }
    return 0;
}
