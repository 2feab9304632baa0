#include "program/SettingsSection.h"

#include "program/SettingsCollation.h"

#include <algorithm>

namespace pv {
namespace {

bool lineHasKey(const std::string& line, std::string_view key) {
    auto eq = line.find('=');
    return eq != std::string::npos && sameSettingsText(std::string_view(line).substr(0, eq), key);
}

bool collatesBefore(const std::string& a, const std::string& b) {
    return collateSettingsText(a, b) < 0;
}

} // namespace

void TSection::addLine(std::string line) {
    auto at = std::lower_bound(lines_.begin(), lines_.end(), line, collatesBefore);
    if (at != lines_.end() && sameSettingsText(*at, line)) return;
    lines_.insert(at, std::move(line));
}

std::vector<std::string>::const_iterator TSection::findKey(std::string_view key) const {
    return std::find_if(lines_.begin(), lines_.end(),
                        [key](const std::string& line) { return lineHasKey(line, key); });
}

std::optional<std::string> TSection::findValue(std::string_view key) const {
    auto it = findKey(key);
    if (it == lines_.end()) return std::nullopt;
    return it->substr(it->find('=') + 1);
}

void TSection::removeKey(std::string_view key) {
    auto it = findKey(key);
    if (it != lines_.end()) lines_.erase(it);
}

} // namespace pv
