#pragma once

#include "program/RegionWarningWindow.h"

#include <QDialog>
#include <exception>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pv {

class RegionWarningPresenter;
class TFormScale;

// The warning dialog of the registration-number check: the message, the
// number in red, "Игнорировать", "Выход" (which has the focus) and the box
// that switches the warning off. No title-bar buttons; Escape does nothing.
class TShowError : public QDialog, public RegionWarningWindow {
public:
    explicit TShowError(QWidget* parent = nullptr);

    void showModal(RegionWarningPresenter& presenter, const std::string& regNom) override;
    // Fills the controls from `presenter` without showing the dialog.
    void present(RegionWarningPresenter& presenter);

    QLabel* Label1() const { return label1_; }
    QLabel* LabelError() const { return labelError_; }
    QPushButton* BitOk() const { return bitOk_; }
    QPushButton* BitNo() const { return bitNo_; }
    QCheckBox* CheckBoxDist() const { return checkBoxDist_; }
    TFormScale* formScale() const { return scale_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormActivate();

    RegionWarningPresenter* presenter_ = nullptr;
    std::string regNom_;
    bool activationPending_ = false;
    std::exception_ptr activationFailure_;
    QLabel* image1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* labelError_ = nullptr;
    QPushButton* bitOk_ = nullptr;
    QPushButton* bitNo_ = nullptr;
    QCheckBox* checkBoxDist_ = nullptr;
    TFormScale* scale_ = nullptr;
};

} // namespace pv
