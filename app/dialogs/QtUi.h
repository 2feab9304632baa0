#pragma once

#include "platform/Ui.h"

#include <QMessageBox>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace pv {

// The user's side of `Ui` on the screen: Qt message boxes and the Qt file dialog.
class QtUi : public Ui {
public:
    // Dialogs are centred on `parent` (the main window once it exists).
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> chooseFileToOpen(const std::string& filter) override;
    void beep() override;

private:
    QWidget* parent() const;

    QPointer<QWidget> parent_;
    QString lastDirectory_;
};

// A "Description|pattern|Description|pattern" filter (1251) as Qt name filters.
// Patterns may be joined by ';'; "*.*" matches every file, with or without a dot.
QStringList qtNameFilters(const std::string& filter);

// The message box's answer as the platform's result; `clicked` is NoButton when
// the box was closed without a button.
MsgResult messageResult(QMessageBox::StandardButton clicked, MsgButtons buttons);

} // namespace pv
