#pragma once

#include "report/data/Fields.h"

#include <climits>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

enum class TDataSetState { dsInactive, dsBrowse, dsInsert, dsEdit, dsFilter };

// A table held only in memory: records in insertion order, each one packed
// block (its numbers, the lengths of its texts, then the characters) in large
// chunks that never move. A row costs its numbers and its characters, with no
// allocation of its own and no copying as the table grows.
// The cursor model is that of a record set: open/close, append/post, fields by
// name, first/next over the records a filter handler lets through.
class TRxMemoryData {
public:
    using FilterRecordHandler = std::function<void(TRxMemoryData& table, bool& Accept)>;
    // Where an exception raised by the filter handler goes (the application's
    // handler shows it); the walk goes on.
    using ExceptionHandler = std::function<void(const std::exception&)>;

    explicit TRxMemoryData(std::string name, std::vector<FieldDef> fieldDefs = {});
    ~TRxMemoryData();
    TRxMemoryData(const TRxMemoryData&) = delete;
    TRxMemoryData& operator=(const TRxMemoryData&) = delete;

    const std::string& Name() const { return name_; }
    const std::vector<FieldDef>& FieldDefs() const { return fieldDefs_; }
    // Takes effect at the next Open.
    void SetFieldDefs(std::vector<FieldDef> defs) { fieldDefs_ = std::move(defs); }

    void Open();
    // Discards every record and restarts the identifiers.
    void Close();
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool value) { value ? Open() : Close(); }
    TDataSetState State() const { return state_; }

    void Append();
    void Post();
    void Cancel();
    void Edit();

    void First();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int RecordCount() const { return static_cast<int>(records_.size()); }
    int RecNo() const;

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) { return *fields_.at(index); }
    // Without regard to letter case.
    TField& FieldByName(std::string_view name);
    TField* FindField(std::string_view name);

    bool Filtered() const { return filtered_; }
    void SetFiltered(bool value);
    void SetOnFilterRecord(FilterRecordHandler handler);
    void SetExceptionHandler(ExceptionHandler handler) { onException_ = std::move(handler); }

    // The identifier of the current record, its bookmark; no value without one.
    std::optional<int32_t> GetBookmark() const;
    // Moves to the record with this identifier; false when there is none.
    bool GotoBookmark(int32_t bookmark);
    int32_t RecordId(int index) const { return ids_.at(index); }

    // A stored record's value as the field's AsString gives it, whatever the
    // cursor, state or filter.
    std::string StoredText(int record, int field) const;
    // Bytes allocated for the stored records (fixed blocks and texts).
    size_t StoredBytes() const;

private:
    friend class TField;

    void checkActive() const;
    // Posts pending changes, or drops a pending record nothing was assigned to.
    void leaveEditMode();
    bool isVisible(int index);
    void moveNext();
    // Whether the record under the cursor is visible is found out when it is
    // first needed: a fill that posts row after row runs no filter.
    void setCurrentFromCursor();
    int currentRecord() const;
    static constexpr int kCurrentUnknown = -2;
    const char* storedBlock(int index) const { return records_[index]; }
    // The pending record packed into the chunks.
    char* packPending();
    char* allocate(size_t bytes);
    std::string_view storedText(const char* block, int ordinal) const;
    // The value bytes of number `ordinal` in a stored record; null when it has none.
    const char* storedNumber(const char* block, int ordinal) const;
    size_t lengthAt(const char* block, int ordinal) const;

    // For the fields: the active record's block (null when there is none) and
    // whether it is the pending one.
    const char* activeBlock(bool& pending) const;
    char* pendingBlockForWrite();
    std::string& pendingText(int ordinal) { return pendingTexts_[ordinal]; }
    const std::string& pendingTextAt(int ordinal) const { return pendingTexts_[ordinal]; }
    void markModified() { modified_ = true; }

    std::string name_;
    std::vector<FieldDef> fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    size_t numbersSize_ = 0;            // of the pending record's numbers
    std::vector<uint8_t> numberWidths_; // bytes of each number's value
    std::vector<size_t> numberOffsets_; // of each number in the pending record
    size_t bitmapSize_ = 0;             // bytes of a stored record's has-value bits
    size_t lengthWidth_ = 2;            // bytes of each text length
    int textFieldCount_ = 0;

    std::vector<const char*> records_; // the stored records, in order
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::vector<size_t> chunkSizes_;
    size_t chunkUsed_ = 0; // of the last chunk
    std::vector<int32_t> ids_;
    int32_t lastId_ = INT32_MIN;
    int32_t autoIncrement_ = 1;

    TDataSetState state_ = TDataSetState::dsInactive;
    int cursor_ = -1;
    mutable int current_ = -1; // the visible record under the cursor, -1 for none
    int savedCursor_ = -1;
    int filterRecord_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    std::vector<char> pending_;
    std::vector<std::string> pendingTexts_;
    bool modified_ = false;

    bool filtered_ = false;
    FilterRecordHandler onFilterRecord_;
    ExceptionHandler onException_;
};

} // namespace pv
