#include "program/ProgramSettingsReader.h"

#include "program/SettingsKeys.h"
#include "program/SettingsFile.h"

namespace pv {

ProgramSettings readProgramSettings(const std::string& programDir) {
    ProgramSettings settings;
    TAbIniFile ini(settingsFilePath(programDir));
    for (const SettingKey& k : settingKeys())
        settings.*k.value = ini.ReadString(k.section, k.key, "");
    ini.Release();
    return settings;
}

} // namespace pv
