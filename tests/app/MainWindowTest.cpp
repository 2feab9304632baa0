#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "app/Banner.h"
#include "app/dialogs/ScaledForm.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/qt/QtText.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace pv;
using pv::test::batchFromFixture;
using pv::test::RecordingReports;

namespace {

QString utf8(const std::string& ansi) {
    return qt1251(ansi, CrLf::Keep);
}

// Remembers the order of beeps and message boxes.
class OrderUi : public ScriptedUi {
public:
    MsgResult messageBox(const std::string& text, const std::string& caption, MsgIcon icon,
                         MsgButtons buttons) override {
        events.push_back("message");
        return ScriptedUi::messageBox(text, caption, icon, buttons);
    }
    void beep() override {
        events.push_back("beep");
        ScriptedUi::beep();
    }
    std::vector<std::string> events;
};

class ClosingCount : public Tfm_main {
public:
    using Tfm_main::Tfm_main;
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* e) override {
        ++closes;
        Tfm_main::closeEvent(e);
    }
};

class ThrowingReports : public RecordingReports {
public:
    void PrepareAndPreview(ReportId) override { throw std::runtime_error("preview failed"); }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { frVariables().Clear(); }

    std::unique_ptr<Tfm_main> makeWindow(std::string arg = {}) {
        return std::make_unique<Tfm_main>(ui_, reports_, std::move(arg));
    }

    static ::testing::AssertionResult showAndWaitForActivation(Tfm_main& w) {
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            return ::testing::AssertionFailure() << "the window was never activated";
        // The handler of the first activation runs from the event loop.
        if (!QTest::qWaitFor([&] { return !w.ProgramDir().empty(); }))
            return ::testing::AssertionFailure() << "the first activation was not handled";
        return ::testing::AssertionSuccess();
    }

    QTemporaryDir dir_;
    ScriptedUi ui_;
    RecordingReports reports_;
};

TEST_F(MainWindowTest, WindowAsDesigned) {
    auto w = makeWindow();
    ASSERT_TRUE(showAndWaitForActivation(*w));

    EXPECT_EQ(w->objectName(), QString("fm_main"));
    EXPECT_EQ(w->windowTitle(),
              QString("Просмотр и печать Tarvelin Ver. Zazade от 06.06.2006 года "));
    EXPECT_EQ(w->frameGeometry().size(), QSize(498, 247));
    const QPoint centre = w->screen()->availableGeometry().center();
    EXPECT_LE((w->frameGeometry().center() - centre).manhattanLength(), 2);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w->font().pointSize(), 8);

    auto* pages = w->findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->geometry(), QRect(16, 4, 457, 149));
    EXPECT_TRUE(pages->font().bold());
    EXPECT_EQ(pages->font().pointSize(), 10);
    EXPECT_EQ(pages->tabText(0), QString("СЗВ,  АДВ  "));
    EXPECT_EQ(pages->currentIndex(), 0);

    auto* main = w->findChild<QPushButton*>("BitBtn13");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->text(), QString(" Просмотр и печать СЗВ и АДВ "));
    EXPECT_EQ(main->geometry(), QRect(40, 55, 377, 50));
    EXPECT_FALSE(main->icon().isNull());
    EXPECT_TRUE(main->isVisible());

    auto* exit = w->findChild<QPushButton*>("BitBtn6");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QString("ВЫХОД"));
    EXPECT_EQ(exit->geometry(), QRect(380, 160, 93, 29));
    EXPECT_TRUE(exit->font().bold());
    EXPECT_FALSE(exit->icon().isNull());

    auto* warning = w->findChild<QLabel*>("Label1");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text(), QString("Внимание !!!"));
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor("red"));
    auto* advice = w->findChild<QLabel*>("Label2");
    ASSERT_NE(advice, nullptr);
    EXPECT_EQ(advice->text(), QString("Перед просмотром или печатью файл-пачки должны\n"
                                      "быть проверены CheckPSN "));
    EXPECT_EQ(advice->palette().color(QPalette::WindowText), QColor("navy"));
    EXPECT_TRUE(advice->font().bold());

    QStringList menu;
    for (QAction* a : w->menuBar()->actions()) {
        menu << a->text();
        if (a->menu())
            for (QAction* sub : a->menu()->actions())
                menu << "  " + sub->text();
    }
    EXPECT_EQ(menu, (QStringList{"Подписи к бланкам", "Титульный лист",
                                 "  Титульный лист на просмотр и печать",
                                 "  Редактирование титульного листа", "?"}));
}

TEST_F(MainWindowTest, DeathCertificatePageCannotBeReached) {
    auto w = makeWindow();
    ASSERT_TRUE(showAndWaitForActivation(*w));
    auto* pages = w->findChild<QTabWidget*>("PageControl1");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(1), QString("АДВ-8 (Справка о смерти)"));
    EXPECT_FALSE(pages->isTabVisible(1));
    auto* button = w->findChild<QPushButton*>("BitBtn1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString(" Просмотр и печать АДВ-8"));
    EXPECT_FALSE(button->isVisible());
    // Cycling through the tabs with the keyboard stays on the visible one.
    QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), 0);
    QTest::keyClick(pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(button->isVisible());
}

TEST_F(MainWindowTest, MainButtonRunsTheChosenBatch) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    ui_.queueFile("  " + batch + " ");
    auto w = makeWindow();
    bool visibleDuringPreview = false;
    reports_.onShow = [&] { visibleDuringPreview = w->isVisible(); };
    ASSERT_TRUE(showAndWaitForActivation(*w));

    const std::string programDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    EXPECT_EQ(w->ProgramDir(), programDir);
    EXPECT_TRUE(reports_.shown.empty()); // no argument: nothing runs by itself

    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn13"), Qt::LeftButton);

    EXPECT_EQ(ui_.fileFilters(), std::vector<std::string>{ru("Пачки ПФР|*.*")});
    EXPECT_TRUE(ui_.messages().empty());
    ASSERT_EQ(reports_.loads.size(), size_t(1));
    EXPECT_EQ(reports_.loads[0].first, ReportId::frReport1);
    EXPECT_EQ(reports_.loads[0].second, programDir + "TempPlay/szv_4_1.frf");
    EXPECT_EQ(reports_.shown, std::vector<ReportId>{ReportId::frReport1});
    EXPECT_TRUE(visibleDuringPreview);
    const TfrVariables& v = reports_.variablesAtShow;
    EXPECT_EQ(utf8(v.Value("reg_nom").text()), QString("016-001-000123"));
    EXPECT_EQ(utf8(v.Value("inn").text()), QString("12345678"));
    // Without a settings file the forms carry empty signatures.
    EXPECT_TRUE(v.Contains("DolRuk"));
    EXPECT_EQ(v.Value("DolRuk").text(), std::string());
    EXPECT_EQ(frVariables().Count(), 0);

    // Without a command-line path the program goes on after the preview.
    QTest::qWait(20);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, CancelledDialogShowsNothing) {
    auto w = makeWindow();
    ASSERT_TRUE(showAndWaitForActivation(*w));
    w->findChild<QPushButton*>("BitBtn13")->click();
    EXPECT_EQ(ui_.fileFilters().size(), size_t(1));
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_TRUE(reports_.loads.empty());
    EXPECT_TRUE(reports_.shown.empty());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, NoSecondRunWhileOneIsInProgress) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    ui_.queueFile(batch);
    ui_.queueFile(batch);
    auto w = makeWindow();
    reports_.onShow = [&] { w->BitBtn13Click(); };
    w->BitBtn13Click();
    EXPECT_EQ(ui_.fileFilters().size(), size_t(1));
    EXPECT_EQ(reports_.shown.size(), size_t(1));
    // Once the preview is closed the button works again.
    reports_.onShow = {};
    w->BitBtn13Click();
    EXPECT_EQ(reports_.shown.size(), size_t(2));
}

TEST_F(MainWindowTest, CommandLineRunsAtFirstActivationAndCloses) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    auto w = makeWindow(batch);
    ProgramSettings settings;
    settings.FIORuk = ru("Иванов И. И.");
    std::string readFrom;
    w->setSettingsReader([&](const std::string& programDir) {
        readFrom = programDir;
        return settings;
    });
    bool visibleDuringPreview = false;
    reports_.onShow = [&] { visibleDuringPreview = w->isVisible(); };

    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports_.shown.size() == 1; }))
        << reports_.shown.size() << " previews";
    EXPECT_TRUE(visibleDuringPreview);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }));

    EXPECT_TRUE(ui_.fileFilters().empty());
    EXPECT_TRUE(ui_.messages().empty());
    EXPECT_EQ(readFrom, w->ProgramDir());
    EXPECT_EQ(utf8(reports_.variablesAtShow.Value("FIORuk").text()), QString("Иванов И. И."));
}

TEST_F(MainWindowTest, CloseWaitsForTheEventLoop) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    ClosingCount w(ui_, reports_, batch);
    w.FormActivate();
    EXPECT_EQ(reports_.shown.size(), size_t(1));
    EXPECT_EQ(w.closes, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.closes == 1; })) << w.closes << " closes";
}

struct StoppedRun {
    const char* name;
    QString edition;
    bool exists;
    QString caption;
    QString textStart;
    MsgIcon icon;
};

void PrintTo(const StoppedRun& run, std::ostream* os) {
    *os << run.name;
}

class StoppedCommandLineRunTest : public MainWindowTest,
                                  public ::testing::WithParamInterface<StoppedRun> {};

TEST_P(StoppedCommandLineRunTest, KeepsWindowAndPath) {
    const StoppedRun& run = GetParam();
    std::string batch = batchFromFixture(dir_, "in41.utf8", [&](std::string& text) {
        text.replace(text.find("\"04.00\""), 7, "\"" + run.edition.toStdString() + "\"");
    });
    if (!run.exists) batch += ".missing";
    const QString expected =
        run.textStart + (run.exists ? QString() : QString::fromStdString(batch));
    auto w = makeWindow(batch);

    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui_.messages().size() == 1; }))
        << ui_.messages().size() << " messages";
    QTest::qWait(20);
    EXPECT_TRUE(w->isVisible());

    w->findChild<QPushButton*>("BitBtn13")->click();
    EXPECT_EQ(ui_.messages().size(), size_t(2));
    for (const auto& m : ui_.messages()) {
        EXPECT_EQ(utf8(m.caption), run.caption);
        EXPECT_EQ(utf8(m.text), expected);
        EXPECT_EQ(m.icon, run.icon);
    }
    EXPECT_TRUE(ui_.fileFilters().empty()); // the path is taken again, no dialog
    EXPECT_TRUE(reports_.shown.empty());
    QTest::qWait(20);
    EXPECT_TRUE(w->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    , StoppedCommandLineRunTest,
    ::testing::Values(StoppedRun{"edition without the leading zero", "4.00", true, "Ошибка!",
                                 "Формат данных не совпадает с редакцией 4.0", MsgIcon::Error},
                      StoppedRun{"missing file", "04.00", false, QString(programName()),
                                 "Аварийное завершение. Невозможно прочитать файл ",
                                 MsgIcon::None}),
    [](const auto& info) { return pv::test::testName(info.param.name); });

TEST_F(MainWindowTest, ActivationRunsOnlyOnce) {
    int reads = 0;
    auto w = makeWindow(dir_.filePath("missing").toStdString());
    w->setSettingsReader([&](const std::string&) {
        ++reads;
        return ProgramSettings{};
    });
    ASSERT_TRUE(showAndWaitForActivation(*w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui_.messages().size() == 1; }))
        << ui_.messages().size() << " messages";

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::qWait(20);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(ui_.messages().size(), size_t(1));
}

TEST_F(MainWindowTest, DeathCertificateButtonOnlyInforms) {
    auto w = makeWindow();
    ASSERT_TRUE(showAndWaitForActivation(*w));
    w->findChild<QPushButton*>("BitBtn1")->click();
    ASSERT_EQ(ui_.messages().size(), size_t(1));
    const auto& m = ui_.messages()[0];
    EXPECT_EQ(utf8(m.text), QString("Данный раздел программы в разработке"));
    EXPECT_EQ(utf8(m.caption), QString("Информация"));
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_TRUE(ui_.fileFilters().empty());
    EXPECT_TRUE(reports_.shown.empty());
}

TEST_F(MainWindowTest, AboutBoxBeepsFirst) {
    OrderUi ui;
    Tfm_main w(ui, reports_);
    w.findChild<QAction*>("N2")->trigger();
    EXPECT_EQ(ui.events, (std::vector<std::string>{"beep", "message"}));
    ASSERT_FALSE(ui.messages().empty());
    const auto& m = ui.messages().at(0);
    EXPECT_EQ(utf8(m.caption), QString("О программе "));
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(utf8(m.text).section("\r\n", 0, 0),
              QString("Программа просмотра и печати файл-пачек ПФР"));
}

struct MenuCommand {
    const char* name;
    QString action;
};

void PrintTo(const MenuCommand& command, std::ostream* os) {
    *os << command.name;
}

class MenuCommandTest : public MainWindowTest, public ::testing::WithParamInterface<MenuCommand> {};

TEST_P(MenuCommandTest, ReachesItsAction) {
    const QString action = GetParam().action;
    auto w = makeWindow();
    QStringList called;
    auto record = [&](const char* name) {
        return [&, name](Tfm_main& window) {
            EXPECT_EQ(&window, w.get());
            called << name;
        };
    };
    w->setSignaturesAction(record("N1"));
    w->setTitlePageAction(record("N5"));
    w->setTitlePageEditAction(record("N4"));
    auto* command = w->findChild<QAction*>(action);
    ASSERT_NE(command, nullptr) << action.toStdString();
    command->trigger();
    EXPECT_EQ(called, QStringList{action});
}

INSTANTIATE_TEST_SUITE_P(, MenuCommandTest,
                         ::testing::Values(MenuCommand{"signatures", "N1"},
                                           MenuCommand{"title page", "N5"},
                                           MenuCommand{"title page editing", "N4"}),
                         [](const auto& info) { return pv::test::testName(info.param.name); });

TEST_F(MainWindowTest, SignatureChangedInDialogAppliesToNextRun) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    auto w = makeWindow();
    w->setSignaturesAction([](Tfm_main& window) { window.settings().DolRuk = ru("Директор"); });
    ASSERT_TRUE(showAndWaitForActivation(*w));
    w->findChild<QAction*>("N1")->trigger();
    ui_.queueFile(batch);
    w->BitBtn13Click();
    EXPECT_EQ(utf8(reports_.variablesAtShow.Value("DolRuk").text()), QString("Директор"));
}

TEST_F(MainWindowTest, ExitButtonClosesWindow) {
    auto w = makeWindow();
    ASSERT_TRUE(showAndWaitForActivation(*w));
    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn6"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, UnreadableSettingsAreReportedAndRunNotStarted) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    auto w = makeWindow(batch);
    w->setSettingsReader([](const std::string&) -> ProgramSettings {
        throw std::runtime_error("pachkaview.ini: cannot be read");
    });
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui_.messages().size() == 1; }))
        << ui_.messages().size() << " messages";
    EXPECT_EQ(ui_.messages()[0].text, std::string("pachkaview.ini: cannot be read"));
    EXPECT_EQ(ui_.messages()[0].caption, std::string(programName()));
    EXPECT_EQ(ui_.messages()[0].icon, MsgIcon::Error);
    QTest::qWait(20);
    EXPECT_TRUE(reports_.shown.empty());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, FailureInsideRunIsShownAndFileClosed) {
    const std::string batch = batchFromFixture(dir_, "in41.utf8");
    ThrowingReports reports;
    Tfm_main w(ui_, reports);
    ui_.queueFile(batch);
    w.BitBtn13Click();
    ASSERT_EQ(ui_.messages().size(), size_t(1));
    EXPECT_EQ(ui_.messages()[0].text, std::string("preview failed"));
    EXPECT_EQ(ui_.messages()[0].icon, MsgIcon::Error);
    EXPECT_FALSE(w.driver().batchFile().isOpen());
    // The window stays usable: the next run goes through.
    ui_.queueFile(batch);
    w.BitBtn13Click();
    EXPECT_EQ(ui_.messages().size(), size_t(2));
    EXPECT_EQ(ui_.fileFilters().size(), size_t(2));
}

TEST_F(MainWindowTest, BannerScrolls) {
    Banner banner("abc", 10);
    EXPECT_EQ(banner.text(), QString("abc"));
    banner.step();
    EXPECT_EQ(banner.text(), QString("bca"));
    banner.step();
    banner.step();
    EXPECT_EQ(banner.text(), QString("abc"));
    // Its timer moves it on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return banner.text() != QString("abc"); }));

    auto w = makeWindow();
    auto* shown = w->findChild<Banner*>("Banner");
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->timer().isActive());
}

struct Screen {
    const char* name;
    int screenWidth, screenHeight, dpi, taskbarTop;
    QSize size;
    bool movedToTop;
};

void PrintTo(const Screen& screen, std::ostream* os) {
    *os << screen.name;
}

class WindowOnScreenTest : public MainWindowTest, public ::testing::WithParamInterface<Screen> {};

TEST_P(WindowOnScreenTest, FitsTheScreen) {
    const Screen& s = GetParam();
    auto w = makeWindow();
    const ScaleRect taskbar =
        s.taskbarTop > 0 ? ScaleRect{0, s.taskbarTop, s.screenWidth, s.screenHeight} : ScaleRect{};
    w->formScale()->screenMetrics = [=] {
        return ScreenMetrics{s.screenWidth, s.screenHeight, s.dpi, taskbar};
    };
    ASSERT_TRUE(showAndWaitForActivation(*w));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->formScale()->placed(); }));
    EXPECT_EQ(w->frameGeometry().size(), s.size);
    const QRect screen = w->screen()->geometry();
    EXPECT_EQ(w->frameGeometry().top(),
              s.movedToTop ? screen.top() : screen.top() + (screen.height() - s.size.height()) / 2);
    // Contents and fonts shrink with the window.
    auto* exit = w->findChild<QPushButton*>("BitBtn6");
    ASSERT_NE(exit, nullptr);
    EXPECT_LE(std::abs(exit->width() - 93.0 * s.size.width() / 498), 1);
}

// The scaler sees the simulated screen; the window is centred on the real
// (offscreen) one and then moved clear of a taskbar it overlaps.
INSTANTIATE_TEST_SUITE_P(
    , WindowOnScreenTest,
    ::testing::Values(Screen{"short screen", 600, 240, 96, 0, QSize(156, 77), false},
                      Screen{"dense screen", 800, 600, 120, 570, QSize(389, 193), false},
                      Screen{"fits beside the taskbar", 800, 800, 96, 560, QSize(498, 247), false},
                      Screen{"taskbar covers its bottom", 800, 800, 96, 400, QSize(498, 247),
                             true}),
    [](const auto& info) { return pv::test::testName(info.param.name); });

} // namespace
