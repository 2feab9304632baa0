#pragma once

#include "batch/BatchDriver.h"

#include <string>

namespace pv {

class Ui;

// What the warning dialog of the registration-number check does, without a
// screen: the window (Qt or scripted) shows `message()` and `number()`, mirrors
// the check box and forwards its two buttons. Lives for the program's run, so
// the box and the last choice persist between showings.
class RegionWarningPresenter {
public:
    RegionWarningPresenter(DriverContext& context, Ui& ui);

    static std::string caption();
    static std::string okCaption();
    static std::string noCaption();
    static std::string boxCaption();

    void setMessage(std::string message) { message_ = std::move(message); }
    const std::string& message() const { return message_; }
    const std::string& number() const { return number_; }
    bool boxChecked() const { return boxChecked_; }
    // "Да" or "Нет" as last written by this dialog; empty before its first closing.
    const std::string& lastChoice() const { return lastChoice_; }

    // Each showing: the number, the switch re-read from the settings file.
    void FormActivate(const std::string& regNom);
    // A change of the box's state, by the user or the program; runs CheckBoxDistClick.
    void setBoxChecked(bool checked);
    void CheckBoxDistClick();
    void BitOkClick() {}
    void BitNoClick() { stopRequested_ = true; }
    // Each closing: remembers and writes the choice. Throws SettingsFileError
    // when the settings file can only be read.
    void FormClose();

    bool StopRequested() const { return stopRequested_; }
    void clearStopRequested() { stopRequested_ = false; }

private:
    DriverContext& context_;
    Ui& ui_;
    std::string message_;
    std::string number_;
    std::string lastChoice_;
    bool boxChecked_ = false;
    bool stopRequested_ = false;
};

} // namespace pv
