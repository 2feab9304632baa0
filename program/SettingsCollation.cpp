#include "program/SettingsCollation.h"

#include "platform/TextCase.h"

namespace pv {
namespace {

constexpr unsigned char kYoUpper = 0xA8;
constexpr unsigned char kYeUpper = 0xC5;

// A weight per byte after case folding; the classes are far enough apart that
// no byte of one class sorts into another.
int weight(char c) {
    auto b = static_cast<unsigned char>(upper1251(c));
    if (b >= '0' && b <= '9') return 0x200 + b;
    if (b >= 'A' && b <= 'Z') return 0x300 + b;
    if (b == kYoUpper) return 0x400 + 2 * (kYeUpper - 0xC0) + 1;
    if (b >= 0xC0) return 0x400 + 2 * (b - 0xC0);
    return b;
}

} // namespace

int collateSettingsText(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int x = weight(a[i]);
        int y = weight(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace pv
