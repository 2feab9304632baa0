#pragma once

#include "pdf/PDFFonts.h"
#include "platform/FontService.h"

#include <map>
#include <string>
#include <vector>

namespace pv {

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
    // The installed styles of a face; asked of the service once per face, as
    // every text a page draws selects its font again.
    const std::vector<FontEntry>& entries(const std::string& face);

    FontService* service_;
    std::map<std::string, std::vector<FontEntry>> entries_; // by upper-cased face
};

} // namespace pv
