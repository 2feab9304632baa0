// The name-to-value lists, sorted and in insertion order.
#include "report/value/Variables.h"
#include "report/value/Constants.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

std::string names(const TfrVariables& v) {
    std::string out;
    for (int i = 0; i < v.Count(); ++i)
        out += (i ? "," : "") + v.Name(i);
    return out;
}

TEST(Variables, SortedAndInsertionOrder) {
    for (bool sorted : {true, false}) {
        TfrVariables v(sorted);
        v.SetValue("b", Variant(int32_t(1)));
        v.SetValue("A", Variant(int32_t(2)));
        v.SetValue("c", Variant(int32_t(3)));
        v.SetValue("B", Variant(int32_t(4))); // same name, other case: replaced
        EXPECT_EQ(v.Count(), 3);
        EXPECT_EQ(names(v), sorted ? "A,b,c" : "b,A,c");
        EXPECT_EQ(v.Value("b"), Variant(int32_t(4)));
        EXPECT_EQ(v.Value("missing"), Variant());
        EXPECT_EQ(v.ValueAt(99), Variant(int32_t(0)));
        EXPECT_EQ(v.ValueAt(-1), Variant(int32_t(0)));
        int i = v.IndexOf("C");
        v.Rename(i, "Z");
        EXPECT_EQ(v.Value("z"), Variant(int32_t(3)));
        EXPECT_EQ(names(v), sorted ? "A,b,Z" : "b,A,Z");
        v.Insert(0, "first");
        EXPECT_EQ(v.Value("first"), Variant(int32_t(0)));
        EXPECT_EQ(names(v), sorted ? "A,b,first,Z" : "first,b,A,Z");
        v.Delete(v.IndexOf("A"));
        EXPECT_FALSE(v.Contains("a"));
        TfrVariables copy(!sorted);
        copy.Assign(v);
        EXPECT_EQ(copy.Count(), v.Count());
        EXPECT_EQ(copy.Value("Z"), Variant(int32_t(3)));
        v.Clear();
        EXPECT_EQ(v.Count(), 0);
    }
}

TEST(Constants, TableValues) {
    const TfrVariables& c = frConstants();
    struct {
        const char* name;
        Variant value;
    } cases[] = {
        {"clWhite", Variant(int32_t(0xFFFFFF))},
        {"clNavy", Variant(int32_t(0x800000))},
        {"clAqua", Variant(int32_t(0xFFFF00))},
        {"clTransparent", Variant(int32_t(0x1FFFFFFF))},
        {"clScrollBar", Variant(static_cast<int32_t>(0x80000000u))},
        {"clInfoBk", Variant(static_cast<int32_t>(0x80000018u))},
        {"clBtnFace", Variant(static_cast<int32_t>(0x8000000Fu))},
        {"mrNo", Variant(int32_t(7))},
        {"fsBold", Variant(int32_t(2))},
        {"frftTop", Variant(int32_t(8))},
        {"frtaDown", Variant(int32_t(16))},
        {"baRest", Variant(int32_t(7))},
        {"psDouble", Variant(int32_t(5))},
        {"mb_YesNoCancel", Variant(int32_t(3))},
        {"mb_IconInformation", Variant(int32_t(64))},
        {"CRLF", Variant("\r\n")},
        {"Null", Variant::null()},
    };
    for (const auto& k : cases)
        EXPECT_EQ(c.Value(k.name), k.value) << k.name;
    removePictureConstants(); // other tests may have made pictures already
    EXPECT_FALSE(c.Contains("btBMP"));
    addPictureConstants();
    EXPECT_EQ(frConstants().Value("btWMF"), Variant(int32_t(3)));
}

} // namespace
} // namespace pv
