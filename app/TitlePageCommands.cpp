#include "app/TitlePageCommands.h"

#include "app/MainWindow.h"
#include "program/ProgramFiles.h"
#include "program/TitlePage.h"

#include <memory>

namespace pv {
namespace {

std::vector<std::string> templateDirs(const Tfm_main& window) {
    const DriverContext& c = const_cast<Tfm_main&>(window).context();
    if (!c.TemplateDirs.empty()) return c.TemplateDirs;
    return {c.ProgramDir + "TempPlay/"};
}

} // namespace

std::string titleTemplatePath(const Tfm_main& window) {
    return ProgramFiles::findTemplate(templateDirs(window), TitlePage::kTemplateName);
}

std::string editedTitleTemplatePath(const Tfm_main& window) {
    return templateDirs(window).front() + TitlePage::kTemplateName;
}

void installTitlePageCommands(Tfm_main& window, ReportService& reports, OpenDesigner designer) {
    auto title = std::make_shared<TitlePage>(reports, window.ui());
    window.setTitlePageAction(
        [title](Tfm_main& w) { title->N5Click(w.driver().header(), titleTemplatePath(w)); });
    window.setTitlePageEditAction([title, designer](Tfm_main& w) {
        const std::string path = titleTemplatePath(w);
        if (title->N4Click(path) && designer) designer(path, editedTitleTemplatePath(w));
    });
}

} // namespace pv
