#include "report/data/DataSourceRegistry.h"

#include "platform/TextCase.h"

#include <algorithm>
#include <climits>

namespace pv {

void DataSourceRegistry::add(TfrDataset& dataset) {
    datasets_.push_back(&dataset);
}

void DataSourceRegistry::remove(const TfrDataset& dataset) {
    std::erase(datasets_, &dataset);
}

TfrDataset* DataSourceRegistry::find(std::string_view name) const {
    std::string wanted = trim(name);
    if (wanted.empty()) return nullptr;
    for (auto it = datasets_.rbegin(); it != datasets_.rend(); ++it)
        if (equalsNoCase((*it)->Name, wanted)) return *it;
    size_t dot = wanted.rfind('.');
    if (dot != std::string::npos) return find(std::string_view(wanted).substr(dot + 1));
    return nullptr;
}

namespace {

// The leading digits as a count; a count too large for an int is held at INT_MAX.
int leadingCount(std::string_view text) {
    long long count = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        count = std::min<long long>(count * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(count);
}

} // namespace

BandDataSource resolveBandDataSource(std::string_view formatText,
                                     const DataSourceRegistry& registry) {
    BandDataSource result;
    std::string text = trim(formatText);
    if (text.empty()) return result;
    if (text[0] >= '1' && text[0] <= '9') {
        result.owned = std::make_unique<TfrDataset>();
        result.owned->RangeEnd = reCount;
        result.owned->RangeEndCount = leadingCount(text);
        result.dataset = result.owned.get();
        return result;
    }
    result.dataset = registry.find(text);
    return result;
}

} // namespace pv
