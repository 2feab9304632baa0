#include "program/SignaturesPresenter.h"
#include "program/ProgramSettingsReader.h"
#include "program/SettingsFileError.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "tests/support/TempSettings.h"

#include <gtest/gtest.h>

using namespace pv;
using pv::test::TempSettings;
namespace fs = std::filesystem;

namespace {

const char kKopecksQuestion[] =
    "Заполнение АДВ-11 с копейками противоречит \r\nПостановлению ПФР от 21.10.2002г  "
    "№122п\r\n \"О формах документов ПУ в системе ОПС\" \r\nпункт 47 Правила заполнения "
    "АДВ-11.\r\n\r\nВы действительно хотите АДВ-11 с копейками?";

class SetupPresenterTest : public ::testing::Test {
protected:
    void SetUp() override { context.ProgramDir = dir.dir(); }

    std::string text(int i) { return cp1251ToUtf8(ui.messages().at(i).text); }

    TempSettings dir;
    DriverContext context;
    ScriptedUi ui;
    std::string lastChoice;
    SignaturesPresenter setup{context, ui, [this] { return lastChoice; }};
};

TEST_F(SetupPresenterTest, MainWindowReadsTheTenValuesWithEmptyDefaults) {
    dir.writeIni("[Enterprise]\r\nФИО_ГлавБух=Петрова\r\nОКПО=123\r\nОКОНХ=\r\n[dist]\r\n"
                 "проверка_рег=Нет\r\n[ADV-11]\r\nбез копеек=Нет\r\n");
    ProgramSettings s = readProgramSettings(dir.dir());
    EXPECT_EQ(cp1251ToUtf8(s.FIOBug), "Петрова");
    EXPECT_EQ(s.OKPO, "123");
    EXPECT_EQ(s.OKONH, "");
    EXPECT_EQ(s.DolRuk, "");
    EXPECT_TRUE(switchedOff(s.regionCheck));
    EXPECT_TRUE(switchedOff(s.kopecks));
    EXPECT_EQ(s.personList, "");

    TempSettings empty;
    ProgramSettings none = readProgramSettings(empty.dir());
    EXPECT_EQ(none.FIOBug, "");
    EXPECT_EQ(fs::file_size(empty.iniPath()), 0u) << "an empty file is left";
}

TEST_F(SetupPresenterTest, OpeningAsksTheKopecksQuestionWhenTheSwitchSaysNo) {
    dir.writeIni("[Enterprise]\r\nДолжность_Руководителя=Директор\r\nОКПО=42\r\n");
    context.settings.kopecks = ru("Нет");
    ui.queueAnswer(MsgResult::No);
    setup.FormActivate();
    EXPECT_EQ(cp1251ToUtf8(setup.editText(0)), "Директор");
    EXPECT_EQ(setup.editText(5), "42");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(text(0), kKopecksQuestion);
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].caption), "Информация");
    EXPECT_EQ(ui.messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(setup.boxKop()) << "No checks the box again";
    EXPECT_EQ(cp1251ToUtf8(setup.boxKopCaption()), "АДВ-11 без копеек");
    EXPECT_EQ(cp1251ToUtf8(setup.boxSpisADVCaption()), "Без списка ЗЛ в пачках c АДВ-1,2,3");
}

TEST_F(SetupPresenterTest, BoxAnswers) {
    struct Case {
        const char* name;
        bool kopecks;
        MsgResult answer;
        bool checked;
        const char* caption; // the lone "c" is Latin
        const char* notice;  // the plain message after Yes, or ""
    };
    const std::vector<Case> cases{
        {"kopecks, Yes", true, MsgResult::Yes, false, "АДВ-11 c копейками",
         "Я Вас предупредил.  АДВ-11 с копейками. "},
        {"kopecks, No", true, MsgResult::No, true, "АДВ-11 без копеек", ""},
        {"list, Yes", false, MsgResult::Yes, false, "Со списком ЗЛ в пачках c АДВ-1,2,3",
         "Я Вас предупредил. Со списком ЗЛ в пачках c АДВ-1,2,3"},
        {"list, No", false, MsgResult::No, true, "Без списка ЗЛ в пачках c АДВ-1,2,3", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi boxes;
        SignaturesPresenter p{context, boxes, [] { return std::string(); }};
        boxes.queueAnswer(c.answer);
        if (c.kopecks) {
            p.setBoxKop(false);
        } else {
            p.setBoxSpisADV(false);
        }
        EXPECT_EQ(c.kopecks ? p.boxKop() : p.boxSpisADV(), c.checked);
        EXPECT_EQ(cp1251ToUtf8(c.kopecks ? p.boxKopCaption() : p.boxSpisADVCaption()), c.caption);
        ASSERT_EQ(boxes.messages().size(), *c.notice ? 2u : 1u);
        if (*c.notice) {
            EXPECT_EQ(cp1251ToUtf8(boxes.messages()[1].text), c.notice);
        }
        if (c.kopecks && !c.checked) {
            EXPECT_EQ(p.boxKopCaption()[7], 'c') << "the Latin letter";
        }
        if (!c.kopecks) {
            EXPECT_EQ(cp1251ToUtf8(boxes.messages()[0].text),
                      "Список застрахованных лиц для пачек форм документов\r\nперсонифицированного "
                      "учета  АДВ-1(Анкета) \r\nАДВ-2(Обмен) и АДВ-3(Дубликат) не нужен.\r\nОн "
                      "необходим при входном контроле в ПФР файл-пачек\r\nэтих документов.");
        }
        // Checking again asks nothing.
        if (c.kopecks) {
            p.setBoxKop(true);
        } else {
            p.setBoxSpisADV(true);
        }
        EXPECT_EQ(boxes.messages().size(), *c.notice ? 2u : 1u);
    }
}

TEST_F(SetupPresenterTest, RememberWithYesWritesAllTenKeysInOrder) {
    dir.writeIni("[Dist]\r\nПроверка_рег=Нет\r\n");
    setup.FormActivate();
    for (int i = 0; i < 7; ++i)
        setup.setEditText(i, ru("Т") + std::to_string(i));
    ui.queueAnswer(MsgResult::Yes); // the kopecks question
    setup.setBoxKop(false);
    ui.queueAnswer(MsgResult::Yes); // "Запомнить изменения"
    EXPECT_TRUE(setup.ExitButtonClick());
    EXPECT_EQ(cp1251ToUtf8(ui.messages().back().text), "Запомнить изменения");
    EXPECT_EQ(dir.ini(), "[ADV-11]\r\nбез копеек=Нет\r\n\r\n[Dist]\r\nПроверка_рег=Да\r\n\r\n"
                         "[Enterprise]\r\nДолжность_Исполнителя=Т3\r\nДолжность_Руководителя=Т0\r\n"
                         "ОКОНХ=Т6\r\nОКПО=Т5\r\nФИО_ГлавБух=Т2\r\nФИО_Исполнителя=Т4\r\n"
                         "ФИО_Руководителя=Т1\r\n\r\n[Spisk]\r\nБез списка ЗЛ в пачках АДВ-1 АДВ-2 "
                         "АДВ-3=Да\r\n\r\n");
    setup.FormClose();
    EXPECT_EQ(cp1251ToUtf8(context.settings.DolRuk), "Т0");
    EXPECT_EQ(cp1251ToUtf8(context.settings.OKONH), "Т6");
    EXPECT_EQ(cp1251ToUtf8(context.settings.regionCheck), "Да");
    EXPECT_TRUE(switchedOff(context.settings.kopecks));
}

TEST_F(SetupPresenterTest, RememberWithNoLeavesTheFileAndDropsTheEdits) {
    const std::string before = "[Enterprise]\r\nФИО_Руководителя=Иванов\r\n";
    dir.writeIni(before);
    setup.FormActivate();
    setup.setEditText(1, ru("Сидоров"));
    ui.queueAnswer(MsgResult::No);
    EXPECT_TRUE(setup.ExitButtonClick());
    setup.FormClose();
    EXPECT_EQ(dir.ini(), before);
    EXPECT_EQ(cp1251ToUtf8(context.settings.FIORuk), "Иванов");
    EXPECT_EQ(cp1251ToUtf8(setup.editText(1)), "Сидоров") << "the edit keeps the typed text";
    setup.FormActivate();
    EXPECT_EQ(cp1251ToUtf8(setup.editText(1)), "Иванов") << "the next showing refills it";
}

TEST_F(SetupPresenterTest, ClosingUsesTheTypedChiefAccountantAndTheLastRegionChoice) {
    setup.FormActivate();
    setup.setEditText(2, ru("Петрова"));
    setup.setEditText(0, ru("Директор"));
    lastChoice = ru("Нет");
    setup.FormClose();
    EXPECT_EQ(cp1251ToUtf8(context.settings.FIOBug), "Петрова");
    EXPECT_EQ(context.settings.DolRuk, "");
    EXPECT_EQ(cp1251ToUtf8(context.settings.regionCheck), "Нет");
    EXPECT_EQ(dir.ini(), "") << "nothing saved";
}

TEST_F(SetupPresenterTest, ClosingWithTheBoxUncheckedKeepsTheFileValueAndReopeningFollowsIt) {
    setup.FormActivate();
    ui.queueAnswer(MsgResult::Yes);
    setup.setBoxKop(false);
    setup.FormClose(); // the close box: nothing saved, the file has no switch
    EXPECT_FALSE(switchedOff(context.settings.kopecks));
    ui.clear();
    setup.FormActivate();
    EXPECT_TRUE(setup.boxKop()) << "set from the current value again, silently";
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SetupPresenterTest, RememberOnAReadOnlyFileFailsAndKeepsTheContent) {
    const std::string path = dir.iniPath();
    dir.writeIni("[Enterprise]\r\nОКПО=1\r\n");
    fs::permissions(path, fs::perms::owner_read);
    setup.FormActivate();
    setup.setEditText(5, "2");
    ui.queueAnswer(MsgResult::Yes);
    EXPECT_THROW(setup.ExitButtonClick(), SettingsFileError);
    EXPECT_EQ(dir.ini(), "[Enterprise]\r\nОКПО=1\r\n");
}

TEST_F(SetupPresenterTest, EditLimits) {
    const auto& edits = SignaturesPresenter::edits();
    EXPECT_EQ(edits[5].maxLength, 12);
    EXPECT_EQ(edits[2].maxLength, 0) << "the chief accountant's name takes any length";
    EXPECT_STREQ(edits[6].name, "OKOHXEdit");
}

} // namespace
