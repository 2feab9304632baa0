#pragma once

#include "pdf/PDFFonts.h"

namespace pv {

class FontService;

// Serves the font requests the standard fonts do not: the fixed CJK fonts,
// and installed TrueType faces found, measured and read through the
// platform's font service.
class PlatformFontProvider : public FontProvider {
public:
    // Without a service the engine-wide one is used, opened on first need.
    explicit PlatformFontProvider(FontService* service = nullptr) : service_(service) {}

    // The provider every document starts with.
    static PlatformFontProvider& shared();

    bool HasTrueTypeFace(const std::string& face, int charset) override;
    int Select(TPDFFonts& fonts, const std::string& face, int style, int charset) override;

private:
    FontService& service();
    FontService* service_;
};

} // namespace pv
