#pragma once

#include "report/script/FunctionLibrary.h"

namespace pv {

// The standard functions: the aggregates (answered by the preparation),
// DAYOF, MONTHOF, YEAROF, FORMATDATETIME, FORMATFLOAT, FORMATTEXT, INPUT,
// LENGTH, LOWERCASE, UPPERCASE, NAMECASE, TRIM, POS, MAXNUM, MINNUM, MESSAGEBOX.
class TfrStdFunctionLibrary : public TfrFunctionLibrary {
public:
    TfrStdFunctionLibrary();
    Variant DoFunction(int index, const std::string& p1, const std::string& p2,
                       const std::string& p3, ExpressionEngine& engine) override;
};

// Text through an edit mask whose literal characters are not stored in the
// text and whose placeholder for missing characters is a blank: the mask's
// literals are inserted between the text's characters.
std::string formatMaskText(const std::string& mask, const std::string& text);

} // namespace pv
