#include "platform/UnhandledError.h"

#include "platform/Ui.h"

namespace pv {
namespace {

bool isLetter(char c) {
    auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0xC0 || b == 0xA8 || b == 0xB8;
}

} // namespace

void ShowException(Ui& ui, const std::string& text) {
    std::string shown = text;
    if (!shown.empty() && isLetter(shown.back())) shown += '.';
    ui.messageBox(shown, programName(), MsgIcon::Error, MsgButtons::Ok);
}

} // namespace pv
