#pragma once

#include <string>

namespace pv {

// The setting values the main window holds: the signature texts and the three
// template switches. "Нет" switches a switch off; anything else leaves it on.
struct ProgramSettings {
    std::string DolRuk;
    std::string FIORuk;
    std::string FIOBug;
    std::string DolIsp;
    std::string FIOIsp;
    std::string OKPO;
    std::string OKONH;
    std::string regionCheck;
    std::string kopecks;
    std::string personList;
};

// True exactly when `value` is "Нет" (1251, case-sensitive).
bool switchedOff(const std::string& value);

} // namespace pv
