#pragma once

#include <optional>
#include <string>

namespace pv {

// The whole content of a regular file; none when the path names no regular
// file or it cannot be read to its end.
std::optional<std::string> readFileBytes(const std::string& path);

} // namespace pv
