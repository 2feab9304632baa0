// Font requests come from templates and metafiles: any face name, style and
// charset. Feeds such requests, with a line of text each, through font
// selection and font writing; the only failure allowed is the writer's own
// exception, and the file must end with its trailer.
#include "pdf/PDFDocument.h"
#include "pdf/PDFException.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pv::TPDFDocument doc([] { return pv::PdfDateTime{}; });
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    // Each request: charset, style, face length, face bytes.
    std::size_t pos = 0;
    int requests = 0;
    while (pos + 3 <= size && requests++ < 8) {
        const int charset = data[pos], style = data[pos + 1] & 15;
        const std::size_t length = std::min<std::size_t>(data[pos + 2] & 31, size - pos - 3);
        const std::string face(reinterpret_cast<const char*>(data + pos + 3), length);
        pos += 3 + length;
        try {
            doc.CurrentPage()->SetActiveFont(face, style, charset, 10);
            doc.CurrentPage()->BeginText();
            doc.CurrentPage()->TextOut(10, 10 + 12 * requests, 0, face);
            doc.CurrentPage()->EndText();
        } catch (const pv::TPDFException&) {
        }
    }
    try {
        doc.EndDoc();
    } catch (const pv::TPDFException&) {
        return 0;
    }
    if (out.str().find("%%EOF\r\n") == std::string::npos) std::abort();
    return 0;
}
