#pragma once

#include "program/RegionWarningWindow.h"

namespace pv {

class Ui;

// A warning window without a screen: records the warning as a message box of
// `ui` (caption, the three lines and the number) and answers as told.
class ScriptedRegionWarning : public RegionWarningWindow {
public:
    enum class Answer { Ignore, Exit };

    explicit ScriptedRegionWarning(Ui& ui, Answer answer = Answer::Ignore, bool tickBox = false)
        : ui_(ui), answer_(answer), tickBox_(tickBox) {}

    void setAnswer(Answer answer, bool tickBox = false) {
        answer_ = answer;
        tickBox_ = tickBox;
    }
    int showings() const { return showings_; }

    void showModal(RegionWarningPresenter& presenter, const std::string& regNom) override;

private:
    Ui& ui_;
    Answer answer_;
    bool tickBox_;
    int showings_ = 0;
};

} // namespace pv
