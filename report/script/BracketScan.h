#pragma once

#include <cstddef>
#include <string_view>

namespace pv {

// Tracks whether a scan is inside single- or double-quoted text: a double quote
// toggles only outside single quotes and a single quote only outside double ones.
struct QuoteState {
    bool single = false;
    bool dbl = false;

    bool quoted() const { return single || dbl; }
    // Feeds one character; true when it was a quote that changed the state.
    bool feed(char c) {
        if (c == '\'' && !dbl) return single = !single, true;
        if (c == '"' && !single) return dbl = !dbl, true;
        return false;
    }
};

// The position of the `close` matching the `open` at `from`, counting nested
// pairs and ignoring both inside quoted text; npos when it is missing.
inline size_t findClosing(std::string_view s, size_t from, char open, char close) {
    QuoteState q;
    int depth = 0;
    for (size_t i = from; i < s.size(); ++i) {
        char c = s[i];
        if (q.feed(c) || q.quoted()) continue;
        if (c == open)
            ++depth;
        else if (c == close && --depth == 0)
            return i;
    }
    return std::string_view::npos;
}

} // namespace pv
