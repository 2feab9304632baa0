// Arbitrary bytes as a script: compiled and run. The run is limited in steps,
// so an endless loop ends with ScriptStepLimitError like any other failure.
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"
#include "report/script/ScriptInterpreter.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 33000) return 0;
    std::vector<std::string> lines;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    pv::TfrVariables globals;
    pv::ExpressionEngine engine({}, globals);
    pv::TfrInterpretator interpretator(engine);
    pv::CompiledScript script = interpretator.CompileScript(lines);
    try {
        interpretator.RunScript(script, 5000);
    } catch (const pv::ExpressionError&) {
    }
    return 0;
}
