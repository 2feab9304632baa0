#include "report/data/FieldReference.h"

#include "platform/TextCase.h"

namespace pv {

size_t lastDotOutsideQuotes(const std::string& s) {
    size_t dot = std::string::npos;
    bool quoted = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') quoted = !quoted;
        if (s[i] == '.' && !quoted) dot = i;
    }
    return dot;
}

std::string unquoteDouble(const std::string& s) {
    std::string t = trim(s);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') return t.substr(1, t.size() - 2);
    return t;
}

} // namespace pv
