#include "program/RegionWarningText.h"
#include "program/RegistrationCheck.h"
#include "program/ScriptedRegionWarning.h"
#include "program/RegionWarningPresenter.h"
#include "batch/BatchDriver.h"
#include "platform/CodePage.h"
#include "platform/ScriptedUi.h"
#include "report/value/Variables.h"
#include "tests/support/RegionCheckRun.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pv;
using pv::test::readBytes;
using pv::test::writeBytes;
namespace fs = std::filesystem;

namespace {

std::string secondLine(const std::optional<std::string>& text) {
    if (!text) return "";
    auto first = text->find("\r\n");
    auto second = text->find("\r\n", first + 2);
    return cp1251ToUtf8(text->substr(first + 2, second - first - 2));
}

TEST(RegionWarningTextTest, NumbersAndTheirWarnings) {
    const char* generic = "есть вероятность, что не правильно заполнен";
    struct Case {
        const char* regNom;
        const char* second; // "" when the number fits
    };
    const std::vector<Case> cases{
        {"013-501-000123", ""},
        {"013-350-000123", ""},
        {"013-010-000123", ""},
        {"013-508-000123", ""},
        {"013-999-000123", "Татарстане или не правильно заполнен"},
        {"013-011-000123", "Татарстане или не правильно заполнен"},
        {"068-033-000001", ""},
        {"068-001-000001", ""},
        {"068-034-000001", "Пензенской области или не правильно заполнен"},
        {"068-000-000001", "Пензенской области или не правильно заполнен"},
        {"018-018-1", ""},
        {"018-019-1", "Республике Тыва или не правильно заполнен"},
        {"031-006-1", ""},
        {"031-007-1", "Еврейской авт. области или не правильно заполнен"},
        {"071-064-1", ""},
        {"071-065-1", "Ростовской области или не правильно заполнен"},
        {"051-009-1", ""},
        {"051-010-1", "Камчатской области или не правильно заполнен"},
        {"057-023-1", ""},
        {"057-024-1", "Ленинградской области или не правильно заполнен"},
        {"088-027-000001", ""},
        {"088-028-000001", "Санкт-Петербурге или не правильно заполнен"},
        {"066-123-000001", ""},
        {"008", ""},
        {"084-", ""},
        {"099-001-000001", generic},
        {"", generic},
        {"01", generic},
        {"013", "Татарстане или не правильно заполнен"},
        {"0135010123", ""}, // run together: characters 5-7 are "010"
        {"013-50", "Татарстане или не правильно заполнен"},
        {"13-501-000123", generic},
    };
    for (const Case& c : cases) {
        auto text = regionWarningText(c.regNom);
        EXPECT_EQ(secondLine(text), c.second) << c.regNom;
    }
    EXPECT_EQ(cp1251ToUtf8(*regionWarningText("013-999-1")),
              "Данное предприятие зарегистрировано не в\r\nТатарстане или не правильно "
              "заполнен\r\nрегистрационный номер предприятия");
    EXPECT_EQ(cp1251ToUtf8(*regionWarningText("099")),
              "Проверте регистрационный номер предприятия\r\nесть вероятность, что не "
              "правильно заполнен\r\nрегистрационный номер предприятия");
}

// The check inside real batch runs, with the warning answered by script.
class RegionCheckRunTest : public test::RegionCheckRun {
protected:
    void SetUp() override {
        RegionCheckRun::SetUp();
        driver.setRegionCheck(&check);
    }

    std::vector<std::string> captions() {
        std::vector<std::string> out;
        for (const auto& m : ui.messages())
            out.push_back(cp1251ToUtf8(m.caption));
        return out;
    }

    ScriptedRegionWarning warning{ui};
    RegistrationCheck check{context, presenter, warning, ui};
};

TEST_F(RegionCheckRunTest, IgnoreGoesOnAndExitStopsBeforeAnyTable) {
    runBatch("013-999-000123");
    EXPECT_EQ(reports.shown, 1);
    EXPECT_EQ(parsers.parsed, 1);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].caption), "Внимание !!! Предупреждение");
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[0].text),
              "Данное предприятие зарегистрировано не в\r\nТатарстане или не правильно "
              "заполнен\r\nрегистрационный номер предприятия\r\n013-999-000123");
    EXPECT_EQ(dir.ini(), "[Dist]\r\nПроверка_рег=Да\r\n\r\n") << "closing writes the choice";

    warning.setAnswer(ScriptedRegionWarning::Answer::Exit);
    runBatch("099-001-000001");
    EXPECT_EQ(reports.shown, 1) << "nothing shown after Выход";
    EXPECT_EQ(parsers.parsed, 1) << "no table filled after Выход";
    EXPECT_TRUE(presenter.StopRequested());

    warning.setAnswer(ScriptedRegionWarning::Answer::Ignore);
    runBatch("099-001-000001");
    EXPECT_EQ(reports.shown, 2) << "the stop request of the earlier run was cleared";
}

TEST_F(RegionCheckRunTest, FittingNumberAndSwitchedOffCheckAreSilent) {
    runBatch("013-501-000123");
    context.settings.regionCheck = ru("Нет");
    runBatch("999-999-000001");
    EXPECT_EQ(reports.shown, 2);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(warning.showings(), 0);
    EXPECT_FALSE(fs::exists(dir.iniPath())) << "no dialog, no settings file";
}

TEST_F(RegionCheckRunTest, TickingTheBoxSwitchesTheCheckOffForLaterBatches) {
    warning.setAnswer(ScriptedRegionWarning::Answer::Ignore, true);
    runBatch("088-028-000001");
    EXPECT_EQ(reports.shown, 1);
    EXPECT_EQ(captions(), (std::vector<std::string>{"Внимание !!! Предупреждение", "Информация!"}));
    EXPECT_EQ(cp1251ToUtf8(ui.messages()[1].text),
              "Это сообщение можно отключить, но после\r\nзаполнении \"Установок по умолчанию\" "
              "\r\nВам будет предложено подтвердить или \r\nоставить от этого предупреждения.");
    EXPECT_EQ(ui.messages()[1].icon, MsgIcon::Information);
    EXPECT_EQ(dir.ini(), "[Dist]\r\nПроверка_рег=Нет\r\n\r\n");
    EXPECT_EQ(cp1251ToUtf8(context.settings.regionCheck), "Нет");
    EXPECT_EQ(cp1251ToUtf8(presenter.lastChoice()), "Нет");

    runBatch("088-028-000001");
    EXPECT_EQ(reports.shown, 2);
    EXPECT_EQ(warning.showings(), 1) << "the next bad number passes silently";
}

TEST_F(RegionCheckRunTest, OpeningReReadsTheSwitchAndTicksTheBox) {
    // Another copy of the program switched the check off meanwhile.
    dir.writeIni("[Dist]\r\nПроверка_рег=Нет\r\n");
    runBatch("099-001-000001");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Информация!", "Внимание !!! Предупреждение"}));
    EXPECT_TRUE(presenter.boxChecked());
    EXPECT_EQ(reports.shown, 1);
}

TEST_F(RegionCheckRunTest, ReadOnlySettingsFileEndsTheRunWithTheSystemError) {
    const std::string ini = dir.iniPath();
    writeBytes(ini, "[A]\r\nk=1\r\n");
    fs::permissions(ini, fs::perms::owner_read);
    runBatch("099-001-000001");
    EXPECT_EQ(reports.shown, 0);
    EXPECT_EQ(parsers.parsed, 0);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].icon, MsgIcon::Error);
    EXPECT_NE(ui.messages()[1].text.find("pachkaview.ini"), std::string::npos);
    EXPECT_EQ(readBytes(ini), "[A]\r\nk=1\r\n");
    EXPECT_EQ(cp1251ToUtf8(presenter.lastChoice()), "Да") << "the choice is kept in memory";
}

TEST_F(RegionCheckRunTest, UnusableSettingsFileKeepsTheChoiceInMemory) {
    context.ProgramDir = dir.dir() + "missing/dir/";
    warning.setAnswer(ScriptedRegionWarning::Answer::Ignore, true);
    runBatch("099-001-000001");
    runBatch("099-001-000001");
    EXPECT_EQ(reports.shown, 2);
    EXPECT_EQ(warning.showings(), 1);
}

} // namespace
