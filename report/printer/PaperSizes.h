#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pv {

// The custom paper size code.
constexpr int kCustomPaper = 256;
constexpr int kA4Paper = 9;

// One entry of the Windows paper-size table: width and height in tenths of a
// millimetre (portrait, as published), and the engine's name in 1251.
struct PaperSize {
    int code;
    int width;
    int height;
    std::string name;
};

// The virtual printer's paper list: codes 1–47 and 50–68, then 256 "Другой".
const std::vector<PaperSize>& paperSizes();
// No entry for codes outside the table; 256 is found.
const PaperSize* findPaperSize(int code);

// Report pixels of a length in tenths of a millimetre (93 / 1.015 report
// pixels per inch).
int32_t tenthsMmToReportPixels(int32_t tenths);

} // namespace pv
