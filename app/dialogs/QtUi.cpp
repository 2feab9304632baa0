#include "app/dialogs/QtUi.h"

#include "report/qt/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

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
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order the box shows them; the first is the default.
QList<QMessageBox::StandardButton> qtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MsgButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MsgButtons::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MsgButtons::Ok:
        break;
    }
    return {QMessageBox::Ok};
}

QString qtPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(';', Qt::SkipEmptyParts)) {
        QString pattern = p.trimmed();
        // "*.*" meant every file where it came from; here it would skip names without a dot.
        out << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    if (out.isEmpty()) out << QStringLiteral("*");
    return out.join(' ');
}

} // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = qt1251(filter, CrLf::ToLf).split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
        const QString name = parts[i].trimmed().isEmpty() ? pattern : parts[i];
        filters << QStringLiteral("%1 (%2)").arg(name, qtPatterns(pattern));
    }
    return filters;
}

MsgResult messageResult(QMessageBox::StandardButton clicked, MsgButtons buttons) {
    switch (clicked) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        break;
    }
    // Closed by the title bar or Escape: the answer of the button that stands for "leave".
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
        return MsgResult::No;
    default:
        return MsgResult::Cancel;
    }
}

QWidget* QtUi::parent() const {
    // A box raised while a dialog is up belongs to that dialog.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (parent_) return parent_.data();
    return QApplication::activeWindow();
}

MsgResult QtUi::messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                           MsgButtons buttons) {
    QMessageBox box(qtIcon(icon), qt1251(caption, CrLf::ToLf), qt1251(text, CrLf::ToLf),
                    QMessageBox::NoButton, parent());
    const auto order = qtButtons(buttons);
    for (auto b : order)
        box.addButton(b);
    box.setDefaultButton(order.front());
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return messageResult(clicked ? box.standardButton(clicked) : QMessageBox::NoButton, buttons);
}

std::optional<std::string> QtUi::chooseFileToOpen(const std::string& filter) {
    QFileDialog dialog(parent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist is accepted here; the caller says "no such file".
    dialog.setFileMode(QFileDialog::AnyFile);
    // Our own dialog, so the filter shows by its description alone. The dialog
    // never changes the working directory and offers no read-only check box.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
    dialog.setNameFilters(qtNameFilters(filter));
    if (!lastDirectory_.isEmpty()) dialog.setDirectory(lastDirectory_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    lastDirectory_ = dialog.directory().absolutePath();
    return chosen.front().toStdString();
}

void QtUi::beep() {
    QApplication::beep();
}

} // namespace pv
