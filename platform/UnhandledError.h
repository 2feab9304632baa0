#pragma once

#include <string>

namespace pv {

class Ui;

// The application's handler for an error nobody else handled: a message box
// with the program's name as caption and the error icon; a full stop is added
// when the text ends in a letter.
void ShowException(Ui& ui, const std::string& text);

} // namespace pv
