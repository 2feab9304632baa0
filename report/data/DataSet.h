#pragma once

#include "report/data/DatabaseError.h"

#include <functional>
#include <optional>
#include <string>

namespace pv {

class TRxMemoryData;

enum TfrRangeBegin { rbFirst, rbCurrent };
enum TfrRangeEnd { reLast, reCurrent, reCount };

// A data source that cannot be opened: it has no table to walk.
class DataSetOpenError : public DatabaseError {
public:
    explicit DataSetOpenError(const std::string& componentName)
        : DatabaseError("Unable to open dataset " + componentName) {}
};

// A row cursor the bands walk. On its own it only counts: with `reCount` it
// ends after `RangeEndCount` rows, and its events let a handler supply or
// refuse rows.
class TfrDataset {
public:
    using Event = std::function<void(TfrDataset&)>;
    // May change `eof` (and the dataset, e.g. its RangeEndCount).
    using CheckEofEvent = std::function<void(TfrDataset&, bool& eof)>;

    explicit TfrDataset(std::string name = {}) : Name(std::move(name)) {}
    virtual ~TfrDataset() = default;
    TfrDataset(const TfrDataset&) = delete;
    TfrDataset& operator=(const TfrDataset&) = delete;

    virtual void Init() {}
    virtual void Exit() {}
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    // Rows moved over since First.
    int RecNo() const { return recNo_; }

    std::string Name; // the component name templates use ("frDBDataSet1")
    TfrRangeBegin RangeBegin = rbFirst;
    TfrRangeEnd RangeEnd = reLast;
    int RangeEndCount = 0;
    Event OnFirst, OnNext, OnPrior;
    CheckEofEvent OnCheckEOF;

protected:
    bool countReached() const { return RangeEnd == reCount && recNo_ >= RangeEndCount; }

private:
    int recNo_ = 0;
};

// The indirection between a data-source component and its table.
struct DataSourceLink {
    std::string Name;
    TRxMemoryData* DataSet = nullptr;
};

// A data source over a memory table, given directly or through a DataSourceLink.
// Neither the table nor the DataSourceLink is owned.
class TfrDBDataSet : public TfrDataset {
public:
    using TfrDataset::TfrDataset;

    // Setting one clears the other.
    void SetDataSet(TRxMemoryData* table);
    void SetDataSource(DataSourceLink* source);
    TRxMemoryData* DataSet() const { return table_; }
    DataSourceLink* DataSource() const { return source_; }
    // The table walked; raises DataSetOpenError when there is none.
    TRxMemoryData& Table() const;
    // The table walked, null when there is none.
    TRxMemoryData* TableOrNull() const;

    void Init() override;
    void Exit() override;
    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() override;

    bool OpenDataSource = true;
    bool CloseDataSource = false;
    Event OnOpen, OnClose;

private:
    TRxMemoryData* table_ = nullptr;
    DataSourceLink* source_ = nullptr;
    // The row current at Init, for rbCurrent and reCurrent.
    std::optional<int32_t> bookmark_;
    bool bookmarkReached_ = false;
};

} // namespace pv
