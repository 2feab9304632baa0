#include "program/ProgramFiles.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

using namespace pv;
using pv::test::TempDir;
namespace fs = std::filesystem;

namespace {

ProgramFiles::Environment environment(std::map<std::string, std::string> values) {
    return [values](const char* name) {
        auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
}

TEST(ProgramFilesTest, AProgramDirectoryWithTemplatesKeepsEverythingBesideTheBinary) {
    TempDir dir;
    fs::create_directories(dir.path() / "TempPlay");
    const ProgramFiles files =
        ProgramFiles::locate(dir.path().string(), environment({{"XDG_DATA_HOME", "/x"}}));
    EXPECT_FALSE(files.installed());
    EXPECT_EQ(files.templateDirs(), std::vector<std::string>{dir.dir() + "TempPlay/"});
    EXPECT_EQ(files.settingsDir(), dir.dir());
    EXPECT_EQ(files.editedTemplatePath("Titl.frf"), dir.dir() + "TempPlay/Titl.frf");
}

TEST(ProgramFilesTest, InstalledTheUserCopyIsReadBeforeTheShippedTemplate) {
    TempDir root;
    const fs::path bin = root.path() / "usr/bin",
                   shipped = root.path() / "usr/share/pachkaview/TempPlay";
    fs::create_directories(bin);
    fs::create_directories(shipped);
    pv::test::writeBytes((shipped / "Titl.frf").string(), "shipped");
    pv::test::writeBytes((shipped / "szv_3.frf").string(), "shipped");
    const std::string data = root.dir() + "data";
    const ProgramFiles files = ProgramFiles::locate(
        bin.string() + "/", environment({{"XDG_DATA_HOME", data}, {"HOME", root.dir()}}));
    ASSERT_TRUE(files.installed());
    const std::string user = data + "/pachkaview/TempPlay/";
    EXPECT_EQ(files.templateDirs(), (std::vector<std::string>{user, shipped.string() + "/"}));

    EXPECT_EQ(files.templatePath("Titl.frf"), shipped.string() + "/Titl.frf");
    EXPECT_EQ(files.editedTemplatePath("Titl.frf"), user + "Titl.frf");
    fs::create_directories(user);
    pv::test::writeBytes(user + "Titl.frf", "edited");
    EXPECT_EQ(files.templatePath("Titl.frf"), user + "Titl.frf");
    EXPECT_EQ(files.templatePath("szv_3.frf"), shipped.string() + "/szv_3.frf");
    // A template nobody has is looked for where the user's copy would be.
    EXPECT_EQ(files.templatePath("none.frf"), user + "none.frf");
}

TEST(ProgramFilesTest, InstalledSettingsMoveToTheConfigHomeWhenTheBinaryFolderIsReadOnly) {
    TempDir root;
    const fs::path bin = root.path() / "bin";
    fs::create_directories(bin);
    fs::permissions(root.path(), fs::perms::owner_all | fs::perms::others_all);
    fs::permissions(bin, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    pv::test::runUnprivileged([&] {
        const ProgramFiles files =
            ProgramFiles::locate(bin.string(), environment({{"HOME", "/home/u"}}));
        EXPECT_EQ(files.settingsDir(), "/home/u/.config/pachkaview/");
        EXPECT_EQ(files.templateDirs().front(), "/home/u/.local/share/pachkaview/TempPlay/");
        const ProgramFiles withXdg = ProgramFiles::locate(
            bin.string(), environment({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}}));
        EXPECT_EQ(withXdg.settingsDir(), "/cfg/pachkaview/");
        // A relative XDG value is to be ignored.
        const ProgramFiles relative = ProgramFiles::locate(
            bin.string(), environment({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}}));
        EXPECT_EQ(relative.settingsDir(), "/home/u/.config/pachkaview/");
    });
}

} // namespace
