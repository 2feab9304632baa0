#pragma once

#include "report/prepared/ProgressWindow.h"

#include <QDialog>
#include <QElapsedTimer>

#include <exception>
#include <functional>

class QLabel;
class QPushButton;

namespace pv {

// The progress window: a modal window with a label and the button "Отмена".
// The work starts once the window shows and runs inside it; while it runs,
// asking whether it was cancelled lets the window take its input, so the
// button can be pressed. Pressing it marks the work cancelled and closes the
// window; the work ends when it next looks.
class TfrProgressForm : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    explicit TfrProgressForm(QWidget* parent = nullptr);
    ~TfrProgressForm() override;

    // ProgressWindow. A failure of the work propagates from Run once the
    // window has closed.
    void Run(const std::string& caption, const std::function<void()>& work) override;
    void SetLabel(const std::string& text) override;
    bool Cancelled() override;

    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    // The label changed; the window system has not drawn it yet.
    void labelChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void startWork();
    void cancel();
    void letWindowRun();

    QLabel* label_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::function<void()> work_;
    std::exception_ptr failure_;
    QElapsedTimer sinceEvents_;
    bool cancelled_ = false;
    bool running_ = false;
};

} // namespace pv
