#include "program/ProgramFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace pv {
namespace {

namespace fs = std::filesystem;

std::string withSeparator(std::string dir) {
    if (dir.empty()) dir = ".";
    if (dir.back() != '/') dir += '/';
    return dir;
}

// An XDG base directory: the variable when it holds an absolute path, else
// the fallback under the home directory.
std::string baseDir(const ProgramFiles::Environment& env, const char* variable,
                    const char* homeFallback) {
    const std::string value = env(variable);
    if (!value.empty() && value.front() == '/') return withSeparator(value);
    std::string home = env("HOME");
    if (home.empty()) home = "/tmp";
    return withSeparator(home) + homeFallback;
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(fs::u8path(path), ec);
}

bool writable(const std::string& dir) {
    return ::access(dir.c_str(), W_OK) == 0;
}

} // namespace

std::string ProgramFiles::processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

ProgramFiles ProgramFiles::locate(const std::string& programDir, const Environment& env) {
    ProgramFiles files;
    files.programDir_ = withSeparator(programDir);
    const std::string beside = files.programDir_ + "TempPlay/";
    files.installed_ = !isDirectory(beside);
    if (!files.installed_) {
        files.templateDirs_ = {beside};
        files.settingsDir_ = files.programDir_;
        return files;
    }
    const fs::path prefix = fs::u8path(files.programDir_).parent_path().parent_path();
    const std::string shipped =
        withSeparator((prefix / "share" / "pachkaview" / "TempPlay").string());
    files.templateDirs_ = {baseDir(env, "XDG_DATA_HOME", ".local/share/") + "pachkaview/TempPlay/",
                           shipped};
    files.settingsDir_ = writable(files.programDir_)
                             ? files.programDir_
                             : baseDir(env, "XDG_CONFIG_HOME", ".config/") + "pachkaview/";
    return files;
}

std::string ProgramFiles::templatePath(const std::string& name) const {
    return findTemplate(templateDirs_, name);
}

std::string ProgramFiles::findTemplate(const std::vector<std::string>& dirs,
                                       const std::string& name) {
    for (const std::string& dir : dirs) {
        std::error_code ec;
        if (fs::exists(fs::u8path(dir + name), ec)) return dir + name;
    }
    return dirs.empty() ? std::string() : dirs.front() + name;
}

std::string ProgramFiles::editedTemplatePath(const std::string& name) const {
    return templateDirs_.front() + name;
}

} // namespace pv
