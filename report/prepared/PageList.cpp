#include "report/prepared/PageList.h"

#include "platform/CodePage.h"
#include "platform/ConversionError.h"
#include "report/value/NumberText.h"

#include <algorithm>
#include <string>

namespace pv {

namespace {

int pageNumber(std::string_view text) {
    if (auto v = parseInteger(text)) return *v;
    throw ConversionError("'" + std::string(text) + ru("' - неверное целое значение"));
}

void appendRange(std::vector<int>& pages, int from, int to, int pageCount) {
    from = std::max(from, 1);
    to = std::min(to, pageCount);
    for (int n = from; n <= to; ++n)
        pages.push_back(n);
}

} // namespace

std::vector<int> parsePageList(std::string_view text, int pageCount) {
    std::string list;
    for (char c : text)
        if (c != ' ') list += c;
    if (list.empty())
        list = "1-" + std::to_string(pageCount);
    else if (list.back() == '-')
        list += std::to_string(pageCount);

    std::vector<int> pages;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = std::min(list.find(',', start), list.size());
        std::string_view item = std::string_view(list).substr(start, comma - start);
        std::size_t dash = item.find('-');
        if (dash == std::string_view::npos) {
            int n = pageNumber(item);
            appendRange(pages, n, n, pageCount);
        } else {
            // Parse both ends before using either, so a bad end fails the whole list.
            int from = pageNumber(item.substr(0, dash));
            int to = pageNumber(item.substr(dash + 1));
            appendRange(pages, from, to, pageCount);
        }
        start = comma + 1;
    }
    return pages;
}

} // namespace pv
