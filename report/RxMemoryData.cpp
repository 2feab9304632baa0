#include "report/RxMemoryData.h"

#include "platform/CodePage.h"
#include "platform/TextCase.h"
#include "report/DatabaseError.h"

#include <cstring>
#include <stdexcept>

namespace pv {
namespace {

// Slot widths in a record's fixed block. A text slot holds where the text
// starts in the table's text store (8 bytes) and its length (4 bytes, 0 for
// null); a number slot a has-value byte and the value.
constexpr size_t kTextSlot = sizeof(uint64_t) + sizeof(uint32_t);
constexpr size_t kIntegerSlot = 1 + sizeof(int32_t);
constexpr size_t kFloatSlot = 1 + sizeof(double);

} // namespace

TRxMemoryData::TRxMemoryData(std::string name, std::vector<TFieldDef> fieldDefs)
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
    for (size_t i = 0; i < fieldDefs_.size(); ++i) {
        const TFieldDef& def = fieldDefs_[i];
        const int index = static_cast<int>(i);
        switch (def.DataType) {
        case TFieldType::ftString:
            fields_.push_back(std::make_unique<TStringField>(*this, def, index, offset, texts++));
            offset += kTextSlot;
            break;
        case TFieldType::ftInteger:
            fields_.push_back(std::make_unique<TIntegerField>(*this, def, index, offset));
            offset += kIntegerSlot;
            break;
        case TFieldType::ftFloat:
            fields_.push_back(std::make_unique<TFloatField>(*this, def, index, offset));
            offset += kFloatSlot;
            break;
        }
    }
    blockSize_ = offset;
    textFieldCount_ = texts;
    pending_.assign(blockSize_, 0);
    pendingTexts_.assign(textFieldCount_, std::string());
    state_ = TDataSetState::dsBrowse;
    cursor_ = current_ = savedCursor_ = -1;
    eof_ = bof_ = true;
    modified_ = false;
}

void TRxMemoryData::Close() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    texts_.clear();
    texts_.shrink_to_fit();
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
    if (current_ < 0) throw DatabaseError("No data found");
    std::memcpy(pending_.data(), storedBlock(current_), blockSize_);
    for (const auto& f : fields_)
        if (f->textOrdinal_ >= 0)
            pendingTexts_[f->textOrdinal_].assign(storedText(storedBlock(current_), f->offset_));
    savedCursor_ = cursor_;
    modified_ = false;
    state_ = TDataSetState::dsEdit;
}

void TRxMemoryData::storePendingTexts(char* block) {
    for (const auto& f : fields_) {
        if (f->textOrdinal_ < 0) continue;
        const std::string& text = pendingTexts_[f->textOrdinal_];
        const uint64_t start = texts_.size();
        const uint32_t length = static_cast<uint32_t>(text.size());
        texts_ += text;
        std::memcpy(block + f->offset_, &start, sizeof start);
        std::memcpy(block + f->offset_ + sizeof start, &length, sizeof length);
    }
}

void TRxMemoryData::Post() {
    if (state_ == TDataSetState::dsEdit) {
        storePendingTexts(pending_.data());
        std::memcpy(storedBlock(cursor_), pending_.data(), blockSize_);
    } else if (state_ == TDataSetState::dsInsert) {
        if (lastId_ == INT32_MAX) throw DatabaseError(name_ + ": too many records");
        // Nothing here has auto-increment fields; the counter is kept for them.
        int position = cursor_ < 0 ? 0 : cursor_;
        storePendingTexts(pending_.data());
        if (position >= RecordCount()) {
            blocks_.insert(blocks_.end(), pending_.begin(), pending_.end());
            ids_.push_back(++lastId_);
            position = RecordCount() - 1;
        } else {
            blocks_.insert(blocks_.begin() + size_t(position) * blockSize_, pending_.begin(),
                           pending_.end());
            ids_.insert(ids_.begin() + position, ++lastId_);
        }
        cursor_ = position;
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
    current_ = isVisible(cursor_) ? cursor_ : -1;
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
    if (current_ < 0) return std::nullopt;
    return ids_[current_];
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

std::string_view TRxMemoryData::storedText(const char* block, size_t offset) const {
    uint64_t start = 0;
    uint32_t length = 0;
    std::memcpy(&start, block + offset, sizeof start);
    std::memcpy(&length, block + offset + sizeof start, sizeof length);
    return std::string_view(texts_).substr(start, length);
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
        return current_ >= 0 ? storedBlock(current_) : nullptr;
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
