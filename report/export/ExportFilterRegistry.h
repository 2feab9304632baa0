#pragma once

#include <string>

namespace pv {

class TfrExportFilter;

// The engine-wide list of export filters the save dialog offers, in the order
// they were registered.
struct ExportFilterEntry {
    TfrExportFilter* filter = nullptr;
    std::string description; // 1251, as the save dialog shows it
    std::string pattern;     // "*.pdf"
};

constexpr int kMaxExportFilters = 64;

// Refused (false) when an entry of the same filter class has the same
// pattern, or the list is full.
bool RegisterExportFilter(TfrExportFilter& filter, const std::string& description,
                          const std::string& pattern);
// Removes the last entry whose filter is of the same class as `filter`.
void UnregisterExportFilter(const TfrExportFilter& filter);
int ExportFilterCount();
// Throws std::out_of_range for an index outside the list.
const ExportFilterEntry& ExportFilterAt(int index);

} // namespace pv
