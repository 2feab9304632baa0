// Arbitrary bytes as a text box line: wrapped at a width and with the word
// break the first two bytes choose. Characters have differing widths. No
// character may be lost, doubled or moved: only blanks, line breaks and
// hyphens are dropped or added.
#include "report/draw/TextWrap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int widthOf(std::string_view s) {
    int w = 0;
    for (unsigned char c : s)
        w += 1 + c % 7;
    return w;
}

std::string kept(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\r' && c != '\n' && c != '-' && c != pv::kParagraphEnd) out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 4096) return 0;
    const pv::WrapOptions options{int(data[0]) - 8, (data[1] & 1) != 0};
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    pv::Lines lines;
    pv::WrapLine(text, options, widthOf, lines);
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    if (kept(joined) != kept(text)) std::abort();
    if (lines.size() > text.size() + 1) std::abort();
    return 0;
}
