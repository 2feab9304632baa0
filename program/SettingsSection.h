#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

// One section of the settings file: its name and its lines, kept sorted and
// without duplicates. Lines are stored exactly as read: nothing is trimmed and
// lines that are not key=value stay as they are.
class TSection {
public:
    explicit TSection(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    const std::vector<std::string>& lines() const { return lines_; }

    // Inserts in sorted position; a line equal to one present is dropped.
    void addLine(std::string line);
    // The value of the first line (in sorted order) whose key is `key`; none
    // when no line has that key.
    std::optional<std::string> findValue(std::string_view key) const;
    // Removes the first line whose key is `key`, if any.
    void removeKey(std::string_view key);

private:
    std::vector<std::string>::const_iterator findKey(std::string_view key) const;

    std::string name_;
    std::vector<std::string> lines_;
};

} // namespace pv
