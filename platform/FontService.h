#pragma once

#include "platform/Error.h"

#include "platform/GdiObjects.h"
#include "platform/Geometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class FontError : public Error {
public:
    explicit FontError(const std::string& message) : Error(message, Error::Encoding::Utf8) {}
};

// Outline metrics in thousandths of an em, as a PDF font descriptor wants them.
struct FontMetrics {
    int ascent = 0;
    int descent = 0; // negative below the baseline
    int capHeight = 0;
    int boxLeft = 0, boxBottom = 0, boxRight = 0, boxTop = 0;
    int italicAngle = 0; // tenths of a degree, negative for a slant to the right
};

// Cell metrics of a font at one pixel size.
struct PixelMetrics {
    int ascent = 0;
    int descent = 0; // positive below the baseline
    int height() const { return ascent + descent; }
};

// One installed face file, opened with FreeType. Owned and cached by the
// FontService; references stay valid while the service lives.
class FontFace {
public:
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const std::string& family() const { return family_; } // UTF-8
    const std::string& filePath() const { return path_; } // UTF-8
    int faceIndex() const { return index_; }
    bool isTrueType() const { return trueType_; } // TrueType outlines (not CFF or bitmaps)
    bool isBold() const { return bold_; }
    bool isItalic() const { return italic_; }
    int unitsPerEm() const { return unitsPerEm_; }

    // Whether the face has glyphs for the letters of `charset`.
    bool hasCharset(int charset) const;

    // Glyph index that byte code `code` of the charset's code page shows.
    unsigned glyphIndex(int charset, std::uint8_t code);
    // Advances (A + B + C) of the codes 0-255 at one em = 1000 units.
    const std::array<int, 256>& advances1000(int charset);
    // Advances of the codes 0-255 in whole pixels at an em of `emPixels`.
    const std::array<int, 256>& pixelAdvances(int charset, int emPixels);
    PixelMetrics pixelMetrics(int emPixels) const;
    // The em in pixels of a logical font height (see LogFont::height),
    // at most kMaxEmPixels: metafiles from elsewhere may ask for anything.
    int emPixelsForHeight(int height) const;
    static constexpr int kMaxEmPixels = 10000;
    FontMetrics metrics1000() const;
    // The whole TrueType file; a face inside a collection is cut out as a
    // file of its own. Empty when the file cannot be read.
    std::vector<std::uint8_t> fontFile() const;

private:
    friend class FontService;
    struct Impl;
    explicit FontFace(std::unique_ptr<Impl> impl);
    const std::array<int, 256>& unitAdvances(int charset);

    std::unique_ptr<Impl> impl_;
    std::string family_, path_;
    int index_ = 0;
    bool trueType_ = false, bold_ = false, italic_ = false;
    int unitsPerEm_ = 1000;
};

// One installed style of a family, as the platform's font enumeration lists it.
struct FontEntry {
    std::string family; // UTF-8
    bool bold = false;  // weight of 600 and more
    bool italic = false;
    bool trueType = false;
    std::vector<int> charsets; // the Windows charsets whose letters the face has
};

// What a caller asks for: a face name in 1251, a weight, italic, a charset.
struct FontRequest {
    std::string face;
    int weight = kFontWeightNormal;
    bool italic = false;
    int charset = 1;
};

// Finds installed faces through fontconfig and measures text with FreeType.
// The same service serves measuring, screen drawing and the PDF writer, so
// all three see the same face files and the same advances. Faces and
// advance tables are cached; it is meant to be used from one thread.
class FontService {
public:
    FontService();
    ~FontService();
    FontService(const FontService&) = delete;
    FontService& operator=(const FontService&) = delete;

    // The engine-wide service.
    static FontService& shared();

    // The installed family a request names: the metric-compatible family for
    // the common Windows faces ("Arial" is "Liberation Sans"), else the name.
    static std::string familyFor(std::string_view face);

    // The installed face that serves a request: the named family when it is
    // installed, else fontconfig's substitute. Throws FontError when no font
    // is installed at all.
    FontFace& face(const FontRequest& request);
    FontFace& face(const LogFont& font);

    // Whether the named family itself is installed (not a substitute) with
    // TrueType outlines and the letters of the charset.
    bool isInstalledTrueType(const FontRequest& request);

    // The installed styles of the family a face name stands for (see
    // familyFor), each with the charsets it covers; empty when the family is
    // not installed. The PDF writer picks its TrueType variant from these.
    std::vector<FontEntry> entries(std::string_view face);
    // Every installed scalable family, sorted, UTF-8.
    std::vector<std::string> families();

    // Per-character advances of a text of `font`'s code page, in pixels,
    // each with `charExtra` added as the platform adds character extra.
    std::vector<int> advances(const LogFont& font, std::string_view text, int charExtra = 0);
    // Width (sum of the advances) and height (cell height) of a text.
    Size textExtent(const LogFont& font, std::string_view text, int charExtra = 0);
    PixelMetrics pixelMetrics(const LogFont& font);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One face of a font collection ("ttcf") as a font file of its own: its
// table directory followed by its tables, each at a 4-byte boundary. Empty
// when the collection has no such face or its tables lie outside the data.
std::vector<std::uint8_t> cutFontFromCollection(const std::vector<std::uint8_t>& collection,
                                                int index);

} // namespace pv
