#pragma once

#include <string_view>
#include <vector>

namespace pv {

// The page numbers a page-list text selects on a report of `pageCount` pages,
// in the order written ("1,3,5-12"). Blanks are ignored; an empty text selects
// every page and a text ending in "-" runs to the last page. A range whose end
// lies before its start selects nothing. Numbers outside 1..pageCount name no
// page and are left out, so a huge range costs no more than the report has.
// A part that is no number throws ConversionError with the usual
// "'…' - неверное целое значение" message.
std::vector<int> parsePageList(std::string_view text, int pageCount);

} // namespace pv
