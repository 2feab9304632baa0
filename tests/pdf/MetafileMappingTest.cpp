#include "pdf/MetafileTranslator.h"
#include "pdf/PDFDocument.h"
#include "platform/EmfRecords.h"
#include "tests/pdf/MetafileBuilder.h"
#include "tests/pdf/PdfTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace pv {
namespace {

using namespace emf;
using test::Bytes;
using test::record;
using test::withRecords;

// The first rectangle a metafile puts on a fresh A4 page at 72 units per inch,
// as the PDF "x y w h re" numbers.
std::array<double, 4> firstRectangle(const std::string& metafile) {
    TPDFDocument doc(test::fixedClock());
    doc.SetResolution(72);
    std::ostringstream out;
    doc.SetOutputStream(&out);
    doc.BeginDoc();
    TEMWParser parser(*doc.CurrentPage(), FontService::shared());
    parser.LoadFromBytes(metafile);
    parser.Translate();
    const std::vector<std::string> lines = doc.CurrentPage()->Content();
    doc.Abort();
    for (const std::string& line : lines)
        if (line.size() > 3 && line.ends_with(" re")) {
            std::istringstream in(line);
            std::array<double, 4> v{};
            in >> v[0] >> v[1] >> v[2] >> v[3];
            return v;
        }
    ADD_FAILURE() << "no rectangle drawn";
    return {};
}

std::string emptyPage() {
    return test::recorded([](EmfRecorder&) {});
}

// The same metafile with another reference device in its header.
std::string onDevice(std::string metafile, int pixelsX, int pixelsY, int mmX, int mmY) {
    for (auto [off, v] : {std::pair{72, pixelsX}, {76, pixelsY}, {80, mmX}, {84, mmY}})
        std::memcpy(metafile.data() + off, &v, 4);
    return metafile;
}

Bytes scaleExtent(std::uint32_t type, int xNum, int xDenom, int yNum, int yDenom) {
    return record(type, {xNum, xDenom, yNum, yDenom});
}

// Each case draws the same device rectangle, one inch in from the top left,
// one inch wide and half an inch high, through another coordinate space: on a
// 72-unit page it is always 72 wide at x 72 and 36 high under y 842 - 72.
TEST(MetafileMapping, EveryMappingModeLandsTheRectangleWhereTheDeviceHasIt) {
    struct Case {
        const char* name;
        std::vector<Bytes> setup;
        EmfRect rect;
    };
    const std::vector<Case> cases = {
        {"text", {}, {96, 96, 192, 144}},
        {"text, window origin", {record(EMR_SETWINDOWORGEX, {-50, -20})}, {46, 76, 142, 124}},
        {"text, viewport origin", {record(EMR_SETVIEWPORTORGEX, {10, 10})}, {86, 86, 182, 134}},
        {"text ignores extents",
         {record(EMR_SETWINDOWEXTEX, {10, 10}), record(EMR_SETVIEWPORTEXTEX, {100, 100})},
         {96, 96, 192, 144}},
        {"lometric", {record(EMR_SETMAPMODE, {2})}, {254, -254, 508, -381}},
        {"himetric", {record(EMR_SETMAPMODE, {3})}, {2540, -2540, 5080, -3810}},
        {"loenglish", {record(EMR_SETMAPMODE, {4})}, {100, -100, 200, -150}},
        {"hienglish", {record(EMR_SETMAPMODE, {5})}, {1000, -1000, 2000, -1500}},
        {"twips", {record(EMR_SETMAPMODE, {6})}, {1440, -1440, 2880, -2160}},
        {"isotropic keeps the smaller scale",
         {record(EMR_SETMAPMODE, {7}), record(EMR_SETWINDOWEXTEX, {1000, 1000}),
          record(EMR_SETVIEWPORTEXTEX, {96, 192})},
         {1000, 1000, 2000, 1500}},
        {"anisotropic with both origins",
         {record(EMR_SETMAPMODE, {8}), record(EMR_SETWINDOWEXTEX, {100, 100}),
          record(EMR_SETVIEWPORTEXTEX, {96, 48}), record(EMR_SETWINDOWORGEX, {50, 0}),
          record(EMR_SETVIEWPORTORGEX, {48, 0})},
         {100, 200, 200, 300}},
        {"anisotropic, scaled viewport",
         {record(EMR_SETMAPMODE, {8}), record(EMR_SETWINDOWEXTEX, {100, 100}),
          record(EMR_SETVIEWPORTEXTEX, {48, 12}), scaleExtent(EMR_SCALEVIEWPORTEXTEX, 2, 1, 4, 1)},
         {100, 200, 200, 300}},
        {"anisotropic, scaled window",
         {record(EMR_SETMAPMODE, {8}), record(EMR_SETWINDOWEXTEX, {200, 50}),
          record(EMR_SETVIEWPORTEXTEX, {96, 48}), scaleExtent(EMR_SCALEWINDOWEXTEX, 1, 2, 2, 1)},
         {100, 200, 200, 300}},
        {"a restore takes the mode back",
         {record(EMR_SAVEDC, Bytes{}), record(EMR_SETMAPMODE, {2}),
          record(EMR_SETWINDOWORGEX, {7, 7}), record(EMR_RESTOREDC, {-1})},
         {96, 96, 192, 144}},
        {"world transform under a mode",
         {record(EMR_SETMAPMODE, {4}),
          [] {
              Bytes body;
              for (float f : {2.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f})
                  test::putFloat(body, f);
              return record(EMR_SETWORLDTRANSFORM, body);
          }()},
         {50, -50, 100, -75}},
    };
    for (const Case& c : cases) {
        std::vector<Bytes> records = c.setup;
        records.push_back(
            record(EMR_RECTANGLE, {c.rect.left, c.rect.top, c.rect.right, c.rect.bottom}));
        std::string emf = emptyPage();
        for (const Bytes& r : records)
            emf = withRecords(emf, {r});
        const auto re = firstRectangle(emf);
        EXPECT_NEAR(re[0], 72, 1) << c.name;
        EXPECT_NEAR(re[1], 842 - 108, 1) << c.name;
        EXPECT_NEAR(re[2], 72, 1) << c.name;
        EXPECT_NEAR(re[3], 36, 1) << c.name;
    }
}

// Another program's reference device has its own pixel size: 4 pixels per
// millimetre, so 400 pixels are 100 mm wide, in text mode and metric mode alike.
TEST(MetafileMapping, TheHeadersDeviceDecidesWhatAPixelIs) {
    const double hundredMm = 100 / 25.4 * 72;
    const std::string pixels = onDevice(
        withRecords(emptyPage(), {record(EMR_RECTANGLE, {0, 0, 401, 201})}), 1000, 1000, 250, 250);
    auto re = firstRectangle(pixels);
    EXPECT_NEAR(re[2], hundredMm, 0.5);
    EXPECT_NEAR(re[3], hundredMm / 2, 0.5);

    const std::string metric =
        onDevice(withRecords(emptyPage(), {record(EMR_SETMAPMODE, {2}),
                                           record(EMR_RECTANGLE, {0, 0, 1000, -500})}),
                 1000, 1000, 250, 250);
    re = firstRectangle(metric);
    // Less the one device pixel (a quarter millimetre) the edge leaves out.
    EXPECT_NEAR(re[2], hundredMm - 0.71, 0.1);
    EXPECT_NEAR(re[3], hundredMm / 2 + 0.71, 0.1);
}

} // namespace
} // namespace pv
