#include "cli/ScriptCommand.h"

#include "cli/ExpressionOptions.h"
#include "platform/CodePage.h"
#include "platform/FileBytes.h"
#include "platform/ScriptedUi.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"
#include "report/script/ScriptInterpreter.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

namespace pv::cli {
namespace {

nlohmann::ordered_json toJson(const Variant& v) {
    switch (v.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
        return nullptr;
    case Variant::Kind::Integer:
        return v.integer();
    case Variant::Kind::Double:
        return v.real();
    case Variant::Kind::Boolean:
        return v.boolean();
    default:
        return cp1251ToUtf8(v.toText());
    }
}

bool isUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : 9;
        if (n == 9 || (n > 0 && i + n >= s.size())) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n + 1;
    }
    return true;
}

// The file's lines in 1251: a file that is valid UTF-8 is converted, any other
// is taken as 1251 already (as scripts are stored in templates).
std::vector<std::string> readLines(const std::string& path) {
    std::optional<std::string> content = readFileBytes(path);
    if (!content) throw CLI::ValidationError("FILE", "cannot read " + path);
    std::vector<std::string> lines;
    std::string line;
    const std::string& bytes = *content;
    bool utf8 = isUtf8(bytes);
    std::istringstream text(bytes);
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(utf8 ? utf8ToCp1251(line) : line);
    }
    return lines;
}

} // namespace

void addScriptCommand(CLI::App& app, int& exitCode) {
    auto* command = app.add_subcommand("script", "Run a script and print the global variables");
    auto options = std::make_shared<ExpressionOptions>();
    auto file = std::make_shared<std::string>();
    auto maxSteps = std::make_shared<long>(10000000);
    options->addTo(*command);
    command->add_option("--max-steps", *maxSteps, "Stop a run after this many steps (0: never)");
    command->add_option("FILE", *file, "The script file (UTF-8 or 1251)")->required();
    command->callback([options, file, maxSteps, &exitCode] {
        options->apply();
        auto lines = readLines(*file);
        ScriptedUi ui;
        ExpressionContext context;
        context.ui = &ui;
        if (int rc = options->attachTemplate(context, ui)) {
            exitCode = rc;
            return;
        }
        ExpressionEngine engine(context);
        options->bind(engine);
        TfrInterpretator interpretator(engine);
        CompiledScript script = interpretator.CompileScript(lines);
        if (!script.errors.empty()) {
            for (const auto& e : script.errors)
                std::cerr << cp1251ToTerminal(e) << "\n";
            exitCode = 2;
            return;
        }
        try {
            interpretator.RunScript(script, *maxSteps);
        } catch (const std::exception& e) { // ExpressionError and anything unforeseen
            std::cerr << e.what() << "\n";
            exitCode = 2;
            return;
        }
        nlohmann::ordered_json out = nlohmann::ordered_json::object();
        const TfrVariables& vars = engine.globals();
        for (int i = 0; i < vars.Count(); ++i)
            out[cp1251ToUtf8(vars.Name(i))] = toJson(vars.ValueAt(i));
        std::cout << out.dump(2) << "\n";
        exitCode = 0;
    });
}

} // namespace pv::cli
