// Fields and dictionary entries as expressions reach them, and the objects
// whose whole text is one field.
#include "report/prepare/DataSourceContext.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/model/BandView.h"
#include "report/model/DataDictionary.h"
#include "report/data/DataSourceRegistry.h"
#include "report/script/ExpandText.h"
#include "report/script/ExpressionEngine.h"
#include "report/model/MemoView.h"
#include "report/model/PictureView.h"
#include "report/data/MemoryTable.h"
#include "report/prepare/WholeFieldBinding.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

class DataSourceContextTest : public ::testing::Test {
protected:
    DataSourceContextTest()
        : format_(SystemFormat{}), people_("Table2", {{"F_Fam", TFieldType::ftString, 20},
                                                      {"F_Strax", TFieldType::ftString, 14},
                                                      {"F_Por", TFieldType::ftInteger, 0},
                                                      {"F_Sum", TFieldType::ftFloat, 0}}),
          periods_("Table3", {{"F_Days", TFieldType::ftInteger, 0}}), data_(sources_, &dictionary_),
          engine_({&data_}, globals_) {
        people_.Open();
        people_.Append();
        people_.FieldByName("F_Fam").SetAsString(ru("Иванов"));
        people_.FieldByName("F_Strax").SetAsString("123-456-789 01");
        people_.FieldByName("F_Por").SetAsInteger(7);
        people_.Append();
        people_.FieldByName("F_Fam").SetAsString(ru("Петров"));
        people_.Post();
        people_.First();
        first_.SetDataSet(&people_);
        periodsSource_.DataSet = &periods_;
        second_.SetDataSource(&periodsSource_);
        sources_.add(first_);
        sources_.add(second_);
        dictionary_.SourceAliases.SetValue("frDBDataSet1", Variant(ru("Люди")));
        dictionary_.FieldAliases.SetValue("frDBDataSet1.F_Fam", Variant(ru("Фамилия")));
        dictionary_.Variables.SetValue(" Category", Variant(std::string()));
        dictionary_.Variables.SetValue("Fam", Variant(std::string("frDBDataSet1.\"F_Fam\"")));
        dictionary_.Variables.SetValue("Twice", Variant(std::string("frDBDataSet1.F_Por * 2")));
    }

    std::string show(const std::string& text) {
        return cp1251ToUtf8(ExpandText(ru(text), {}, engine_));
    }

    ScopedSystemFormat format_;
    TRxMemoryData people_, periods_;
    DataSourceLink periodsSource_{"DataSource2", nullptr};
    TfrDBDataSet first_{"frDBDataSet1"}, second_{"frDBDataSet2"};
    DataSourceRegistry sources_;
    TfrDataDictionary dictionary_;
    DataSourceContext data_;
    TfrVariables globals_;
    ExpressionEngine engine_;
};

TEST_F(DataSourceContextTest, ExpressionsReadTheCurrentRow) {
    data_.setCurrentSource(&first_);
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"[frDBDataSet1.\"F_Fam\"]", "Иванов"},
        {"[FRDBDATASET1.f_fam]", "Иванов"},
        {"[fm_main.frDBDataSet1.\"F_Strax\"]", "123-456-789 01"},
        {"[frDBDataSet1.F_Por + 1]", "8"},
        {"[F_Fam]", "Иванов"}, // the current data source
        {"[Люди.\"Фамилия\"]", "Иванов"},
        {"[Люди.F_Por]", "7"},
        {"[frDBDataSet1.F_Sum]", "0"}, // a null number
        {"[Fam]", "Иванов"},
        {"[Twice]", "14"},
        {"[frDBDataSet2.F_Days]", "0"}, // through the DataSourceLink, on an empty table
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(c.text), c.shown) << c.text;
    people_.Next();
    EXPECT_EQ(show("[frDBDataSet1.F_Fam] [frDBDataSet1.F_Strax]"), "Петров ");
}

TEST_F(DataSourceContextTest, ReportsWhatItCannotFind) {
    struct Case {
        const char* source;
        const char* field;
    } cases[] = {
        {"frDBDataSet1", "F_None"},
        {"frDBDataSet9", "F_Fam"},
        {"", "F_Fam"}, // no current data source
    };
    for (const Case& c : cases)
        EXPECT_FALSE(data_.readField(c.source, c.field).found) << c.field;
    people_.Next();
    FieldRead nullText = data_.readField("frDBDataSet1", "F_Strax");
    EXPECT_TRUE(nullText.found);
    EXPECT_TRUE(nullText.isNull);
    EXPECT_EQ(nullText.value, Variant(std::string()));
}

TEST_F(DataSourceContextTest, ReadingOpensAClosedTable) {
    periods_.Close();
    EXPECT_TRUE(data_.readField("frDBDataSet2", "F_Days").found);
    EXPECT_TRUE(periods_.Active());
}

TEST_F(DataSourceContextTest, DictionaryVariablesAndTheirAssignment) {
    EXPECT_EQ(data_.dictionaryVariable("fam"),
              std::optional<std::string>("frDBDataSet1.\"F_Fam\""));
    EXPECT_EQ(data_.dictionaryVariable("Category"), std::nullopt);
    EXPECT_EQ(data_.dictionaryVariable(" Category"), std::nullopt);
    EXPECT_EQ(data_.dictionaryVariable("Missing"), std::nullopt);
    EXPECT_TRUE(data_.setDictionaryVariable("Twice", Variant(std::string("2 + 2"))));
    EXPECT_EQ(show("[Twice]"), "4");
    EXPECT_FALSE(data_.setDictionaryVariable("Missing", Variant(int32_t(1))));
    DataSourceContext bare(sources_);
    EXPECT_EQ(bare.dictionaryVariable("Fam"), std::nullopt);
    EXPECT_EQ(bare.sourceFromAlias(ru("Люди")), ru("Люди"));
}

TEST(WholeFieldReference, FindsASingleBracketedReference) {
    struct Case {
        Lines memo;
        const char* reference; // null: not a whole-field text
    } cases[] = {
        {{"[frDBDataSet1.\"F_Fam\"]"}, "frDBDataSet1.\"F_Fam\""},
        {{"[a]"}, "a"},
        {{"[]"}, nullptr},
        {{"[a"}, nullptr},
        {{" [a]"}, nullptr},
        {{"x[a]"}, nullptr},
        {{"[a] and [b]"}, "a] and [b"},
        {{"[a]", "[b]"}, "a]\r\n[b"},
        {{"[a] tail"}, "a"},
        {{}, nullptr},
    };
    for (const Case& c : cases) {
        TfrMemoView memo;
        memo.Memo = c.memo;
        std::optional<std::string> found = wholeFieldReference(memo);
        const std::string shown = c.memo.empty() ? "(empty)" : c.memo[0];
        if (c.reference)
            EXPECT_EQ(found, std::optional<std::string>(c.reference)) << shown;
        else
            EXPECT_EQ(found, std::nullopt) << shown;
    }
}

TEST(WholeFieldReference, TextOnlyBoxesAndBandsAreNeverWholeFields) {
    TfrMemoView textOnly;
    textOnly.Memo = {"[frDBDataSet1.F_Fam]"};
    textOnly.setFlag(flTextOnly, true);
    EXPECT_EQ(wholeFieldReference(textOnly), std::nullopt);
    TfrBandView band;
    band.Memo = {"[frDBDataSet1.F_Fam]"};
    EXPECT_EQ(wholeFieldReference(band), std::nullopt);
    // The flag bit means something else for pictures.
    TfrPictureView picture;
    picture.Memo = {"[frDBDataSet1.F_Foto]"};
    picture.setFlag(flTextOnly, true);
    EXPECT_EQ(wholeFieldReference(picture), std::optional<std::string>("frDBDataSet1.F_Foto"));
}

TEST_F(DataSourceContextTest, WholeFieldObjectsAreBoundToExistingFields) {
    struct Case {
        const char* text;
        TfrDBDataSet* dataset; // null: stays unbound
        const char* field;
    } cases[] = {
        {"[frDBDataSet1.\"F_Fam\"]", &first_, "F_Fam"},
        {"[frDBDataSet1.f_por]", &first_, "F_Por"},
        {"[Люди.\"Фамилия\"]", &first_, "F_Fam"},
        {"[frDBDataSet2.F_Days]", &second_, "F_Days"},
        {"[frDBDataSet1.F_None]", nullptr, ""},
        {"[frDBDataSet9.F_Fam]", nullptr, ""},
        {"[F_Fam]", nullptr, ""},
        {"[frDBDataSet1.F_Fam] [frDBDataSet1.F_Por]", nullptr, ""},
        {"Name: [frDBDataSet1.F_Fam]", nullptr, ""},
    };
    std::vector<std::unique_ptr<TfrMemoView>> views;
    std::vector<TfrView*> objects;
    for (const Case& c : cases) {
        views.push_back(std::make_unique<TfrMemoView>());
        views.back()->Memo = {ru(c.text)};
        objects.push_back(views.back().get());
    }
    WholeFieldBindings bindings;
    bindings.bind(objects, data_);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const FieldBinding* binding = bindings.find(*objects[i]);
        if (!cases[i].dataset) {
            EXPECT_EQ(binding, nullptr) << cases[i].text;
            continue;
        }
        ASSERT_NE(binding, nullptr) << cases[i].text;
        EXPECT_EQ(binding->dataset, cases[i].dataset) << cases[i].text;
        EXPECT_EQ(binding->field, cases[i].field) << cases[i].text;
    }
}

} // namespace
} // namespace pv
