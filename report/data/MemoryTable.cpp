#include "report/data/MemoryTable.h"

#include "platform/CodePage.h"
#include "platform/TextCase.h"
#include "report/data/DatabaseError.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pv {
namespace {

// A stored record: one has-value bit per number field; where its texts start
// (4 bytes); the length of each text (0 for null) in 2 bytes, or 4 when a text
// field may hold more than 65535 characters; the values of the numbers that
// have one, in field order; the characters of the texts one after another.
// The pending record keeps each number as a has-value byte and the value, at
// a fixed place, and its texts apart.
constexpr size_t kChunkBytes = 1 << 16;
constexpr size_t kIntegerSlot = 1 + sizeof(int32_t);
constexpr size_t kFloatSlot = 1 + sizeof(double);

} // namespace

TRxMemoryData::TRxMemoryData(std::string name, std::vector<FieldDef> fieldDefs)
    : name_(std::move(name)), fieldDefs_(std::move(fieldDefs)) {}

TRxMemoryData::~TRxMemoryData() = default;

void TRxMemoryData::checkActive() const {
    if (!Active())
        throw DatabaseError(name_ + ": " +
                            ru("Не могу выполнить эту операцию для закрытого набора данных "
                               "(dataset)"));
}

void TRxMemoryData::Open() {
    if (Active()) return;
    fields_.clear();
    size_t offset = 0;
    int texts = 0;
    auto addNumber = [&](uint8_t width) {
        fields_.back()->numberOrdinal_ = static_cast<int>(numberWidths_.size());
        numberWidths_.push_back(width);
        numberOffsets_.push_back(offset);
    };
    lengthWidth_ = 2;
    numberWidths_.clear();
    numberOffsets_.clear();
    for (size_t i = 0; i < fieldDefs_.size(); ++i) {
        const FieldDef& def = fieldDefs_[i];
        const int index = static_cast<int>(i);
        switch (def.DataType) {
        case TFieldType::ftString:
            fields_.push_back(std::make_unique<TStringField>(*this, def, index, 0, texts++));
            if (def.Size > 0xFFFF) lengthWidth_ = 4;
            break;
        case TFieldType::ftMemo:
        case TFieldType::ftBlob: {
            FieldDef unlimited = def;
            unlimited.Size = -1;
            fields_.push_back(std::make_unique<TStringField>(*this, unlimited, index, 0, texts++));
            lengthWidth_ = 4;
            break;
        }
        case TFieldType::ftInteger:
            fields_.push_back(std::make_unique<TIntegerField>(*this, def, index, offset));
            addNumber(sizeof(int32_t));
            offset += kIntegerSlot;
            break;
        case TFieldType::ftFloat:
            fields_.push_back(std::make_unique<TFloatField>(*this, def, index, offset));
            addNumber(sizeof(double));
            offset += kFloatSlot;
            break;
        }
    }
    numbersSize_ = offset;
    bitmapSize_ = (numberWidths_.size() + 7) / 8;
    textFieldCount_ = texts;
    pending_.assign(std::max<size_t>(1, numbersSize_), 0); // never null: a record is there
    pendingTexts_.assign(textFieldCount_, std::string());
    state_ = TDataSetState::dsBrowse;
    cursor_ = current_ = savedCursor_ = -1;
    eof_ = bof_ = true;
    modified_ = false;
}

void TRxMemoryData::Close() {
    records_.clear();
    records_.shrink_to_fit();
    chunks_.clear();
    chunks_.shrink_to_fit();
    chunkSizes_.clear();
    chunkUsed_ = 0;
    ids_.clear();
    ids_.shrink_to_fit();
    lastId_ = INT32_MIN;
    autoIncrement_ = 1;
    fields_.clear();
    state_ = TDataSetState::dsInactive;
    cursor_ = current_ = savedCursor_ = -1;
    eof_ = bof_ = true;
    modified_ = false;
}

void TRxMemoryData::leaveEditMode() {
    if (state_ != TDataSetState::dsInsert && state_ != TDataSetState::dsEdit) return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TRxMemoryData::Append() {
    checkActive();
    leaveEditMode();
    savedCursor_ = cursor_;
    std::fill(pending_.begin(), pending_.end(), 0);
    for (auto& t : pendingTexts_)
        t.clear();
    modified_ = false;
    state_ = TDataSetState::dsInsert;
    cursor_ = RecordCount(); // an appended record belongs after the last one
    eof_ = true;
    bof_ = false;
}

void TRxMemoryData::Edit() {
    checkActive();
    if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsEdit) return;
    const int current = currentRecord();
    if (current < 0) throw DatabaseError("No data found");
    for (size_t n = 0; n < numberWidths_.size(); ++n) {
        char* slot = pending_.data() + numberOffsets_[n];
        const char* value = storedNumber(storedBlock(current), static_cast<int>(n));
        slot[0] = value ? 1 : 0;
        if (value) std::memcpy(slot + 1, value, numberWidths_[n]);
    }
    for (int t = 0; t < textFieldCount_; ++t)
        pendingTexts_[t].assign(storedText(storedBlock(current), t));
    savedCursor_ = cursor_;
    modified_ = false;
    state_ = TDataSetState::dsEdit;
}

char* TRxMemoryData::allocate(size_t bytes) {
    if (chunks_.empty() || chunkSizes_.back() - chunkUsed_ < bytes) {
        const size_t size = std::max(kChunkBytes, bytes);
        chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        chunkSizes_.push_back(size);
        chunkUsed_ = 0;
    }
    char* at = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += bytes;
    return at;
}

char* TRxMemoryData::packPending() {
    size_t valuesSize = 0;
    for (size_t n = 0; n < numberWidths_.size(); ++n)
        if (pending_[numberOffsets_[n]]) valuesSize += numberWidths_[n];
    const size_t textsAt =
        bitmapSize_ + sizeof(uint32_t) + lengthWidth_ * textFieldCount_ + valuesSize;
    size_t bytes = textsAt;
    for (const std::string& t : pendingTexts_)
        bytes += t.size();
    if (textsAt > UINT32_MAX) throw DatabaseError(name_ + ": record too large");
    char* record = allocate(bytes);

    char* bitmap = record;
    std::memset(bitmap, 0, bitmapSize_);
    const uint32_t textsAt32 = static_cast<uint32_t>(textsAt);
    std::memcpy(record + bitmapSize_, &textsAt32, sizeof textsAt32);
    char* length = record + bitmapSize_ + sizeof(uint32_t);
    char* value = length + lengthWidth_ * textFieldCount_;
    for (size_t n = 0; n < numberWidths_.size(); ++n) {
        const char* slot = pending_.data() + numberOffsets_[n];
        if (!slot[0]) continue;
        bitmap[n / 8] = static_cast<char>(bitmap[n / 8] | (1 << (n % 8)));
        std::memcpy(value, slot + 1, numberWidths_[n]);
        value += numberWidths_[n];
    }
    char* text = record + textsAt;
    for (const std::string& t : pendingTexts_) {
        // Texts are cut to their field's size, so the length fits its width.
        const uint32_t n = static_cast<uint32_t>(t.size());
        if (lengthWidth_ == 2) {
            const uint16_t n16 = static_cast<uint16_t>(n);
            std::memcpy(length, &n16, 2);
        } else {
            std::memcpy(length, &n, 4);
        }
        length += lengthWidth_;
        std::memcpy(text, t.data(), n);
        text += n;
    }
    return record;
}

size_t TRxMemoryData::StoredBytes() const {
    size_t bytes = records_.capacity() * sizeof(const char*);
    for (size_t size : chunkSizes_)
        bytes += size;
    return bytes;
}

void TRxMemoryData::Post() {
    if (state_ == TDataSetState::dsEdit) {
        records_[cursor_] = packPending(); // the old block stays unused
    } else if (state_ == TDataSetState::dsInsert) {
        if (lastId_ == INT32_MAX) throw DatabaseError(name_ + ": too many records");
        // Nothing here has auto-increment fields; the counter is kept for them.
        // A pending record always belongs after the last one (records are only
        // ever appended), so it is stored at the end.
        records_.push_back(packPending());
        ids_.push_back(++lastId_);
        cursor_ = RecordCount() - 1;
    } else {
        return;
    }
    state_ = TDataSetState::dsBrowse;
    modified_ = false;
    eof_ = bof_ = false;
    setCurrentFromCursor();
}

void TRxMemoryData::Cancel() {
    if (state_ == TDataSetState::dsInsert) cursor_ = savedCursor_;
    if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsEdit) {
        state_ = TDataSetState::dsBrowse;
        modified_ = false;
        setCurrentFromCursor();
    }
}

bool TRxMemoryData::isVisible(int index) {
    if (index < 0 || index >= RecordCount()) return false;
    if (!filtered_ || !onFilterRecord_) return true;
    const TDataSetState saved = state_;
    const int savedRecord = filterRecord_;
    state_ = TDataSetState::dsFilter;
    filterRecord_ = index;
    bool accept = true;
    try {
        onFilterRecord_(*this, accept);
    } catch (const std::exception& e) {
        if (onException_) onException_(e);
    }
    state_ = saved;
    filterRecord_ = savedRecord;
    return accept;
}

void TRxMemoryData::setCurrentFromCursor() {
    current_ = kCurrentUnknown;
}

int TRxMemoryData::currentRecord() const {
    if (current_ == kCurrentUnknown)
        current_ = const_cast<TRxMemoryData*>(this)->isVisible(cursor_) ? cursor_ : -1;
    return current_;
}

void TRxMemoryData::moveNext() {
    if (cursor_ >= RecordCount() - 1) {
        eof_ = true;
        return;
    }
    while (++cursor_ < RecordCount()) {
        if (isVisible(cursor_)) {
            current_ = cursor_;
            eof_ = false;
            return;
        }
    }
    cursor_ = RecordCount() - 1;
    current_ = -1;
    eof_ = true;
}

void TRxMemoryData::First() {
    checkActive();
    leaveEditMode();
    cursor_ = current_ = -1;
    moveNext();
    bof_ = true;
}

void TRxMemoryData::Next() {
    checkActive();
    leaveEditMode();
    bof_ = false;
    moveNext();
}

void TRxMemoryData::Prior() {
    checkActive();
    leaveEditMode();
    eof_ = false;
    while (--cursor_ >= 0) {
        if (isVisible(cursor_)) {
            current_ = cursor_;
            bof_ = false;
            return;
        }
    }
    cursor_ = current_ = -1;
    bof_ = true;
}

int TRxMemoryData::RecNo() const {
    checkActive();
    if (cursor_ == -1 && RecordCount() > 0) return 1;
    return cursor_ + 1;
}

TField* TRxMemoryData::FindField(std::string_view name) {
    for (auto& f : fields_)
        if (equalsNoCase(f->FieldName(), name)) return f.get();
    return nullptr;
}

TField& TRxMemoryData::FieldByName(std::string_view name) {
    if (TField* f = FindField(name)) return *f;
    throw DatabaseError(name_ + ": " + ru("Поле '") + std::string(name) + ru("' не найдено"));
}

void TRxMemoryData::SetFiltered(bool value) {
    if (!Active()) {
        filtered_ = value;
        return;
    }
    leaveEditMode();
    if (filtered_ == value) return;
    filtered_ = value;
    First();
}

void TRxMemoryData::SetOnFilterRecord(FilterRecordHandler handler) {
    if (!Active()) {
        onFilterRecord_ = std::move(handler);
        return;
    }
    leaveEditMode();
    onFilterRecord_ = std::move(handler);
    if (filtered_) First();
}

std::optional<int32_t> TRxMemoryData::GetBookmark() const {
    const int current = currentRecord();
    if (current < 0) return std::nullopt;
    return ids_[current];
}

bool TRxMemoryData::GotoBookmark(int32_t bookmark) {
    checkActive();
    leaveEditMode();
    for (int i = 0; i < RecordCount(); ++i) {
        if (ids_[i] != bookmark) continue;
        cursor_ = i;
        setCurrentFromCursor();
        eof_ = bof_ = false;
        return true;
    }
    return false;
}

size_t TRxMemoryData::lengthAt(const char* block, int ordinal) const {
    const char* at = block + bitmapSize_ + sizeof(uint32_t) + lengthWidth_ * ordinal;
    if (lengthWidth_ == 2) {
        uint16_t n;
        std::memcpy(&n, at, 2);
        return n;
    }
    uint32_t n;
    std::memcpy(&n, at, 4);
    return n;
}

std::string_view TRxMemoryData::storedText(const char* block, int ordinal) const {
    uint32_t textsAt;
    std::memcpy(&textsAt, block + bitmapSize_, sizeof textsAt);
    const char* text = block + textsAt;
    for (int i = 0; i < ordinal; ++i)
        text += lengthAt(block, i);
    return std::string_view(text, lengthAt(block, ordinal));
}

const char* TRxMemoryData::storedNumber(const char* block, int ordinal) const {
    auto present = [block](int n) { return (block[n / 8] >> (n % 8)) & 1; };
    if (!present(ordinal)) return nullptr;
    const char* value = block + bitmapSize_ + sizeof(uint32_t) + lengthWidth_ * textFieldCount_;
    for (int n = 0; n < ordinal; ++n)
        if (present(n)) value += numberWidths_[n];
    return value;
}

const char* TRxMemoryData::activeBlock(bool& pending) const {
    pending = false;
    switch (state_) {
    case TDataSetState::dsInsert:
    case TDataSetState::dsEdit:
        pending = true;
        return pending_.data();
    case TDataSetState::dsFilter:
        return storedBlock(filterRecord_);
    case TDataSetState::dsBrowse:
        return currentRecord() >= 0 ? storedBlock(currentRecord()) : nullptr;
    case TDataSetState::dsInactive:
        return nullptr;
    }
    return nullptr;
}

char* TRxMemoryData::pendingBlockForWrite() {
    if (state_ != TDataSetState::dsInsert && state_ != TDataSetState::dsEdit)
        throw DatabaseError(ru("Набор данных (Dataset) не в режиме редактирования или вставки"));
    return pending_.data();
}

std::string TRxMemoryData::StoredText(int record, int field) const {
    if (record < 0 || record >= RecordCount()) throw std::out_of_range("no such record");
    // Read through the field with the table pretending to test that record.
    auto* self = const_cast<TRxMemoryData*>(this);
    const TDataSetState saved = state_;
    const int savedRecord = filterRecord_;
    self->state_ = TDataSetState::dsFilter;
    self->filterRecord_ = record;
    std::string text = fields_.at(field)->AsString();
    self->state_ = saved;
    self->filterRecord_ = savedRecord;
    return text;
}

} // namespace pv
