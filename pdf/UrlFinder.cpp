#include "pdf/UrlFinder.h"

#include <algorithm>
#include <cctype>

namespace pv {

namespace {

bool isSeparator(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool sameAsciiNoCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

std::size_t findNoCase(std::string_view text, std::string_view prefix) {
    auto it = std::search(text.begin(), text.end(), prefix.begin(), prefix.end(), sameAsciiNoCase);
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

} // namespace

std::vector<FoundUrl> findUrls(std::string_view text) {
    static constexpr std::string_view prefixes[] = {"http://", "mailto:", "ftp://"};
    std::vector<FoundUrl> found;
    for (auto prefix : prefixes) {
        const std::size_t start = findNoCase(text, prefix);
        if (start == std::string_view::npos) continue;
        if (start > 0 && !isSeparator(text[start - 1])) continue;
        std::size_t end = start;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        found.push_back({start, end - start});
    }
    return found;
}

} // namespace pv
