#include "platform/TextCase.h"

namespace pv {

char upper1251(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return char(b - 32);
    if (b >= 0xE0) return char(b - 32);
    if (b == 0xB8) return char(0xA8); // ё
    return c;
}

char lower1251(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') return char(b + 32);
    if (b >= 0xC0 && b <= 0xDF) return char(b + 32);
    if (b == 0xA8) return char(0xB8); // Ё
    return c;
}

std::string upper1251(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upper1251(c);
    return out;
}

std::string lower1251(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower1251(c);
    return out;
}

int compareNoCase(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(upper1251(a[i]));
        auto y = static_cast<unsigned char>(upper1251(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

std::string trimLeft(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32) ++i;
    return std::string(s.substr(i));
}

std::string trimRight(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= 32) --n;
    return std::string(s.substr(0, n));
}

std::string trim(std::string_view s) { return trimRight(trimLeft(s)); }

} // namespace pv
