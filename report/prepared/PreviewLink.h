#pragma once

#include <optional>
#include <string>

namespace pv {

// What clicking an object in the preview does. Objects whose Name begins
// with "URL" are links: a Tag with "@" names a page by the number after the
// "@", any other Tag is opened with the desktop's shell.
struct PreviewLink {
    enum Kind { None, Shell, Page };
    Kind kind = None;
    std::string target; // Shell: the Tag
    int page = 0;       // Page: the page number, at least 1
    bool operator==(const PreviewLink&) const = default;
};

// A page link whose number is no number is no link at all.
PreviewLink previewLink(const std::string& name, const std::string& tag);

// The page a link takes the preview to; none for a page beyond the last or
// a link that is no page link.
std::optional<int> linkedPage(const PreviewLink& link, int pageCount);

// The hint the preview shows over a link: the Tag, or "Стр. N" (1251).
std::string linkHint(const PreviewLink& link);

} // namespace pv
