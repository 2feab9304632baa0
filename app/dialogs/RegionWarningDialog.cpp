#include "app/dialogs/RegionWarningDialog.h"

#include "program/RegionWarningPresenter.h"
#include "report/qt/QtText.h"
#include "app/dialogs/ScaledForm.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <utility>

namespace pv {

TShowError::TShowError(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("ShowError");
    setWindowTitle(qt1251(RegionWarningPresenter::caption(), CrLf::Keep));
    QFont base("MS Sans Serif");
    base.setPointSize(8);
    setFont(base);

    image1_ = new QLabel(this);
    image1_->setObjectName("Image1");
    image1_->setGeometry(12, 12, 48, 48);
    image1_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));

    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label1_->setGeometry(70, 10, 380, 64);
    label1_->setAlignment(Qt::AlignCenter);
    QFont bold = base;
    bold.setBold(true);
    label1_->setFont(bold);

    labelError_ = new QLabel(this);
    labelError_->setObjectName("LabelError");
    labelError_->setGeometry(12, 80, 438, 36);
    labelError_->setAlignment(Qt::AlignCenter);
    QFont large = base;
    large.setPointSize(16);
    large.setBold(true);
    labelError_->setFont(large);
    labelError_->setStyleSheet("color: red");

    bitOk_ = new QPushButton(qt1251(RegionWarningPresenter::okCaption(), CrLf::Keep), this);
    bitOk_->setObjectName("BitOk");
    bitOk_->setGeometry(70, 126, 150, 30);
    bitNo_ = new QPushButton(qt1251(RegionWarningPresenter::noCaption(), CrLf::Keep), this);
    bitNo_->setObjectName("BitNo");
    bitNo_->setGeometry(250, 126, 150, 30);
    checkBoxDist_ = new QCheckBox(qt1251(RegionWarningPresenter::boxCaption(), CrLf::Keep), this);
    checkBoxDist_->setObjectName("CheckBoxDist");
    checkBoxDist_->setGeometry(70, 166, 330, 22);
    setTabOrder(bitOk_, bitNo_);
    setTabOrder(bitNo_, checkBoxDist_);

    connect(bitOk_, &QPushButton::clicked, this, [this] {
        if (presenter_) presenter_->BitOkClick();
        done(QDialog::Accepted);
    });
    connect(bitNo_, &QPushButton::clicked, this, [this] {
        if (presenter_) presenter_->BitNoClick();
        done(QDialog::Rejected);
    });
    connect(checkBoxDist_, &QCheckBox::clicked, this, [this](bool checked) {
        if (!presenter_) return;
        presenter_->setBoxChecked(checked);
        QSignalBlocker block(checkBoxDist_);
        checkBoxDist_->setChecked(presenter_->boxChecked());
    });

    setFixedSize(462, 198);
    scale_ = new TFormScale(this);
}

void TShowError::present(RegionWarningPresenter& presenter) {
    presenter_ = &presenter;
    label1_->setText(qt1251(presenter.message(), CrLf::ToLf));
    labelError_->setText(qt1251(presenter.number(), CrLf::Keep));
    QSignalBlocker block(checkBoxDist_);
    checkBoxDist_->setChecked(presenter.boxChecked());
}

void TShowError::showModal(RegionWarningPresenter& presenter, const std::string& regNom) {
    regNom_ = regNom;
    activationPending_ = true;
    activationFailure_ = nullptr;
    present(presenter);
    labelError_->setText(qt1251(regNom, CrLf::Keep));
    exec();
    activationPending_ = false;
    if (activationFailure_) std::rethrow_exception(std::exchange(activationFailure_, nullptr));
}

void TShowError::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    bitNo_->setFocus(Qt::OtherFocusReason);
    // The notice the activation may raise comes once the dialog is on screen.
    if (!event->spontaneous() && activationPending_)
        QMetaObject::invokeMethod(this, &TShowError::FormActivate, Qt::QueuedConnection);
}

void TShowError::FormActivate() {
    if (!activationPending_ || !presenter_ || !isVisible()) return;
    activationPending_ = false;
    try {
        presenter_->FormActivate(regNom_);
        present(*presenter_);
    } catch (...) {
        // Failures of the settings file end the check; they must not cross the event loop.
        activationFailure_ = std::current_exception();
        reject();
    }
}

void TShowError::keyPressEvent(QKeyEvent* event) {
    // Only the two buttons close the warning.
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

} // namespace pv
