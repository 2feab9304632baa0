#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "app/Banner.h"
#include "app/dialogs/ScaledForm.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/qt/QtText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowAsDesigned();
    void deathCertificatePageCannotBeReached();
    void mainButtonRunsTheChosenBatch();
    void cancelledDialogShowsNothing();
    void noSecondRunWhileOneIsInProgress();
    void commandLineRunsAtFirstActivationAndCloses();
    void closeWaitsForTheEventLoop();
    void stoppedCommandLineRunKeepsWindowAndPath_data();
    void stoppedCommandLineRunKeepsWindowAndPath();
    void activationRunsOnlyOnce();
    void deathCertificateButtonOnlyInforms();
    void aboutBoxBeepsFirst();
    void menuCommandsReachTheirActions_data();
    void menuCommandsReachTheirActions();
    void signatureChangedInDialogAppliesToNextRun();
    void exitButtonClosesWindow();
    void unreadableSettingsAreReportedAndRunNotStarted();
    void failureInsideRunIsShownAndFileClosed();
    void bannerScrolls();
    void windowFitsTheScreen_data();
    void windowFitsTheScreen();

private:
    std::unique_ptr<Tfm_main> makeWindow(std::string arg = {});
    void showAndWaitForActivation(Tfm_main& w);

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedUi ui_;
    RecordingReports reports_;
};

void MainWindowTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    ui_ = ScriptedUi();
    reports_ = RecordingReports();
    frVariables().Clear();
}

void MainWindowTest::cleanup() {
    dir_.reset();
}

std::unique_ptr<Tfm_main> MainWindowTest::makeWindow(std::string arg) {
    return std::make_unique<Tfm_main>(ui_, reports_, std::move(arg));
}

void MainWindowTest::showAndWaitForActivation(Tfm_main& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The handler of the first activation runs from the event loop.
    QTRY_VERIFY(!w.ProgramDir().empty());
}

void MainWindowTest::windowAsDesigned() {
    auto w = makeWindow();
    showAndWaitForActivation(*w);

    QCOMPARE(w->objectName(), QString("fm_main"));
    QCOMPARE(w->windowTitle(),
             QString("Просмотр и печать Tarvelin Ver. Zazade от 06.06.2006 года "));
    QCOMPARE(w->frameGeometry().size(), QSize(498, 247));
    const QPoint centre = w->screen()->availableGeometry().center();
    QVERIFY((w->frameGeometry().center() - centre).manhattanLength() <= 2);
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(w->windowFlags() & Qt::WindowSystemMenuHint);
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->font().pointSize(), 8);

    auto* pages = w->findChild<QTabWidget*>("PageControl1");
    QVERIFY(pages);
    QCOMPARE(pages->geometry(), QRect(16, 4, 457, 149));
    QVERIFY(pages->font().bold());
    QCOMPARE(pages->font().pointSize(), 10);
    QCOMPARE(pages->tabText(0), QString("СЗВ,  АДВ  "));
    QCOMPARE(pages->currentIndex(), 0);

    auto* main = w->findChild<QPushButton*>("BitBtn13");
    QVERIFY(main);
    QCOMPARE(main->text(), QString(" Просмотр и печать СЗВ и АДВ "));
    QCOMPARE(main->geometry(), QRect(40, 55, 377, 50));
    QVERIFY(!main->icon().isNull());
    QVERIFY(main->isVisible());

    auto* exit = w->findChild<QPushButton*>("BitBtn6");
    QVERIFY(exit);
    QCOMPARE(exit->text(), QString("ВЫХОД"));
    QCOMPARE(exit->geometry(), QRect(380, 160, 93, 29));
    QVERIFY(exit->font().bold());
    QVERIFY(!exit->icon().isNull());

    auto* warning = w->findChild<QLabel*>("Label1");
    QVERIFY(warning);
    QCOMPARE(warning->text(), QString("Внимание !!!"));
    QCOMPARE(warning->palette().color(QPalette::WindowText), QColor("red"));
    auto* advice = w->findChild<QLabel*>("Label2");
    QVERIFY(advice);
    QCOMPARE(advice->text(), QString("Перед просмотром или печатью файл-пачки должны\n"
                                     "быть проверены CheckPSN "));
    QCOMPARE(advice->palette().color(QPalette::WindowText), QColor("navy"));
    QVERIFY(advice->font().bold());

    QStringList menu;
    for (QAction* a : w->menuBar()->actions()) {
        menu << a->text();
        if (a->menu())
            for (QAction* sub : a->menu()->actions())
                menu << "  " + sub->text();
    }
    QCOMPARE(menu, (QStringList{"Подписи к бланкам", "Титульный лист",
                                "  Титульный лист на просмотр и печать",
                                "  Редактирование титульного листа", "?"}));
}

void MainWindowTest::deathCertificatePageCannotBeReached() {
    auto w = makeWindow();
    showAndWaitForActivation(*w);
    auto* pages = w->findChild<QTabWidget*>("PageControl1");
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(1), QString("АДВ-8 (Справка о смерти)"));
    QVERIFY(!pages->isTabVisible(1));
    auto* button = w->findChild<QPushButton*>("BitBtn1");
    QVERIFY(button);
    QCOMPARE(button->text(), QString(" Просмотр и печать АДВ-8"));
    QVERIFY(!button->isVisible());
    // Cycling through the tabs with the keyboard stays on the visible one.
    QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 0);
    QTest::keyClick(pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(!button->isVisible());
}

void MainWindowTest::mainButtonRunsTheChosenBatch() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    ui_.queueFile("  " + batch + " ");
    auto w = makeWindow();
    bool visibleDuringPreview = false;
    reports_.onShow = [&] { visibleDuringPreview = w->isVisible(); };
    showAndWaitForActivation(*w);

    const std::string programDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    QCOMPARE(w->ProgramDir(), programDir);
    QVERIFY(reports_.shown.empty()); // no argument: nothing runs by itself

    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn13"), Qt::LeftButton);

    QCOMPARE(ui_.fileFilters(), std::vector<std::string>{ru("Пачки ПФР|*.*")});
    QVERIFY(ui_.messages().empty());
    QCOMPARE(reports_.loads.size(), size_t(1));
    QCOMPARE(reports_.loads[0].first, ReportId::frReport1);
    QCOMPARE(reports_.loads[0].second, programDir + "TempPlay/szv_4_1.frf");
    QCOMPARE(reports_.shown, std::vector<ReportId>{ReportId::frReport1});
    QVERIFY(visibleDuringPreview);
    const TfrVariables& v = reports_.variablesAtShow;
    QCOMPARE(utf8(v.Value("reg_nom").text()), QString("016-001-000123"));
    QCOMPARE(utf8(v.Value("inn").text()), QString("12345678"));
    // Without a settings file the forms carry empty signatures.
    QVERIFY(v.Contains("DolRuk"));
    QCOMPARE(v.Value("DolRuk").text(), std::string());
    QCOMPARE(frVariables().Count(), 0);

    // Without a command-line path the program goes on after the preview.
    QTest::qWait(20);
    QVERIFY(w->isVisible());
}

void MainWindowTest::cancelledDialogShowsNothing() {
    auto w = makeWindow();
    showAndWaitForActivation(*w);
    w->findChild<QPushButton*>("BitBtn13")->click();
    QCOMPARE(ui_.fileFilters().size(), size_t(1));
    QVERIFY(ui_.messages().empty());
    QVERIFY(reports_.loads.empty());
    QVERIFY(reports_.shown.empty());
    QVERIFY(w->isVisible());
}

void MainWindowTest::noSecondRunWhileOneIsInProgress() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    ui_.queueFile(batch);
    ui_.queueFile(batch);
    auto w = makeWindow();
    reports_.onShow = [&] { w->BitBtn13Click(); };
    w->BitBtn13Click();
    QCOMPARE(ui_.fileFilters().size(), size_t(1));
    QCOMPARE(reports_.shown.size(), size_t(1));
    // Once the preview is closed the button works again.
    reports_.onShow = {};
    w->BitBtn13Click();
    QCOMPARE(reports_.shown.size(), size_t(2));
}

void MainWindowTest::commandLineRunsAtFirstActivationAndCloses() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
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
    QTRY_COMPARE(reports_.shown.size(), size_t(1));
    QVERIFY(visibleDuringPreview);
    QTRY_VERIFY(!w->isVisible());

    QVERIFY(ui_.fileFilters().empty());
    QVERIFY(ui_.messages().empty());
    QCOMPARE(readFrom, w->ProgramDir());
    QCOMPARE(utf8(reports_.variablesAtShow.Value("FIORuk").text()), QString("Иванов И. И."));
}

void MainWindowTest::closeWaitsForTheEventLoop() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    ClosingCount w(ui_, reports_, batch);
    w.FormActivate();
    QCOMPARE(reports_.shown.size(), size_t(1));
    QCOMPARE(w.closes, 0);
    QTRY_COMPARE(w.closes, 1);
}

void MainWindowTest::stoppedCommandLineRunKeepsWindowAndPath_data() {
    QTest::addColumn<QString>("edition");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("textStart");
    QTest::addColumn<int>("icon");
    QTest::newRow("edition without the leading zero")
        << "4.00" << true << "Ошибка!"
        << "Формат данных не совпадает с редакцией 4.0" << int(MsgIcon::Error);
    QTest::newRow("missing file") << "04.00" << false << QString(programName())
                                  << "Аварийное завершение. Невозможно прочитать файл "
                                  << int(MsgIcon::None);
}

void MainWindowTest::stoppedCommandLineRunKeepsWindowAndPath() {
    QFETCH(QString, edition);
    QFETCH(bool, exists);
    QFETCH(QString, caption);
    QFETCH(QString, textStart);
    QFETCH(int, icon);
    std::string batch = batchFromFixture(*dir_, "in41.utf8", [&](std::string& text) {
        text.replace(text.find("\"04.00\""), 7, "\"" + edition.toStdString() + "\"");
    });
    if (!exists) batch += ".missing";
    const QString expected = textStart + (exists ? QString() : QString::fromStdString(batch));
    auto w = makeWindow(batch);

    w->show();
    QTRY_COMPARE(ui_.messages().size(), size_t(1));
    QTest::qWait(20);
    QVERIFY(w->isVisible());

    w->findChild<QPushButton*>("BitBtn13")->click();
    QCOMPARE(ui_.messages().size(), size_t(2));
    for (const auto& m : ui_.messages()) {
        QCOMPARE(utf8(m.caption), caption);
        QCOMPARE(utf8(m.text), expected);
        QCOMPARE(int(m.icon), icon);
    }
    QVERIFY(ui_.fileFilters().empty()); // the path is taken again, no dialog
    QVERIFY(reports_.shown.empty());
    QTest::qWait(20);
    QVERIFY(w->isVisible());
}

void MainWindowTest::activationRunsOnlyOnce() {
    int reads = 0;
    auto w = makeWindow(dir_->filePath("missing").toStdString());
    w->setSettingsReader([&](const std::string&) {
        ++reads;
        return ProgramSettings{};
    });
    showAndWaitForActivation(*w);
    QTRY_COMPARE(ui_.messages().size(), size_t(1));

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::qWait(20);
    QCOMPARE(reads, 1);
    QCOMPARE(ui_.messages().size(), size_t(1));
}

void MainWindowTest::deathCertificateButtonOnlyInforms() {
    auto w = makeWindow();
    showAndWaitForActivation(*w);
    w->findChild<QPushButton*>("BitBtn1")->click();
    QCOMPARE(ui_.messages().size(), size_t(1));
    const auto& m = ui_.messages()[0];
    QCOMPARE(utf8(m.text), QString("Данный раздел программы в разработке"));
    QCOMPARE(utf8(m.caption), QString("Информация"));
    QCOMPARE(m.icon, MsgIcon::Information);
    QCOMPARE(m.buttons, MsgButtons::Ok);
    QVERIFY(ui_.fileFilters().empty());
    QVERIFY(reports_.shown.empty());
}

void MainWindowTest::aboutBoxBeepsFirst() {
    OrderUi ui;
    Tfm_main w(ui, reports_);
    w.findChild<QAction*>("N2")->trigger();
    QCOMPARE(ui.events, (std::vector<std::string>{"beep", "message"}));
    const auto& m = ui.messages().at(0);
    QCOMPARE(utf8(m.caption), QString("О программе "));
    QCOMPARE(m.icon, MsgIcon::Information);
    QCOMPARE(utf8(m.text).section("\r\n", 0, 0),
             QString("Программа просмотра и печати файл-пачек ПФР"));
}

void MainWindowTest::menuCommandsReachTheirActions_data() {
    QTest::addColumn<QString>("action");
    QTest::newRow("signatures") << "N1";
    QTest::newRow("title page") << "N5";
    QTest::newRow("title page editing") << "N4";
}

void MainWindowTest::menuCommandsReachTheirActions() {
    QFETCH(QString, action);
    auto w = makeWindow();
    QStringList called;
    auto record = [&](const char* name) {
        return [&, name](Tfm_main& window) {
            QCOMPARE(&window, w.get());
            called << name;
        };
    };
    w->setSignaturesAction(record("N1"));
    w->setTitlePageAction(record("N5"));
    w->setTitlePageEditAction(record("N4"));
    w->findChild<QAction*>(action)->trigger();
    QCOMPARE(called, QStringList{action});
}

void MainWindowTest::signatureChangedInDialogAppliesToNextRun() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    auto w = makeWindow();
    w->setSignaturesAction([](Tfm_main& window) { window.settings().DolRuk = ru("Директор"); });
    showAndWaitForActivation(*w);
    w->findChild<QAction*>("N1")->trigger();
    ui_.queueFile(batch);
    w->BitBtn13Click();
    QCOMPARE(utf8(reports_.variablesAtShow.Value("DolRuk").text()), QString("Директор"));
}

void MainWindowTest::exitButtonClosesWindow() {
    auto w = makeWindow();
    showAndWaitForActivation(*w);
    QTest::mouseClick(w->findChild<QPushButton*>("BitBtn6"), Qt::LeftButton);
    QVERIFY(!w->isVisible());
}

void MainWindowTest::unreadableSettingsAreReportedAndRunNotStarted() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    auto w = makeWindow(batch);
    w->setSettingsReader([](const std::string&) -> ProgramSettings {
        throw std::runtime_error("pachkaview.ini: cannot be read");
    });
    w->show();
    QTRY_COMPARE(ui_.messages().size(), size_t(1));
    QCOMPARE(ui_.messages()[0].text, std::string("pachkaview.ini: cannot be read"));
    QCOMPARE(ui_.messages()[0].caption, std::string(programName()));
    QCOMPARE(ui_.messages()[0].icon, MsgIcon::Error);
    QTest::qWait(20);
    QVERIFY(reports_.shown.empty());
    QVERIFY(w->isVisible());
}

void MainWindowTest::failureInsideRunIsShownAndFileClosed() {
    const std::string batch = batchFromFixture(*dir_, "in41.utf8");
    ThrowingReports reports;
    Tfm_main w(ui_, reports);
    ui_.queueFile(batch);
    w.BitBtn13Click();
    QCOMPARE(ui_.messages().size(), size_t(1));
    QCOMPARE(ui_.messages()[0].text, std::string("preview failed"));
    QCOMPARE(ui_.messages()[0].icon, MsgIcon::Error);
    QVERIFY(!w.driver().batchFile().isOpen());
    // The window stays usable: the next run goes through.
    ui_.queueFile(batch);
    w.BitBtn13Click();
    QCOMPARE(ui_.messages().size(), size_t(2));
    QCOMPARE(ui_.fileFilters().size(), size_t(2));
}

void MainWindowTest::bannerScrolls() {
    Banner banner("abc", 10);
    QCOMPARE(banner.text(), QString("abc"));
    banner.step();
    QCOMPARE(banner.text(), QString("bca"));
    banner.step();
    banner.step();
    QCOMPARE(banner.text(), QString("abc"));
    QTRY_VERIFY(banner.text() != QString("abc")); // its timer moves it on its own

    auto w = makeWindow();
    auto* shown = w->findChild<Banner*>("Banner");
    QVERIFY(shown);
    QVERIFY(shown->timer().isActive());
}

void MainWindowTest::windowFitsTheScreen_data() {
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("taskbarTop");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("movedToTop");
    // The scaler sees the simulated screen; the window is centred on the real
    // (offscreen) one and then moved clear of a taskbar it overlaps.
    QTest::newRow("short screen") << 600 << 240 << 96 << 0 << QSize(156, 77) << false;
    QTest::newRow("dense screen") << 800 << 600 << 120 << 570 << QSize(389, 193) << false;
    QTest::newRow("fits beside the taskbar") << 800 << 800 << 96 << 560 << QSize(498, 247) << false;
    QTest::newRow("taskbar covers its bottom")
        << 800 << 800 << 96 << 400 << QSize(498, 247) << true;
}

void MainWindowTest::windowFitsTheScreen() {
    QFETCH(int, screenWidth);
    QFETCH(int, screenHeight);
    QFETCH(int, dpi);
    QFETCH(int, taskbarTop);
    QFETCH(QSize, size);
    QFETCH(bool, movedToTop);
    auto w = makeWindow();
    const ScaleRect taskbar =
        taskbarTop > 0 ? ScaleRect{0, taskbarTop, screenWidth, screenHeight} : ScaleRect{};
    w->formScale()->screenMetrics = [=] {
        return ScreenMetrics{screenWidth, screenHeight, dpi, taskbar};
    };
    showAndWaitForActivation(*w);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTRY_VERIFY(w->formScale()->placed());
    QCOMPARE(w->frameGeometry().size(), size);
    const QRect screen = w->screen()->geometry();
    QCOMPARE(w->frameGeometry().top(),
             movedToTop ? screen.top() : screen.top() + (screen.height() - size.height()) / 2);
    // Contents and fonts shrink with the window.
    auto* exit = w->findChild<QPushButton*>("BitBtn6");
    QVERIFY(exit);
    QVERIFY(std::abs(exit->width() - 93.0 * size.width() / 498) <= 1);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
