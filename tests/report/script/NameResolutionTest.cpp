// The order in which names find their values, and what they reach.
#include "tests/support/ExpressionFakes.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class NameResolution : public ::testing::Test {
protected:
    NameResolution()
        : format_(SystemFormat{}), engine_({&data_, &state_, &objects_, &actions_}, globals_) {
        data_.fields["FRDBDATASET1.F_FAM"] = Variant(ru("Иванов"));
        data_.fields["FRDBDATASET1.F STRAX"] = Variant(std::string("123"));
        data_.fields["FRDBDATASET2.F_SUM"] = Variant(12.5);
        data_.fields["FRDBDATASET2.F_EMPTY"] = Variant::null();
        state_.system["PAGE#"] = Variant(int32_t(3));
        state_.system["LINE#"] = Variant(int32_t(7));
        state_.page["CURY"] = Variant(int32_t(120));
        objects_.properties["MEMO1.LEFT"] = Variant(int32_t(15));
    }

    std::string show(const std::string& text) {
        return cp1251ToUtf8(ExpandText(ru(text), {}, engine_));
    }

    ScopedSystemFormat format_;
    TfrVariables globals_;
    test::FakeData data_;
    test::FakeState state_;
    test::FakeObjects objects_;
    test::FakeActions actions_;
    ExpressionEngine engine_;
};

TEST_F(NameResolution, ReachesEveryKindOfName) {
    globals_.SetValue("inn", Variant(std::string("7701")));
    data_.dictionary["Total"] = "2 + 3";
    data_.dictionary["Fam"] = "frDBDataSet1.\"F_Fam\"";
    data_.dictionary["Nothing"] = "";
    data_.sourceAliases["People"] = "frDBDataSet1";
    struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"[frDBDataSet1.\"F_Fam\"]", "Иванов"},
        {"[frDBDataSet1.F_Fam]", "Иванов"},
        {"[frDBDataSet1.\"F Strax\"]", "123"},
        {"[People.\"F_Fam\"]", "Иванов"},
        {"[F_Fam]", "Иванов"}, // the current data source
        {"[frDBDataSet2.F_Sum * 2]", "25"},
        {"[frDBDataSet1.\"F Strax\" + 1]", "124"}, // a quoted blank stays in the identifier
        {"[frDBDataSet2.F_Empty]", ""},
        {"[Total]", "5"},
        {"[Fam]", "Иванов"},
        {"[Nothing]", ""},
        {"[inn]", "7701"},
        {"[PAGE#]", "3"},
        {"[Line#]", "7"},
        {"[CurY]", "120"},
        {"[Memo1.Left]", "15"},
        {"[clWhite]", "16777215"},
        {"[CRLF]", "\r\n"},
        {"[Null]", ""},
        {"Page [PAGE#], line [LINE#]", "Page 3, line 7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(c.text), c.shown) << c.text;
}

TEST_F(NameResolution, EarlierRulesWin) {
    data_.dictionary["clRed"] = "'dictionary'";
    EXPECT_EQ(show("[clRed]"), "dictionary");
    // A dictionary variable takes the global variable of its name when one exists.
    globals_.SetValue("clRed", Variant(std::string("global")));
    EXPECT_EQ(show("[clRed]"), "global");
    // A global variable comes before the page values.
    globals_.SetValue("CURY", Variant(std::string("mine")));
    EXPECT_EQ(show("[CURY]"), "mine");
}

TEST_F(NameResolution, ValueIsTheLastExpandedExpression) {
    EXPECT_EQ(show("[2*21] and [VALUE]"), "42 and 42");
}

TEST_F(NameResolution, DateAndTimeStayFixedForTheRun) {
    engine_.setStartTime(36104.5); // 5 November 1998, noon
    EXPECT_EQ(show("[DATE] [TIME]"), "05.11.1998 12:00:00");
    EXPECT_EQ(show("[DATE #Dd mmmm yyyy]"), "5 ноября 1998");
}

TEST_F(NameResolution, SelfReferenceIsUnknown) {
    EXPECT_THROW(show("[missing]"), ExpressionError);
    state_.collecting = true; // the aggregate collection pass gives empty values
    EXPECT_EQ(show("[missing]"), "");
}

TEST_F(NameResolution, SelfReferringDictionaryVariableEndsWithAnError) {
    data_.dictionary["Loop"] = "Loop + 1";
    EXPECT_THROW(show("[Loop]"), ExpressionError);
}

TEST_F(NameResolution, FieldIsNull) {
    struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"[FIELDISNULL('frDBDataSet2.F_Empty')]", "True"},
        {"[FIELDISNULL('frDBDataSet2.F_Sum')]", "False"},
        {"[FIELDISNULL('frDBDataSet9.F_Sum')]", "True"},
        {"[FIELDISNULL('F_Fam')]", "False"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(c.text), c.shown) << c.text;
}

TEST_F(NameResolution, AggregatesAndInterpreterFunctionsGoToThePreparation) {
    EXPECT_EQ(show("[SUM([frDBDataSet2.F_Sum], MasterData1)]"), "42");
    EXPECT_EQ(show("[COUNT(MasterData1, 1)]"), "42");
    show("[STOPREPORT] [NEWPAGE] [NEWCOLUMN] [SHOWBAND(Band2)]");
    std::vector<std::string> expected = {"SUM([frDBDataSet2.F_Sum]|MasterData1|)",
                                         "COUNT(MasterData1|1|)",
                                         "stop",
                                         "newpage",
                                         "newcolumn",
                                         "show Band2"};
    EXPECT_EQ(actions_.log, expected);
    show("[Memo1.Memo.Add('x')]");
    ASSERT_EQ(objects_.calls.size(), 1u);
    EXPECT_EQ(objects_.calls[0], "MEMO1.MEMO.ADD('x'||)");
}

TEST_F(NameResolution, AssignmentOrder) {
    globals_.SetValue("g", Variant(int32_t(1)));
    data_.dictionary["d"] = "0";
    engine_.Assign("g", Variant(int32_t(2)));
    engine_.Assign("d", Variant(int32_t(3)));
    engine_.Assign("CurY", Variant(int32_t(4)));
    engine_.Assign("MODALRESULT", Variant(int32_t(1))); // not a dialog page: a new global
    engine_.Assign("Memo1.Left", Variant(int32_t(5)));
    engine_.Assign("fresh", Variant(int32_t(6)));
    EXPECT_EQ(globals_.Value("g"), Variant(int32_t(2)));
    EXPECT_EQ(data_.stored["d"], Variant(int32_t(3)));
    EXPECT_EQ(state_.assigned["CURY"], Variant(int32_t(4)));
    EXPECT_EQ(globals_.Value("MODALRESULT"), Variant(int32_t(1)));
    EXPECT_EQ(objects_.properties["MEMO1.LEFT"], Variant(int32_t(5)));
    EXPECT_EQ(globals_.Value("fresh"), Variant(int32_t(6)));
    EXPECT_FALSE(globals_.Contains("d"));
    EXPECT_FALSE(globals_.Contains("CurY"));
}

} // namespace
} // namespace pv
