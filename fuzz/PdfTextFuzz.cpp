// Feeds arbitrary text through the page's text output (escaping, link finding,
// underline bars, encryption) and checks that the file written stays sound:
// every cross-reference entry points at the object it numbers.
#include "pdf/PDFDocument.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

void checkXref(const std::string& pdf) {
    const auto sx = pdf.rfind("startxref\r\n");
    if (sx == std::string::npos) std::abort();
    std::size_t pos = std::stoul(pdf.substr(sx + 11));
    if (pdf.compare(pos, 6, "xref\r\n") != 0) std::abort();
    pos += 6;
    const std::size_t count = std::stoul(pdf.substr(pos + 2));
    pos = pdf.find("\r\n", pos) + 2 + 20; // past the free entry
    for (std::size_t n = 1; n < count; ++n, pos += 20) {
        const std::size_t offset = std::stoul(pdf.substr(pos, 10));
        const std::string opening = std::to_string(n) + " 0 obj\r\n";
        if (pdf.compare(offset, opening.size(), opening) != 0) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

    pv::TPDFDocument doc([] { return pv::PdfDateTime{}; });
    doc.SetOnePass(flags & 1);
    doc.SetCompression(flags & 2 ? pv::ctFlate : pv::ctNone);
    doc.SetProtectionEnabled(flags & 4);
    doc.SetAutoCreateURL(flags & 8);
    doc.SetUserPassword(std::string(rest.substr(0, 40)));
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    doc.DocumentInfo().Title = std::string(rest.substr(0, 64));
    doc.CurrentPage()->SetActiveFont("Helvetica", (flags >> 4) & 15, 0, 10);
    doc.CurrentPage()->BeginText();
    int line = 0;
    while (!rest.empty() && line < 200) {
        const auto end = rest.find('\n');
        const std::string_view text = rest.substr(0, end);
        doc.CurrentPage()->TextOut(10, 10 + 12 * (line % 60), (line % 7 == 6) ? 30 : 0, text);
        if (++line % 60 == 0) {
            doc.CurrentPage()->EndText();
            doc.NewPage();
            doc.CurrentPage()->SetActiveFont("Courier", 0, 0, 9);
            doc.CurrentPage()->BeginText();
        }
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    doc.EndDoc();
    checkXref(out.str());
    return 0;
}
