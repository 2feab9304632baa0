#include "report/data/DataSet.h"

#include "report/data/MemoryTable.h"

namespace pv {

void TfrDataset::First() {
    recNo_ = 0;
    if (OnFirst) OnFirst(*this);
}

void TfrDataset::Next() {
    ++recNo_;
    if (!countReached() && OnNext) OnNext(*this);
}

void TfrDataset::Prior() {
    --recNo_;
    if (OnPrior) OnPrior(*this);
}

bool TfrDataset::Eof() {
    bool eof = countReached();
    if (OnCheckEOF) OnCheckEOF(*this, eof);
    return eof;
}

void TfrDBDataSet::SetDataSet(TRxMemoryData* table) {
    table_ = table;
    if (table) source_ = nullptr;
}

void TfrDBDataSet::SetDataSource(DataSourceLink* source) {
    source_ = source;
    if (source) table_ = nullptr;
}

TRxMemoryData* TfrDBDataSet::TableOrNull() const {
    return table_ ? table_ : (source_ ? source_->DataSet : nullptr);
}

TRxMemoryData& TfrDBDataSet::Table() const {
    TRxMemoryData* table = TableOrNull();
    // A DataSourceLink without a table cannot be walked either.
    if (!table) throw DataSetOpenError(Name);
    return *table;
}

void TfrDBDataSet::Init() {
    TRxMemoryData& table = Table();
    if (OpenDataSource && !table.Active()) table.Open();
    if (OnOpen) OnOpen(*this);
    bookmark_.reset();
    bookmarkReached_ = false;
    if (RangeBegin == rbCurrent || RangeEnd == reCurrent) bookmark_ = table.GetBookmark();
}

void TfrDBDataSet::Exit() {
    TRxMemoryData& table = Table();
    if (bookmark_) table.GotoBookmark(*bookmark_);
    if (OnClose) OnClose(*this);
    if (CloseDataSource) table.Close();
}

void TfrDBDataSet::First() {
    TRxMemoryData& table = Table();
    bookmarkReached_ = false;
    // A remembered row that is gone starts the walk at the first.
    if (!(RangeBegin == rbCurrent && bookmark_ && table.GotoBookmark(*bookmark_))) table.First();
    TfrDataset::First();
}

void TfrDBDataSet::Next() {
    TRxMemoryData& table = Table();
    if (RangeEnd == reCurrent && bookmark_) {
        // The range ends with the row that was current at Init.
        bookmarkReached_ = table.GetBookmark() == bookmark_;
        if (!bookmarkReached_) table.Next();
    } else {
        table.Next();
    }
    TfrDataset::Next();
}

void TfrDBDataSet::Prior() {
    Table().Prior();
    bookmarkReached_ = false;
    TfrDataset::Prior();
}

bool TfrDBDataSet::Eof() {
    bool eof = Table().Eof() || bookmarkReached_ || countReached();
    if (OnCheckEOF) OnCheckEOF(*this, eof);
    return eof;
}

} // namespace pv
