#include "pdf/TrueTypeFaceSearch.h"
#include "pdf/PDFTypes.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

FontEntry entry(bool bold, bool italic, std::vector<int> charsets, bool trueType = true) {
    return FontEntry{"Face", bold, italic, trueType, std::move(charsets)};
}

constexpr int B = fsBold, I = fsItalic;

TEST(TrueTypeFaceSearch, FallsBackInTheFixedOrder) {
    const std::vector<FontEntry> regularAndBold = {entry(false, false, {0, 204}),
                                                   entry(true, false, {0, 204})};
    const std::vector<FontEntry> boldLatinOnly = {entry(true, false, {0})};
    const std::vector<FontEntry> italicLatin = {entry(false, false, {0, 204}),
                                                entry(false, true, {0})};
    // Outline fonts that are not TrueType do not count, not even as the first entry.
    const std::vector<FontEntry> firstNotTrueType = {entry(false, true, {238}, false),
                                                     entry(true, true, {0, 204})};
    const struct {
        const std::vector<FontEntry>* entries;
        int style, charset;
        FaceVariant expected;
    } cases[] = {
        {&regularAndBold, B, 204, {B, 204}},      // exact
        {&regularAndBold, B | I, 204, {B, 204}},  // without italic
        {&regularAndBold, I, 204, {0, 204}},      // without italic
        {&boldLatinOnly, 0, 0, {B, 0}},           // the first entry's style
        {&boldLatinOnly, B | I, 204, {B, 0}},     // the first entry's charset
        {&italicLatin, I, 204, {0, 204}},         // the charset wins over the style
        {&italicLatin, I, 0, {I, 0}},             // exact
        {&italicLatin, B | I, 238, {0, 0}},       // first charset, without italic and bold
        {&firstNotTrueType, I, 238, {B | I, 0}},  // first TrueType entry's style and charset
        {&firstNotTrueType, 0, 204, {B | I, 204}} // the first entry's style
    };
    for (const auto& c : cases) {
        const auto found = findTrueTypeVariant(*c.entries, c.style, c.charset);
        ASSERT_TRUE(found) << c.style << "/" << c.charset;
        EXPECT_EQ(*found, c.expected)
            << c.style << "/" << c.charset << " gave " << found->style << "/" << found->charset;
    }
}

TEST(TrueTypeFaceSearch, NothingWithoutATrueTypeEntry) {
    EXPECT_FALSE(findTrueTypeVariant({}, 0, 0));
    EXPECT_FALSE(findTrueTypeVariant({entry(false, false, {0, 204}, false)}, 0, 0));
    EXPECT_FALSE(findTrueTypeVariant({entry(false, false, {})}, 0, 0));
}

} // namespace
} // namespace pv
