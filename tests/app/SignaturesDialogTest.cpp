#include "app/dialogs/SignaturesDialog.h"
#include "app/dialogs/QtUi.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "program/SignaturesPresenter.h"
#include "tests/support/TempSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace pv;
using pv::test::TempSettings;
namespace fs = std::filesystem;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}
std::string text(const std::string& ansi) {
    return cp1251ToUtf8(ansi);
}

// Types `typed` into `w` key by key, as a keyboard with Cyrillic letters would.
void typeText(QWidget* w, const QString& typed) {
    for (QChar c : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

class SetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override { context.ProgramDir = dir.dir(); }
    void TearDown() override {
        if (dialog.isVisible()) dialog.close();
    }
    void show() {
        dialog.show();
        QApplication::processEvents();
    }

    TempSettings dir;
    DriverContext context;
    ScriptedUi ui;
    std::string lastChoice;
    SignaturesPresenter presenter{context, ui, [this] { return lastChoice; }};
    Tfm_setup dialog{presenter, ui};
};

TEST_F(SetupDialogTest, ControlsLabelsLimitsAndTabOrder) {
    EXPECT_EQ(dialog.windowTitle(), u("Установки по умолчанию"));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);

    const char* labels[] = {"Должность руководителя",
                            "Фамилия И.О. руководителя",
                            "Фамилия И.О.\n главного бухгалтера",
                            "Должность исполнителя",
                            "Фамилия И.О.исполнителя",
                            "ОКПО",
                            "ОКОНХ"};
    const char* names[] = {"DolRukEdit", "FIORukEdit", "FIOBugEdit", "DolIspEdit",
                           "FIOIspEdit", "OKPOEdit",   "OKOHXEdit"};
    const int limits[] = {60, 60, 32767, 60, 60, 12, 12};
    QList<QLabel*> all = dialog.findChildren<QLabel*>();
    for (int i = 0; i < 7; ++i) {
        QLineEdit* e = dialog.findChild<QLineEdit*>(names[i]);
        ASSERT_TRUE(e) << names[i];
        EXPECT_EQ(e, dialog.edit(i));
        EXPECT_EQ(e->maxLength(), limits[i]) << names[i];
        auto label =
            std::find_if(all.begin(), all.end(), [e](QLabel* l) { return l->buddy() == e; });
        ASSERT_NE(label, all.end()) << names[i];
        EXPECT_EQ((*label)->text(), u(labels[i]));
    }

    std::vector<QWidget*> chain;
    QWidget* w = dialog.edit(0);
    for (int i = 0; i < 9; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        chain.push_back(w);
    }
    std::vector<QWidget*> expected;
    for (int i = 0; i < 7; ++i)
        expected.push_back(dialog.edit(i));
    expected.push_back(dialog.BoxKop());
    expected.push_back(dialog.BoxSpisADV());
    EXPECT_EQ(chain, expected);

    EXPECT_EQ(dialog.ExitButton()->text(), u("Запомнить"));
    EXPECT_TRUE(dialog.ExitButton()->isFlat());
    EXPECT_EQ(dialog.ExitButton()->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(dialog.BoxKop()->isChecked()) << "both boxes start checked";
    EXPECT_TRUE(dialog.BoxSpisADV()->isChecked());
}

TEST_F(SetupDialogTest, TypingIsLimitedButLongFileValuesShowWhole) {
    dir.writeIni("[Enterprise]\r\nОКОНХ=1234567890123456\r\n");
    show();
    typeText(dialog.edit(5), "12345678901234567890");
    EXPECT_EQ(dialog.edit(5)->text(), "123456789012");
    EXPECT_EQ(presenter.editText(5), "123456789012");
    const QString longName(200, QChar(0x0416));
    typeText(dialog.edit(2), longName);
    EXPECT_EQ(dialog.edit(2)->text(), longName);
    EXPECT_EQ(dialog.edit(6)->text(), "1234567890123456") << "a stored value is not cut";
}

TEST_F(SetupDialogTest, OpeningAsksTheKopecksQuestionAndNoKeepsTheBoxChecked) {
    dir.writeIni("[ADV-11]\r\nбез копеек=Нет\r\n[Enterprise]\r\nФИО_Руководителя=Иванов\r\n");
    context.settings.kopecks = ru("Нет");
    ui.queueAnswer(MsgResult::No);
    show();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(text(ui.messages()[0].caption), "Информация");
    EXPECT_TRUE(dialog.BoxKop()->isChecked());
    EXPECT_EQ(dialog.BoxKop()->text(), u("АДВ-11 без копеек"));
    EXPECT_EQ(dialog.edit(1)->text(), u("Иванов"));
}

TEST_F(SetupDialogTest, UncheckingWithYesAndClosingKeepsTheFileValue) {
    show();
    ui.queueAnswer(MsgResult::Yes);
    dialog.BoxKop()->click();
    EXPECT_FALSE(dialog.BoxKop()->isChecked());
    EXPECT_EQ(dialog.BoxKop()->text(), u("АДВ-11 c копейками")); // Latin c
    EXPECT_EQ(text(ui.messages().back().text), "Я Вас предупредил.  АДВ-11 с копейками. ");
    ui.queueAnswer(MsgResult::No);
    dialog.BoxSpisADV()->click();
    EXPECT_TRUE(dialog.BoxSpisADV()->isChecked()) << "No checks it again";
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(switchedOff(context.settings.kopecks)) << "nothing saved by the close box";
    show();
    EXPECT_TRUE(dialog.BoxKop()->isChecked()) << "set from the current value again";
}

TEST_F(SetupDialogTest, RememberWithNoLeavesTheFileUntouched) {
    const char* before = "[Enterprise]\r\nОКПО=1\r\n";
    dir.writeIni(before);
    show();
    typeText(dialog.edit(5), "99");
    ui.queueAnswer(MsgResult::No);
    QTest::mouseClick(dialog.ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dir.ini(), before);
    EXPECT_EQ(context.settings.OKPO, "1");
    EXPECT_EQ(dialog.edit(5)->text(), "199") << "the edit keeps the typed text until next showing";
}

TEST_F(SetupDialogTest, RememberWithYesSavesAndUpdatesTheCurrentValues) {
    dir.writeIni("[Dist]\r\nПроверка_рег=Нет\r\n");
    show();
    typeText(dialog.edit(0), u("Директор"));
    ui.queueAnswer(MsgResult::Yes); // kopecks question
    dialog.BoxKop()->click();
    ui.queueAnswer(MsgResult::Yes); // "Запомнить изменения"
    QTest::mouseClick(dialog.ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    const std::string file = dir.ini();
    EXPECT_NE(file.find("Проверка_рег=Да"), std::string::npos) << file;
    EXPECT_NE(file.find("без копеек=Нет"), std::string::npos) << file;
    EXPECT_NE(file.find("Должность_Руководителя=Директор"), std::string::npos) << file;
    EXPECT_EQ(text(context.settings.DolRuk), "Директор");
    EXPECT_EQ(text(context.settings.regionCheck), "Да");
}

TEST_F(SetupDialogTest, TypedChiefAccountantIsUsedWithoutSaving) {
    show();
    typeText(dialog.edit(2), u("Петрова П.П."));
    typeText(dialog.edit(1), u("Иванов"));
    dialog.close();
    EXPECT_EQ(text(context.settings.FIOBug), "Петрова П.П.");
    EXPECT_EQ(context.settings.FIORuk, "");
    EXPECT_EQ(dir.ini(), "");
}

TEST_F(SetupDialogTest, ReadOnlyFileKeepsTheDialogOpenWithTheError) {
    const std::string path = dir.iniPath();
    dir.writeIni("[Enterprise]\r\nОКПО=1\r\n");
    fs::permissions(path, fs::perms::owner_read);
    show();
    ui.queueAnswer(MsgResult::Yes);
    QTest::mouseClick(dialog.ExitButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.messages().back().icon, MsgIcon::Error);
    EXPECT_EQ(dir.ini(), "[Enterprise]\r\nОКПО=1\r\n");
}

// What the dialog looked like whenever a message box came up.
class WatchingUi : public ScriptedUi {
public:
    std::function<void()> onMessage;
    MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override {
        if (onMessage) onMessage();
        return ScriptedUi::messageBox(text, caption, icon, buttons);
    }
};

TEST(SetupDialogOpening, TheKopecksQuestionComesOnceTheDialogIsShownUnderItsNewCaption) {
    TempSettings dir;
    DriverContext context;
    context.ProgramDir = dir.dir();
    context.settings.kopecks = ru("Нет");
    WatchingUi ui;
    SignaturesPresenter presenter{context, ui, [] { return std::string(); }};
    Tfm_setup dialog{presenter, ui};
    std::vector<std::pair<bool, QString>> seen;
    ui.onMessage = [&] { seen.push_back({dialog.isVisible(), dialog.BoxKop()->text()}); };
    ui.queueAnswer(MsgResult::No);
    dialog.show();
    EXPECT_TRUE(seen.empty()) << "nothing is asked while the dialog is being shown";
    QApplication::processEvents();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].first);
    EXPECT_EQ(seen[0].second, u("АДВ-11"));
    EXPECT_EQ(dialog.BoxKop()->text(), u("АДВ-11 без копеек"));
    dialog.close();
}

TEST(SetupDialogOpening, MessageBoxesBelongToTheDialogInFront) {
    QWidget mainWindow;
    QtUi ui;
    ui.setParentWidget(&mainWindow);
    QDialog dialog(&mainWindow);
    QWidget* owner = nullptr;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                owner = box->parentWidget();
                box->accept();
                poll.stop();
                dialog.accept();
            }
    });
    QTimer::singleShot(0, &dialog, [&] {
        poll.start();
        ui.messageBox("text", "caption", MsgIcon::Information, MsgButtons::Ok);
    });
    dialog.exec();
    EXPECT_EQ(owner, &dialog);
}

TEST_F(SetupDialogTest, EscapeDoesNotClose) {
    show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
