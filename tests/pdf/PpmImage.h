#pragma once

#include "tests/pdf/PdfTestSupport.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace pv::test {

// A page rendered by pdftoppm: width × height pixels of red, green, blue.
struct PpmImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
    bool near(int x, int y, int r, int g, int b, int tolerance) const {
        const std::uint8_t* p = at(x, y);
        return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
               std::abs(p[2] - b) <= tolerance;
    }
};

// Renders the first page of a file at `dpi`; empty when pdftoppm fails.
inline PpmImage renderFirstPage(const std::filesystem::path& pdf, int dpi) {
    const auto base = pdf.parent_path() / (pdf.stem().string() + "-page");
    const auto result = run("pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -singlefile " +
                            quoted(pdf) + " " + quoted(base));
    PpmImage image;
    if (result.status != 0) return image;
    const std::string bytes = readFile(base.string() + ".ppm");
    std::istringstream in(bytes);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return PpmImage{};
    const std::size_t size = std::size_t(image.width) * image.height * 3;
    const std::size_t start = static_cast<std::size_t>(in.tellg());
    if (bytes.size() < start + size) return PpmImage{};
    image.rgb.assign(bytes.begin() + long(start), bytes.begin() + long(start + size));
    return image;
}

} // namespace pv::test
