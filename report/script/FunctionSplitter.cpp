#include "report/script/FunctionSplitter.h"

#include "platform/TextCase.h"
#include "report/script/BracketScan.h"

namespace pv {
namespace {

bool identifierChar(char c) {
    auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' ||
           b == '#' || b == '.' || b >= 0x80;
}

} // namespace

TfrFunctionSplitter::TfrFunctionSplitter()
    : TfrFunctionSplitter({"SUM", "AVG", "MIN", "MAX", "COUNT"}) {}

TfrFunctionSplitter::TfrFunctionSplitter(std::vector<std::string> functionNames)
    : names_(std::move(functionNames)) {}

std::vector<std::string> TfrFunctionSplitter::Split(const std::string& s) const {
    std::vector<std::string> calls;
    QuoteState q;
    for (size_t i = 0; i < s.size();) {
        if (q.feed(s[i]) || q.quoted()) {
            ++i;
            continue;
        }
        if (!identifierChar(s[i])) {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < s.size() && identifierChar(s[i]))
            ++i;
        std::string word = upper1251(std::string_view(s).substr(start, i - start));
        if (i >= s.size() || s[i] != '(') continue;
        bool aggregate = false;
        for (const auto& name : names_)
            aggregate = aggregate || name == word;
        if (!aggregate) continue;
        size_t close = findClosing(s, i, '(', ')');
        if (close == std::string::npos) break;
        calls.push_back(s.substr(start, close + 1 - start));
        i = close + 1;
    }
    return calls;
}

} // namespace pv
