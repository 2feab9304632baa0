#pragma once

#include "program/SettingsText.h"

#include <string>
#include <string_view>

namespace pv {

// The settings file, held for the object's life. Opening never fails: the file
// is opened read-write, else read-only, else created empty; when none of that
// works the object runs on its defaults and forgets its writes. The file is
// locked exclusively (flock) while the object lives, so a second opener, in
// this or another process, works without the file.
//
// Release rewrites the file when something was written: the new content goes
// to a temporary file in the same directory, renamed over the old one, so a
// failure midway leaves the old settings intact.
class TAbIniFile {
public:
    // `fileName` is a UTF-8 path: a bare name lies in the user's configuration
    // directory, "./name" beside the program, anything else is used as given.
    explicit TAbIniFile(const std::string& fileName);
    // Releases if Release was not called; a failure to rewrite is lost there.
    ~TAbIniFile();
    TAbIniFile(const TAbIniFile&) = delete;
    TAbIniFile& operator=(const TAbIniFile&) = delete;

    // Texts are 1251. An empty value reads as the default.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue);
    // Does nothing for an empty key.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Rewrites the file when modified, then closes it. Throws SettingsFileError
    // when the file cannot be written (read-only file, disk full); the file
    // then keeps its old content.
    void Release();

    const std::string& FileName() const { return fileName_; }
    bool hasStream() const { return fd_ >= 0; }
    bool modified() const { return modified_; }

private:
    void open();
    bool tryOpen(int flags);
    void readAll();
    void rewrite();
    void closeStream();
    TSection* section(std::string_view name);

    std::string fileName_;
    int fd_ = -1;
    bool readOnly_ = false;
    bool released_ = false;
    bool modified_ = false;
    SettingsText text_;
    std::string lastName_;
    TSection* last_ = nullptr;
};

// Where a settings file name given to TAbIniFile is looked for.
std::string resolveSettingsPath(const std::string& fileName);

} // namespace pv
