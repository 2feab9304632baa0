#pragma once

#include "platform/Ui.h"

#include <deque>
#include <vector>

namespace pv {

// A Ui that answers from a script and records what it was asked: used by the
// tests and by the command-line tool, which asks nobody.
class ScriptedUi : public Ui {
public:
    struct Message {
        std::string text;
        std::string caption;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
    };

    MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter) override;
    void beep() override { ++beeps_; }
    std::optional<std::string> askPassword(const std::string& caption,
                                           const std::string& prompt) override;

    // Answers used in turn; when none is left a message box answers with its first button.
    void queueAnswer(MsgResult answer) { answers_.push_back(answer); }
    // Paths the file dialog returns in turn; an empty optional is a cancel. With
    // nothing queued the dialog is cancelled.
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    // Texts the password prompt returns in turn; an empty optional is a cancel,
    // as is a prompt with nothing queued. Each prompt is recorded as a message.
    void queuePassword(std::optional<std::string> text) { passwords_.push_back(std::move(text)); }

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<std::string>& fileFilters() const { return filters_; }
    int beeps() const { return beeps_; }
    void clear();

private:
    std::deque<MsgResult> answers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> passwords_;
    std::vector<Message> messages_;
    std::vector<std::string> filters_;
    int beeps_ = 0;
};

const char* iconName(MsgIcon icon);

} // namespace pv
