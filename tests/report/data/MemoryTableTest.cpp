#include "report/data/MemoryTable.h"
#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/data/DatabaseError.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <stdexcept>

using namespace pv;

namespace {

SystemFormat withSeparator(char separator) {
    SystemFormat f;
    f.decimalSeparator = separator;
    return f;
}

std::vector<FieldDef> personFields() {
    return {{"F_Por", TFieldType::ftInteger, 0},
            {"F_Strax", TFieldType::ftString, 14},
            {"F_Sum", TFieldType::ftFloat, 0}};
}

// The message a call raises, in UTF-8; empty when it raises nothing.
std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const DatabaseError& e) {
        return cp1251ToUtf8(e.text());
    }
    return {};
}

struct Conversion {
    const char* field;
    const char* text; // UTF-8
    char separator;
    const char* shown; // AsString after the assignment, when it succeeds
    const char* error; // the message when it fails
};

class FieldConversion : public ::testing::TestWithParam<Conversion> {};

TEST_P(FieldConversion, AssignsTextAndReadsItBack) {
    const Conversion& c = GetParam();
    ScopedSystemFormat format(withSeparator(c.separator));
    TRxMemoryData table("Table2", personFields());
    table.Open();
    table.Append();
    TField& field = table.FieldByName(c.field);
    const std::string error = errorOf([&] { field.SetAsString(ru(c.text)); });
    EXPECT_EQ(error, c.error ? c.error : "");
    if (!c.error) {
        table.Post();
        table.First();
        EXPECT_EQ(cp1251ToUtf8(table.FieldByName(c.field).AsString()), c.shown);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FieldConversion,
    ::testing::Values(
        Conversion{"F_Strax", "123-456-789 012", ',', "123-456-789 01", nullptr},
        Conversion{"F_Strax", "ИВАНОВ", ',', "ИВАНОВ", nullptr},
        Conversion{"F_Por", "42", ',', "42", nullptr},
        Conversion{"F_Por", "-2147483648", ',', "-2147483648", nullptr},
        Conversion{"F_Por", "2147483648", ',', "",
                   "'2147483648' - неверное целое значение для поля 'F_Por'"},
        Conversion{"F_Por", "12a", ',', "", "'12a' - неверное целое значение для поля 'F_Por'"},
        Conversion{"F_Por", " 5", ',', "", "' 5' - неверное целое значение для поля 'F_Por'"},
        Conversion{"F_Por", "", ',', "", nullptr},
        Conversion{"F_Sum", "12,5", ',', "12,5", nullptr},
        Conversion{"F_Sum", "12.5", ',', "", "'12.5' - неверное дробное значение для поля 'F_Sum'"},
        Conversion{"F_Sum", "12.5", '.', "12.5", nullptr},
        Conversion{"F_Sum", "12,5", '.', "", "'12,5' - неверное дробное значение для поля 'F_Sum'"},
        Conversion{"F_Sum", "1,2.3", ',', "",
                   "'1,2.3' - неверное дробное значение для поля 'F_Sum'"},
        Conversion{"F_Sum", "inf", '.', "", "'inf' - неверное дробное значение для поля 'F_Sum'"},
        Conversion{"F_Sum", "", ',', "", nullptr},
        Conversion{"F_Sum", "1234,50", ',', "1234,5", nullptr},
        Conversion{"F_Sum", "0,1", ',', "0,1", nullptr},
        Conversion{"F_Sum", "-0,0001", ',', "-0,0001", nullptr},
        Conversion{"F_Sum", "0,00001", ',', "1E-5", nullptr},
        Conversion{"F_Sum", "123456789012345", ',', "123456789012345", nullptr},
        Conversion{"F_Sum", "1234567890123456", ',', "1,23456789012346E15", nullptr},
        Conversion{"F_Sum", "2e3", '.', "2000", nullptr}));

TEST(RxMemoryData, NullFieldsReadAsEmptyTextAndZero) {
    TRxMemoryData table("Table2", personFields());
    table.Open();
    table.Append();
    table.FieldByName("F_Por").SetAsInteger(1);
    table.FieldByName("F_Sum").SetAsString("");
    table.FieldByName("F_Strax").SetAsString("");
    table.Post();
    for (const char* name : {"F_Sum", "F_Strax"}) {
        TField& f = table.FieldByName(name);
        EXPECT_TRUE(f.IsNull()) << name;
        EXPECT_EQ(f.AsString(), "") << name;
        EXPECT_EQ(f.AsFloat(), 0) << name;
        EXPECT_EQ(f.AsInteger(), 0) << name;
        EXPECT_TRUE(f.AsVariant().isNull()) << name;
    }
    EXPECT_EQ(table.FieldByName("F_Por").AsVariant(), Variant(int32_t(1)));
}

TEST(RxMemoryData, FloatToIntegerFieldRoundsHalvesToEven) {
    TRxMemoryData table("T", personFields());
    table.Open();
    table.Append();
    TField& f = table.FieldByName("F_Por");
    const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {7.6, 8}};
    for (auto [value, expected] : cases) {
        f.SetAsFloat(value);
        EXPECT_EQ(f.AsInteger(), expected) << value;
    }
    f.SetAsInteger(9);
    EXPECT_NE(errorOf([&] { f.SetAsFloat(1e10); }), "");
    EXPECT_EQ(f.AsInteger(), 9) << "a failed assignment keeps the old value";
}

TEST(RxMemoryData, NumbersAssignedToTextFields) {
    ScopedSystemFormat format(withSeparator(','));
    TRxMemoryData table("T", {{"Text", TFieldType::ftString, 20}});
    table.Open();
    table.Append();
    TField& f = table.FieldByName("Text");
    f.SetAsInteger(-17);
    EXPECT_EQ(f.AsString(), "-17");
    f.SetAsFloat(0.25);
    EXPECT_EQ(f.AsString(), "0,25");
    auto& text = static_cast<TStringField&>(f);
    text.SetAsDateTime(38718); // 1 January 2006
    EXPECT_EQ(f.AsString(), "01.01.2006");
    text.SetAsDateTime(38718.5);
    EXPECT_EQ(f.AsString(), "01.01.2006 12:00:00");
}

TEST(RxMemoryData, AppendAssignPostGivesOneCurrentRecord) {
    TRxMemoryData table("T", personFields());
    table.Open();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecNo(), 0);
    table.Append();
    table.FieldByName("F_Strax").SetAsString("A");
    table.Post();
    EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(table.RecordCount(), 1);
    table.First();
    EXPECT_FALSE(table.Eof());
    EXPECT_EQ(table.FieldByName("F_Strax").AsString(), "A");
    EXPECT_EQ(table.RecNo(), 1);
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldByName("F_Strax").AsString(), "A") << "still on the last record";
}

TEST(RxMemoryData, LeavingEditModePostsAssignedRecordsAndDropsUntouchedOnes) {
    TRxMemoryData table("T", personFields());
    table.Open();
    table.Append();
    table.Append(); // nothing assigned to the first: dropped
    table.FieldByName("F_Strax").SetAsString("B");
    table.Append(); // posts "B"
    table.FieldByName("F_Strax").SetAsString("C");
    table.First(); // posts "C"
    table.Append();
    table.Cancel();
    table.Append();
    table.FieldByName("F_Strax").SetAsString("dropped");
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.StoredText(0, 1), "B");
    EXPECT_EQ(table.StoredText(1, 1), "C");
    table.Post(); // browse: nothing happens
    EXPECT_EQ(table.RecordCount(), 2);
}

TEST(RxMemoryData, EditCopiesTheRecordAndPostOverwritesIt) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (const char* s : {"A", "B"}) {
        table.Append();
        table.FieldByName("F_Strax").SetAsString(s);
        table.FieldByName("F_Por").SetAsInteger(7);
    }
    table.Post();
    table.First();
    table.Edit();
    EXPECT_EQ(table.FieldByName("F_Strax").AsString(), "A");
    table.FieldByName("F_Strax").SetAsString("A2");
    table.Post();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.StoredText(0, 1), "A2");
    EXPECT_EQ(table.StoredText(0, 0), "7");
    EXPECT_EQ(table.StoredText(1, 1), "B");
}

TEST(RxMemoryData, NavigationOverRecords) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (int i = 1; i <= 3; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    table.Post();
    std::vector<int> forward, backward;
    for (table.First(); !table.Eof(); table.Next())
        forward.push_back(table.FieldByName("F_Por").AsInteger());
    EXPECT_EQ(forward, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(table.RecNo(), 3);
    while (!table.Bof()) {
        backward.push_back(table.FieldByName("F_Por").AsInteger());
        table.Prior();
    }
    EXPECT_EQ(backward, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(table.RecNo(), 1) << "before the first record of a non-empty table";
    EXPECT_TRUE(table.FieldByName("F_Por").IsNull()) << "no current record before the first";
}

TEST(RxMemoryData, FilterThatAcceptsNothingLeavesEofWhileRecordCountCountsAll) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (int i = 0; i < 3; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    table.SetOnFilterRecord([](TRxMemoryData&, bool& accept) { accept = false; });
    table.SetFiltered(true); // posts the pending record, then First
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecordCount(), 3);
    EXPECT_TRUE(table.FieldByName("F_Por").IsNull());
    table.SetFiltered(false);
    EXPECT_FALSE(table.Eof());
}

TEST(RxMemoryData, FilterIsEvaluatedAfreshAndReadsTheRecordUnderTest) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (const char* s : {"A", "B", "A", "C"}) {
        table.Append();
        table.FieldByName("F_Strax").SetAsString(s);
    }
    table.Post();
    std::string wanted = "A";
    std::vector<TDataSetState> states;
    table.SetOnFilterRecord([&](TRxMemoryData& t, bool& accept) {
        states.push_back(t.State());
        accept = t.FieldByName("F_Strax").AsString() == wanted;
    });
    table.SetFiltered(true);
    auto visible = [&] {
        std::string seen;
        for (table.First(); !table.Eof(); table.Next())
            seen += table.FieldByName("F_Strax").AsString();
        return seen;
    };
    EXPECT_EQ(visible(), "AA");
    wanted = "C"; // nothing tells the table; the next walk sees it
    EXPECT_EQ(visible(), "C");
    ASSERT_FALSE(states.empty());
    for (auto s : states)
        EXPECT_EQ(s, TDataSetState::dsFilter);
    EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
}

TEST(RxMemoryData, ExceptionInFilterIsReportedAndTheWalkGoesOn) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (int i = 1; i <= 3; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    table.Post();
    std::vector<std::string> reported;
    table.SetExceptionHandler([&](const std::exception& e) { reported.push_back(dialogText(e)); });
    table.SetOnFilterRecord([](TRxMemoryData& t, bool& accept) {
        const int por = t.FieldByName("F_Por").AsInteger();
        if (por == 1) accept = false;
        if (por == 1 || por == 2) t.FieldByName("no_such_field"); // after or before deciding
    });
    table.SetFiltered(true);
    std::vector<int> seen;
    for (; !table.Eof(); table.Next())
        seen.push_back(table.FieldByName("F_Por").AsInteger());
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
    ASSERT_GE(reported.size(), 2u);
    EXPECT_EQ(cp1251ToUtf8(reported[0]), "T: Поле 'no_such_field' не найдено");
}

TEST(RxMemoryData, ClosingEmptiesTheTableAndRestartsIdentifiers) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (int i = 0; i < 2; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    table.Post();
    EXPECT_EQ(table.RecordId(0), INT32_MIN + 1);
    EXPECT_EQ(table.RecordId(1), INT32_MIN + 2);
    table.SetFiltered(true);
    table.Close();
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.Filtered()) << "the filter setting survives closing";
    table.Append();
    table.FieldByName("F_Por").SetAsInteger(5);
    table.Post();
    EXPECT_EQ(table.RecordId(0), INT32_MIN + 1);
    EXPECT_EQ(table.GetBookmark(), INT32_MIN + 1);
}

TEST(RxMemoryData, BookmarksAreRecordIdentifiers) {
    TRxMemoryData table("T", personFields());
    table.Open();
    for (int i = 1; i <= 3; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    table.Post();
    table.First();
    table.Next();
    const auto mark = table.GetBookmark();
    ASSERT_TRUE(mark);
    table.First();
    ASSERT_TRUE(table.GotoBookmark(*mark));
    EXPECT_EQ(table.FieldByName("F_Por").AsInteger(), 2);
    EXPECT_FALSE(table.GotoBookmark(12345));
}

TEST(RxMemoryData, FieldsAreFoundWithoutRegardToCase) {
    TRxMemoryData table("Table2", personFields());
    table.Open();
    EXPECT_EQ(&table.FieldByName("f_strax"), &table.FieldByName("F_Strax"));
    EXPECT_EQ(&table.FieldByName("F_STRAX"), &table.FieldByName("F_Strax"));
    EXPECT_EQ(table.FindField("nothing"), nullptr);
}

TEST(RxMemoryData, FailuresCarryTheirMessages) {
    TRxMemoryData table("Table2", personFields());
    const std::string closed =
        "Table2: Не могу выполнить эту операцию для закрытого набора данных (dataset)";
    EXPECT_EQ(errorOf([&] { table.Append(); }), closed);
    EXPECT_EQ(errorOf([&] { table.First(); }), closed);
    EXPECT_EQ(errorOf([&] { table.Next(); }), closed);
    EXPECT_EQ(errorOf([&] { table.FieldByName("F_Por"); }), "Table2: Поле 'F_Por' не найдено");
    table.Open();
    EXPECT_EQ(errorOf([&] { table.FieldByName("f_s13"); }), "Table2: Поле 'f_s13' не найдено");
    EXPECT_EQ(errorOf([&] { table.FieldByName("F_Por").SetAsString("1"); }),
              "Набор данных (Dataset) не в режиме редактирования или вставки");
    EXPECT_EQ(errorOf([&] { table.Edit(); }), "No data found");
    table.Append();
    table.FieldByName("F_Strax").SetAsString("kept");
    table.FieldByName("F_Strax").SetReadOnly(true);
    EXPECT_EQ(errorOf([&] { table.FieldByName("F_Strax").SetAsString("x"); }),
              "Поле 'F_Strax' не может быть изменено");
    EXPECT_EQ(table.FieldByName("F_Strax").AsString(), "kept");
    EXPECT_EQ(table.State(), TDataSetState::dsInsert);
}

} // namespace

namespace {

TEST(RxMemoryData, FillingAFilteredTableRunsNoFilterUntilSomethingIsRead) {
    TRxMemoryData table("T", personFields());
    int calls = 0;
    table.SetOnFilterRecord([&](TRxMemoryData& t, bool& accept) {
        ++calls;
        accept = t.FieldByName("F_Por").AsInteger() % 2 == 0;
    });
    table.SetFiltered(true);
    table.Open();
    for (int i = 1; i <= 5; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
        table.Post();
    }
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(table.FieldByName("F_Por").IsNull()) << "the last record, 5, is hidden";
    EXPECT_EQ(calls, 1);
    table.First();
    EXPECT_EQ(table.FieldByName("F_Por").AsInteger(), 2);
}

} // namespace

namespace {

// Numbers that have a value and texts of any length read back from their own
// field, whatever is null around them.
TEST(RxMemoryData, SparseValuesReadBackFromTheirFields) {
    ScopedSystemFormat format(withSeparator(','));
    std::vector<FieldDef> defs;
    for (int i = 0; i < 11; ++i)
        defs.push_back(
            {"N" + std::to_string(i), i % 3 == 0 ? TFieldType::ftInteger : TFieldType::ftFloat, 0});
    defs.push_back({"Short", TFieldType::ftString, 5});
    defs.push_back({"Long", TFieldType::ftString, 70000});
    TRxMemoryData table("T", defs);
    table.Open();
    const std::string longText(69000, 'x');
    for (int row = 0; row < 3; ++row) {
        table.Append();
        for (int i = 0; i < 11; ++i)
            if ((i + row) % 2 == 0) table.Fields(i).SetAsInteger(100 * row + i);
        if (row != 1) table.FieldByName("Long").SetAsString(longText + char('a' + row));
        table.FieldByName("Short").SetAsString(row == 2 ? "" : std::string("abcdefg", 6 - row));
    }
    table.Post();
    int row = 0;
    for (table.First(); !table.Eof(); table.Next(), ++row) {
        for (int i = 0; i < 11; ++i) {
            if ((i + row) % 2 == 0)
                EXPECT_EQ(table.Fields(i).AsInteger(), 100 * row + i) << row << "/" << i;
            else
                EXPECT_TRUE(table.Fields(i).IsNull()) << row << "/" << i;
        }
        EXPECT_EQ(table.FieldByName("Long").AsString(),
                  row == 1 ? std::string() : longText + char('a' + row));
    }
    EXPECT_EQ(table.StoredText(0, 11), "abcde");
    EXPECT_EQ(table.StoredText(1, 11), "abcde");
    EXPECT_EQ(table.StoredText(2, 11), "");
    table.First();
    table.Next();
    table.Edit();
    table.Fields(10).SetAsFloat(2.5);
    table.Post();
    EXPECT_EQ(table.StoredText(1, 10), "2,5");
    EXPECT_EQ(table.StoredText(1, 1), "101");
    EXPECT_EQ(table.StoredText(1, 0), "");
}

} // namespace
