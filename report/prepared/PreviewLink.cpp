#include "report/prepared/PreviewLink.h"

#include "platform/CodePage.h"
#include "report/value/NumberText.h"

#include <algorithm>

namespace pv {

PreviewLink previewLink(const std::string& name, const std::string& tag) {
    if (name.rfind("URL", 0) != 0) return {};
    const std::size_t at = tag.find('@');
    if (at == std::string::npos) return {PreviewLink::Shell, tag, 0};
    const auto number = parseInteger(std::string_view(tag).substr(at + 1));
    if (!number) return {};
    return {PreviewLink::Page, {}, std::max(*number, 1)};
}

std::optional<int> linkedPage(const PreviewLink& link, int pageCount) {
    if (link.kind != PreviewLink::Page || link.page > pageCount) return std::nullopt;
    return link.page;
}

std::string linkHint(const PreviewLink& link) {
    switch (link.kind) {
    case PreviewLink::Shell:
        return link.target;
    case PreviewLink::Page:
        return ru("Стр. ") + std::to_string(link.page);
    case PreviewLink::None:
        break;
    }
    return {};
}

} // namespace pv
