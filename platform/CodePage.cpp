#include "platform/CodePage.h"

#include "platform/CodePageTables.h"

#include <array>
#include <mutex>
#include <unordered_map>

namespace pv {
namespace codepage {
namespace {

// Reverse map of one code page: Unicode value to byte, for the upper half.
class ReverseTable {
public:
    explicit ReverseTable(const char16_t* high) {
        for (int i = 0; i < 128; ++i)
            if (high[i] != 0xFFFD) map_.emplace(high[i], static_cast<char>(128 + i));
    }
    bool find(char16_t c, char& out) const {
        auto it = map_.find(c);
        if (it == map_.end()) return false;
        out = it->second;
        return true;
    }

private:
    std::unordered_map<char16_t, char> map_;
};

const ReverseTable& reverseFor(int codePage) {
    static std::mutex mutex;
    static std::unordered_map<int, ReverseTable> tables;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = tables.find(codePage);
    if (it == tables.end()) it = tables.emplace(codePage, ReverseTable(highHalf(codePage))).first;
    return it->second;
}

} // namespace

bool isKnown(int codePage) { return highHalf(codePage) != nullptr; }

std::u16string toUtf16(std::string_view bytes, int codePage) {
    const char16_t* high = highHalf(codePage);
    std::u16string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 128 || !high)
            out.push_back(b < 128 ? char16_t(b) : char16_t(0xFFFD));
        else
            out.push_back(high[b - 128]);
    }
    return out;
}

std::string fromUtf16(std::u16string_view text, int codePage, char fallback) {
    std::string out;
    out.reserve(text.size());
    if (!isKnown(codePage)) {
        for (char16_t c : text) out.push_back(c < 128 ? char(c) : fallback);
        return out;
    }
    const ReverseTable& reverse = reverseFor(codePage);
    for (char16_t c : text) {
        char b;
        if (c < 128)
            out.push_back(char(c));
        else if (reverse.find(c, b))
            out.push_back(b);
        else
            out.push_back(fallback);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
        }
        if (len > 1) {
            if (i + len > s.size()) {
                len = 1;
            } else {
                cp = c & (0x7F >> len);
                for (size_t k = 1; k < len; ++k) {
                    auto cc = static_cast<unsigned char>(s[i + k]);
                    if ((cc & 0xC0) != 0x80) {
                        cp = 0xFFFD;
                        len = k;
                        break;
                    }
                    cp = (cp << 6) | (cc & 0x3F);
                }
            }
        }
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(cp > 0xFFFF ? char16_t(0xFFFD) : char16_t(cp));
        }
        i += len;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace codepage

std::string cp866ToCp1251(std::string_view oem) {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            std::string one(1, char(b));
            t[b] = codepage::fromUtf16(codepage::toUtf16(one, 866), 1251)[0];
        }
        return t;
    }();
    std::string out(oem.size(), '\0');
    for (size_t i = 0; i < oem.size(); ++i) out[i] = table[static_cast<unsigned char>(oem[i])];
    return out;
}

std::string cp1251ToUtf8(std::string_view ansi) {
    return codepage::utf16ToUtf8(codepage::toUtf16(ansi, codepage::kWindows1251));
}

std::string utf8ToCp1251(std::string_view utf8) {
    return codepage::fromUtf16(codepage::utf8ToUtf16(utf8), codepage::kWindows1251);
}

std::string cp1251ToTerminal(std::string_view ansi) {
    std::string lines;
    lines.reserve(ansi.size());
    for (size_t i = 0; i < ansi.size(); ++i) {
        if (ansi[i] != '\r') {
            lines += ansi[i];
        } else {
            lines += '\n';
            if (i + 1 < ansi.size() && ansi[i + 1] == '\n') ++i;
        }
    }
    return cp1251ToUtf8(lines);
}

} // namespace pv
