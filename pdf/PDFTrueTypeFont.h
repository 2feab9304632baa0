#pragma once

#include "pdf/PDFFonts.h"
#include "platform/FontService.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pv {

// Delivers the whole font file of a face; empty when the platform cannot.
using FontFileSource = std::function<std::vector<std::uint8_t>()>;

// What the platform tells about one realised face: the advances of the byte
// codes 0…255 and the outline metrics, both at one em = 1000 units, and where
// its file comes from.
struct TrueTypeFaceData {
    std::array<int, 256> widths{};
    FontMetrics metrics;
    FontFileSource file;
};

// The PDF name of a TrueType face: the face with " Bold" and " Italic" for
// its style, blanks written as #20 (and any other byte a name cannot hold
// as it is written in the same #XX form).
std::string trueTypeBaseFont(const std::string& face, int style);

// What the descriptor's font name carries for a charset, e.g. "-Russian".
std::string charsetSuffix(int charset);

// An installed TrueType face, embedded whole unless the document lists it
// among the fonts it must not embed.
class PdfTrueTypeFont : public TPDFFont {
public:
    // `count` is the number of TrueType fonts in the list with this one (TT1, TT2, …).
    PdfTrueTypeFont(TPDFDocument& doc, const std::string& face, int style, int charset, int count,
                     TrueTypeFaceData data);

    int GlyphWidth(unsigned char code) const override { return widths_[code]; }
    const FontMetrics& Metrics() const { return metrics_; }
    // -1 until the file is written, and for a face that is not embedded.
    int FontFileNumber() const { return fileNumber_; }

    void WriteFontFile(TPDFDocument& doc) override;
    void WriteDictionaries(TPDFDocument& doc) override;

private:
    bool embeddingRefused(const TPDFDocument& doc) const;
    // The file number of an earlier font of the same name, or -1.
    int sharedFileNumber(TPDFDocument& doc) const;
    int writeDescriptor(TPDFDocument& doc);

    std::array<std::uint16_t, 256> widths_{};
    FontMetrics metrics_;
    FontFileSource file_;
    int fileNumber_ = -1;
};

} // namespace pv
