#include "report/value/VariantMath.h"

#include "report/value/ExpressionError.h"

#include <cmath>
#include <cstdint>

namespace pv {
namespace {

using Kind = Variant::Kind;

bool integral(const Variant& v) {
    return v.kind() == Kind::Integer || v.kind() == Kind::Boolean || v.isVoid();
}

bool isDate(const Variant& v) {
    return v.kind() == Kind::DateTime;
}

// Text that does not hold a number.
bool plainText(const Variant& v) {
    return v.isText() && !v.asNumber();
}

int64_t asInt64(const Variant& v) {
    if (v.kind() == Kind::Integer) return v.integer();
    if (v.kind() == Kind::Boolean) return v.boolean() ? 1 : 0;
    return 0;
}

Variant fromInt64(int64_t v) {
    if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
    return Variant(static_cast<double>(v));
}

// Integer when both sides are integral and text is absent, otherwise double.
template <class IntOp, class RealOp>
Variant arithmetic(const Variant& a, const Variant& b, IntOp intOp, RealOp realOp) {
    if (integral(a) && integral(b)) return intOp(asInt64(a), asInt64(b));
    return realOp(a.toDouble(), b.toDouble());
}

// Joins two texts; a script doubling a text in a loop ends with an error
// instead of exhausting the memory.
Variant join(const Variant& a, const Variant& b) {
    std::string x = a.toText(), y = b.toText();
    if (x.size() + y.size() > kMaxTextLength) throw ExpressionError("Text too long");
    return Variant(x + y);
}

} // namespace

Variant variantAdd(const Variant& a, const Variant& b) {
    if ((a.isText() || a.isVoid()) && (b.isText() || b.isVoid()) && !(a.isVoid() && b.isVoid()))
        return join(a, b);
    if (plainText(a) || plainText(b)) return join(a, b);
    if (isDate(a) != isDate(b)) return Variant::dateTime(a.toDouble() + b.toDouble());
    return arithmetic(
        a, b, [](int64_t x, int64_t y) { return fromInt64(x + y); },
        [](double x, double y) { return Variant(x + y); });
}

Variant variantSub(const Variant& a, const Variant& b) {
    if (isDate(a) && !isDate(b)) return Variant::dateTime(a.toDouble() - b.toDouble());
    return arithmetic(
        a, b, [](int64_t x, int64_t y) { return fromInt64(x - y); },
        [](double x, double y) { return Variant(x - y); });
}

Variant variantMul(const Variant& a, const Variant& b) {
    return arithmetic(
        a, b, [](int64_t x, int64_t y) { return fromInt64(x * y); },
        [](double x, double y) { return Variant(x * y); });
}

Variant variantDiv(const Variant& a, const Variant& b) {
    double divisor = b.toDouble();
    double dividend = a.toDouble();
    if (divisor == 0) return Variant(int32_t(0));
    return Variant(dividend / divisor);
}

Variant variantMod(const Variant& a, const Variant& b) {
    int32_t y = b.toInt();
    int32_t x = a.toInt();
    // x % -1 is always 0; computing it would trap for the smallest integer.
    if (y == 0 || y == -1) return Variant(int32_t(0));
    return Variant(static_cast<int32_t>(x % y));
}

Variant variantAnd(const Variant& a, const Variant& b) {
    if (a.kind() == Kind::Boolean && b.kind() == Kind::Boolean)
        return Variant(a.boolean() && b.boolean());
    return Variant(static_cast<int32_t>(a.toInt() & b.toInt()));
}

Variant variantOr(const Variant& a, const Variant& b) {
    if (a.kind() == Kind::Boolean && b.kind() == Kind::Boolean)
        return Variant(a.boolean() || b.boolean());
    return Variant(static_cast<int32_t>(a.toInt() | b.toInt()));
}

Variant variantNegate(const Variant& a) {
    if (integral(a)) return fromInt64(-asInt64(a));
    return Variant(-a.toDouble());
}

int variantCompare(const Variant& a, const Variant& b) {
    bool textual = (a.isText() || a.isVoid()) && (b.isText() || b.isVoid());
    if (!textual && !plainText(a) && !plainText(b)) {
        double x = a.toDouble(), y = b.toDouble();
        if (x < y) return -1;
        if (x > y) return 1;
        if (x == y) return 0;
        // NaN: fall through to the texts
    }
    std::string x = a.toText(), y = b.toText();
    int c = x.compare(y);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace pv
