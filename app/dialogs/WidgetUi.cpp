#include "app/dialogs/WidgetUi.h"

#include "app/dialogs/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace pv {
namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

MsgResult result(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        return MsgResult::None;
    }
}

} // namespace

MsgResult WidgetUi::messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                               MsgButtons buttons) {
    // Lines are joined by CR LF inside the engine; Qt breaks at LF alone.
    QString shown = qt1251(text);
    shown.replace("\r\n", "\n");
    QMessageBox box(qtIcon(icon), qt1251(caption), shown, qtButtons(buttons), owner_);
    return result(box.exec());
}

std::optional<std::string> WidgetUi::chooseFileToOpen(const std::string& filter) {
    QString f = qt1251(filter);
    const int bar = f.indexOf('|');
    if (bar >= 0) f = f.left(bar) + " (" + f.mid(bar + 1) + ")";
    const QString path = QFileDialog::getOpenFileName(owner_, QString(), QString(), f);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

void WidgetUi::beep() {
    QApplication::beep();
}

} // namespace pv
