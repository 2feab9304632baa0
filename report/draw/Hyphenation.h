#pragma once

#include <string_view>
#include <vector>

namespace pv {

// The places a Russian word may be cut with a hyphen: k means "after the
// k-th character" (1-based). Words of three characters or fewer are never
// cut. The word is 1251 text; case does not matter.
std::vector<int> HyphenationPoints(std::string_view word);

} // namespace pv
