#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pv {

// Where the program finds its templates and settings file, and where the
// designer writes a template the user changed.
//
// A program directory that holds TempPlay/ (a build folder, an unpacked copy)
// keeps everything beside the binary. Otherwise the program is installed: a
// per-user copy under $XDG_DATA_HOME/pachkaview/TempPlay is read before the
// templates shipped under the prefix (share/pachkaview/TempPlay beside bin/),
// and the settings file lives under $XDG_CONFIG_HOME/pachkaview/ when the
// program directory cannot be written.
class ProgramFiles {
public:
    // Reads an environment variable; empty when unset.
    using Environment = std::function<std::string(const char* name)>;
    static std::string processEnvironment(const char* name);

    // `programDir`: the directory of the binary (UTF-8), with or without the separator.
    static ProgramFiles locate(const std::string& programDir,
                               const Environment& env = processEnvironment);

    bool installed() const { return installed_; }
    const std::string& programDir() const { return programDir_; }
    // The directories searched for a template, in order; each ends in '/'.
    const std::vector<std::string>& templateDirs() const { return templateDirs_; }
    // The first existing file of that name (UTF-8) in the template
    // directories; when none has it, where the first directory would hold it.
    std::string templatePath(const std::string& name) const;
    // The same over any list of directories (none: an empty path).
    static std::string findTemplate(const std::vector<std::string>& dirs, const std::string& name);
    // Where the designer saves a template of that name: the file it came from
    // beside the binary, the per-user copy when installed.
    std::string editedTemplatePath(const std::string& name) const;
    // The directory the settings file is read from and written to ('/' at the end).
    const std::string& settingsDir() const { return settingsDir_; }

private:
    bool installed_ = false;
    std::string programDir_;
    std::vector<std::string> templateDirs_;
    std::string settingsDir_;
};

} // namespace pv
