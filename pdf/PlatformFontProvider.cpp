#include "pdf/PlatformFontProvider.h"

#include "pdf/PDFCJKFont.h"
#include "pdf/PDFException.h"
#include "pdf/PDFTrueTypeFont.h"
#include "pdf/PDFTypes.h"
#include "pdf/TrueTypeFaceSearch.h"
#include "platform/TextCase.h"

#include <algorithm>

namespace pv {

PlatformFontProvider& PlatformFontProvider::shared() {
    static PlatformFontProvider provider;
    return provider;
}

FontService& PlatformFontProvider::service() {
    return service_ ? *service_ : FontService::shared();
}

const std::vector<FontEntry>& PlatformFontProvider::entries(const std::string& face) {
    const std::string key = upper1251(face);
    auto it = entries_.find(key);
    if (it == entries_.end()) it = entries_.emplace(key, service().entries(face)).first;
    return it->second;
}

bool PlatformFontProvider::HasTrueTypeFace(const std::string& face, int charset) {
    for (const FontEntry& entry : entries(face))
        if (entry.trueType && std::find(entry.charsets.begin(), entry.charsets.end(), charset) !=
                                  entry.charsets.end())
            return true;
    return false;
}

int PlatformFontProvider::Select(TPDFFonts& fonts, const std::string& face, int style,
                                 int charset) {
    if (isCJKCharset(charset)) return selectCJKFont(fonts, style, charset);
    const auto variant = findTrueTypeVariant(entries(face), style, charset);
    if (!variant) throw TPDFException("Not valid true type font.");
    const int found = fonts.Find(face, variant->style, variant->charset);
    if (found >= 0) return found;

    FontFace& realised = service().face(
        FontRequest{face, variant->style & fsBold ? kFontWeightBold : kFontWeightNormal,
                    (variant->style & fsItalic) != 0, variant->charset});
    TrueTypeFaceData data;
    data.widths = realised.advances1000(variant->charset);
    data.metrics = realised.metrics1000();
    data.file = [&realised] { return realised.fontFile(); };
    return fonts.Add(std::make_unique<PdfTrueTypeFont>(fonts.Document(), face, variant->style,
                                                        variant->charset, fonts.TrueTypeCount() + 1,
                                                        std::move(data)));
}

} // namespace pv
