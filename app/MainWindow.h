#pragma once

#include "batch/BatchDriver.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QWidget;

namespace pv {

class Banner;
class TFormScale;
class Ui;

// The program's one working window: the main button runs the batch driver, the
// menu reaches the signatures dialog and the title page, "ВЫХОД" ends the program.
// Started with a batch path, it runs that batch at its first activation and
// closes when the preview is closed.
class Tfm_main : public QMainWindow {
    Q_OBJECT
public:
    // Reads the setting values of a program directory (a missing file gives empty values).
    using SettingsReader = std::function<ProgramSettings(const std::string& programDir)>;
    // What a menu command does that lives outside this window.
    using WindowAction = std::function<void(Tfm_main&)>;

    // `commandLineArg`: the program's first argument, as given (UTF-8).
    Tfm_main(Ui& ui, ReportService& reports, std::string commandLineArg = {},
             QWidget* parent = nullptr);
    ~Tfm_main() override;

    void setParsers(DocumentParsers* parsers) { driver_.setParsers(parsers); }
    void setRegionCheck(RegionCheck* check) { driver_.setRegionCheck(check); }
    void setSettingsReader(SettingsReader reader) { readSettings_ = std::move(reader); }
    void setSignaturesAction(WindowAction action) { signatures_ = std::move(action); }
    void setTitlePageAction(WindowAction action) { titlePage_ = std::move(action); }
    void setTitlePageEditAction(WindowAction action) { titlePageEdit_ = std::move(action); }

    // The window's size with its frame, as the design has it; the form scaling changes it.
    static QSize designOuterSize() { return {498, 247}; }
    // Gives the window this outer size and keeps the user from resizing it.
    void setOuterSize(QSize outer);

    // Fits the window to the screen at its first showing.
    TFormScale* formScale() const { return formScale_; }

    // The state the driver and the dialogs share with this window.
    DriverContext& context() { return context_; }
    const std::string& ProgramDir() const { return context_.ProgramDir; }
    ProgramSettings& settings() { return context_.settings; }
    BatchDriver& driver() { return driver_; }
    Ui& ui() { return ui_; }
    ReportService& reports() { return reports_; }

    // Event handlers, named after their controls.
    void FormActivate();
    void BitBtn13Click();
    void BitBtn1Click();
    void BitBtn6Click();
    void N1Click();
    void N2Click();
    void N4Click();
    void N5Click();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildMenu();
    void buildPanel();
    QWidget* buildPage(const QString& name, QPushButton* button);
    void placeOnScreen();
    // Runs `handler`, showing a failure that escapes it instead of letting it
    // reach the event loop.
    void guarded(const std::function<void()>& handler);

    Ui& ui_;
    ReportService& reports_;
    DriverContext context_;
    BatchDriver driver_;
    SettingsReader readSettings_;
    WindowAction signatures_;
    WindowAction titlePage_;
    WindowAction titlePageEdit_;
    bool activated_ = false;
    bool placed_ = false;
    bool running_ = false;
    QSize outerSize_ = designOuterSize();
    QMargins frame_;
    TFormScale* formScale_ = nullptr;

    QFrame* Panel1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPushButton* BitBtn13 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    Banner* banner_ = nullptr;
};

} // namespace pv
