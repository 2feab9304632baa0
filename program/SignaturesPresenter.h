#pragma once

#include "batch/BatchDriver.h"

#include <array>
#include <functional>
#include <string>

namespace pv {

class Ui;

// What the signatures and defaults dialog does, without a screen. The window
// mirrors the seven edit texts, the two boxes and their captions, and forwards
// user changes here. Lives for the program's run, so every control keeps what
// it last held between showings.
class SignaturesPresenter {
public:
    struct EditControl {
        const char* name;  // the control's name
        const char* label; // UTF-8, may hold a line break
        int maxLength;     // 0: no limit
    };
    static const std::array<EditControl, 7>& edits();
    static std::string caption();
    static std::string exitCaption();

    // `lastRegionChoice` gives the warning dialog's last choice, the default of
    // the region-check switch.
    SignaturesPresenter(DriverContext& context, Ui& ui, std::function<std::string()> lastRegionChoice);

    const std::string& editText(int index) const { return edits_.at(index); }
    void setEditText(int index, std::string text) { edits_.at(index) = std::move(text); }
    bool boxKop() const { return boxKop_; }
    bool boxSpisADV() const { return boxSpisADV_; }
    const std::string& boxKopCaption() const { return boxKopCaption_; }
    const std::string& boxSpisADVCaption() const { return boxSpisADVCaption_; }

    void FormActivate();
    // Called when a box's caption changes while its click handler runs, so the
    // window shows the new caption before the handler asks its question.
    std::function<void()> captionsChanged;
    // Changes of the boxes' state, by the user or the program; each runs its
    // click handler.
    void setBoxKop(bool checked);
    void setBoxSpisADV(bool checked);
    // "Запомнить": true when the dialog is to close. Throws SettingsFileError
    // when the file cannot be written; the dialog then stays open.
    bool ExitButtonClick();
    void FormClose();

private:
    void BoxKopClick();
    void BoxSpisADVClick();

    DriverContext& context_;
    Ui& ui_;
    std::function<std::string()> lastRegionChoice_;
    std::array<std::string, 7> edits_;
    bool boxKop_ = true;
    bool boxSpisADV_ = true;
    std::string boxKopCaption_;
    std::string boxSpisADVCaption_;
};

} // namespace pv
