#pragma once

#include "platform/Ui.h"

class QWidget;

namespace pv {

// Message boxes and the file dialog as Qt shows them, owned by a window (the
// dialog that asks), so they stay in front of it.
class WidgetUi : public Ui {
public:
    explicit WidgetUi(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter) override;
    void beep() override;

private:
    QWidget* owner_;
};

} // namespace pv
