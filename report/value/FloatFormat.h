#pragma once

#include <string>

namespace pv {

// Numbers as text with a chosen decimal separator; the thousands are grouped
// with a blank.
//
// FormatFloat follows the usual float pattern: up to three sections
// "positive;negative;zero", "0" a digit always shown, "#" a digit shown when
// significant, the first "." the decimal point, a "," in the whole part turns
// on grouping, "E+"/"E-" with digits a scientific exponent, quoted text
// literal, anything else literal. An empty pattern gives the general form.
std::string FormatFloat(const std::string& pattern, double value, char decimalSeparator);

// Exactly `decimals` decimals, optionally grouped ("1 234,50").
std::string formatFixed(double value, int decimals, char decimalSeparator, bool grouped);

} // namespace pv
