#include "report/qt/ProgressForm.h"

#include "report/qt/QtText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace pv {
namespace {

// Input is looked at this often while the work runs: often enough for the
// button to answer at once, rarely enough not to slow the work down.
constexpr qint64 kEventIntervalMs = 50;

} // namespace

TfrProgressForm::TfrProgressForm(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setMinimumWidth(280);
    label_->setAlignment(Qt::AlignCenter);
    cancel_ = new QPushButton(qt1251(ru("Отмена"), CrLf::Keep), this);
    layout->addWidget(label_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &TfrProgressForm::cancel);
}

TfrProgressForm::~TfrProgressForm() = default;

void TfrProgressForm::Run(const std::string& caption, const std::function<void()>& work) {
    setWindowTitle(qt1251(caption, CrLf::Keep));
    work_ = work;
    failure_ = nullptr;
    cancelled_ = false;
    exec();
    work_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void TfrProgressForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Started from the event loop, so the window is on the screen first.
    if (work_ && !running_) QTimer::singleShot(0, this, &TfrProgressForm::startWork);
}

void TfrProgressForm::startWork() {
    if (!work_ || running_) return;
    running_ = true;
    sinceEvents_.start();
    // An exception must not cross the event loop: it is handed to Run.
    try {
        work_();
    } catch (...) {
        failure_ = std::current_exception();
    }
    work_ = nullptr;
    running_ = false;
    if (isVisible()) accept();
}

void TfrProgressForm::SetLabel(const std::string& text) {
    const QString shown = qt1251(text, CrLf::ToLf);
    if (label_->text() == shown) return;
    label_->setText(shown);
    emit labelChanged(shown);
}

bool TfrProgressForm::Cancelled() {
    if (!cancelled_ && running_ && sinceEvents_.elapsed() >= kEventIntervalMs) letWindowRun();
    return cancelled_;
}

void TfrProgressForm::letWindowRun() {
    QCoreApplication::processEvents();
    sinceEvents_.restart();
}

void TfrProgressForm::cancel() {
    cancelled_ = true;
    hide();
    QDialog::reject();
}

// Escape and the window's close button cancel like the button does.
void TfrProgressForm::reject() {
    cancel();
}

} // namespace pv
