#include "app/dialogs/AppDialogs.h"
#include "platform/CodePage.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pv;
using pv::test::TempDir;
namespace fs = std::filesystem;

namespace {

TEST(AppDialogsTest, TheSignaturesDialogFallsBackOnTheWarningsLastChoice) {
    TempDir dir;
    DriverContext context;
    context.ProgramDir = dir.dir();
    QWidget mainWindow;
    AppDialogs dialogs(context, &mainWindow);
    EXPECT_EQ(dialogs.fm_setup->parentWidget(), &mainWindow);
    EXPECT_EQ(dialogs.ShowError->parentWidget(), &mainWindow);

    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (dialogs.ShowError->isVisible()) dialogs.ShowError->BitOk()->click();
        if (dialogs.fm_setup->isVisible()) dialogs.fm_setup->close();
    });
    user.start();

    EXPECT_TRUE(dialogs.regionCheck().allows("099-001-000001"));
    EXPECT_EQ(cp1251ToUtf8(context.settings.regionCheck), "Да");
    fs::remove(dir.file("pachkaview.ini"));
    context.settings.regionCheck.clear();

    dialogs.N1Click();
    EXPECT_EQ(cp1251ToUtf8(context.settings.regionCheck), "Да")
        << "a file without the key gives the warning's last choice";
}

} // namespace
