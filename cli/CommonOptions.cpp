#include "cli/CommonOptions.h"

#include "platform/SystemFormat.h"

#include <filesystem>

namespace pv::cli {

void CommonOptions::addTo(CLI::App& command) {
    command.add_option("--decimal", decimal, "System decimal separator")
        ->check(CLI::IsMember({",", "."}));
    command.add_option("--short-date", shortDate, "System short date format, e.g. dd.mm.yyyy");
    command.add_option("--program-dir", programDir,
                       "Where pachkaview.ini and TempPlay/ are found (default: beside the binary)");
    command.add_option("--region-warning", regionWarning, "Check the registration number")
        ->check(CLI::IsMember({"ignore", "stop"}));
}

void CommonOptions::apply() {
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
    if (programDir.empty()) programDir = binaryDir();
    if (programDir.back() != '/') programDir += '/';
}

std::string binaryDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

} // namespace pv::cli
