#include "report/draw/Hyphenation.h"

#include "platform/CodePage.h"
#include "platform/TextCase.h"

#include <string>

namespace pv {
namespace {

bool isVowel(char c) {
    static const std::string vowels = ru("АЕЁИОУЫЭЮЯ");
    return vowels.find(c) != std::string::npos;
}

bool isSign(char c) {
    static const std::string signs = ru("ЪЬ");
    return signs.find(c) != std::string::npos;
}

bool isWordEnd(char c) {
    return c == ' ' || c == ',' || c == '-' || c == '.';
}

// A consonant (or any non-Cyrillic character) may end a part when the next
// one starts a new syllable: a consonant followed by a vowel.
bool consonantBreak(const std::string& w, size_t i) {
    return !isVowel(w[i + 1]) && !isSign(w[i + 1]) && isVowel(w[i + 2]);
}

} // namespace

std::vector<int> HyphenationPoints(std::string_view word) {
    std::vector<int> points;
    const std::string w = upper1251(word);
    if (w.size() <= 3) return points;
    // 0-based i stands for the 1-based character i + 1; a break after it
    // leaves at least two characters on the next line.
    for (size_t i = 1; i + 2 < w.size(); ++i) {
        bool allowed;
        if (isVowel(w[i]))
            allowed = isVowel(w[i + 1]) || isVowel(w[i + 2]);
        else if (isSign(w[i]))
            allowed = isWordEnd(w[i + 2]) ? consonantBreak(w, i) : true;
        else
            allowed = consonantBreak(w, i);
        if (allowed) points.push_back(int(i + 1));
    }
    return points;
}

} // namespace pv
