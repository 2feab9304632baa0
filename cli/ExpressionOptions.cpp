#include "cli/ExpressionOptions.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/Variables.h"

namespace pv::cli {

void ExpressionOptions::addTo(CLI::App& command) {
    command.add_option("--decimal", decimal, "System decimal separator")
        ->check(CLI::IsMember({",", "."}));
    command.add_option("--short-date", shortDate, "System short date format, e.g. dd.mm.yyyy");
    command.add_option("--var", vars, "A global variable NAME=VALUE (text)");
}

void ExpressionOptions::apply() const {
    SystemFormat format = systemFormat();
    if (!decimal.empty()) format.decimalSeparator = decimal[0];
    if (!shortDate.empty()) {
        format.shortDateFormat = shortDate;
        for (char c : shortDate)
            if (c == '.' || c == '/' || c == '-') {
                format.dateSeparator = c;
                break;
            }
    }
    setSystemFormat(format);
    for (const auto& var : vars) {
        size_t eq = var.find('=');
        if (eq == std::string::npos || eq == 0)
            throw CLI::ValidationError("--var", "expected NAME=VALUE, got " + var);
        frVariables().SetValue(utf8ToCp1251(var.substr(0, eq)),
                               Variant(utf8ToCp1251(var.substr(eq + 1))));
    }
}

} // namespace pv::cli
