#include "report/draw/TextWrap.h"
#include "report/draw/Hyphenation.h"

#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

// Every character 10 pixels wide: widths stay easy to reason about.
int tenEach(std::string_view s) {
    return int(s.size()) * 10;
}

// Expected lines are written in UTF-8 with "¶" for the paragraph marker.
Lines expected(const std::vector<const char*>& utf8) {
    Lines out;
    for (const char* line : utf8) {
        std::string s = ru(line);
        const std::string mark = ru("¶");
        for (size_t p; (p = s.find(mark)) != std::string::npos;)
            s.replace(p, mark.size(), 1, kParagraphEnd);
        out.push_back(s);
    }
    return out;
}

struct WrapCase {
    const char* name;
    const char* source; // UTF-8
    int width;
    bool wordBreak;
    std::vector<const char*> lines;
};

void PrintTo(const WrapCase& c, std::ostream* os) {
    *os << c.name;
}

class WrapLineTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapLineTest, BreaksWhereExpected) {
    const WrapCase& c = GetParam();
    Lines out;
    WrapLine(ru(c.source), {c.width, c.wordBreak}, tenEach, out);
    EXPECT_EQ(out, expected(c.lines));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapLineTest,
    testing::Values(
        WrapCase{"FittingLine", "Ab cd", 50, false, {"Ab cd¶"}},
        WrapCase{"SingleCharacterWiderThanBox", "Ж", 5, false, {"Ж¶"}},
        // The first word, the blank and two letters fit, all seven do not.
        WrapCase{"TwoThreeLetterWords", "ДОМ КОТ", 60, false, {"ДОМ", "КОТ¶"}},
        WrapCase{"PensionCutAtShortestPoint", "НА ПЕНСИОННЫЙ", 75, true, {"НА ПЕН-", "СИОННЫЙ¶"}},
        WrapCase{"PensionCutAtMiddlePoint", "НА ПЕНСИОННЫЙ", 100, true, {"НА ПЕНСИ-", "ОННЫЙ¶"}},
        WrapCase{"PensionCutAtLongestPoint", "НА ПЕНСИОННЫЙ", 120, true, {"НА ПЕНСИОН-", "НЫЙ¶"}},
        // No part fits beside НА: the word moves down whole and is cut there,
        // its points counted from its second letter.
        WrapCase{"PensionMovedDownThenCut", "НА ПЕНСИОННЫЙ", 65, true, {"НА", "ПЕНСИ-", "ОННЫЙ¶"}},
        WrapCase{"PensionWithoutWordBreak", "НА ПЕНСИОННЫЙ", 120, false, {"НА", "ПЕНСИОННЫЙ¶"}},
        WrapCase{"HardSignPoint", "В ОБЪЕКТ", 60, true, {"В ОБЪ-", "ЕКТ¶"}},
        WrapCase{"NoVowelsCutAtBlank", "АБ ВСТРЧКЛ", 60, true, {"АБ", "ВСТРЧК", "Л¶"}},
        WrapCase{"LongWordNoBlank", "ABCDEFGH", 35, false, {"ABC", "DEF", "GH¶"}},
        WrapCase{"TrailingCrLf", "ABC\r\n", 100, false, {"ABC¶"}},
        WrapCase{"TrailingLf", "ABC\n", 100, true, {"ABC¶"}},
        WrapCase{"CrLfInside", "AB\r\nCD", 100, false, {"AB¶", "CD¶"}},
        WrapCase{"RunOfBreaksIsOneBreak", "AB\r\n\r\nCD", 100, false, {"AB¶", "CD¶"}},
        WrapCase{"BlanksBeyondWidthKept", "AB    ", 20, false, {"AB    ¶"}},
        WrapCase{"OnlyCutBlankDropped", "AB  CD", 30, false, {"AB ", "CD¶"}},
        WrapCase{"BreakThenLongWord", "AB CDEFG", 30, false, {"AB", "CDE", "FG¶"}},
        // A character wider than the box starts its own line and never
        // leaves an empty one before it.
        WrapCase{"WideCharacterAfterLineBreak", "A\nWW", 5, false, {"A¶", "W", "W¶"}}),
    [](const testing::TestParamInfo<WrapCase>& info) { return std::string(info.param.name); });

TEST(HyphenationTest, PointsOfWords) {
    struct Case {
        const char* word;
        std::vector<int> points;
    } cases[] = {
        {"ПЕНСИОННЫЙ", {3, 5, 7}},
        {"пенсионный", {3, 5, 7}},
        {"ОБЪЕКТ", {3}},
        {"ВСТРЧКЛ", {}},
        {"КОТ", {}},
        {"СТОЛ", {}},
        {"ВОДА", {2}},
        {"ПЯТЬКИН", {4}},
        // Ь two places before a word end falls back to the consonant rule.
        {"ПЯТЬК-ИН", {5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HyphenationPoints(ru(c.word)), c.points) << c.word;
}

TEST(WrapLinesTest, WholeLinesWithoutWordWrapAndWrappedTextAsItIs) {
    const Lines source{ru("длинная строка текста"), ""};
    EXPECT_EQ(WrapLines(source, false, {10, false}, tenEach),
              expected({"длинная строка текста¶", "¶"}));

    const Lines wrapped = expected({"уже", "готово¶", "¶"});
    EXPECT_TRUE(IsWrapped(wrapped));
    EXPECT_EQ(WrapLines(wrapped, true, {10, false}, tenEach), wrapped);
    Lines drawn = wrapped;
    DropMarkerLine(drawn);
    EXPECT_EQ(drawn, expected({"уже", "готово¶"}));
}

TEST(WrapLinesTest, RealFontLinesStayWithinWidthExceptTrailingBlanks) {
    MeasuringCanvas& canvas = MeasuringCanvas::shared();
    LogFont font;
    font.faceName = "Arial";
    font.height = -13;
    font.charSet = 204;
    canvas.SetFont(font);
    const std::string text = ru("Страховой номер индивидуального лицевого счёта застрахованного "
                                "лица и периоды трудовой деятельности, дающие право на пенсию");
    Lines out;
    const int width = 120;
    WrapLine(text, {width, true}, CanvasTextWidth(canvas), out);
    ASSERT_GT(out.size(), 3u);
    std::string joined;
    for (const std::string& line : out) {
        std::string shown(WithoutParagraphEnd(line));
        EXPECT_LE(canvas.GetTextExtent(shown).cx, width) << cp1251ToUtf8(shown);
        if (!shown.empty() && shown.back() == '-')
            shown.pop_back();
        else if (&line != &out.back())
            shown += ' ';
        joined += shown;
    }
    EXPECT_EQ(joined, text); // nothing lost, nothing doubled
}

} // namespace
} // namespace pv
