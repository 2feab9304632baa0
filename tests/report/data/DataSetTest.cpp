// Data sources: how bands walk tables and counted ranges.
#include "report/data/DataSet.h"
#include "report/data/DataSourceRegistry.h"
#include "report/data/MemoryTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace pv {
namespace {

// A table of rows numbered 1..count in F_Por.
void fill(TRxMemoryData& table, int count) {
    table.Open();
    for (int i = 1; i <= count; ++i) {
        table.Append();
        table.FieldByName("F_Por").SetAsInteger(i);
    }
    if (count > 0) table.Post();
}

// The rows a band would print: Init, First, then Next until Eof (at most 50).
std::vector<int> walk(TfrDataset& dataset, const std::function<int()>& row) {
    std::vector<int> rows;
    dataset.Init();
    dataset.First();
    while (!dataset.Eof() && rows.size() < 50) {
        rows.push_back(row());
        dataset.Next();
    }
    dataset.Exit();
    return rows;
}

class DBDataSet : public ::testing::Test {
protected:
    DBDataSet() : table_("Table2", {{"F_Por", TFieldType::ftInteger, 0}}), source_("frDBDataSet1") {
        fill(table_, 5);
        source_.SetDataSet(&table_);
    }
    std::vector<int> rows() {
        return walk(source_, [&] { return table_.FieldByName("F_Por").AsInteger(); });
    }
    void moveTo(int row) {
        table_.First();
        while (table_.FieldByName("F_Por").AsInteger() != row)
            table_.Next();
    }

    TRxMemoryData table_;
    TfrDBDataSet source_;
};

TEST_F(DBDataSet, WalksEveryRowByDefault) {
    EXPECT_EQ(rows(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(DBDataSet, WalksOnlyRowsTheFilterLetsThrough) {
    table_.SetOnFilterRecord([](TRxMemoryData& t, bool& accept) {
        accept = t.FieldByName("F_Por").AsInteger() % 2 == 1;
    });
    table_.SetFiltered(true);
    EXPECT_EQ(rows(), (std::vector<int>{1, 3, 5}));
    table_.SetOnFilterRecord([](TRxMemoryData&, bool& accept) { accept = false; });
    EXPECT_TRUE(rows().empty());
}

TEST_F(DBDataSet, CurrentRowBoundsTheRangeAndIsRestoredAtExit) {
    struct Case {
        TfrRangeBegin begin;
        TfrRangeEnd end;
        std::vector<int> rows;
    } cases[] = {
        {rbCurrent, reLast, {3, 4, 5}},
        {rbFirst, reCurrent, {1, 2, 3}},
        {rbCurrent, reCurrent, {3}},
        {rbFirst, reLast, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        source_.RangeBegin = c.begin;
        source_.RangeEnd = c.end;
        moveTo(3);
        EXPECT_EQ(rows(), c.rows) << c.begin << "/" << c.end;
        if (c.begin == rbCurrent || c.end == reCurrent)
            EXPECT_EQ(table_.FieldByName("F_Por").AsInteger(), 3) << c.begin << "/" << c.end;
    }
}

TEST_F(DBDataSet, CountRangeStopsEarly) {
    source_.RangeEnd = reCount;
    source_.RangeEndCount = 2;
    EXPECT_EQ(rows(), (std::vector<int>{1, 2}));
    source_.RangeEndCount = 9; // the table ends first
    EXPECT_EQ(rows(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(DBDataSet, OpensAndClosesTheTableAsAsked) {
    int opened = 0, closed = 0;
    source_.OnOpen = [&](TfrDataset&) { ++opened; };
    source_.OnClose = [&](TfrDataset&) { ++closed; };
    table_.Close();
    EXPECT_TRUE(rows().empty()); // opened again, and a reopened table is empty
    EXPECT_TRUE(table_.Active());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);

    fill(table_, 2);
    source_.CloseDataSource = true;
    EXPECT_EQ(rows(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(table_.Active());

    source_.OpenDataSource = false;
    EXPECT_THROW(rows(), DatabaseError); // a closed table cannot be walked
}

TEST(DBDataSetWithoutTable, RaisesItsComponentName) {
    TfrDBDataSet source("frDBDataSet9");
    DataSourceLink empty{"DataSource1", nullptr};
    const std::vector<std::function<void()>> setups = {
        [] {},
        [&] { source.SetDataSource(&empty); },
    };
    for (const auto& setup : setups) {
        setup();
        try {
            source.Init();
            FAIL() << "no error";
        } catch (const DataSetOpenError& e) {
            EXPECT_STREQ(e.what(), "Unable to open dataset frDBDataSet9");
        }
        EXPECT_THROW(source.First(), DataSetOpenError);
    }
}

TEST(DBDataSetTable, SettingTableOrSourceClearsTheOther) {
    TRxMemoryData a("Table1"), b("Table2");
    DataSourceLink viaSource{"DataSource1", &b};
    TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(&a);
    source.SetDataSource(&viaSource);
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(&source.Table(), &b);
    source.SetDataSet(&a);
    EXPECT_EQ(source.DataSource(), nullptr);
    EXPECT_EQ(&source.Table(), &a);
}

TEST(CountedDataSet, PrintsItsCountAndAsksTheEventsOnTheWay) {
    TfrDataset counted;
    counted.RangeEnd = reCount;
    counted.RangeEndCount = 3;
    int firsts = 0, nexts = 0;
    counted.OnFirst = [&](TfrDataset&) { ++firsts; };
    counted.OnNext = [&](TfrDataset&) { ++nexts; };
    EXPECT_EQ(walk(counted, [&] { return counted.RecNo(); }), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(nexts, 2); // not for the step that exhausts the count
}

TEST(CountedDataSet, CheckEofDecidesTheEnd) {
    struct Case {
        const char* what;
        TfrRangeEnd end;
        TfrDataset::CheckEofEvent check;
        size_t rows;
    } cases[] = {
        {"ends a row early", reCount, [](TfrDataset& d, bool& eof) { eof = eof || d.RecNo() >= 2; },
         2},
        {"raises the count", reCount, [](TfrDataset& d, bool&) { d.RangeEndCount = 5; }, 5},
        {"ends an open range", reLast, [](TfrDataset& d, bool& eof) { eof = d.RecNo() >= 4; }, 4},
    };
    for (const Case& c : cases) {
        TfrDataset dataset;
        dataset.RangeEnd = c.end;
        dataset.RangeEndCount = 3;
        dataset.OnCheckEOF = c.check;
        EXPECT_EQ(walk(dataset, [&] { return dataset.RecNo(); }).size(), c.rows) << c.what;
    }
}

TEST(BandDataSource, ResolvesFormatText) {
    TfrDBDataSet first("frDBDataSet1"), second("frDBDataSet2");
    DataSourceRegistry registry;
    registry.add(first);
    registry.add(second);
    struct Case {
        const char* text;
        TfrDataset* named; // a registered source, or null
        int count;         // a record count, or 0
    } cases[] = {
        {"frDBDataSet1", &first, 0},
        {"FRDBDATASET2", &second, 0},
        {" frDBDataSet1 ", &first, 0},
        {"fm_main.frDBDataSet2", &second, 0},
        {"3", nullptr, 3},
        {"12", nullptr, 12},
        {"9x", nullptr, 9},
        {"0", nullptr, 0}, // not a count: names nothing
        {"frDBDataSet7", nullptr, 0},
        {"", nullptr, 0},
    };
    for (const Case& c : cases) {
        BandDataSource resolved = resolveBandDataSource(c.text, registry);
        if (c.count > 0) {
            ASSERT_NE(resolved.owned, nullptr) << c.text;
            EXPECT_EQ(resolved.dataset, resolved.owned.get()) << c.text;
            EXPECT_EQ(resolved.dataset->RangeEnd, reCount) << c.text;
            EXPECT_EQ(resolved.dataset->RangeEndCount, c.count) << c.text;
        } else {
            EXPECT_EQ(resolved.owned, nullptr) << c.text;
            EXPECT_EQ(resolved.dataset, c.named) << c.text;
        }
    }
}

} // namespace
} // namespace pv
