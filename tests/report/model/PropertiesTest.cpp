#include "report/model/BandView.h"
#include "report/model/MemoView.h"
#include "report/model/Page.h"
#include "report/model/PictureView.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(PropertiesTest, CommonAndMemoPropertiesReadWhatTheFieldsHold) {
    TfrMemoView m;
    m.Name = "Memo1";
    m.Left = 10;
    m.Memo = {"first", "second"};
    m.FontName = "Times";
    m.Flags = flStretched | flHideZeros;
    struct Case {
        const char* name;
        Variant value;
    } cases[] = {
        {"name", Variant("Memo1")},
        {"LEFT", Variant(int32_t(10))},
        {"Memo", Variant("first\r\nsecond")},
        {"Memo.Count", Variant(int32_t(2))},
        {"DataField", Variant("first")},
        {"Font.Name", Variant("Times")},
        {"HideZeros", Variant(true)},
        {"WordWrap", Variant(false)},
        {"Stretched", Variant(true)},
        {"Visible", Variant(true)},
        {"Font.Size", Variant(int32_t(10))},
        {"LineSpacing", Variant(int32_t(2))},
        {"FillColor", Variant(int32_t(0x1FFFFFFF))},
        {"Lines.Count", Variant(int32_t(2))},
    };
    for (const auto& c : cases) {
        auto v = m.ReadProperty(c.name);
        ASSERT_TRUE(v) << c.name;
        EXPECT_EQ(*v, c.value) << c.name;
    }
    EXPECT_FALSE(m.ReadProperty("NoSuchThing"));
    EXPECT_FALSE(TfrBandView().ReadProperty("Font.Name"));
}

TEST(PropertiesTest, WritingPropertiesChangesTheFields) {
    TfrMemoView m;
    EXPECT_TRUE(m.WriteProperty("Top", Variant("25")));
    EXPECT_TRUE(m.WriteProperty("WordBreak", Variant(int32_t(1))));
    EXPECT_TRUE(m.WriteProperty("WordWrap", Variant(false)));
    EXPECT_TRUE(m.WriteProperty("Memo", Variant("a\r\nb\nc")));
    EXPECT_TRUE(m.WriteProperty("Font.Style", Variant(2.0)));
    EXPECT_TRUE(m.WriteProperty("Visible", Variant(false)));
    EXPECT_TRUE(m.WriteProperty("FrameWidth", Variant("1,5")));
    EXPECT_FALSE(m.WriteProperty("Nonsense", Variant(1)));
    EXPECT_EQ(m.Top, 25);
    EXPECT_TRUE(m.flag(flWordBreak));
    EXPECT_FALSE(m.flag(flWordWrap));
    EXPECT_EQ(m.Memo, (Lines{"a", "b", "c"}));
    EXPECT_EQ(m.FontStyle, fsBold);
    EXPECT_EQ(m.Visible, 0);
    EXPECT_FLOAT_EQ(m.FrameWidth, 1.5f);

    TfrBandView b;
    EXPECT_TRUE(b.WriteProperty("FormNewPage", Variant(true)));
    EXPECT_TRUE(b.WriteProperty("Condition", Variant("[x]")));
    EXPECT_TRUE(b.flag(flBandNewPageAfter));
    EXPECT_EQ(b.FormatStr, "[x]");
    EXPECT_EQ(*b.ReadProperty("OnFirstPage"), Variant(true));

    TfrPictureView p;
    EXPECT_EQ(*p.ReadProperty("KeepAspect"), Variant(true));
    EXPECT_TRUE(p.WriteProperty("Center", Variant(true)));
    EXPECT_TRUE(p.flag(flPictCenter));
}

TEST(PropertiesTest, MemoMethodsAndIndexedLines) {
    TfrMemoView m;
    Variant none;
    m.CallMethod("Memo.Add", Variant("x"), none, none);
    m.CallMethod("memo.add", Variant("Y"), none, none);
    EXPECT_EQ(*m.CallMethod("Memo.IndexOf", Variant("y"), none, none), Variant(int32_t(1)));
    EXPECT_EQ(*m.CallMethod("Memo.IndexOf", Variant("z"), none, none), Variant(int32_t(-1)));
    EXPECT_EQ(*m.CallMethod("GETINDEXPROPERTY", Variant("Memo"), Variant(int32_t(1)), none),
              Variant("Y"));
    EXPECT_EQ(*m.CallMethod("GETINDEXPROPERTY", Variant("Memo"), Variant(int32_t(7)), none),
              Variant(""));
    m.CallMethod("SETINDEXPROPERTY", Variant("Memo"), Variant(int32_t(3)), Variant("d"));
    EXPECT_EQ(m.Memo, (Lines{"x", "Y", "", "d"}));
    m.CallMethod("Memo.Delete", Variant(int32_t(0)), none, none);
    m.CallMethod("Memo.Delete", Variant(int32_t(10)), none, none);
    EXPECT_EQ(m.Memo, (Lines{"Y", "", "d"}));
    m.CallMethod("HIDE", none, none, none);
    EXPECT_EQ(m.Visible, 0);
    m.CallMethod("Show", none, none, none);
    EXPECT_NE(m.Visible, 0);
    m.CallMethod("Memo.Clear", none, none, none);
    EXPECT_TRUE(m.Memo.empty());
    EXPECT_FALSE(m.CallMethod("NoMethod", none, none, none));
}

TEST(PropertiesTest, PageProperties) {
    TfrPage p;
    p.ChangePaper(9, 0, 0, 0, -1);
    p.LeftMargin = 36;
    EXPECT_EQ(*p.ReadProperty("Width"), Variant(int32_t(756))); // 2100 × 18 / 50
    EXPECT_EQ(*p.ReadProperty("Height"), Variant(int32_t(1069)));
    EXPECT_EQ(*p.ReadProperty("StretchToPrintable"), Variant(false));
    EXPECT_EQ(*p.ReadProperty("LeftMargin"), Variant(int32_t(36)));
    EXPECT_TRUE(p.WriteProperty("StretchToPrintable", Variant(true)));
    EXPECT_EQ(p.UseMargins, 0);
    EXPECT_TRUE(p.WriteProperty("Orientation", Variant(int32_t(1))));
    EXPECT_EQ(p.PaperWidth, 2970);
    p.Type = 1;
    EXPECT_EQ(*p.ReadProperty("Width"), Variant(int32_t(380)));
    EXPECT_TRUE(p.WriteProperty("Width", Variant(int32_t(500))));
    EXPECT_EQ(p.WindowWidth, 500);
    EXPECT_FALSE(p.ReadProperty("Font.Name"));
}

TEST(PropertiesTest, EveryObjectAndEveryCopyHasItsOwnNumber) {
    TfrMemoView a;
    TfrMemoView b;
    auto c = a.clone();
    EXPECT_NE(a.id(), b.id());
    EXPECT_NE(a.id(), c->id());
    EXPECT_NE(b.id(), c->id());
}

} // namespace
} // namespace pv
