#include "platform/FontService.h"
#include "platform/Charset.h"
#include "platform/CodePage.h"
#include "platform/MeasuringCanvas.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>

namespace pv {
namespace {

FontRequest request(const char* face, int charset = charset::Russian, int weight = 400,
                    bool italic = false) {
    return FontRequest{face, weight, italic, charset};
}

std::string fontconfigChoice(const char* family) {
    FcPattern* p = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, p, &result);
    FcChar8* file = nullptr;
    FcPatternGetString(match, FC_FILE, 0, &file);
    std::string out = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    FcPatternDestroy(p);
    return out;
}

TEST(FontService, CommonWindowsFacesFindTheirMetricCompatibleFamilies) {
    FontService& fonts = FontService::shared();
    struct Case {
        const char* face;
        int weight;
        bool italic;
        const char* family;
    } cases[] = {
        {"Arial", 400, false, "Liberation Sans"},
        {"arial", 700, false, "Liberation Sans"},
        {"Times New Roman", 700, false, "Liberation Serif"},
        {"Times New Roman", 400, true, "Liberation Serif"},
        {"Courier New", 400, false, "Liberation Mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        FontFace& face = fonts.face(request(c.face, charset::Russian, c.weight, c.italic));
        EXPECT_EQ(face.family(), c.family);
        EXPECT_EQ(face.isBold(), c.weight >= 600);
        EXPECT_EQ(face.isItalic(), c.italic);
        EXPECT_TRUE(face.isTrueType());
    }
}

TEST(FontService, ArialInTheRussianCharsetIsAnInstalledTrueTypeFaceWithItsFile) {
    FontService& fonts = FontService::shared();
    ASSERT_TRUE(fonts.isInstalledTrueType(request("Arial")));
    FontFace& face = fonts.face(request("Arial"));
    const std::vector<std::uint8_t> data = face.fontFile();
    std::ifstream in(face.filePath(), std::ios::binary);
    const std::vector<std::uint8_t> onDisk((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    ASSERT_GT(data.size(), 10000u);
    EXPECT_EQ(data, onDisk);
    EXPECT_EQ((std::vector<std::uint8_t>(data.begin(), data.begin() + 4)),
              (std::vector<std::uint8_t>{0, 1, 0, 0})); // TrueType outlines
}

TEST(FontService, HelveticaIsNotAnInstalledTrueTypeFace) {
    FontService& fonts = FontService::shared();
    EXPECT_FALSE(fonts.isInstalledTrueType(request("Helvetica", charset::Ansi)));
    EXPECT_FALSE(fonts.isInstalledTrueType(request("Helvetica", charset::Russian)));
    // It still draws with whatever fontconfig puts in its place.
    EXPECT_FALSE(fonts.face(request("Helvetica", charset::Ansi)).filePath().empty());
}

TEST(FontService, UnknownFaceIsServedByTheFontconfigSubstitute) {
    FontService& fonts = FontService::shared();
    FontFace& face = fonts.face(request("Nonexistent Face 4711"));
    EXPECT_EQ(face.filePath(), fontconfigChoice("Nonexistent Face 4711"));
    EXPECT_FALSE(fonts.isInstalledTrueType(request("Nonexistent Face 4711")));
    EXPECT_FALSE(fonts.isInstalledTrueType(request("")));
}

TEST(FontService, AFaceWithoutTheCharsetIsNotOfferedInIt) {
    FontService& fonts = FontService::shared();
    struct Case {
        int charset;
        bool expected;
    } cases[] = {
        {charset::Russian, true},      {charset::Ansi, true},    {charset::EastEurope, true},
        {charset::Greek, true},        {charset::Symbol, false}, {charset::ShiftJis, false},
        {charset::ChineseBig5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charset);
        EXPECT_EQ(fonts.isInstalledTrueType(request("Times New Roman", c.charset)), c.expected);
    }
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t be32(const std::vector<std::uint8_t>& d, std::size_t off) {
    return std::uint32_t(d[off]) << 24 | std::uint32_t(d[off + 1]) << 16 |
           std::uint32_t(d[off + 2]) << 8 | d[off + 3];
}

void putBe32(std::vector<std::uint8_t>& d, std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        d[off + i] = std::uint8_t(v >> (24 - 8 * i));
}

// A collection of whole font files, each table directory pointing into the collection.
std::vector<std::uint8_t> collectionOf(const std::vector<std::vector<std::uint8_t>>& fonts) {
    std::vector<std::uint8_t> ttc = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 0};
    putBe32(ttc, 8, std::uint32_t(fonts.size()));
    ttc.resize(12 + 4 * fonts.size());
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        const std::size_t base = ttc.size();
        putBe32(ttc, 12 + 4 * f, std::uint32_t(base));
        ttc.insert(ttc.end(), fonts[f].begin(), fonts[f].end());
        const int tables = fonts[f][4] << 8 | fonts[f][5];
        for (int t = 0; t < tables; ++t)
            putBe32(ttc, base + 12 + 16 * t + 8,
                    std::uint32_t(base + be32(fonts[f], 12 + 16 * t + 8)));
        ttc.resize((ttc.size() + 3) & ~std::size_t(3));
    }
    return ttc;
}

// The bytes of one table of a font file, by tag.
std::vector<std::uint8_t> table(const std::vector<std::uint8_t>& font, const char* tag) {
    const int tables = font[4] << 8 | font[5];
    for (int t = 0; t < tables; ++t) {
        const std::size_t rec = 12 + 16 * std::size_t(t);
        if (std::equal(tag, tag + 4, font.begin() + long(rec)))
            return {font.begin() + be32(font, rec + 8),
                    font.begin() + be32(font, rec + 8) + be32(font, rec + 12)};
    }
    return {};
}

TEST(FontService, AFaceOfACollectionIsCutOutAsAFontFileOfItsOwn) {
    FontService& fonts = FontService::shared();
    const auto sans = readFile(fonts.face(request("Arial")).filePath());
    const auto serif = readFile(fonts.face(request("Times New Roman")).filePath());
    const auto ttc = collectionOf({sans, serif});
    const auto cut = cutFontFromCollection(ttc, 1);
    ASSERT_FALSE(cut.empty());
    for (const char* tag : {"head", "cmap", "glyf", "loca", "hmtx", "name", "OS/2"}) {
        SCOPED_TRACE(tag);
        EXPECT_FALSE(table(serif, tag).empty());
        EXPECT_EQ(table(cut, tag), table(serif, tag));
    }
    EXPECT_EQ(table(cutFontFromCollection(ttc, 0), "glyf"), table(sans, "glyf"));
    EXPECT_TRUE(cutFontFromCollection(ttc, 2).empty());
    EXPECT_TRUE(cutFontFromCollection(ttc, -1).empty());
    auto broken = ttc;
    putBe32(broken, 12 + 4, std::uint32_t(ttc.size() - 8)); // second directory beyond the data
    EXPECT_TRUE(cutFontFromCollection(broken, 1).empty());
}

TEST(FontService, EnumeratesTheStylesAndCharsetsOfAFamily) {
    FontService& fonts = FontService::shared();
    const std::vector<FontEntry> arial = fonts.entries("Arial");
    ASSERT_EQ(arial.size(), 4u);
    const std::pair<bool, bool> styles[] = {
        {false, false}, {true, false}, {false, true}, {true, true}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(arial[i].family, "Liberation Sans");
        EXPECT_EQ(std::pair(arial[i].bold, arial[i].italic), styles[i]);
        EXPECT_TRUE(arial[i].trueType);
        for (int cs : {charset::Ansi, charset::Russian, charset::EastEurope, charset::Greek})
            EXPECT_NE(std::find(arial[i].charsets.begin(), arial[i].charsets.end(), cs),
                      arial[i].charsets.end())
                << cs;
        EXPECT_EQ(std::find(arial[i].charsets.begin(), arial[i].charsets.end(), charset::Symbol),
                  arial[i].charsets.end());
    }
    EXPECT_TRUE(fonts.entries("Nonexistent Face 4711").empty());
    EXPECT_TRUE(fonts.entries("").empty());
    const std::vector<std::string> families = fonts.families();
    EXPECT_TRUE(std::binary_search(families.begin(), families.end(), "Liberation Serif"));
}

TEST(FontService, AdvancesAtOneEmOfThousandUnitsFollowTheCodePage) {
    FontService& fonts = FontService::shared();
    const auto& arial = fonts.face(request("Arial")).advances1000(charset::Russian);
    EXPECT_EQ(arial['A'], 667);
    EXPECT_EQ(arial[' '], 278);
    EXPECT_EQ(arial['1'], 556);
    EXPECT_EQ(arial[0xC0], 667);                                                    // А
    EXPECT_EQ(arial[0xE6], 669);                                                    // ж
    EXPECT_EQ(fonts.face(request("Arial")).advances1000(charset::Ansi)[0xE6], 889); // æ
    const auto& courier = fonts.face(request("Courier New")).advances1000(charset::Russian);
    for (int code : {int('A'), int('i'), int(' '), 0xC0, 0xFF})
        EXPECT_EQ(courier[code], 600) << code;
}

TEST(FontService, OutlineMetricsInThousandthsOfAnEm) {
    FontService& fonts = FontService::shared();
    const FontMetrics regular = fonts.face(request("Arial")).metrics1000();
    EXPECT_EQ(regular.ascent, 905);
    EXPECT_EQ(regular.descent, -212);
    EXPECT_EQ(regular.italicAngle, 0);
    EXPECT_LT(regular.boxLeft, 0);
    EXPECT_GT(regular.boxTop, regular.ascent);
    const FontMetrics italic =
        fonts.face(request("Arial", charset::Russian, 400, true)).metrics1000();
    EXPECT_EQ(italic.italicAngle, -120);
}

TEST(FontService, TextExtentAtPixelHeights) {
    FontService& fonts = FontService::shared();
    LogFont font;
    font.faceName = "Arial";
    font.charSet = charset::Russian;
    struct Case {
        int height;
        const char* text;
        int extra;
        int width;
        int cellHeight;
    } cases[] = {
        {-13, "AAAA", 0, 36, 15}, // 667 * 13 / 1000 = 8.67 -> 9 per character
        {-13, "AAAA", 2, 44, 15}, // character extra on every character
        {-16, "A A", 0, 26, 17},  // 10.67 -> 11, space 4.45 -> 4
        {15, "A", 0, 9, 15},      // a cell height of 15 is an em of 13
        {-13, "", 0, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        font.height = c.height;
        EXPECT_EQ(fonts.textExtent(font, c.text, c.extra), (Size{c.width, c.cellHeight}));
        const std::vector<int> adv = fonts.advances(font, c.text, c.extra);
        int sum = 0;
        for (int a : adv)
            sum += a;
        EXPECT_EQ(sum, c.width);
    }
}

TEST(FontService, AbsurdFontHeightsAreHeldToASaneEm) {
    FontFace& face = FontService::shared().face(request("Arial"));
    struct Case {
        int height;
        int em;
    } cases[] = {{INT_MIN, FontFace::kMaxEmPixels},
                 {-20000, FontFace::kMaxEmPixels},
                 {INT_MAX, FontFace::kMaxEmPixels},
                 {-1, 1},
                 {1, 1},
                 {0, 16}};
    for (const Case& c : cases)
        EXPECT_EQ(face.emPixelsForHeight(c.height), c.em) << c.height;
}

TEST(FontService, CyrillicBytesAreMeasuredAsTheirLetters) {
    FontService& fonts = FontService::shared();
    LogFont font;
    font.faceName = "Times New Roman";
    font.charSet = charset::Russian;
    font.height = -100;
    FontFace& face = fonts.face(font);
    const std::string word = ru("Жук");
    const std::vector<int> adv = fonts.advances(font, word);
    ASSERT_EQ(adv.size(), 3u);
    // Ж is wide, у and к narrower; a Latin reading of the same bytes would differ.
    EXPECT_GT(adv[0], adv[1]);
    EXPECT_EQ(adv[0], face.pixelAdvances(charset::Russian, 100)[0xC6]);
    EXPECT_NE(face.glyphIndex(charset::Russian, 0xC6), face.glyphIndex(charset::Ansi, 0xC6));
}

TEST(MeasuringCanvas, MeasuresInTheSelectedFontAndRestoresItWithTheState) {
    MeasuringCanvas canvas(FontService::shared());
    EXPECT_EQ(canvas.pixelsPerInch(), 96);
    EXPECT_EQ(canvas.fontHeightForPoints(10), -13);
    EXPECT_EQ(canvas.fontHeightForPoints(12), -16);
    LogFont font;
    font.faceName = "Arial";
    font.height = -13;
    canvas.SetFont(font);
    const Size small = canvas.GetTextExtent("AAAA");
    EXPECT_EQ(small.cx, 36);
    canvas.SaveDC();
    font.height = -26;
    canvas.SetFont(font);
    canvas.SetTextCharacterExtra(1);
    EXPECT_EQ(canvas.GetTextExtent("AAAA").cx, 4 * 17 + 4);
    EXPECT_TRUE(canvas.RestoreDC(-1));
    EXPECT_EQ(canvas.GetTextExtent("AAAA"), small);
    EXPECT_FALSE(canvas.RestoreDC(-1));
    EXPECT_FALSE(canvas.RestoreDC(0));
}

} // namespace
} // namespace pv
