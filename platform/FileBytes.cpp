#include "platform/FileBytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace pv {

std::optional<std::string> readFileBytes(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::u8path(path);
    if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace pv
