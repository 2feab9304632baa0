#pragma once

#include "program/SettingsSection.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

// The content of a settings file: its sections sorted by name, each name once.
// Read from and written to the file's bytes (1251, no conversion).
class SettingsText {
public:
    // Every byte below 32 ends a line and vanishes; "[name]" starts a section;
    // lines before the first header go to the section "_&".
    static SettingsText parse(std::string_view bytes);

    // Sections with lines in order, "[name]" CR LF, the lines each with CR LF,
    // and an empty line after each section.
    std::string toBytes() const;

    TSection* find(std::string_view name) const;
    TSection& findOrAdd(std::string_view name);

    const std::vector<std::unique_ptr<TSection>>& sections() const { return sections_; }

private:
    std::vector<std::unique_ptr<TSection>>::const_iterator lowerBound(std::string_view name) const;

    std::vector<std::unique_ptr<TSection>> sections_;
};

} // namespace pv
