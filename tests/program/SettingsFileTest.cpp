#include "program/SettingsFile.h"
#include "program/SettingsFileError.h"
#include "platform/CodePage.h"
#include "tests/support/TempSettings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace pv;
using pv::test::readBytes;
using pv::test::TempDir;
using pv::test::TempSettings;
using pv::test::writeBytes;
namespace fs = std::filesystem;

namespace {

struct Read {
    const char* section;
    const char* key;
    const char* fallback;
    const char* expected;
};

struct Write {
    const char* section;
    const char* key;
    const char* value;
};

// Texts are UTF-8 here and 1251 in the file; "\n" in a file text stands for CR LF.
struct FileCase {
    const char* name;
    std::optional<std::string> before; // none: no file
    std::vector<Read> reads;
    std::vector<Write> writes;
    std::optional<std::string> after; // none: unchanged
};

std::string fileBytes(const std::string& utf8) {
    std::string out;
    for (char c : ru(utf8)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

const std::vector<FileCase>& fileCases() {
    static const std::vector<FileCase> cases{
        {"missing file reads defaults and is created empty",
         std::nullopt,
         {{"Enterprise", "ОКПО", "dflt", "dflt"}},
         {},
         std::string()},
        {"section and key match whatever the letter case",
         "[spisk]\nбез списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3=Нет\n",
         {{"Spisk", "Без списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3", "", "Нет"},
          {"SPISK", "БЕЗ СПИСКА ЗЛ В ПАЧКАХ АДВ-1 АДВ-2 АДВ-3", "", "Нет"}},
         {},
         std::nullopt},
        {"empty value reads as the default, a blank belongs to the key",
         "[Enterprise]\nОКПО=\nОКОНХ =123\n",
         {{"Enterprise", "ОКПО", "d1", "d1"},
          {"Enterprise", "ОКОНХ", "d2", "d2"},
          {"Enterprise", "ОКОНХ ", "", "123"},
          {"Missing", "ОКПО", "d3", "d3"}},
         {},
         std::nullopt},
        {"value is taken without trimming, up to the tab",
         "[A]\nk= one \ttwo\n",
         {{"A", "k", "", " one "}},
         {{"A", "z", "1"}},
         "[A]\nk= one \ntwo\nz=1\n\n"},
        {"sections come back sorted with an empty line after each, headerless lines under _&",
         "; note\n[Spisk]\nb=1\n[Enterprise]\nОКПО=5\n",
         {{"_&", "; note", "x", "x"}},
         {{"Enterprise", "ОКОНХ", "7"}},
         "[_&]\n; note\n\n[Enterprise]\nОКОНХ=7\nОКПО=5\n\n[Spisk]\nb=1\n\n"},
        {"duplicate lines merge, also when they differ in letter case",
         "[A]\nx=1\nX=1\nx=1\n\n\n",
         {},
         {{"A", "y", "2"}},
         "[A]\nx=1\ny=2\n\n"},
        {"writing a key twice leaves the second value",
         "[A]\nk=0\n",
         {},
         {{"A", "k", "1"}, {"a", "K", "2"}},
         "[A]\nK=2\n\n"},
        {"sections equal but for case merge under the name met first",
         "[Dist]\na=1\n[dist]\nb=2\n[DIST]\na=1\n",
         {{"dist", "b", "", "2"}},
         {{"DiSt", "c", "3"}},
         "[Dist]\na=1\nb=2\nc=3\n\n"},
        {"a header with a trailing blank is an ordinary line",
         "[A]\nx=1\n[Dist] \ny=2\n",
         {{"Dist", "y", "-", "-"}, {"A", "y", "", "2"}},
         {{"A", "z", "3"}},
         "[A]\n[Dist] \nx=1\ny=2\nz=3\n\n"},
        {"sections without lines are not written, an empty key writes nothing",
         "[Empty]\n[]\n[A]\nx=1\n",
         {},
         {{"A", "", "lost"}, {"B", "", "lost"}, {"A", "y", ""}},
         "[A]\nx=1\ny=\n\n"},
        {"an empty section name is a section", "[]\nk=v\n", {{"", "k", "", "v"}}, {}, std::nullopt},
        {"Cyrillic lines sort alphabetically, Ё after Е, Latin before Cyrillic",
         "[A]\nя=1\nж=1\nё=1\nЕ=1\nа=1\nz=1\n1=1\n",
         {},
         {{"A", "Б", "1"}},
         "[A]\n1=1\nz=1\nа=1\nБ=1\nЕ=1\nё=1\nж=1\nя=1\n\n"},
        {"the program's keys come out in their documented order",
         "",
         {},
         {{"Enterprise", "Должность_Руководителя", "a"},
          {"Enterprise", "ФИО_Руководителя", "b"},
          {"Enterprise", "ФИО_ГлавБух", "c"},
          {"Enterprise", "Должность_Исполнителя", "d"},
          {"Enterprise", "ФИО_Исполнителя", "e"},
          {"Enterprise", "ОКПО", "f"},
          {"Enterprise", "ОКОНХ", "g"},
          {"Dist", "Проверка_рег", "Да"},
          {"ADV-11", "без копеек", "Да"},
          {"Spisk", "Без списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3", "Нет"}},
         "[ADV-11]\nбез копеек=Да\n\n[Dist]\nПроверка_рег=Да\n\n"
         "[Enterprise]\nДолжность_Исполнителя=d\nДолжность_Руководителя=a\nОКОНХ=g\nОКПО=f\n"
         "ФИО_ГлавБух=c\nФИО_Исполнителя=e\nФИО_Руководителя=b\n\n"
         "[Spisk]\nБез списка ЗЛ в пачках АДВ-1 АДВ-2 АДВ-3=Нет\n\n"},
    };
    return cases;
}

TEST(TAbIniFileTest, FileCases) {
    for (const FileCase& c : fileCases()) {
        SCOPED_TRACE(c.name);
        TempSettings dir;
        const std::string path = dir.iniPath();
        if (c.before) writeBytes(path, fileBytes(*c.before));
        {
            TAbIniFile ini(path);
            EXPECT_TRUE(ini.hasStream());
            for (const Read& r : c.reads)
                EXPECT_EQ(cp1251ToUtf8(ini.ReadString(ru(r.section), ru(r.key), ru(r.fallback))),
                          r.expected)
                    << r.section << "/" << r.key;
            for (const Write& w : c.writes)
                ini.WriteString(ru(w.section), ru(w.key), ru(w.value));
            ini.Release();
        }
        ASSERT_TRUE(fs::exists(path));
        const std::string expected =
            c.after ? fileBytes(*c.after) : fileBytes(c.before.value_or(""));
        EXPECT_EQ(cp1251ToUtf8(readBytes(path)), cp1251ToUtf8(expected));
    }
}

TEST(TAbIniFileTest, EveryControlByteEndsALineAndVanishes) {
    TempDir dir;
    const std::string path = dir.file("x.ini");
    const char bytes[] = "[A]\0x=1\x1fy=2\x7f\tz\x01\x02\x03";
    writeBytes(path, std::string(bytes, sizeof bytes - 1));
    TAbIniFile ini(path);
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "y", ""), "2\x7f");
    ini.WriteString("A", "w", "0");
    ini.Release();
    EXPECT_EQ(readBytes(path), "[A]\r\nw=0\r\nx=1\r\ny=2\x7f\r\nz\r\n\r\n");
}

TEST(TAbIniFileTest, ReleaseWithoutWritesLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string path = dir.file("x.ini");
    const std::string messy = "[B]\r\nz=1\r\n[A]\tjunk\r\n";
    writeBytes(path, messy);
    {
        TAbIniFile ini(path);
        EXPECT_EQ(ini.ReadString("B", "z", ""), "1");
    } // released by the destructor
    EXPECT_EQ(readBytes(path), messy);
}

TEST(TAbIniFileTest, DestructorRewritesWhenReleaseWasNotCalled) {
    TempDir dir;
    const std::string path = dir.file("x.ini");
    {
        TAbIniFile ini(path);
        ini.WriteString("A", "k", "v");
    }
    EXPECT_EQ(readBytes(path), "[A]\r\nk=v\r\n\r\n");
}

TEST(TAbIniFileTest, ReadOnlyFileReadsButReleaseFailsAndKeepsTheContent) {
    TempSettings dir;
    const std::string path = dir.iniPath();
    const std::string content = "[A]\r\nk=old\r\n";
    writeBytes(path, content);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    TAbIniFile ini(path);
    EXPECT_TRUE(ini.hasStream());
    EXPECT_EQ(ini.ReadString("A", "k", ""), "old");
    ini.WriteString("A", "k", "new");
    try {
        ini.Release();
        ADD_FAILURE() << "release of a read-only file succeeded";
    } catch (const SettingsFileError& e) {
        EXPECT_EQ(e.code(), EACCES);
        EXPECT_NE(e.text().find("pachkaview.ini"), std::string::npos) << e.text();
    }
    EXPECT_EQ(readBytes(path), content);
    EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "pachkaview.ini");
}

TEST(TAbIniFileTest, DirectoryWithoutWritePermissionGivesDefaultsAndLosesWrites) {
    TempDir dir;
    const fs::path sub = dir.path() / "locked";
    fs::create_directory(sub);
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const std::string path = (sub / "pachkaview.ini").string();
    pv::test::runUnprivileged([&] {
        TAbIniFile ini(path);
        EXPECT_FALSE(ini.hasStream());
        EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
        ini.WriteString("A", "k", "v");
        EXPECT_EQ(ini.ReadString("A", "k", "d"), "v");
        EXPECT_NO_THROW(ini.Release());
    });
    EXPECT_FALSE(fs::exists(path));
    fs::permissions(sub, fs::perms::owner_all);
}

TEST(TAbIniFileTest, WritableFileInALockedDirectoryIsRewrittenInPlace) {
    TempDir dir;
    const fs::path sub = dir.path() / "locked";
    fs::create_directory(sub);
    const std::string path = (sub / "pachkaview.ini").string();
    writeBytes(path, "[A]\r\nk=old\r\n");
    fs::permissions(path, fs::perms::all);
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    pv::test::runUnprivileged([&] {
        TAbIniFile ini(path);
        ini.WriteString("A", "k", "new");
        EXPECT_NO_THROW(ini.Release());
    });
    EXPECT_EQ(readBytes(path), "[A]\r\nk=new\r\n\r\n");
    fs::permissions(sub, fs::perms::owner_all); // so the directory can be removed
}

TEST(TAbIniFileTest, RewriteReplacesTheFileAtomicallyKeepingItsModeAndLink) {
    TempSettings dir;
    const std::string real = dir.file("real.ini");
    const std::string link = dir.iniPath();
    writeBytes(real, "[A]\r\nk=old\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, link);
    struct stat before {};
    ASSERT_EQ(::stat(real.c_str(), &before), 0);
    {
        TAbIniFile ini(link);
        ini.WriteString("A", "k", "new");
        ini.Release();
    }
    struct stat after {};
    ASSERT_EQ(::stat(real.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the file was rewritten in place";
    EXPECT_EQ(after.st_mode & 0777, 0640u);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(real), "[A]\r\nk=new\r\n\r\n");
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2) << "a temporary file was left behind";
}

TEST(TAbIniFileTest, FailedRewriteKeepsTheOldSettings) {
    TempSettings dir;
    const std::string path = dir.iniPath();
    const std::string content = "[A]\r\nk=old\r\n";
    writeBytes(path, content);
    // A file-size limit stands in for a full disk.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &tight);
    bool failed = false;
    {
        TAbIniFile ini(path);
        ini.WriteString("A", "k", std::string(1000, 'x'));
        try {
            ini.Release();
        } catch (const SettingsFileError&) {
            failed = true;
        }
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(failed) << "a short write was reported as success";
    EXPECT_EQ(readBytes(path), content);
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(TAbIniFileTest, SecondOpenerWhileTheFirstLivesWorksWithoutTheFile) {
    TempSettings dir;
    const std::string path = dir.iniPath();
    writeBytes(path, "[A]\r\nk=1\r\n");
    TAbIniFile first(path);
    {
        TAbIniFile second(path);
        EXPECT_FALSE(second.hasStream());
        EXPECT_EQ(second.ReadString("A", "k", "d"), "d");
        second.WriteString("A", "k", "lost");
        second.Release();
    }
    first.WriteString("A", "j", "2");
    first.Release();
    EXPECT_EQ(readBytes(path), "[A]\r\nj=2\r\nk=1\r\n\r\n");
    TAbIniFile third(path);
    EXPECT_TRUE(third.hasStream());
}

TEST(TAbIniFileTest, NameThatIsNoRegularFileGivesDefaults) {
    TempDir dir;
    const std::string pipe = dir.file("pipe.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    const std::string folder = dir.file("folder.ini");
    fs::create_directory(folder);
    for (const std::string& path : {pipe, folder}) {
        TAbIniFile ini(path); // must not wait for a writer on the pipe
        EXPECT_FALSE(ini.hasStream()) << path;
        EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
        ini.WriteString("A", "k", "v");
        EXPECT_NO_THROW(ini.Release());
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST(TAbIniFileTest, PathResolution) {
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(resolveSettingsPath("pachkaview.ini"), "/cfg/pachkaview.ini");
    EXPECT_EQ(resolveSettingsPath("/a/b.ini"), "/a/b.ini");
    EXPECT_EQ(resolveSettingsPath("a/b.ini"), "a/b.ini");
    const std::string beside = resolveSettingsPath("./b.ini");
    EXPECT_EQ(fs::path(beside).filename(), "b.ini");
    EXPECT_TRUE(fs::path(beside).is_absolute()) << beside;
    EXPECT_EQ(resolveSettingsPath("./"), "./");
}

} // namespace
