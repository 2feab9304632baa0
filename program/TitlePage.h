#pragma once

#include "batch/BatchHeader.h"
#include "batch/ReportService.h"

#include <string>

namespace pv {

class Ui;

// The title page of the last batch read: its template Titl.frf shown with the
// batch header's values, and the warning before the template is edited.
class TitlePage {
public:
    static constexpr const char* kTemplateName = "Titl.frf";

    TitlePage(ReportService& reports, Ui& ui) : reports_(reports), ui_(ui) {}

    // The title page of `header` from the template at `templatePath` (UTF-8),
    // shown in frReport1; returns when its preview is closed. A missing
    // template is said and nothing else happens (the report still holds the
    // last batch's form, which is not a title page).
    void N5Click(const BatchHeader& header, const std::string& templatePath);
    // Asks before the template is edited; true when the user said yes and the
    // template is loaded into frReport1 for the designer.
    bool N4Click(const std::string& templatePath);

    // Sets the five title-page variables from the header, in the order the
    // page names them.
    static void publish(const BatchHeader& header);

    // The five lines of the editing warning, CR LF between them (1251).
    static std::string editWarningText();

private:
    bool templateMissing(const std::string& templatePath);

    ReportService& reports_;
    Ui& ui_;
};

} // namespace pv
