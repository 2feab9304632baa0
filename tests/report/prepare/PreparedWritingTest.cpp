#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/model/ByteStream.h"
#include "report/script/ExpressionEngine.h"
#include "report/draw/MemoLayout.h"
#include "report/prepare/MemoPrint.h"
#include "report/model/MemoView.h"
#include "report/prepare/ObjectPrintEvents.h"
#include "report/model/PictureView.h"
#include "report/prepared/PreparedObject.h"
#include "report/draw/TextWrap.h"
#include "report/value/Variables.h"
#include "report/prepare/ViewPrint.h"

#include <gtest/gtest.h>

#include <functional>

namespace pv {
namespace {

// Stands in for the preparation: counts scripts, and lets a test give the
// script, the OnBeforePrint handler and the field bindings.
class FakeEvents : public ObjectPrintEvents {
public:
    std::function<void(TfrView&)> script;
    std::function<bool(Lines&, TfrView&)> handler;
    std::optional<Lines> memoField;
    std::optional<Graphic> blob;
    int scriptsRun = 0;
    std::vector<Lines> handlerSaw;

    void runScript(TfrView& view) override {
        ++scriptsRun;
        if (script) script(view);
    }
    bool beforePrint(Lines& lines, TfrView& view) override {
        handlerSaw.push_back(lines);
        return handler ? handler(lines, view) : false;
    }
    std::optional<Lines> boundMemoLines(const TfrView&) override { return memoField; }
    std::optional<Graphic> boundPicture(const TfrPictureView&) override { return blob; }
};

class PreparedWritingTest : public testing::Test {
protected:
    PreparedWritingTest() : format_(SystemFormat{}), engine_({}, globals_) {
        globals_.SetValue("sum", Variant(5.0));
        globals_.SetValue("name", Variant(ru("Иванов")));
        memo_.Name = "Memo1";
        memo_.Left = 10, memo_.Top = 20, memo_.Width = 200, memo_.Height = 20;
        memo_.Memo = {"[sum]"};
        BeginPreparedStream(page_);
    }

    bool write(DrawMode mode = DrawMode::Normal, const PreparedPlacement* placement = nullptr) {
        return WritePreparedMemo(page_, memo_, engine_, state_, events_, mode, placement);
    }
    std::vector<std::unique_ptr<TfrView>> written() const {
        ByteStream s(page_.bytes());
        return ReadPreparedObjects(s);
    }
    const TfrMemoView& onlyRecord() {
        records_ = written();
        EXPECT_EQ(records_.size(), 1u);
        return static_cast<const TfrMemoView&>(*records_.at(0));
    }

    ScopedSystemFormat format_;
    TfrVariables globals_;
    ExpressionEngine engine_;
    TfrMemoView memo_;
    MemoPrintState state_;
    FakeEvents events_;
    ByteStream page_;
    std::vector<std::unique_ptr<TfrView>> records_;
};

TEST_F(PreparedWritingTest, WritesTheExpandedTextOnce) {
    memo_.Memo = {"[name]: [sum]", "", "[sum]"};
    ASSERT_TRUE(write());
    EXPECT_EQ(onlyRecord().Memo, (Lines{ru("Иванов: 5"), "", "5"}));
    EXPECT_EQ(events_.scriptsRun, 1);
    EXPECT_EQ(memo_.Memo, (Lines{"[name]: [sum]", "", "[sum]"})) << "the template keeps its text";
}

TEST_F(PreparedWritingTest, HighlightIsInTheRecordAndTheBoxGetsItsOwnBack) {
    memo_.FontStyle = fsItalic;
    memo_.FontColor = 0x000080;
    memo_.FillColor = clNone;
    memo_.HighlightFontStyle = fsBold;
    memo_.HighlightFontColor = 0x0000FF;
    memo_.HighlightFillColor = 0x00FFFF;
    for (const char* condition : {"sum > 1", "sum > 10"}) {
        memo_.HighlightCondition = condition;
        page_ = ByteStream();
        BeginPreparedStream(page_);
        ASSERT_TRUE(write());
        const bool on = std::string(condition) == "sum > 1";
        const TfrMemoView& r = onlyRecord();
        EXPECT_EQ(r.FontStyle, on ? fsBold : fsItalic) << condition;
        EXPECT_EQ(r.FontColor, on ? 0x0000FF : 0x000080) << condition;
        EXPECT_EQ(r.FillColor, on ? 0x00FFFFu : clNone) << condition;
        EXPECT_EQ(r.HighlightCondition, "") << condition;

        EXPECT_EQ(memo_.FontStyle, fsItalic);
        EXPECT_EQ(memo_.FontColor, 0x000080);
        EXPECT_EQ(memo_.FillColor, clNone);
        EXPECT_EQ(memo_.HighlightCondition, condition);
    }
}

TEST_F(PreparedWritingTest, TagIsExpandedForTheRecordOnly) {
    struct Case {
        const char* tag;
        std::string written;
    } cases[] = {{"[sum]", "5"}, {"id [name] [sum]", ru("id Иванов 5")}, {"plain", "plain"}};
    // The box's own display format does not reach its Tag.
    memo_.Format = 0x01000200 + ',';
    for (const Case& c : cases) {
        memo_.Tag = c.tag;
        page_ = ByteStream();
        BeginPreparedStream(page_);
        ASSERT_TRUE(write());
        EXPECT_EQ(onlyRecord().Tag, c.written) << c.tag;
        EXPECT_EQ(memo_.Tag, c.tag);
    }

    TfrPictureView picture;
    picture.Tag = "[sum]";
    ByteStream page;
    BeginPreparedStream(page);
    ASSERT_TRUE(WritePreparedView(page, picture, engine_, events_));
    ByteStream back(page.bytes());
    EXPECT_EQ(ReadPreparedObjects(back).at(0)->Tag, "5");
    EXPECT_EQ(picture.Tag, "[sum]");
}

TEST_F(PreparedWritingTest, SuppressWritesARepeatedValueOnce) {
    memo_.setFlag(flSuppress, true);
    EXPECT_TRUE(write());
    EXPECT_FALSE(write());
    EXPECT_EQ(MeasureHeight(memo_, engine_, state_, events_), 0);
    globals_.SetValue("sum", Variant(6.0));
    EXPECT_GT(MeasureHeight(memo_, engine_, state_, events_), 0);
    EXPECT_TRUE(write());
    EXPECT_FALSE(write());

    const auto records = written();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]->Memo, Lines{"5"});
    EXPECT_EQ(records[1]->Memo, Lines{"6"});
}

TEST_F(PreparedWritingTest, OnBeforePrintSeesTheTextUnexpanded) {
    memo_.Memo = {"[sum]", "[name]"};
    struct Case {
        const char* what;
        std::function<bool(Lines&, TfrView&)> handler;
        Lines written;
    } cases[] = {
        {"no change", [](Lines&, TfrView&) { return false; }, {"5", ru("Иванов")}},
        {"changed",
         [](Lines& lines, TfrView&) {
             lines = {"[sum] is not expanded"};
             return true;
         },
         {"[sum] is not expanded"}},
    };
    for (const Case& c : cases) {
        events_.handler = c.handler;
        events_.handlerSaw.clear();
        page_ = ByteStream();
        BeginPreparedStream(page_);
        ASSERT_TRUE(write());
        EXPECT_EQ(onlyRecord().Memo, c.written) << c.what;
        ASSERT_EQ(events_.handlerSaw.size(), 1u);
        EXPECT_EQ(events_.handlerSaw[0], (Lines{"[sum]", "[name]"})) << c.what;
    }
}

TEST_F(PreparedWritingTest, ABoxBoundToAMemoFieldPrintsTheFieldsLines) {
    memo_.Memo = {"[frDBDataSet1.\"F_Note\"]"};
    events_.memoField = Lines{ru("строка из поля"), "", "[sum] stays as it is"};
    ASSERT_TRUE(write());
    EXPECT_EQ(onlyRecord().Memo, *events_.memoField);
    ASSERT_EQ(events_.handlerSaw.size(), 1u);
    EXPECT_EQ(events_.handlerSaw[0], *events_.memoField);

    const int lineHeight = memo_.LineSpacing + MeasuringFontHeight(memo_);
    EXPECT_EQ(MeasureHeight(memo_, engine_, state_, events_), 3 * lineHeight + 2 * memo_.GapY);
}

TEST_F(PreparedWritingTest, AScriptThatHidesTheBoxWritesNothingAndTakesNoHeight) {
    events_.script = [](TfrView& v) { v.Visible = 0; };
    EXPECT_EQ(MeasureHeight(memo_, engine_, state_, events_), 0);
    EXPECT_FALSE(write());
    EXPECT_FALSE(write(DrawMode::Part));
    EXPECT_TRUE(written().empty());
    EXPECT_EQ(events_.scriptsRun, 3);

    TfrPictureView picture;
    EXPECT_FALSE(WritePreparedView(page_, picture, engine_, events_));
    EXPECT_TRUE(written().empty());
}

// Strips the wrapped encoding: the marker line and the paragraph ends.
Lines plainLines(const Lines& wrapped) {
    Lines out;
    for (const std::string& line : wrapped)
        if (line != std::string(1, kParagraphEnd)) out.emplace_back(WithoutParagraphEnd(line));
    return out;
}

TEST_F(PreparedWritingTest, ACutBoxWritesEveryLineOnceAcrossItsParts) {
    std::string value;
    for (int i = 1; i <= 9; ++i)
        value += "line " + std::to_string(i) + "\r\n";
    globals_.SetValue("list", Variant(value + ru("длинная строка, которую приходится переносить")));
    memo_.Memo = {"[list]"};
    memo_.Width = 120;
    ASSERT_GT(MeasureHeight(memo_, engine_, state_, events_), 0);
    const Lines whole = plainLines(MeasureMemo(memo_, *state_.lines).lines);
    ASSERT_GT(whole.size(), 10u);

    // The next part is what was measured, even when the data has moved on.
    globals_.SetValue("list", Variant(std::string("another row")));
    int parts = 0;
    while (state_.lines && parts < 20) {
        memo_.Height = 50;
        ASSERT_TRUE(write(DrawMode::Part));
        EXPECT_EQ(memo_.Height, 50);
        ++parts;
    }
    EXPECT_GT(parts, 2);
    EXPECT_EQ(events_.scriptsRun, 1) << "the parts are not made ready again";

    Lines joined;
    for (const auto& record : written()) {
        EXPECT_TRUE(IsWrapped(record->Memo));
        for (const std::string& line : plainLines(record->Memo))
            joined.push_back(line);
    }
    EXPECT_EQ(joined, whole);
}

TEST_F(PreparedWritingTest, APartWithNothingMeasuredMakesTheTextReadyFirst) {
    memo_.Height = 500;
    ASSERT_TRUE(write(DrawMode::Part));
    EXPECT_FALSE(state_.lines.has_value());
    EXPECT_EQ(plainLines(onlyRecord().Memo), Lines{"5"});
    EXPECT_TRUE(IsWrapped(onlyRecord().Memo));

    // A box written whole leaves nothing for a later part to print.
    ASSERT_GT(MeasureHeight(memo_, engine_, state_, events_), 0);
    ASSERT_TRUE(write());
    EXPECT_FALSE(state_.lines.has_value());
}

TEST_F(PreparedWritingTest, PlacementMovesTheRecordAndNotTheBox) {
    memo_.BandAlign = baRight;
    const PreparedPlacement placement{{}, {0, 500}};
    ASSERT_TRUE(write(DrawMode::Normal, &placement));
    EXPECT_EQ(onlyRecord().Left, 300);
    EXPECT_EQ(onlyRecord().BandAlign, baNone);
    EXPECT_EQ(memo_.Left, 10);
    EXPECT_EQ(memo_.BandAlign, baRight);
}

TEST_F(PreparedWritingTest, APictureBoundToABlobFieldShowsTheFieldsImage) {
    TfrPictureView picture;
    picture.Memo = {"[frDBDataSet1.\"F_Photo\"]"};
    picture.Picture = {gkMetafile, "own"};
    events_.blob = Graphic{gkJpeg, "\xFF\xD8 field"};
    ASSERT_TRUE(WritePreparedView(page_, picture, engine_, events_));
    const auto records = written();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(static_cast<const TfrPictureView&>(*records[0]).Picture, *events_.blob);
    EXPECT_EQ(picture.Picture, (Graphic{gkMetafile, "own"}));
    EXPECT_EQ(events_.scriptsRun, 1);
}

} // namespace
} // namespace pv
