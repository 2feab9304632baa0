// The one rule for operators on mixed variants.
#include "report/value/VariantMath.h"
#include "platform/SystemFormat.h"
#include "report/value/ExpressionError.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

using K = Variant::Kind;

TEST(VariantMath, MixedOperands) {
    ScopedSystemFormat format(SystemFormat{});
    const Variant i2(int32_t(2)), d15(1.5), t12(std::string("12")), tx(std::string("x")),
        date = Variant::dateTime(36104), empty, null = Variant::null(), yes(true);
    struct {
        Variant result;
        K kind;
        const char* text;
    } cases[] = {
        {variantAdd(i2, i2), K::Integer, "4"},
        {variantAdd(i2, d15), K::Double, "3,5"},
        {variantAdd(t12, i2), K::Double, "14"},  // text holding a number converts
        {variantAdd(t12, t12), K::Text, "1212"}, // two texts join
        {variantAdd(tx, i2), K::Text, "x2"},     // text that is no number joins
        {variantAdd(empty, tx), K::Text, "x"},
        {variantAdd(null, i2), K::Integer, "2"}, // null counts as 0 next to numbers
        {variantAdd(empty, empty), K::Integer, "0"},
        {variantAdd(yes, i2), K::Integer, "3"}, // a boolean is 1
        {variantAdd(date, i2), K::DateTime, "07.11.1998"},
        {variantSub(date, i2), K::DateTime, "03.11.1998"},
        {variantSub(date, Variant::dateTime(36100)), K::Double, "4"},
        {variantMul(Variant(int32_t(65536)), Variant(int32_t(65536))), K::Double, "4294967296"},
        {variantSub(Variant(int32_t(INT32_MIN)), Variant(int32_t(1))), K::Double, "-2147483649"},
        {variantNegate(Variant(int32_t(INT32_MIN))), K::Double, "2147483648"},
        {variantDiv(i2, Variant(int32_t(0))), K::Integer, "0"},
        {variantDiv(Variant(int32_t(1)), Variant(int32_t(4))), K::Double, "0,25"},
        {variantMod(Variant(int32_t(INT32_MIN)), Variant(int32_t(-1))), K::Integer, "0"},
        {variantMod(Variant(int32_t(-7)), Variant(int32_t(3))), K::Integer, "-1"},
        {variantAnd(yes, Variant(false)), K::Boolean, "False"},
        {variantOr(Variant(int32_t(4)), yes), K::Integer, "5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result.kind(), c.kind) << c.text;
        EXPECT_EQ(c.result.toText(), c.text);
    }
}

TEST(VariantMath, Comparisons) {
    ScopedSystemFormat format(SystemFormat{});
    struct {
        Variant a, b;
        int expected;
    } cases[] = {
        {Variant(int32_t(2)), Variant(2.0), 0},
        {Variant(std::string("10")), Variant(int32_t(9)), 1},        // as numbers
        {Variant(std::string("10")), Variant(std::string("9")), -1}, // as texts
        {Variant(std::string("abc")), Variant(int32_t(1)), 1},       // "abc" > "1" as texts
        {Variant(), Variant(std::string("")), 0},
        {Variant(), Variant(int32_t(0)), 0},
        {Variant(std::string("a")), Variant(std::string("B")), 1}, // case matters
    };
    for (const auto& c : cases)
        EXPECT_EQ(variantCompare(c.a, c.b), c.expected) << c.a.toText() << " " << c.b.toText();
}

TEST(VariantMath, TextThatIsNoNumberFailsInArithmetic) {
    Variant x(std::string("x"));
    EXPECT_THROW(variantSub(x, Variant(int32_t(1))), ExpressionError);
    EXPECT_THROW(variantMul(x, Variant(int32_t(1))), ExpressionError);
    EXPECT_THROW(variantDiv(Variant(int32_t(1)), x), ExpressionError);
    EXPECT_THROW(variantMod(Variant(1e12), Variant(int32_t(7))), ExpressionError);
}

TEST(VariantMath, JoinedTextsAreCapped) {
    Variant big(std::string(kMaxTextLength / 2 + 1, 'a'));
    EXPECT_THROW(variantAdd(big, big), ExpressionError);
}

} // namespace
} // namespace pv
