#include "report/draw/ExportObject.h"
#include "report/export/ExportFilter.h"
#include "report/model/LineView.h"
#include "report/draw/MemoLayout.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/draw/TextWrap.h"
#include "report/model/ViewGeometry.h"

#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "platform/MeasuringCanvas.h"

#include <gtest/gtest.h>

#include <memory>

namespace pv {
namespace {

constexpr uint16_t kAllSides = frftLeft | frftRight | frftTop | frftBottom;

// Keeps every call in order.
class RecordingFilter : public TfrExportFilter {
public:
    struct Call {
        bool object = false; // ObjectData, else TextLine
        Point at;
        const TfrView* view = nullptr;
        std::string text;
        uint16_t sides = 0;
        Rect rect;
    };
    std::vector<Call> calls;

    void ObjectData(int x, int y, TfrView& view) override {
        calls.push_back({true, {x, y}, &view, {}, 0, {}});
    }
    void TextLine(const Rect& rect, int x, int y, std::string_view text, uint16_t sides,
                  TfrView& view) override {
        calls.push_back({false, {x, y}, &view, std::string(text), sides, rect});
    }

    std::vector<Call> textLines() const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (!c.object) out.push_back(c);
        return out;
    }
};

// Keeps what reaches the device.
class DrawnCanvas : public Canvas {
public:
    DrawnCanvas() : Canvas(FontService::shared(), MeasuringCanvas::kPixelsPerInch) {}
    struct Text {
        Point origin;
        std::string text;
    };
    std::vector<Text> texts;
    int lines = 0, fills = 0, rectangles = 0, pictures = 0;
    bool nothing() const { return texts.empty() && !lines && !fills && !rectangles && !pictures; }

protected:
    void drawDib(const Rect&, const Dib&) override { ++pictures; }
    void drawRectangle(const Rect&) override { ++rectangles; }
    void drawLine(Point, Point) override { ++lines; }
    void drawFillRect(const Rect&, const Brush&) override { ++fills; }
    void drawText(Point origin, std::uint32_t, const Rect*, std::string_view text,
                  const std::vector<int>&) override {
        texts.push_back({origin, std::string(text)});
    }
};

TfrMemoView box(int left, int top, int width, int height, Lines text) {
    TfrMemoView m;
    m.Left = left, m.Top = top, m.Width = width, m.Height = height;
    m.FontName = "Arial";
    m.Memo = std::move(text);
    return m;
}

int widthOf(const TfrMemoView& m, const std::string& text) {
    MeasuringCanvas& c = MeasuringCanvas::shared();
    c.SetFont(MemoFont(m, MeasuringFontHeight(m)));
    return c.GetTextExtent(text).cx;
}

TEST(ExportObjectTest, ThreeLineFramedBoxGivesItsObjectThenEachLine) {
    TfrMemoView m = box(10, 20, 200, 80, {"one", "two", "three"});
    m.FrameTyp = kAllSides;
    RecordingFilter f;
    ExportObject(m, f);

    ASSERT_EQ(f.calls.size(), 4u);
    EXPECT_TRUE(f.calls[0].object) << "the object comes before its lines";
    EXPECT_EQ(f.calls[0].at, (Point{10, 20}));
    EXPECT_EQ(f.calls[0].view, &m);

    const ViewGeometry g = ApplyScale(m, {});
    const Rect textRect{g.box.left + 1, g.box.top, g.box.right - 2, g.box.bottom - 1};
    const int step = m.LineSpacing + MeasuringFontHeight(m);
    const char* texts[] = {"one", "two", "three"};
    const uint16_t sides[] = {frftLeft | frftRight | frftTop, frftLeft | frftRight,
                              frftLeft | frftRight | frftBottom};
    for (int i = 0; i < 3; ++i) {
        const RecordingFilter::Call& c = f.calls[i + 1];
        EXPECT_FALSE(c.object);
        EXPECT_EQ(c.text, texts[i]) << "paragraph marker removed";
        EXPECT_EQ(c.sides, sides[i]) << texts[i];
        EXPECT_EQ(c.at, (Point{g.x + g.gx, g.y + g.gy + i * step})) << texts[i];
        EXPECT_EQ(c.rect, textRect);
        EXPECT_EQ(c.view, &m);
    }
}

TEST(ExportObjectTest, FrameSidesOfEachLine) {
    constexpr uint16_t L = frftLeft, R = frftRight, T = frftTop, B = frftBottom;
    struct Case {
        const char* name;
        Lines text;
        uint32_t alignment;
        uint16_t frame;
        std::vector<std::string> texts;
        std::vector<uint16_t> sides;
    } cases[] = {
        {"one line keeps every side", {"alone"}, frtaLeft, kAllSides, {"alone"}, {kAllSides}},
        {"two lines", {"a", "b"}, frtaLeft, kAllSides, {"a", "b"}, {L | R | T, L | R | B}},
        {"an empty line between still joins",
         {"one", "", "three"},
         frtaLeft,
         kAllSides,
         {"one", "", "three"},
         {L | R | T, L | R, L | R | B}},
        {"only the sides the box has",
         {"a", "b", "c"},
         frtaLeft,
         L | T,
         {"a", "b", "c"},
         {L | T, L, L}},
        {"bottom only", {"a", "b", "c"}, frtaLeft, B, {"a", "b", "c"}, {0, 0, B}},
        {"no frame", {"a", "b"}, frtaRight, 0, {"a", "b"}, {0, 0}},
        {"rotated lines have none",
         {"a", "b", "c"},
         frtaVertical,
         kAllSides,
         {"a", "b", "c"},
         {0, 0, 0}},
        {"one rotated line has none", {"a"}, frtaVertical, kAllSides, {"a"}, {0}},
        {"stored wrapped text drops its marker line",
         {"one\x01", "two\x01", "\x01"},
         frtaLeft,
         kAllSides,
         {"one", "two"},
         {L | R | T, L | R | B}},
        {"a value with a line break",
         {"first\r\nsecond"},
         frtaCenter,
         kAllSides,
         {"first", "second"},
         {L | R | T, L | R | B}},
        {"an empty box has no lines", {}, frtaLeft, kAllSides, {}, {}},
    };
    for (const Case& k : cases) {
        TfrMemoView m = box(0, 0, 150, 120, k.text);
        m.Alignment = k.alignment;
        m.FrameTyp = k.frame;
        RecordingFilter f;
        ExportObject(m, f);
        ASSERT_FALSE(f.calls.empty()) << k.name;
        EXPECT_TRUE(f.calls[0].object) << k.name;
        std::vector<std::string> texts;
        std::vector<uint16_t> sides;
        for (const auto& c : f.textLines()) {
            texts.push_back(c.text);
            sides.push_back(c.sides);
        }
        EXPECT_EQ(texts, k.texts) << k.name;
        EXPECT_EQ(sides, k.sides) << k.name;
    }
}

// Each line is handed over where the box would have drawn it, whatever the
// alignment: a filter can place its text as the preview shows it.
TEST(ExportObjectTest, LinesGoWhereTheyWouldBeDrawn) {
    struct Case {
        const char* name;
        uint32_t alignment;
    } cases[] = {
        {"left", frtaLeft},
        {"right", frtaRight},
        {"centre", frtaCenter},
        {"justified", frtaJustify},
        {"middle", frtaLeft | frtaMiddle},
        {"bottom right", frtaRight | frtaDown},
        {"rotated", frtaVertical},
        {"rotated right", frtaVertical | frtaRight},
        {"rotated centre, bottom", frtaVertical | frtaCenter | frtaDown},
        {"rotated justified", frtaVertical | frtaJustify},
    };
    for (const Case& k : cases) {
        TfrMemoView m = box(30, 40, 130, 130, {ru("Пенсионный фонд Российской Федерации")});
        m.Alignment = k.alignment;
        m.FrameTyp = kAllSides;
        m.FrameWidth = 3;
        TfrMemoView exported = m;

        DrawnCanvas drawn;
        DrawMemo(drawn, m, {});
        RecordingFilter f;
        ExportObject(exported, f);

        const auto lines = f.textLines();
        ASSERT_GE(drawn.texts.size(), 2u) << k.name << ": the text should wrap";
        ASSERT_EQ(lines.size(), drawn.texts.size()) << k.name;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].at, drawn.texts[i].origin) << k.name << ", line " << i;
            EXPECT_EQ(lines[i].text, drawn.texts[i].text) << k.name << ", line " << i;
        }
    }
}

TEST(ExportObjectTest, RightAlignedLineEndsAtTheRightMargin) {
    TfrMemoView m = box(10, 0, 200, 30, {ru("Итого")});
    m.Alignment = frtaRight;
    RecordingFilter f;
    ExportObject(m, f);
    const ViewGeometry g = ApplyScale(m, {});
    const auto lines = f.textLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at.x, g.x + g.box.width() - g.gx - widthOf(m, m.Memo[0]) - 1);
}

TEST(ExportObjectTest, JustifiedLinesAreHandedOverAsLaidOut) {
    TfrMemoView m = box(0, 0, 120, 200, {ru("Пенсионный фонд Российской Федерации")});
    m.Alignment = frtaJustify;
    const MemoLayout layout = MeasureMemo(m, m.Memo);
    RecordingFilter f;
    ExportObject(m, f);
    const auto lines = f.textLines();
    ASSERT_EQ(lines.size(), layout.lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, std::string(WithoutParagraphEnd(layout.lines[i])));
        EXPECT_EQ(lines[i].at.x, m.GapX) << "justified lines start at the left margin";
    }
}

TEST(ExportObjectTest, OtherViewsGiveOnlyTheirObject) {
    auto picture = std::make_unique<TfrPictureView>();
    picture->FrameTyp = kAllSides;
    picture->Memo = {"not a text"};
    auto line = std::make_unique<TfrLineView>();
    line->Memo = {"not a text either"};
    std::unique_ptr<TfrView> views[] = {std::move(picture), std::move(line)};
    int left = 5;
    for (auto& v : views) {
        v->Left = left, v->Top = left + 1, v->Width = 50, v->Height = 20;
        RecordingFilter f;
        ExportObject(*v, f);
        ASSERT_EQ(f.calls.size(), 1u) << v->namePrefix();
        EXPECT_TRUE(f.calls[0].object);
        EXPECT_EQ(f.calls[0].at, (Point{left, left + 1}));
        EXPECT_EQ(f.calls[0].view, v.get());
        left += 10;
    }
}

TEST(ExportObjectTest, ExportModeDrawsNothing) {
    TfrMemoView m = box(0, 0, 150, 60, {"one", "two"});
    m.FrameTyp = kAllSides;
    m.FillColor = rgb(255, 255, 0);
    m.setFlag(flUnderlines, true);

    DrawnCanvas normal;
    TfrMemoView drawnBox = m;
    ASSERT_EQ(DrawMemo(normal, drawnBox, {}), 2);
    EXPECT_GT(normal.lines, 0);
    EXPECT_GT(normal.fills, 0);
    EXPECT_EQ(normal.texts.size(), 2u);

    DrawnCanvas exported;
    RecordingFilter f;
    MemoDrawOptions options;
    options.exportTo = &f;
    EXPECT_EQ(DrawMemo(exported, m, {}, options), 2);
    EXPECT_TRUE(exported.nothing()) << "no background, frame, ruled lines or text";
    EXPECT_EQ(f.textLines().size(), 2u);
}

// A filter that gathers each object's lines into one chain, as a text
// format would before writing a page.
class CollectingFilter : public TfrExportFilter {
public:
    void ObjectData(int, int, TfrView&) override { mutableLines().emplace_back(); }
    void TextLine(const Rect&, int x, int y, std::string_view text, uint16_t sides,
                  TfrView&) override {
        mutableLines().back().push_back({x, y, std::string(text), sides});
    }
};

TEST(ExportFilterTest, LinesAreCollectedAndCleared) {
    TfrMemoView first = box(0, 0, 150, 60, {"a", "b"});
    TfrMemoView second = box(0, 100, 150, 60, {ru("Итого")});
    TfrLineView rule;
    CollectingFilter f;
    ExportObject(first, f);
    ExportObject(rule, f);
    ExportObject(second, f);
    ASSERT_EQ(f.lines().size(), 3u);
    EXPECT_EQ(f.lines()[0].size(), 2u);
    EXPECT_TRUE(f.lines()[1].empty());
    ASSERT_EQ(f.lines()[2].size(), 1u);
    EXPECT_EQ(f.lines()[2][0].Text, ru("Итого"));
    EXPECT_EQ(f.lines()[2][0].Y, 100 + second.GapY);
    f.ClearLines();
    EXPECT_TRUE(f.lines().empty());
}

TEST(ExportFilterTest, BaseAcceptsItsOptionsAndIgnoresTheRest) {
    TfrExportFilter f;
    EXPECT_EQ(f.OptionsDialog(), 1);
    EXPECT_EQ(f.stream(), nullptr);
    EXPECT_FALSE(f.Default);
    EXPECT_FALSE(f.ShowDialog);
    TfrMemoView m = box(0, 0, 100, 40, {"text"});
    ExportObject(m, f);
    f.BeginDocument(), f.BeginPage(), f.EndPage(), f.EndDocument();
    EXPECT_TRUE(f.lines().empty());
}

} // namespace
} // namespace pv
