#include "program/RegistrationCheck.h"
#include "program/RegionWarningPresenter.h"
#include "app/dialogs/RegionWarningDialog.h"
#include "batch/BatchDriver.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/value/Variables.h"
#include "tests/support/RegionCheckRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace pv;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Batch runs with the real warning dialog; a timer plays the user whenever
// the dialog is up.
class ShowErrorDialogTest : public test::RegionCheckRun {
protected:
    void SetUp() override {
        RegionCheckRun::SetUp();
        driver.setRegionCheck(&check);
        user.setInterval(5);
        QObject::connect(&user, &QTimer::timeout, [this] {
            if (!dialog.isVisible() || !play) return;
            ++showings;
            auto act = play;
            act();
        });
        user.start();
    }

    TShowError dialog;
    RegistrationCheck check{context, presenter, dialog, ui};
    QTimer user;
    std::function<void()> play;
    int showings = 0;
};

TEST_F(ShowErrorDialogTest, ControlsCaptionsAndFocus) {
    QWidget* focused = nullptr;
    QString number, message;
    bool openAfterEscape = false;
    play = [&] {
        focused = dialog.focusWidget();
        number = dialog.LabelError()->text();
        message = dialog.Label1()->text();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        openAfterEscape = dialog.isVisible();
        if (dialog.isVisible()) dialog.BitOk()->click();
    };
    runBatch("013-999-000123");
    EXPECT_EQ(showings, 1);
    EXPECT_EQ(focused, dialog.BitNo());
    EXPECT_TRUE(openAfterEscape) << "Escape closes nothing";
    EXPECT_EQ(number, "013-999-000123");
    EXPECT_EQ(message, u("Данное предприятие зарегистрировано не в\nТатарстане или не правильно "
                         "заполнен\nрегистрационный номер предприятия"));
    EXPECT_EQ(dialog.windowTitle(), u("Внимание !!! Предупреждение"));
    EXPECT_EQ(dialog.BitOk()->text(), u("&Игнорировать  "));
    EXPECT_EQ(dialog.BitNo()->text(), u("&Выход"));
    EXPECT_EQ(dialog.CheckBoxDist()->text(), u("Не показывать это предупреждение   "));
    EXPECT_FALSE(dialog.CheckBoxDist()->isChecked());
    EXPECT_TRUE(dialog.Label1()->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(dialog.Label1()->font().bold());
    EXPECT_TRUE(dialog.LabelError()->alignment() & Qt::AlignHCenter);
    EXPECT_GT(dialog.LabelError()->font().pointSize(), dialog.font().pointSize());
    EXPECT_TRUE(dialog.findChild<QLabel*>("Image1"));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
}

TEST_F(ShowErrorDialogTest, IgnorePrintsAndExitStopsWithTheTablesEmpty) {
    play = [&] { dialog.BitOk()->click(); };
    runBatch("099-001-000001");
    EXPECT_EQ(reports.shown, 1);
    EXPECT_EQ(parsers.parsed, 1);

    play = [&] { QTest::mouseClick(dialog.BitNo(), Qt::LeftButton); };
    runBatch("099-001-000001");
    EXPECT_EQ(showings, 2);
    EXPECT_EQ(reports.shown, 1);
    EXPECT_EQ(parsers.parsed, 1) << "no table filled after Выход";
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ShowErrorDialogTest, TheBoxSwitchesTheWarningOffForTheNextBatch) {
    play = [&] {
        dialog.CheckBoxDist()->click();
        dialog.BitOk()->click();
    };
    runBatch("088-028-000001");
    EXPECT_EQ(reports.shown, 1);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].caption), "Информация!");
    EXPECT_EQ(dir.ini(), "[Dist]\r\nПроверка_рег=Нет\r\n\r\n");
    EXPECT_TRUE(dialog.CheckBoxDist()->isChecked()) << "the box keeps its state";

    runBatch("088-028-000001");
    EXPECT_EQ(showings, 1) << "the next bad number passes silently";
    EXPECT_EQ(reports.shown, 2);
}

} // namespace
