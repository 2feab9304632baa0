#include "cli/FormatOptions.h"

#include "platform/SystemFormat.h"

namespace pv::cli {

void FormatOptions::addTo(CLI::App& command) {
    command.add_option("--decimal", decimal, "System decimal separator")
        ->check(CLI::IsMember({",", "."}));
    command.add_option("--short-date", shortDate, "System short date format, e.g. dd.mm.yyyy");
}

void FormatOptions::apply() const {
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
}

} // namespace pv::cli
