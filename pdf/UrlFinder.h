#pragma once

#include <string_view>
#include <vector>

namespace pv {

// An address found in a piece of text: its first byte and its length.
struct FoundUrl {
    std::size_t position;
    std::size_t length;
};

// The addresses a line of text links to: for each of "http://", "mailto:" and
// "ftp://" (in that order) its first occurrence in any letter case, when it starts
// the text or follows a blank or control byte, up to the next such byte.
std::vector<FoundUrl> findUrls(std::string_view text);

} // namespace pv
