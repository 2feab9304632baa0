#include "batch/TakeValue.h"

#include <algorithm>

namespace pv {

std::string TakeValue(std::string& rest, std::string_view separator, int extra) {
    const size_t found = separator.empty() ? std::string::npos : rest.find(separator);
    const size_t p = found == std::string::npos ? 0 : found + 1; // 1-based, 0 for none
    std::string value = p > 1 ? rest.substr(0, p - 1) : std::string();
    const long long drop =
        static_cast<long long>(p) + static_cast<long long>(separator.size()) - 1 + extra;
    if (drop > 0) rest.erase(0, std::min(static_cast<size_t>(drop), rest.size()));
    return value;
}

} // namespace pv
