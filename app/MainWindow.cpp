#include "app/MainWindow.h"

#include "app/dialogs/ScaledForm.h"

#include "app/Banner.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/Ui.h"
#include "program/ProgramFiles.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <filesystem>

namespace pv {
namespace {

const char* const kCaption = "Просмотр и печать Tarvelin Ver. Zazade от 06.06.2006 года ";
const char* const kBannerText = "Просмотр и печать файл-пачек ПФР формата 04.00   ***   "
                                "Перед печатью проверьте пачку программой CheckPSN   ***   ";
constexpr int kBannerIntervalMs = 150;

QFont windowFont(int points, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"), points);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

QLabel* label(const QString& name, const QString& text, const char* colour, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(colour));
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QPushButton* button(const QString& name, const QString& text, QStyle::StandardPixmap icon,
                    QWidget* parent) {
    auto* b = new QPushButton(parent->style()->standardIcon(icon), text, parent);
    b->setObjectName(name);
    b->setIconSize({32, 32});
    return b;
}

std::string directoryWithSeparator(const QString& dir) {
    std::string out = dir.toStdString();
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

} // namespace

Tfm_main::Tfm_main(Ui& ui, ReportService& reports, std::string commandLineArg, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      ui_(ui), reports_(reports), driver_(context_, ui, reports),
      readSettings_([](const std::string&) { return ProgramSettings{}; }) {
    setObjectName(QStringLiteral("fm_main"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setFont(windowFont(8, false));
    context_.commandLineArg = std::move(commandLineArg);
    // The driver ends a command-line run from inside the handler that started
    // it; the window goes once control is back in the event loop.
    context_.closeMainWindow = [this] {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    };
    buildMenu();
    buildPanel();
    setOuterSize(designOuterSize());
    formScale_ = new TFormScale(this);
}

Tfm_main::~Tfm_main() = default;

void Tfm_main::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QAction* n1 = bar->addAction(QStringLiteral("Подписи к бланкам"));
    n1->setObjectName(QStringLiteral("N1"));
    connect(n1, &QAction::triggered, this, &Tfm_main::N1Click);

    QMenu* n3 = bar->addMenu(QStringLiteral("Титульный лист"));
    n3->setObjectName(QStringLiteral("N3"));
    QAction* n5 = n3->addAction(QStringLiteral("Титульный лист на просмотр и печать"));
    n5->setObjectName(QStringLiteral("N5"));
    connect(n5, &QAction::triggered, this, &Tfm_main::N5Click);
    QAction* n4 = n3->addAction(QStringLiteral("Редактирование титульного листа"));
    n4->setObjectName(QStringLiteral("N4"));
    connect(n4, &QAction::triggered, this, &Tfm_main::N4Click);

    QAction* n2 = bar->addAction(QStringLiteral("?"));
    n2->setObjectName(QStringLiteral("N2"));
    connect(n2, &QAction::triggered, this, &Tfm_main::N2Click);
}

QWidget* Tfm_main::buildPage(const QString& name, QPushButton* mainButton) {
    auto* page = new QWidget;
    page->setObjectName(name);
    const QString suffix = name.right(1);
    QLabel* warning =
        label(QStringLiteral("Label%1").arg(suffix == "1" ? 1 : 3), "Внимание !!!", "red", page);
    warning->move(12, 2);
    QLabel* advice = label(QStringLiteral("Label%1").arg(suffix == "1" ? 2 : 4),
                           QStringLiteral("Перед просмотром или печатью файл-пачки должны\n"
                                          "быть проверены CheckPSN "),
                           "navy", page);
    advice->move(28, 18);
    mainButton->setParent(page);
    mainButton->setGeometry(40, 55, 377, 50);
    return page;
}

void Tfm_main::buildPanel() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setCentralWidget(Panel1);

    PageControl1 = new QTabWidget(Panel1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(16, 4, 457, 149);
    PageControl1->setFont(windowFont(10, true));

    BitBtn13 = button(QStringLiteral("BitBtn13"), QStringLiteral(" Просмотр и печать СЗВ и АДВ "),
                      QStyle::SP_FileIcon, Panel1);
    connect(BitBtn13, &QPushButton::clicked, this, &Tfm_main::BitBtn13Click);
    PageControl1->addTab(buildPage(QStringLiteral("TabSheet1"), BitBtn13),
                         QStringLiteral("СЗВ,  АДВ  "));

    BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral(" Просмотр и печать АДВ-8"),
                     QStyle::SP_FileIcon, Panel1);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfm_main::BitBtn1Click);
    PageControl1->addTab(buildPage(QStringLiteral("TabSheet2"), BitBtn1),
                         QStringLiteral("АДВ-8 (Справка о смерти)"));
    // The death-certificate section is not finished: its page exists but cannot be reached.
    PageControl1->setTabVisible(1, false);
    PageControl1->setCurrentIndex(0);
    // The tab bar's keyboard cycling would still select a hidden tab.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && !PageControl1->isTabVisible(index)) PageControl1->setCurrentIndex(0);
    });

    BitBtn6 = button(QStringLiteral("BitBtn6"), QStringLiteral("ВЫХОД"),
                     QStyle::SP_DialogCloseButton, Panel1);
    BitBtn6->setIconSize({16, 16});
    BitBtn6->setGeometry(380, 160, 93, 29);
    QFont bold = BitBtn6->font();
    bold.setBold(true);
    BitBtn6->setFont(bold);
    connect(BitBtn6, &QPushButton::clicked, this, &Tfm_main::BitBtn6Click);

    banner_ = new Banner(QString::fromUtf8(kBannerText), kBannerIntervalMs, Panel1);
    banner_->setObjectName(QStringLiteral("Banner"));
    banner_->setGeometry(16, 164, 352, 20);
    QPalette p = banner_->palette();
    p.setColor(QPalette::WindowText, QColor("navy"));
    banner_->setPalette(p);
}

void Tfm_main::setOuterSize(QSize outer) {
    outerSize_ = outer;
    if (QWindow* w = windowHandle()) frame_ = w->frameMargins();
    setFixedSize(outer.width() - frame_.left() - frame_.right(),
                 outer.height() - frame_.top() - frame_.bottom());
}

void Tfm_main::placeOnScreen() {
    setOuterSize(outerSize_);
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    // Centred on the whole screen; the form scaling then moves it off the taskbar.
    const QRect area = s->geometry();
    const QPoint topLeft(area.x() + (area.width() - outerSize_.width()) / 2,
                         area.y() + (area.height() - outerSize_.height()) / 2);
    if (QWindow* w = windowHandle())
        w->setFramePosition(topLeft);
    else
        move(topLeft);
}

void Tfm_main::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!placed_) {
        placed_ = true;
        // The form scaling has sized the window for the screen by now: that is
        // the outer size to keep.
        outerSize_ = size().grownBy(frame_);
        placeOnScreen();
        if (QWindow* w = windowHandle()) w->installEventFilter(this);
    }
    // Without a window manager nobody hands the new window the focus.
    if (!isActiveWindow()) activateWindow();
}

bool Tfm_main::eventFilter(QObject* watched, QEvent* e) {
    // The window manager puts its frame around the window after the first
    // showing, before the window is first exposed; the outer size and the
    // centring count the frame in.
    if (watched == windowHandle() && e->type() == QEvent::Expose) {
        if (windowHandle()->frameMargins() != frame_) placeOnScreen();
    }
    return QMainWindow::eventFilter(watched, e);
}

bool Tfm_main::event(QEvent* e) {
    // Every other window of the program is modal, so the first activation is
    // the only one that counts. The handler runs from the event loop, not from
    // inside the activation.
    if (e->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        QTimer::singleShot(0, this, &Tfm_main::FormActivate);
    }
    return QMainWindow::event(e);
}

void Tfm_main::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        driver_.batchFile().close();
        ui_.messageBox(dialogText(e), programName(), MsgIcon::Error, MsgButtons::Ok);
    } catch (...) {
        driver_.batchFile().close();
        ui_.messageBox("Unexpected failure", programName(), MsgIcon::Error, MsgButtons::Ok);
    }
}

void Tfm_main::FormActivate() {
    // Beside the binary when it runs from its build folder; installed, the
    // settings and the edited templates go to the user's own directories.
    const ProgramFiles files =
        ProgramFiles::locate(directoryWithSeparator(QCoreApplication::applicationDirPath()));
    context_.ProgramDir = files.settingsDir();
    context_.TemplateDirs = files.templateDirs();
    if (files.installed()) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::u8path(files.settingsDir()), ignored);
    }
    bool read = false;
    guarded([&] {
        context_.settings = readSettings_(context_.ProgramDir);
        read = true;
    });
    if (read && !context_.commandLineArg.empty()) BitBtn13Click();
}

void Tfm_main::BitBtn13Click() {
    // Modal windows keep a second run from starting; this also covers a
    // command that arrives by another road while one is in progress.
    if (running_) return;
    running_ = true;
    guarded([this] { driver_.BitBtn13Click(); });
    running_ = false;
}

void Tfm_main::BitBtn1Click() {
    ui_.messageBox(ru("Данный раздел программы в разработке"), ru("Информация"),
                   MsgIcon::Information, MsgButtons::Ok);
}

void Tfm_main::BitBtn6Click() {
    close();
}

void Tfm_main::N1Click() {
    if (signatures_) guarded([this] { signatures_(*this); });
}

void Tfm_main::N2Click() {
    ui_.beep();
    ui_.messageBox(ru("Программа просмотра и печати файл-пачек ПФР\r\n"
                      "формата 04.00: СЗВ-4-1, СЗВ-4-2, СЗВ-3, АДВ-1, АДВ-2, АДВ-3,\r\n"
                      "АДВ-10, АДВ-11 и опись с СЗВ-К.\r\n"
                      "\r\n"
                      "pachkaview, версия 0.1"),
                   ru("О программе "), MsgIcon::Information, MsgButtons::Ok);
}

void Tfm_main::N4Click() {
    if (titlePageEdit_) guarded([this] { titlePageEdit_(*this); });
}

void Tfm_main::N5Click() {
    if (titlePage_) guarded([this] { titlePage_(*this); });
}

} // namespace pv
