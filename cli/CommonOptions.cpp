#include "cli/CommonOptions.h"

#include "program/ProgramFiles.h"

#include <filesystem>

namespace pv::cli {

void CommonOptions::addTo(CLI::App& command) {
    format.addTo(command);
    command.add_option("--program-dir", programDir,
                       "Where pachkaview.ini and TempPlay/ are found (default: beside the binary, "
                       "or as the installed program finds them)");
    command.add_option("--region-warning", regionWarning, "Check the registration number")
        ->check(CLI::IsMember({"ignore", "stop"}));
}

void CommonOptions::apply() {
    format.apply();
    if (programDir.empty()) {
        const ProgramFiles files = ProgramFiles::locate(binaryDir());
        programDir = files.settingsDir();
        templateDirs = files.templateDirs();
        return;
    }
    if (programDir.back() != '/') programDir += '/';
    templateDirs = {programDir + "TempPlay/"};
}

std::string binaryDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

} // namespace pv::cli
