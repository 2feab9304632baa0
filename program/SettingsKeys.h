#pragma once

#include "batch/ProgramSettings.h"

#include <array>
#include <string>

namespace pv {

// One setting of the program: where it lives in pachkaview.ini (1251 texts)
// and which current value it feeds.
struct SettingKey {
    std::string section;
    std::string key;
    std::string ProgramSettings::*value;
};

// The ten settings in the order they are read: the seven Enterprise texts,
// then the region check, the kopecks and the person-list switches.
const std::array<SettingKey, 10>& settingKeys();

// Indices into settingKeys().
enum SettingIndex {
    kDolRuk,
    kFIORuk,
    kFIOBug,
    kDolIsp,
    kFIOIsp,
    kOKPO,
    kOKONH,
    kRegionCheck,
    kKopecks,
    kPersonList,
};
constexpr int kEnterpriseKeys = 7;

// The values the switches are written with (1251).
const std::string& yesValue();
const std::string& noValue();

// ProgramDir + the settings file name; ProgramDir ends in a separator.
std::string settingsFilePath(const std::string& programDir);

} // namespace pv
