#include "app/dialogs/SignaturesDialog.h"

#include "platform/Error.h"
#include "program/SignaturesPresenter.h"
#include "report/qt/QtText.h"
#include "app/dialogs/ScaledForm.h"
#include "platform/Ui.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace pv {
namespace {

constexpr int kLabelX = 12;
constexpr int kLabelWidth = 170;
constexpr int kEditX = 190;
constexpr int kEditWidth = 270;
constexpr int kRowTop = 14;
constexpr int kRowHeight = 30;
constexpr int kEditHeight = 22;

} // namespace

Tfm_setup::Tfm_setup(SignaturesPresenter& presenter, Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      presenter_(presenter), ui_(ui) {
    setObjectName("fm_setup");
    setWindowTitle(qt1251(SignaturesPresenter::caption(), CrLf::Keep));
    QFont base("MS Sans Serif");
    base.setPointSize(8);
    setFont(base);

    const auto& controls = SignaturesPresenter::edits();
    QWidget* previous = nullptr;
    for (int i = 0; i < int(controls.size()); ++i) {
        const int top = kRowTop + i * kRowHeight;
        auto* label = new QLabel(QString::fromUtf8(controls[i].label), this);
        label->setGeometry(kLabelX, top - 6, kLabelWidth, kEditHeight + 12);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(controls[i].name);
        edit->setGeometry(kEditX, top, kEditWidth, kEditHeight);
        if (controls[i].maxLength > 0) edit->setMaxLength(controls[i].maxLength);
        label->setBuddy(edit);
        connect(edit, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { presenter_.setEditText(i, from1251(text)); });
        if (previous) setTabOrder(previous, edit);
        previous = edit;
        edits_[i] = edit;
    }

    const int boxesTop = kRowTop + int(controls.size()) * kRowHeight + 4;
    boxKop_ = new QCheckBox(this);
    boxKop_->setObjectName("BoxKop");
    boxKop_->setGeometry(kLabelX, boxesTop, 300, 22);
    boxSpisADV_ = new QCheckBox(this);
    boxSpisADV_->setObjectName("BoxSpisADV");
    boxSpisADV_->setGeometry(kLabelX, boxesTop + 26, 300, 22);
    setTabOrder(previous, boxKop_);
    setTabOrder(boxKop_, boxSpisADV_);
    connect(boxKop_, &QCheckBox::clicked, this, [this](bool checked) {
        presenter_.setBoxKop(checked);
        syncFromPresenter();
    });
    connect(boxSpisADV_, &QCheckBox::clicked, this, [this](bool checked) {
        presenter_.setBoxSpisADV(checked);
        syncFromPresenter();
    });

    exitButton_ = new QPushButton(qt1251(SignaturesPresenter::exitCaption(), CrLf::Keep), this);
    exitButton_->setObjectName("ExitButton");
    exitButton_->setFlat(true);
    exitButton_->setFocusPolicy(Qt::NoFocus);
    exitButton_->setAutoDefault(false);
    exitButton_->setGeometry(kEditX + kEditWidth - 110, boxesTop + 12, 110, 30);
    connect(exitButton_, &QPushButton::clicked, this, [this] { ExitButtonClick(); });

    presenter_.captionsChanged = [this] {
        boxKop_->setText(qt1251(presenter_.boxKopCaption(), CrLf::Keep));
        boxSpisADV_->setText(qt1251(presenter_.boxSpisADVCaption(), CrLf::Keep));
    };

    resize(kEditX + kEditWidth + 14, boxesTop + 62);
    setFixedSize(size());
    syncFromPresenter();
    scale_ = new TFormScale(this);
}

Tfm_setup::~Tfm_setup() {
    presenter_.captionsChanged = nullptr;
}

void Tfm_setup::syncFromPresenter() {
    const auto& controls = SignaturesPresenter::edits();
    for (int i = 0; i < int(edits_.size()); ++i) {
        QSignalBlocker block(edits_[i]);
        const QString text = qt1251(presenter_.editText(i), CrLf::Keep);
        // A longer value from the file is shown whole, not cut to the limit.
        if (controls[i].maxLength > 0)
            edits_[i]->setMaxLength(std::max<int>(controls[i].maxLength, text.size()));
        if (edits_[i]->text() != text) edits_[i]->setText(text);
    }
    QSignalBlocker blockKop(boxKop_);
    QSignalBlocker blockSpis(boxSpisADV_);
    boxKop_->setChecked(presenter_.boxKop());
    boxKop_->setText(qt1251(presenter_.boxKopCaption(), CrLf::Keep));
    boxSpisADV_->setChecked(presenter_.boxSpisADV());
    boxSpisADV_->setText(qt1251(presenter_.boxSpisADVCaption(), CrLf::Keep));
}

void Tfm_setup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // restored by the window system, not shown anew
    // The questions the activation may ask come once the dialog is on screen.
    QMetaObject::invokeMethod(this, &Tfm_setup::FormActivate, Qt::QueuedConnection);
}

void Tfm_setup::FormActivate() {
    if (!isVisible()) return;
    try {
        presenter_.FormActivate();
    } catch (const std::exception& e) {
        showFailure(e);
    }
    syncFromPresenter();
}

void Tfm_setup::keyPressEvent(QKeyEvent* event) {
    // The dialog closes by "Запомнить" or its close box only.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

void Tfm_setup::ExitButtonClick() {
    try {
        if (presenter_.ExitButtonClick()) close();
    } catch (const std::exception& e) {
        // The file could not be written: the dialog stays open.
        showFailure(e);
    }
}

void Tfm_setup::done(int result) {
    try {
        presenter_.FormClose();
    } catch (const std::exception& e) {
        showFailure(e);
    }
    QDialog::done(result);
}

void Tfm_setup::showFailure(const std::exception& e) {
    ui_.messageBox(dialogText(e), programName(), MsgIcon::Error, MsgButtons::Ok);
}

} // namespace pv
