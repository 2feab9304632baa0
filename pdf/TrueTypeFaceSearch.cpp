#include "pdf/TrueTypeFaceSearch.h"

#include "pdf/PDFTypes.h"

#include <algorithm>

namespace pv {

namespace {

int styleOf(const FontEntry& entry) {
    return (entry.bold ? fsBold : 0) | (entry.italic ? fsItalic : 0);
}

bool installed(const std::vector<FontEntry>& entries, FaceVariant wanted) {
    return std::any_of(entries.begin(), entries.end(), [&](const FontEntry& e) {
        return e.trueType && styleOf(e) == wanted.style &&
               std::find(e.charsets.begin(), e.charsets.end(), wanted.charset) != e.charsets.end();
    });
}

// The tries for one charset, in order: the style, without italic, without
// bold too, the first entry's style.
std::vector<FaceVariant> tries(int style, int charset, int firstStyle) {
    std::vector<FaceVariant> out{{style, charset}};
    if (style & fsItalic) out.push_back({style & ~fsItalic, charset});
    if (style & fsBold) out.push_back({style & ~(fsItalic | fsBold), charset});
    out.push_back({firstStyle, charset});
    return out;
}

} // namespace

std::optional<FaceVariant> findTrueTypeVariant(const std::vector<FontEntry>& entries, int style,
                                               int charset) {
    // The platform enumerates one entry per style and charset; the first of
    // them is the family's first TrueType entry in its first charset.
    const auto first = std::find_if(entries.begin(), entries.end(), [](const FontEntry& e) {
        return e.trueType && !e.charsets.empty();
    });
    if (first == entries.end()) return std::nullopt;
    const int firstStyle = styleOf(*first);
    const int firstCharset = first->charsets.front();
    std::vector<FaceVariant> order = tries(style, charset, firstStyle);
    const std::vector<FaceVariant> more = tries(style, firstCharset, firstStyle);
    order.insert(order.end(), more.begin(), more.end());
    for (const FaceVariant& variant : order)
        if (installed(entries, variant)) return variant;
    return std::nullopt;
}

} // namespace pv
