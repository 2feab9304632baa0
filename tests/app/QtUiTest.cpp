#include "app/dialogs/QtUi.h"
#include "AppTestSupport.h"
#include "platform/CodePage.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace pv;
using pv::test::whenModalAppears;

namespace {

// Types `path` into the name box and presses Open. The dialog reads its
// directory in the background and may clear the box meanwhile, so this goes on
// until the dialog has taken the name.
void acceptName(QFileDialog* dialog, const QString& path) {
    auto* retry = new QTimer(dialog);
    QObject::connect(retry, &QTimer::timeout, dialog, [dialog, path] {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    retry->start(20);
}

TEST(QtUi, NameFilters) {
    struct Case {
        const char* name;
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"batch files", "Пачки ПФР|*.*", {"Пачки ПФР (*)"}},
        {"two entries, joined patterns",
         "Тексты|*.txt;*.csv|Все|*.*",
         {"Тексты (*.txt *.csv)", "Все (*)"}},
        {"no description", "|*.frf", {"*.frf (*.frf)"}},
        {"no pattern", "Все", {"Все (*)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qtNameFilters(ru(c.filter.toStdString())), c.expected) << c.name;
}

TEST(QtUi, MessageBoxShowsAndAnswers) {
    using B = QMessageBox;
    struct Case {
        const char* name;
        MsgIcon icon;
        MsgButtons buttons;
        int qtIcon;
        QList<int> shownButtons;
        int firstButton;
        int press;
        MsgResult result;
    };
    const Case cases[] = {
        {"plain ok",
         MsgIcon::None,
         MsgButtons::Ok,
         B::NoIcon,
         {B::Ok},
         B::Ok,
         B::Ok,
         MsgResult::Ok},
        {"error",
         MsgIcon::Error,
         MsgButtons::Ok,
         B::Critical,
         {B::Ok},
         B::Ok,
         B::Ok,
         MsgResult::Ok},
        {"warning yes/no, no",
         MsgIcon::Warning,
         MsgButtons::YesNo,
         B::Warning,
         {B::Yes, B::No},
         B::Yes,
         B::No,
         MsgResult::No},
        {"question yes/no/cancel",
         MsgIcon::Question,
         MsgButtons::YesNoCancel,
         B::Question,
         {B::Yes, B::No, B::Cancel},
         B::Yes,
         B::Yes,
         MsgResult::Yes},
        {"information ok/cancel",
         MsgIcon::Information,
         MsgButtons::OkCancel,
         B::Information,
         {B::Ok, B::Cancel},
         B::Ok,
         B::Cancel,
         MsgResult::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString title, text;
        int seenIcon = -1;
        QList<int> seenButtons;
        int defaultButton = -1;
        whenModalAppears([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            seenIcon = box->icon();
            for (QAbstractButton* b : box->buttons())
                seenButtons << box->standardButton(b);
            defaultButton = box->standardButton(box->defaultButton());
            box->button(QMessageBox::StandardButton(c.press))->click();
        });
        QtUi ui;
        const MsgResult answer =
            ui.messageBox(ru("Первая строка\r\nвторая строка"), ru("Ошибка!"), c.icon, c.buttons);

        EXPECT_EQ(title, QString("Ошибка!"));
        EXPECT_EQ(text, QString("Первая строка\nвторая строка"));
        EXPECT_EQ(seenIcon, c.qtIcon);
        QList<int> shownButtons = c.shownButtons;
        std::sort(seenButtons.begin(), seenButtons.end());
        std::sort(shownButtons.begin(), shownButtons.end());
        EXPECT_EQ(seenButtons, shownButtons);
        // The first button of the set is the default, as on the original platform.
        EXPECT_EQ(defaultButton, c.firstButton);
        EXPECT_EQ(answer, c.result);
    }
}

TEST(QtUi, MessageBoxClosedWithoutButton) {
    struct Case {
        const char* name;
        MsgButtons buttons;
        MsgResult result;
    };
    const Case cases[] = {
        {"ok", MsgButtons::Ok, MsgResult::Ok},
        {"ok/cancel", MsgButtons::OkCancel, MsgResult::Cancel},
        {"yes/no", MsgButtons::YesNo, MsgResult::No},
        {"yes/no/cancel", MsgButtons::YesNoCancel, MsgResult::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModalAppears([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QtUi ui;
        EXPECT_EQ(ui.messageBox("x", "y", MsgIcon::None, c.buttons), c.result);
        EXPECT_EQ(messageResult(QMessageBox::NoButton, c.buttons), c.result);
    }
}

TEST(QtUi, FileDialogOffersOneEntryAndReturnsThePath) {
    QTemporaryDir dir;
    const QString path =
        dir.filePath("PFR-123-Y-2006-ORG-001-002-000001-DCK-00001-DPT-000000-DCK-00000");
    std::ofstream(path.toStdString()) << "x";

    QStringList filters;
    bool detailsHidden = false, resizable = false;
    whenModalAppears([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        detailsHidden = dialog->testOption(QFileDialog::HideNameFilterDetails);
        resizable = dialog->isSizeGripEnabled();
        acceptName(dialog, path);
    });
    QtUi ui;
    auto chosen = ui.chooseFileToOpen(ru("Пачки ПФР|*.*"));
    EXPECT_EQ(filters, QStringList{"Пачки ПФР (*)"});
    EXPECT_TRUE(detailsHidden);
    EXPECT_TRUE(resizable);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QString::fromStdString(*chosen), path);
}

TEST(QtUi, FileDialogAcceptsAMissingName) {
    // The driver, not the dialog, tells the user that the file does not exist.
    QTemporaryDir dir;
    const QString path = dir.filePath("нет такой пачки.txt");
    whenModalAppears([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        acceptName(dialog, path);
    });
    QtUi ui;
    auto chosen = ui.chooseFileToOpen(ru("Пачки ПФР|*.*"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QString::fromStdString(*chosen), path);
}

TEST(QtUi, FileDialogCancelled) {
    whenModalAppears([](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->reject();
    });
    QtUi ui;
    EXPECT_FALSE(ui.chooseFileToOpen(ru("Пачки ПФР|*.*")).has_value());
}

} // namespace
