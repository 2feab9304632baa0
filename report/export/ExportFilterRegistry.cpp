#include "report/export/ExportFilterRegistry.h"

#include "report/export/ExportFilter.h"

#include <typeinfo>
#include <vector>

namespace pv {
namespace {

std::vector<ExportFilterEntry>& registry() {
    static std::vector<ExportFilterEntry> entries;
    return entries;
}

bool sameClass(const TfrExportFilter& a, const TfrExportFilter& b) {
    return typeid(a) == typeid(b);
}

} // namespace

bool RegisterExportFilter(TfrExportFilter& filter, const std::string& description,
                          const std::string& pattern) {
    auto& entries = registry();
    if (entries.size() >= size_t(kMaxExportFilters)) return false;
    for (const auto& entry : entries)
        if (sameClass(*entry.filter, filter) && entry.pattern == pattern) return false;
    entries.push_back({&filter, description, pattern});
    return true;
}

void UnregisterExportFilter(const TfrExportFilter& filter) {
    auto& entries = registry();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (sameClass(*it->filter, filter)) {
            entries.erase(std::next(it).base());
            return;
        }
    }
}

int ExportFilterCount() {
    return static_cast<int>(registry().size());
}

const ExportFilterEntry& ExportFilterAt(int index) {
    return registry().at(size_t(index));
}

} // namespace pv
