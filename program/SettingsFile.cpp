#include "program/SettingsFile.h"

#include "program/SettingsFileError.h"
#include "platform/CodePage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pv {
namespace {

namespace fs = std::filesystem;

std::string programFileDir() {
    std::error_code ec;
    auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

std::string userConfigDir() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config";
    return ".";
}

[[noreturn]] void fail(const std::string& what, const std::string& path, int code) {
    throw SettingsFileError(utf8ToCp1251(what + " " + path + ": " + std::strerror(code)), code);
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// The path the rewrite replaces: the target of a symbolic link, so the link stays.
std::string rewriteTarget(const std::string& path) {
    std::error_code ec;
    auto real = fs::canonical(path, ec);
    return ec ? path : real.string();
}

} // namespace

std::string resolveSettingsPath(const std::string& fileName) {
    if (fileName.find('/') == std::string::npos && fileName.find('\\') == std::string::npos)
        return userConfigDir() + "/" + fileName;
    if (fileName.size() > 2 && fileName[0] == '.' && (fileName[1] == '/' || fileName[1] == '\\'))
        return programFileDir() + fileName.substr(2);
    return fileName;
}

TAbIniFile::TAbIniFile(const std::string& fileName) : fileName_(resolveSettingsPath(fileName)) {
    open();
}

TAbIniFile::~TAbIniFile() {
    if (released_) return;
    try {
        Release();
    } catch (const SettingsFileError&) {
        closeStream();
    }
}

// Opens with an exclusive lock, making sure the locked file is still the one
// the name stands for (a rewrite by another copy replaces it).
bool TAbIniFile::tryOpen(int flags) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        // Non-blocking, so that a pipe of that name cannot hold the program up.
        int fd = ::open(fileName_.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd < 0) return false;
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) ||
            ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        struct stat named {};
        if (::stat(fileName_.c_str(), &named) == 0 && named.st_ino == opened.st_ino &&
            named.st_dev == opened.st_dev) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            fd_ = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

void TAbIniFile::open() {
    if (tryOpen(O_RDWR)) {
        readOnly_ = false;
    } else if (tryOpen(O_RDONLY)) {
        readOnly_ = true;
    } else if (tryOpen(O_RDWR | O_CREAT)) {
        // Created anew. Not truncated: the lock is taken only after opening,
        // and a file another copy wrote in between is read, not destroyed.
        readOnly_ = false;
    } else {
        return;
    }
    readAll();
    modified_ = false;
}

void TAbIniFile::readAll() {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int code = errno;
            closeStream();
            fail("Cannot read the settings file", fileName_, code);
        }
        if (n == 0) break;
        bytes.append(buffer, size_t(n));
    }
    text_ = SettingsText::parse(bytes);
}

TSection* TAbIniFile::section(std::string_view name) {
    if (last_ && name == lastName_) return last_;
    TSection* found = text_.find(name);
    if (found) {
        last_ = found;
        lastName_ = std::string(name);
    }
    return found;
}

std::string TAbIniFile::ReadString(std::string_view sectionName, std::string_view key,
                                   const std::string& defaultValue) {
    TSection* s = section(sectionName);
    if (!s) return defaultValue;
    auto value = s->findValue(key);
    if (!value || value->empty()) return defaultValue;
    return *value;
}

void TAbIniFile::WriteString(std::string_view sectionName, std::string_view key,
                             std::string_view value) {
    if (key.empty()) return;
    TSection* s = section(sectionName);
    if (!s) s = &text_.findOrAdd(sectionName);
    s->removeKey(key);
    std::string line(key);
    line += '=';
    line += value;
    s->addLine(std::move(line));
    modified_ = true;
}

void TAbIniFile::Release() {
    released_ = true;
    if (modified_ && fd_ >= 0) {
        try {
            rewrite();
        } catch (...) {
            closeStream();
            throw;
        }
    }
    closeStream();
}

void TAbIniFile::rewrite() {
    if (readOnly_) fail("Cannot write the settings file", fileName_, EACCES);
    // A file without any write permission is read-only, also for a superuser
    // whom the system would let write it.
    struct stat now {};
    if (::stat(fileName_.c_str(), &now) == 0 && (now.st_mode & 0222) == 0)
        fail("Cannot write the settings file", fileName_, EACCES);
    if (::access(fileName_.c_str(), W_OK) != 0)
        fail("Cannot write the settings file", fileName_, errno);
    const std::string bytes = text_.toBytes();
    const std::string target = rewriteTarget(fileName_);

    std::vector<char> tempName(target.begin(), target.end());
    for (char c : std::string(".XXXXXX"))
        tempName.push_back(c);
    tempName.push_back('\0');
    int temp = ::mkstemp(tempName.data());
    if (temp < 0) {
        // A directory without write permission holding a writable file: the
        // file can only be rewritten in place.
        if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0 || !writeAll(fd_, bytes))
            fail("Cannot write the settings file", fileName_, errno);
        return;
    }
    struct stat old {};
    if (::fstat(fd_, &old) == 0) ::fchmod(temp, old.st_mode & 07777);
    bool ok = writeAll(temp, bytes) && ::fsync(temp) == 0;
    int code = errno;
    if (::close(temp) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && ::rename(tempName.data(), target.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(tempName.data());
        fail("Cannot write the settings file", fileName_, code);
    }
}

void TAbIniFile::closeStream() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    last_ = nullptr;
}

} // namespace pv
