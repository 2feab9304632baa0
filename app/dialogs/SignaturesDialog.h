#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace pv {

class SignaturesPresenter;
class TFormScale;
class Ui;

// The signatures and defaults dialog. Created once and shown modally from the
// main menu; the presenter holds what it does, the dialog mirrors the
// presenter's state in its controls. `ui` shows its message boxes.
class Tfm_setup : public QDialog {
public:
    Tfm_setup(SignaturesPresenter& presenter, Ui& ui, QWidget* parent = nullptr);
    ~Tfm_setup() override;

    QLineEdit* edit(int index) const { return edits_.at(index); }
    QCheckBox* BoxKop() const { return boxKop_; }
    QCheckBox* BoxSpisADV() const { return boxSpisADV_; }
    QPushButton* ExitButton() const { return exitButton_; }
    TFormScale* formScale() const { return scale_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public:
    // Every closing, by "Запомнить" or the close box, runs FormClose.
    void done(int result) override;

private:
    void syncFromPresenter();
    void FormActivate();
    void ExitButtonClick();
    void showFailure(const std::exception& e);

    SignaturesPresenter& presenter_;
    Ui& ui_;
    std::array<QLineEdit*, 7> edits_{};
    QCheckBox* boxKop_ = nullptr;
    QCheckBox* boxSpisADV_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    TFormScale* scale_ = nullptr;
};

} // namespace pv
