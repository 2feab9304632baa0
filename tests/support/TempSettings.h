#pragma once

#include "platform/CodePage.h"
#include "tests/support/TempDir.h"

#include <string>

namespace pv::test {

// A fresh program directory and the settings file the program keeps there.
class TempSettings : public TempDir {
public:
    std::string iniPath() const { return file("pachkaview.ini"); }
    // The settings file as UTF-8 text; empty when there is none.
    std::string ini() const { return cp1251ToUtf8(readBytes(iniPath())); }
    void writeIni(std::string_view utf8) const { writeBytes(iniPath(), ru(utf8)); }
};

} // namespace pv::test
