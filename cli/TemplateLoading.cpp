#include "cli/TemplateLoading.h"

#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/template/Report.h"

#include <iostream>

namespace pv::cli {

int loadTemplateFile(const std::string& path, const std::optional<std::string>& password,
                     TfrReport& report, ScriptedUi& ui) {
    report.setUi(&ui);
    if (password) ui.queuePassword(utf8ToCp1251(*password));
    if (!report.LoadFromFile(path)) {
        std::cerr << "pachka: cannot read " << path << "\n";
        return 1;
    }
    if (report.lastLoad() == LoadResult::Ok) return 0;
    for (const auto& m : ui.messages())
        if (m.icon == MsgIcon::Error) std::cerr << cp1251ToTerminal(m.text) << "\n";
    if (report.lastLoad() == LoadResult::PasswordRefused)
        std::cerr << "pachka: the template is protected by a password (--password)\n";
    else if (!report.lastLoadDetail().empty())
        std::cerr << "pachka: " << report.lastLoadDetail() << "\n";
    return 2;
}

} // namespace pv::cli
