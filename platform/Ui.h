#pragma once

#include <optional>
#include <string>

namespace pv {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Values as the message-box results of the original platform (mrOk = 1 …).
enum class MsgResult { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// What the batch driver and the engine ask of the user. Texts are 1251, as
// everywhere inside the engine; paths are UTF-8. Qt implements this in the
// application, tests with a scripted fake, the command-line tool without asking
// anybody.
class Ui {
public:
    virtual ~Ui() = default;

    virtual MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) = 0;

    // The file-open dialog; `filter` is "Description|pattern". No value when cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const std::string& filter) = 0;

    virtual void beep() {}

    // An input box with a prompt and a default text; returns what the user typed
    // (the default when nobody is asked or the box is cancelled).
    virtual std::string inputText(const std::string& caption, const std::string& prompt,
                                  const std::string& defaultText) {
        return defaultText;
    }

    // A modal password prompt (the text is typed hidden); no value when cancelled.
    virtual std::optional<std::string> askPassword(const std::string& caption,
                                                   const std::string& prompt) {
        return std::nullopt;
    }
};

// The caption of plain message boxes and of the conversion error.
inline const char* programName() { return "pachkaview"; }

} // namespace pv
