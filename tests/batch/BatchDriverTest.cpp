#include "batch/BatchDriver.h"
#include "platform/ConversionError.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "platform/SystemFormat.h"
#include "report/value/Variables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace pv;
namespace fs = std::filesystem;

namespace {

class RecordingReports : public ReportService {
public:
    void LoadFromFile(ReportId report, const std::string& path) override {
        loads.emplace_back(report, fs::path(path).filename().string());
    }
    void PrepareAndPreview(ReportId report) override {
        shown.push_back(report);
        variablesAtShow.Assign(frVariables());
    }
    std::vector<std::pair<ReportId, std::string>> loads;
    std::vector<ReportId> shown;
    TfrVariables variablesAtShow;
};

class RecordingParsers : public DocumentParsers {
public:
    void emptyRunTables() override { ++emptied; }
    void parse(const std::string& docType, BatchDriver& driver) override {
        parsed.push_back(docType);
        if (throwConversion) throw ConversionError(ru("'x' - неверное целое значение"));
        restOfFile = driver.batchFile().ReadBatchLine();
        if (docType == ru("ВУПЛ")) driver.endOfRun(ReportId::frReport1);
    }
    void finishIndividualRecords() override { ++finished; }
    int emptied = 0;
    int finished = 0;
    bool throwConversion = false;
    std::vector<std::string> parsed;
    std::string restOfFile;
};

class StoppingCheck : public RegionCheck {
public:
    bool allows(const std::string& regNom) override {
        checked.push_back(regNom);
        return !stop;
    }
    bool stop = false;
    std::vector<std::string> checked;
};

// Header lines of a batch of the given type, in UTF-8.
std::vector<std::string> header(const std::string& docType, const std::string& line3 =
                                    "\"ПАЧК\",17,\"01.02.2006\",,\"\",,2005,,,,,,4,2005") {
    return {"\"ФАЙЛ\",\"04.00\",\"ПФР\"",
            "\"ОРГН\",1,\"016-001-000123\",\"0012345678\",\"000\",\"ООО \"\"Ромашка\"\"\"", line3,
            "\"ОПИС\",\"" + docType + "\",3"};
}

class BatchDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pv_driver_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        context.ProgramDir = dir.string() + "/";
        context.closeMainWindow = [this] { ++closes; };
        driver.setParsers(&parsers);
        driver.setRegionCheck(&check);
        frVariables().Clear();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string writeBatch(const std::vector<std::string>& lines, const std::string& name = "b.txt") {
        std::string path = (dir / name).string();
        std::ofstream out(path, std::ios::binary);
        for (const auto& l : lines) out << codepage::fromUtf16(codepage::utf8ToUtf16(l), 866) << "\r\n";
        return path;
    }
    std::string var(const char* name) { return cp1251ToUtf8(reports.variablesAtShow.Value(name).isText() ? reports.variablesAtShow.Value(name).text() : ""); }
    void expectOnlyMessage(const std::string& caption, const std::string& text, MsgIcon icon) {
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].caption), caption);
        EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].text), text);
        EXPECT_EQ(ui.messages()[0].icon, icon);
        EXPECT_TRUE(reports.shown.empty());
        EXPECT_FALSE(driver.batchFile().isOpen());
    }

    fs::path dir;
    DriverContext context;
    ScriptedUi ui;
    RecordingReports reports;
    RecordingParsers parsers;
    StoppingCheck check;
    BatchDriver driver{context, ui, reports};
    int closes = 0;
};

} // namespace

TEST_F(BatchDriverTest, Szv41RunPublishesHeaderAndShowsReport) {
    auto lines = header("ИН41");
    lines.push_back("\"ИН41\",1");
    context.settings.DolRuk = ru("Директор");
    ui.queueFile(writeBatch(lines));
    driver.BitBtn13Click();

    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(reports.loads.size(), 1u);
    EXPECT_EQ(reports.loads[0].second, "szv_4_1.frf");
    ASSERT_EQ(reports.shown.size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(ui.fileFilters().at(0)), "Пачки ПФР|*.*");
    EXPECT_EQ(parsers.parsed.size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(parsers.restOfFile), "\"ИН41\",1");
    EXPECT_EQ(parsers.finished, 1);
    EXPECT_EQ(parsers.emptied, 1);
    EXPECT_EQ(var("inn"), "12345678");
    EXPECT_EQ(var("kpp"), "0");
    EXPECT_EQ(var("reg_nom"), "016-001-000123");
    EXPECT_EQ(var("nazvan"), "ООО \"\"Ромашка\"\"");
    EXPECT_EQ(var("nom_pach"), "17");
    EXPECT_EQ(var("kolvo"), "3");
    EXPECT_EQ(var("DolRuk"), "Директор");
    EXPECT_EQ(var("dat"), "01.02.2006") << "field 5 empty: dat from field 3";
    EXPECT_FALSE(reports.variablesAtShow.Contains("god"));
    EXPECT_EQ(cp1251ToUtf8(driver.header().DefaultKod), "2005");
    EXPECT_EQ(frVariables().Count(), 0) << "variables are cleared after the preview";
    EXPECT_EQ(closes, 0) << "no command-line argument: the window stays";
    EXPECT_FALSE(driver.batchFile().isOpen());
}

TEST_F(BatchDriverTest, Line3Rules) {
    struct Case {
        std::string line3;
        std::vector<std::pair<const char*, const char*>> expected;
        std::vector<const char*> absent;
    };
    const std::vector<Case> cases = {
        {"\"ПАЧК\",1,\"01.01.2006\",,\"02.02.2006\",,2005", {{"dat", "02.02.2006"}}, {"god", "kateg"}},
        {"\"ПАЧК\",1,\"01.01.2006\",,\"02.02.2006\",,2005,\"НР\",\"\",\"\",\"ИСХД\",\"\",,,,,"
         "123.45,0.5,7",
         {{"dat", "02.02.2006"},
          {"god", "2005"},
          {"kateg", "НР"},
          {"tip", "ИСХД"},
          {"itog_strx", "123,45"},
          {"itog_nakop", "0,5"},
          {"itog_dop", "7"}},
         {}},
    };
    SystemFormat comma;
    comma.decimalSeparator = ',';
    ScopedSystemFormat scoped(comma);
    for (const auto& c : cases) {
        reports = RecordingReports();
        ui.queueFile(writeBatch(header("ИН42", c.line3)));
        driver.BitBtn13Click();
        ASSERT_EQ(reports.shown.size(), 1u) << c.line3;
        for (const auto& [name, value] : c.expected) EXPECT_EQ(var(name), value) << name;
        for (const char* name : c.absent) EXPECT_FALSE(reports.variablesAtShow.Contains(name)) << name;
    }
}

TEST_F(BatchDriverTest, TemplateChoiceFollowsDocTypeAndSwitches) {
    struct Case {
        const char* docType;
        const char* kopecks;
        const char* list;
        std::vector<std::string> templates;
    };
    const Case cases[] = {
        {"ИН41", "", "", {"szv_4_1.frf"}},
        {"ИН42", "", "", {"szv_4_2.frf"}},
        {"ИНДС", "", "", {"szv_3.frf"}},
        {"ИН20", "", "", {"szv_3.frf"}},
        {"ИН30", "", "", {"szv_3.frf"}},
        {"ВУПЛ", "", "", {"adv_11.frf"}},
        {"ВУПЛ", "Да", "", {"adv_11.frf"}},
        {"ВУПЛ", "Нет", "", {"adv_11коп.frf"}},
        {"ВУПЛ", "нет", "", {"adv_11.frf"}},
        {"КОНВ", "", "", {"advk.frf", "listk.frf", "szv_k.frf"}},
        {"АНКТ", "", "", {"adv_1.frf"}},
        {"АНКТ", "", "Нет", {"adv_1s.frf"}},
        {"ОБМН", "", "Нет", {"adv_2s.frf"}},
        {"ОБМН", "", "", {"adv_2.frf"}},
        {"ДУБЛ", "", "Нет", {"adv_3s.frf"}},
        {"ДУБЛ", "", "", {"adv_3.frf"}},
        {"СВОД", "", "", {"adv_10.frf"}},
        {"ИН43", "", "", {}},
    };
    for (const auto& c : cases) {
        context.settings.kopecks = ru(c.kopecks);
        context.settings.personList = ru(c.list);
        std::vector<std::string> got;
        for (const auto& [report, name] : driver.templatesFor(ru(c.docType)))
            got.push_back(cp1251ToUtf8(name));
        EXPECT_EQ(got, c.templates) << c.docType << " " << c.kopecks << c.list;
    }
    auto konv = driver.templatesFor(ru("КОНВ"));
    EXPECT_EQ(konv[1].first, ReportId::frReport2);
    EXPECT_EQ(konv[2].first, ReportId::frReport3);
}

TEST_F(BatchDriverTest, UnknownDocTypeIsRejected) {
    ui.queueFile(writeBatch(header("ИН43")));
    driver.BitBtn13Click();
    expectOnlyMessage("Ошибка!", "Файл не является пачкой документов ПФР", MsgIcon::Error);
    EXPECT_TRUE(reports.loads.empty());
    EXPECT_TRUE(parsers.parsed.empty());
}

TEST_F(BatchDriverTest, ShortFileThatPassedTheEditionIsNoBatch) {
    ui.queueFile(writeBatch({"\"ФАЙЛ\",\"04.00\""}));
    driver.BitBtn13Click();
    expectOnlyMessage("Ошибка!", "Файл не является пачкой документов ПФР", MsgIcon::Error);
}

TEST_F(BatchDriverTest, WrongEditionIsRejected) {
    for (const char* edition : {"4.00", "04.00 ", "05.00"}) {
        ui.clear();
        auto lines = header("ИН41");
        lines[0] = std::string("\"ФАЙЛ\",\"") + edition + "\"";
        ui.queueFile(writeBatch(lines));
        driver.BitBtn13Click();
        expectOnlyMessage("Ошибка!", "Формат данных не совпадает с редакцией 4.0", MsgIcon::Error);
    }
    ui.clear();
    ui.queueFile(writeBatch({}));
    driver.BitBtn13Click();
    expectOnlyMessage("Ошибка!", "Формат данных не совпадает с редакцией 4.0", MsgIcon::Error);
}

TEST_F(BatchDriverTest, CancelledDialogShowsNothing) {
    ui.queueFile(std::nullopt);
    driver.BitBtn13Click();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(reports.shown.empty());
    EXPECT_EQ(parsers.emptied, 1) << "the tables are emptied before the dialog";
}

TEST_F(BatchDriverTest, ChosenFileMissing) {
    std::string path = (dir / "nothing.txt").string();
    ui.queueFile("  " + path + " ");
    driver.BitBtn13Click();
    expectOnlyMessage("pachkaview", "Нет файла " + path, MsgIcon::None);
}

TEST_F(BatchDriverTest, CommandLineFileUnreadable) {
    std::string path = (dir / "nothing.txt").string();
    context.commandLineArg = "\t" + path + " \n";
    driver.BitBtn13Click();
    expectOnlyMessage("pachkaview", "Аварийное завершение. Невозможно прочитать файл " + path,
                      MsgIcon::None);
    EXPECT_TRUE(ui.fileFilters().empty()) << "no dialog in command-line mode";
    EXPECT_EQ(closes, 0) << "a stopped run leaves the window open";
}

TEST_F(BatchDriverTest, ChosenDirectoryUnreadable) {
    ui.queueFile(dir.string());
    driver.BitBtn13Click();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].text), "Нет файла " + dir.string());
}

TEST_F(BatchDriverTest, CommandLineRunClosesTheWindowAfterThePreview) {
    context.commandLineArg = writeBatch(header("ИН41"));
    driver.BitBtn13Click();
    EXPECT_EQ(reports.shown.size(), 1u);
    EXPECT_EQ(closes, 1);
}

TEST_F(BatchDriverTest, RegionCheckCanStopTheRun) {
    check.stop = true;
    ui.queueFile(writeBatch(header("ИН41")));
    driver.BitBtn13Click();
    EXPECT_EQ(check.checked, std::vector<std::string>{"016-001-000123"});
    EXPECT_TRUE(reports.shown.empty());
    EXPECT_TRUE(reports.loads.empty());
    EXPECT_FALSE(driver.batchFile().isOpen());
    EXPECT_EQ(cp1251ToUtf8(driver.header().reg_nom), "016-001-000123");
    EXPECT_TRUE(driver.header().inn.empty()) << "the run stopped before the taxpayer number";
}

TEST_F(BatchDriverTest, RegionCheckSwitchedOffIsNotAsked) {
    context.settings.regionCheck = ru("Нет");
    check.stop = true;
    ui.queueFile(writeBatch(header("ИН41")));
    driver.BitBtn13Click();
    EXPECT_TRUE(check.checked.empty());
    EXPECT_EQ(reports.shown.size(), 1u);
}

TEST_F(BatchDriverTest, ConversionErrorAbortsWithFullStop) {
    parsers.throwConversion = true;
    ui.queueFile(writeBatch(header("ИН41")));
    driver.BitBtn13Click();
    expectOnlyMessage("pachkaview", "'x' - неверное целое значение.", MsgIcon::Error);
    EXPECT_EQ(parsers.finished, 0);
}

TEST_F(BatchDriverTest, OwnEndingParserShowsOnce) {
    ui.queueFile(writeBatch(header("ВУПЛ")));
    driver.BitBtn13Click();
    EXPECT_EQ(reports.shown.size(), 1u);
    EXPECT_EQ(parsers.finished, 0);
}
