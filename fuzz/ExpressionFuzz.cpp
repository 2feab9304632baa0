// Arbitrary bytes as an expression: compiled and evaluated, and expanded as a
// text-box line with its bracketed parts.
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    pv::TfrVariables globals;
    globals.SetValue("reg_nom", pv::Variant(std::string("016-001-000123")));
    globals.SetValue("n", pv::Variant(int32_t(5)));
    pv::ExpressionEngine engine({}, globals);
    try {
        engine.parser().Evaluate(engine.parser().Compile(text));
    } catch (const pv::ExpressionError&) {
    }
    try {
        pv::TextBoxSettings box;
        box.HideZeros = size % 2 == 1;
        pv::ExpandText(text, box, engine);
    } catch (const pv::ExpressionError&) {
    }
    return 0;
}
