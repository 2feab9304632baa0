#include "report/prepare/MemoPrint.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpressionEngine.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/value/Variables.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class MemoPrintTest : public testing::Test {
protected:
    MemoPrintTest() : format_(SystemFormat{}), engine_({}, globals_) {
        globals_.SetValue("two", Variant(std::string("first\r\nsecond")));
        globals_.SetValue("ended", Variant(std::string("only\r\n")));
        globals_.SetValue("sum", Variant(5.0));
        memo_.Width = 200;
        memo_.Height = 20;
    }
    ScopedSystemFormat format_;
    TfrVariables globals_;
    ExpressionEngine engine_;
    TfrMemoView memo_;
};

TEST_F(MemoPrintTest, ExpansionKeepsEmptyLinesAndSplitsValues) {
    memo_.Memo = {"", "[two]", "[ended]", "sum [sum]"};
    EXPECT_EQ(ExpandMemoLines(memo_, engine_), (Lines{"", "first", "second", "only", "sum 5"}));
    memo_.setFlag(flTextOnly, true);
    EXPECT_EQ(ExpandMemoLines(memo_, engine_), (Lines{"", "[two]", "[ended]", "sum [sum]"}));
}

TEST_F(MemoPrintTest, SuppressPrintsARepeatedValueOnce) {
    memo_.setFlag(flSuppress, true);
    memo_.Memo = {"[sum]"};
    MemoPrintState state;
    const int height = MeasureHeight(memo_, engine_, state);
    EXPECT_GT(height, 0);
    ASSERT_TRUE(TextToWrite(memo_, engine_, state).has_value());
    EXPECT_EQ(MeasureHeight(memo_, engine_, state), 0);
    EXPECT_FALSE(TextToWrite(memo_, engine_, state).has_value());

    globals_.SetValue("sum", Variant(6.0));
    EXPECT_EQ(MeasureHeight(memo_, engine_, state), height);
    EXPECT_TRUE(TextToWrite(memo_, engine_, state).has_value());

    MemoPrintState firstPass; // nothing is written there, so measuring remembers
    EXPECT_GT(MeasureHeight(memo_, engine_, firstPass, noPrintEvents(), true), 0);
    EXPECT_EQ(MeasureHeight(memo_, engine_, firstPass, noPrintEvents(), true), 0);
}

TEST_F(MemoPrintTest, HighlightForOnePrintAndErrorsIgnored) {
    memo_.FontStyle = 0;
    memo_.FontColor = 0;
    memo_.FillColor = clNone;
    memo_.HighlightFontStyle = fsBold;
    memo_.HighlightFontColor = rgb(255, 0, 0);
    memo_.HighlightFillColor = rgb(255, 255, 0);
    struct Case {
        const char* condition;
        bool active;
    } cases[] = {{"sum > 1", true},
                 {"sum > 10", false},
                 {"", false},
                 {"nosuch(1", false},
                 {"'text'", false}};
    for (const Case& c : cases) {
        memo_.HighlightCondition = c.condition;
        {
            ScopedHighlight highlight(memo_, engine_);
            EXPECT_EQ(highlight.active(), c.active) << c.condition;
            EXPECT_EQ(memo_.FillColor, c.active ? rgb(255, 255, 0) : clNone) << c.condition;
            EXPECT_EQ(memo_.FontStyle, c.active ? fsBold : 0) << c.condition;
        }
        EXPECT_EQ(memo_.FillColor, clNone);
        EXPECT_EQ(memo_.FontStyle, 0);
        EXPECT_EQ(memo_.FontColor, 0);
    }
}

TEST_F(MemoPrintTest, InvisibleBoxTakesNoHeightAndLinesCount) {
    memo_.Memo = {"[two]"};
    MemoPrintState state;
    const int lineHeight = memo_.LineSpacing + MeasuringFontHeight(memo_);
    EXPECT_EQ(MeasureHeight(memo_, engine_, state), 2 * lineHeight + 2 * memo_.GapY);
    memo_.Visible = 0;
    EXPECT_EQ(MeasureHeight(memo_, engine_, state), 0);
}

} // namespace
} // namespace pv
