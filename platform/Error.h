#pragma once

#include <stdexcept>
#include <string>

namespace pv {

// The base of every exception this program throws. The message is held in
// both encodings the program uses: what() is UTF-8, for standard error, logs
// and JSON; text() is Windows-1251, for the engine's message boxes and for
// the 1251 strings the engine works in. A subclass says which of the two its
// message arrives in; the other is converted once, here.
class Error : public std::runtime_error {
public:
    enum class Encoding { Utf8, Cp1251 };

    Error(const std::string& message, Encoding encoding);
    // The message in 1251, as the user sees it in a dialog.
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The 1251 text of any exception, for a dialog: the program's own give
// text(); others (the standard library's, in ASCII or UTF-8) are converted.
std::string dialogText(const std::exception& e);

} // namespace pv
