#include "program/SettingsText.h"

#include "program/SettingsCollation.h"

#include <algorithm>

namespace pv {
namespace {

const char kHeaderlessSection[] = "_&";

bool isHeader(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

} // namespace

SettingsText SettingsText::parse(std::string_view bytes) {
    SettingsText text;
    TSection* current = nullptr;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 32)
            ++end;
        if (end > i) {
            std::string line(bytes.substr(i, end - i));
            if (isHeader(line)) {
                current = &text.findOrAdd(line.substr(1, line.size() - 2));
            } else {
                if (!current) current = &text.findOrAdd(kHeaderlessSection);
                current->addLine(std::move(line));
            }
        }
        i = end + 1;
    }
    return text;
}

std::string SettingsText::toBytes() const {
    std::string out;
    for (const auto& section : sections_) {
        if (section->lines().empty()) continue;
        out += '[' + section->name() + "]\r\n";
        for (const auto& line : section->lines())
            out += line + "\r\n";
        out += "\r\n";
    }
    return out;
}

std::vector<std::unique_ptr<TSection>>::const_iterator
SettingsText::lowerBound(std::string_view name) const {
    return std::lower_bound(sections_.begin(), sections_.end(), name,
                            [](const std::unique_ptr<TSection>& s, std::string_view n) {
                                return collateSettingsText(s->name(), n) < 0;
                            });
}

TSection* SettingsText::find(std::string_view name) const {
    auto it = lowerBound(name);
    if (it != sections_.end() && sameSettingsText((*it)->name(), name)) return it->get();
    return nullptr;
}

TSection& SettingsText::findOrAdd(std::string_view name) {
    auto it = lowerBound(name);
    if (it != sections_.end() && sameSettingsText((*it)->name(), name)) return **it;
    auto added = sections_.insert(it, std::make_unique<TSection>(std::string(name)));
    return **added;
}

} // namespace pv
