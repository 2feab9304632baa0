#pragma once

#include "report/value/Variant.h"

#include <cstddef>

namespace pv {

// Operators of the expression language on variants. One rule throughout:
//
// - Empty and null take part as 0 next to a number and as "" next to text.
// - Numbers mix freely: integers (and booleans, 1/0) stay integers while the
//   result fits 32 bits, otherwise the result is a double; a date-time plus or
//   minus a number stays a date-time, the difference of two is a double.
// - Text next to a number converts to a number when it holds one. "+" joins the
//   texts when either side is text that is not a number; the other arithmetic
//   operators raise ExpressionError for such text.
// - Comparisons: two texts compare byte by byte (case matters); when one side is
//   a number and the other converts, as numbers; otherwise as texts.
// - Division and MOD by zero give 0.
// - A joined text longer than kMaxTextLength raises ExpressionError.
constexpr size_t kMaxTextLength = 16 * 1024 * 1024;
Variant variantAdd(const Variant& a, const Variant& b);
Variant variantSub(const Variant& a, const Variant& b);
Variant variantMul(const Variant& a, const Variant& b);
Variant variantDiv(const Variant& a, const Variant& b);
Variant variantMod(const Variant& a, const Variant& b);
// Logical on two booleans, bitwise on integers otherwise.
Variant variantAnd(const Variant& a, const Variant& b);
Variant variantOr(const Variant& a, const Variant& b);
Variant variantNegate(const Variant& a);
// -1, 0 or 1.
int variantCompare(const Variant& a, const Variant& b);

} // namespace pv
