#include "program/SettingsKeys.h"

#include "platform/CodePage.h"

namespace pv {

const std::array<SettingKey, 10>& settingKeys() {
    static const std::array<SettingKey, 10> keys{{
        {"Enterprise", ru("Должность_Руководителя"), &ProgramSettings::DolRuk},
        {"Enterprise", ru("ФИО_Руководителя"), &ProgramSettings::FIORuk},
        {"Enterprise", ru("ФИО_ГлавБух"), &ProgramSettings::FIOBug},
        {"Enterprise", ru("Должность_Исполнителя"), &ProgramSettings::DolIsp},
        {"Enterprise", ru("ФИО_Исполнителя"), &ProgramSettings::FIOIsp},
        {"Enterprise", ru("ОКПО"), &ProgramSettings::OKPO},
        {"Enterprise", ru("ОКОНХ"), &ProgramSettings::OKONH},
        {"Dist", ru("Проверка_рег"), &ProgramSettings::regionCheck},
        {"ADV-11", ru("без копеек"), &ProgramSettings::kopecks},
        {"Spisk", ru("Без списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3"), &ProgramSettings::personList},
    }};
    return keys;
}

const std::string& yesValue() {
    static const std::string yes = ru("Да");
    return yes;
}

const std::string& noValue() {
    static const std::string no = ru("Нет");
    return no;
}

std::string settingsFilePath(const std::string& programDir) {
    std::string dir = programDir.empty() ? "./" : programDir;
    if (dir.back() != '/') dir += '/';
    return dir + "pachkaview.ini";
}

} // namespace pv
