#include "program/TitlePage.h"

#include "platform/CodePage.h"
#include "platform/Ui.h"
#include "report/value/Variables.h"

#include <filesystem>

namespace pv {

void TitlePage::N5Click(const BatchHeader& header, const std::string& templatePath) {
    if (templateMissing(templatePath)) return;
    TfrVariables& vars = frVariables();
    publish(header);
    reports_.LoadFromFile(ReportId::frReport1, templatePath);
    try {
        reports_.PrepareAndPreview(ReportId::frReport1);
    } catch (...) {
        // The next batch starts from an empty list whatever happened here.
        vars.Clear();
        throw;
    }
    vars.Clear();
}

void TitlePage::publish(const BatchHeader& header) {
    TfrVariables& vars = frVariables();
    vars.SetValue("reg_nom", Variant(header.reg_nom));
    vars.SetValue("inn", Variant(header.inn));
    vars.SetValue("kpp", Variant(header.kpp));
    vars.SetValue("nazvan", Variant(header.nazvan));
    vars.SetValue("nom_pach", Variant(header.nom_pach));
}

std::string TitlePage::editWarningText() {
    return ru("Редактирование подразумевает изменение части программы,\r\n"
              "рекомендуется  сделать архивную копию программы,\r\n"
              "или убедится, что у Вас есть дистрибутив этой программы.\r\n"
              "\r\n"
              "        Продолжить ?");
}

bool TitlePage::N4Click(const std::string& templatePath) {
    if (ui_.messageBox(editWarningText(), ru("Внимание !"), MsgIcon::Warning, MsgButtons::YesNo) !=
        MsgResult::Yes)
        return false;
    if (templateMissing(templatePath)) return false;
    reports_.LoadFromFile(ReportId::frReport1, templatePath);
    return true;
}

bool TitlePage::templateMissing(const std::string& templatePath) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::u8path(templatePath), ec)) return false;
    ui_.messageBox(ru("Не найден шаблон титульного листа: ") + utf8ToCp1251(templatePath),
                   programName(), MsgIcon::Error, MsgButtons::Ok);
    return true;
}

} // namespace pv
