#include "platform/ScriptedUi.h"

namespace pv {
namespace {

MsgResult firstButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgResult::Yes;
    default:
        return MsgResult::Ok;
    }
}

} // namespace

MsgResult ScriptedUi::messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                                 MsgButtons buttons) {
    messages_.push_back({text, caption, icon, buttons});
    if (answers_.empty()) return firstButton(buttons);
    MsgResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::chooseFileToOpen(const std::string& filter) {
    filters_.push_back(filter);
    if (files_.empty()) return std::nullopt;
    auto path = files_.front();
    files_.pop_front();
    return path;
}

std::optional<std::string> ScriptedUi::askPassword(const std::string& caption,
                                                   const std::string& prompt) {
    messages_.push_back({prompt, caption, MsgIcon::None, MsgButtons::OkCancel});
    if (passwords_.empty()) return std::nullopt;
    auto text = passwords_.front();
    passwords_.pop_front();
    return text;
}

void ScriptedUi::clear() {
    messages_.clear();
    filters_.clear();
    beeps_ = 0;
}

const char* iconName(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return "error";
    case MsgIcon::Warning:
        return "warning";
    case MsgIcon::Information:
        return "information";
    case MsgIcon::Question:
        return "question";
    default:
        return "none";
    }
}

} // namespace pv
