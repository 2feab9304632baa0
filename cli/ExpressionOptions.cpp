#include "cli/ExpressionOptions.h"

#include "platform/CodePage.h"
#include "report/Variables.h"

namespace pv::cli {

void ExpressionOptions::addTo(CLI::App& command) {
    format.addTo(command);
    command.add_option("--var", vars, "A global variable NAME=VALUE (text)");
}

void ExpressionOptions::apply() const {
    format.apply();
    for (const auto& var : vars) {
        size_t eq = var.find('=');
        if (eq == std::string::npos || eq == 0)
            throw CLI::ValidationError("--var", "expected NAME=VALUE, got " + var);
        frVariables().SetValue(utf8ToCp1251(var.substr(0, eq)),
                               Variant(utf8ToCp1251(var.substr(eq + 1))));
    }
}

} // namespace pv::cli
