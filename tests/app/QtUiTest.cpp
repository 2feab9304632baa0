#include "app/dialogs/QtUi.h"
#include "AppTestSupport.h"
#include "platform/CodePage.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace pv;
using pv::test::whenModalAppears;

Q_DECLARE_METATYPE(pv::MsgIcon)
Q_DECLARE_METATYPE(pv::MsgButtons)
Q_DECLARE_METATYPE(pv::MsgResult)

namespace {

// Types `path` into the name box and presses Open. The dialog reads its
// directory in the background and may clear the box meanwhile, so this goes on
// until the dialog has taken the name.
void acceptName(QFileDialog* dialog, const QString& path) {
    auto* retry = new QTimer(dialog);
    QObject::connect(retry, &QTimer::timeout, dialog, [dialog, path] {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        name->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    retry->start(20);
}

} // namespace

class QtUiTest : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void messageBoxShowsAndAnswers_data();
    void messageBoxShowsAndAnswers();
    void messageBoxClosedWithoutButton_data();
    void messageBoxClosedWithoutButton();
    void fileDialogOffersOneEntryAndReturnsThePath();
    void fileDialogAcceptsAMissingName();
    void fileDialogCancelled();
};

void QtUiTest::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("batch files") << "Пачки ПФР|*.*" << QStringList{"Пачки ПФР (*)"};
    QTest::newRow("two entries, joined patterns")
        << "Тексты|*.txt;*.csv|Все|*.*" << QStringList{"Тексты (*.txt *.csv)", "Все (*)"};
    QTest::newRow("no description") << "|*.frf" << QStringList{"*.frf (*.frf)"};
    QTest::newRow("no pattern") << "Все" << QStringList{"Все (*)"};
}

void QtUiTest::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(ru(filter.toStdString())), expected);
}

void QtUiTest::messageBoxShowsAndAnswers_data() {
    QTest::addColumn<MsgIcon>("icon");
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<int>("qtIcon");
    QTest::addColumn<QList<int>>("shownButtons");
    QTest::addColumn<int>("firstButton");
    QTest::addColumn<int>("press");
    QTest::addColumn<MsgResult>("result");
    using B = QMessageBox;
    QTest::newRow("plain ok") << MsgIcon::None << MsgButtons::Ok << int(B::NoIcon)
                              << QList<int>{B::Ok} << int(B::Ok) << int(B::Ok) << MsgResult::Ok;
    QTest::newRow("error") << MsgIcon::Error << MsgButtons::Ok << int(B::Critical)
                           << QList<int>{B::Ok} << int(B::Ok) << int(B::Ok) << MsgResult::Ok;
    QTest::newRow("warning yes/no, no")
        << MsgIcon::Warning << MsgButtons::YesNo << int(B::Warning) << QList<int>{B::Yes, B::No}
        << int(B::Yes) << int(B::No) << MsgResult::No;
    QTest::newRow("question yes/no/cancel")
        << MsgIcon::Question << MsgButtons::YesNoCancel << int(B::Question)
        << QList<int>{B::Yes, B::No, B::Cancel} << int(B::Yes) << int(B::Yes) << MsgResult::Yes;
    QTest::newRow("information ok/cancel")
        << MsgIcon::Information << MsgButtons::OkCancel << int(B::Information)
        << QList<int>{B::Ok, B::Cancel} << int(B::Ok) << int(B::Cancel) << MsgResult::Cancel;
}

void QtUiTest::messageBoxShowsAndAnswers() {
    QFETCH(MsgIcon, icon);
    QFETCH(MsgButtons, buttons);
    QFETCH(int, qtIcon);
    QFETCH(QList<int>, shownButtons);
    QFETCH(int, firstButton);
    QFETCH(int, press);
    QFETCH(MsgResult, result);

    QString title, text;
    int seenIcon = -1;
    QList<int> seenButtons;
    int defaultButton = -1;
    whenModalAppears([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        seenIcon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seenButtons << box->standardButton(b);
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::StandardButton(press))->click();
    });
    QtUi ui;
    const MsgResult answer =
        ui.messageBox(ru("Первая строка\r\nвторая строка"), ru("Ошибка!"), icon, buttons);

    QCOMPARE(title, QString("Ошибка!"));
    QCOMPARE(text, QString("Первая строка\nвторая строка"));
    QCOMPARE(seenIcon, qtIcon);
    std::sort(seenButtons.begin(), seenButtons.end());
    std::sort(shownButtons.begin(), shownButtons.end());
    QCOMPARE(seenButtons, shownButtons);
    // The first button of the set is the default, as on the original platform.
    QCOMPARE(defaultButton, firstButton);
    QCOMPARE(answer, result);
}

void QtUiTest::messageBoxClosedWithoutButton_data() {
    QTest::addColumn<MsgButtons>("buttons");
    QTest::addColumn<MsgResult>("result");
    QTest::newRow("ok") << MsgButtons::Ok << MsgResult::Ok;
    QTest::newRow("ok/cancel") << MsgButtons::OkCancel << MsgResult::Cancel;
    QTest::newRow("yes/no") << MsgButtons::YesNo << MsgResult::No;
    QTest::newRow("yes/no/cancel") << MsgButtons::YesNoCancel << MsgResult::Cancel;
}

void QtUiTest::messageBoxClosedWithoutButton() {
    QFETCH(MsgButtons, buttons);
    QFETCH(MsgResult, result);
    whenModalAppears([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QtUi ui;
    QCOMPARE(ui.messageBox("x", "y", MsgIcon::None, buttons), result);
    QCOMPARE(messageResult(QMessageBox::NoButton, buttons), result);
}

void QtUiTest::fileDialogOffersOneEntryAndReturnsThePath() {
    QTemporaryDir dir;
    const QString path =
        dir.filePath("PFR-123-Y-2006-ORG-001-002-000001-DCK-00001-DPT-000000-DCK-00000");
    std::ofstream(path.toStdString()) << "x";

    QStringList filters;
    bool detailsHidden = false, resizable = false;
    whenModalAppears([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        detailsHidden = dialog->testOption(QFileDialog::HideNameFilterDetails);
        resizable = dialog->isSizeGripEnabled();
        acceptName(dialog, path);
    });
    QtUi ui;
    auto chosen = ui.chooseFileToOpen(ru("Пачки ПФР|*.*"));
    QCOMPARE(filters, QStringList{"Пачки ПФР (*)"});
    QVERIFY(detailsHidden);
    QVERIFY(resizable);
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), path);
}

void QtUiTest::fileDialogAcceptsAMissingName() {
    // The driver, not the dialog, tells the user that the file does not exist.
    QTemporaryDir dir;
    const QString path = dir.filePath("нет такой пачки.txt");
    whenModalAppears([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        acceptName(dialog, path);
    });
    QtUi ui;
    auto chosen = ui.chooseFileToOpen(ru("Пачки ПФР|*.*"));
    QVERIFY(chosen.has_value());
    QCOMPARE(QString::fromStdString(*chosen), path);
}

void QtUiTest::fileDialogCancelled() {
    whenModalAppears([](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        dialog->reject();
    });
    QtUi ui;
    QVERIFY(!ui.chooseFileToOpen(ru("Пачки ПФР|*.*")).has_value());
}

QTEST_MAIN(QtUiTest)
#include "QtUiTest.moc"
