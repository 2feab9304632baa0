#include "report/data/Fields.h"

#include "platform/CodePage.h"
#include "platform/SystemFormat.h"
#include "report/data/DatabaseError.h"
#include "report/value/NumberText.h"
#include "report/data/MemoryTable.h"
#include "report/value/SystemDateText.h"

#include <cstring>

namespace pv {
namespace {

[[noreturn]] void invalidInteger(std::string_view text, const std::string& field) {
    throw DatabaseError("'" + std::string(text) + ru("' - неверное целое значение для поля '") +
                        field + "'");
}

[[noreturn]] void invalidFloat(std::string_view text, const std::string& field) {
    throw DatabaseError("'" + std::string(text) + ru("' - неверное дробное значение для поля '") +
                        field + "'");
}

} // namespace

TField::TField(TRxMemoryData& table, FieldDef def, int index, size_t offset, int textOrdinal)
    : table_(table), def_(std::move(def)), index_(index), offset_(offset),
      textOrdinal_(textOrdinal) {}

const char* TField::numberValue() const {
    bool pending = false;
    const char* block = table_.activeBlock(pending);
    if (!block) return nullptr;
    if (pending) return block[offset_] ? block + offset_ + 1 : nullptr;
    return table_.storedNumber(block, numberOrdinal_);
}

char* TField::writableSlot() {
    if (readOnly_) throw DatabaseError(ru("Поле '") + def_.Name + ru("' не может быть изменено"));
    return table_.pendingBlockForWrite() + offset_;
}

bool TField::hasValue() const {
    if (textOrdinal_ >= 0) return !text().empty();
    return numberValue() != nullptr;
}

std::string_view TField::text() const {
    bool pending = false;
    const char* block = table_.activeBlock(pending);
    if (!block) return {};
    if (pending) return table_.pendingTextAt(textOrdinal_);
    return table_.storedText(block, textOrdinal_);
}

int32_t TField::storedInteger() const {
    int32_t v = 0;
    if (const char* p = numberValue()) std::memcpy(&v, p, sizeof v);
    return v;
}

double TField::storedFloat() const {
    double v = 0;
    if (const char* p = numberValue()) std::memcpy(&v, p, sizeof v);
    return v;
}

void TField::writeText(std::string_view value) {
    writableSlot();
    if (def_.Size >= 0 && value.size() > size_t(def_.Size)) value = value.substr(0, def_.Size);
    table_.pendingText(textOrdinal_).assign(value);
    table_.markModified();
}

void TField::writeInteger(int32_t value) {
    char* s = writableSlot();
    s[0] = 1;
    std::memcpy(s + 1, &value, sizeof value);
    table_.markModified();
}

void TField::writeFloat(double value) {
    char* s = writableSlot();
    s[0] = 1;
    std::memcpy(s + 1, &value, sizeof value);
    table_.markModified();
}

void TField::writeNull() {
    char* s = writableSlot();
    if (textOrdinal_ >= 0)
        table_.pendingText(textOrdinal_).clear();
    else
        s[0] = 0;
    table_.markModified();
}

bool TField::IsNull() const {
    return !hasValue();
}
void TField::Clear() {
    writeNull();
}
std::string TField::AsString() const {
    return hasValue() ? textOfValue() : std::string();
}
void TField::SetAsString(std::string_view text) {
    assignText(text);
}
Variant TField::AsVariant() const {
    return hasValue() ? variantOfValue() : Variant::null();
}

// Text fields.

std::string TStringField::textOfValue() const {
    return std::string(text());
}
void TStringField::assignText(std::string_view value) {
    writeText(value);
}
Variant TStringField::variantOfValue() const {
    return Variant(std::string(text()));
}

int32_t TStringField::AsInteger() const {
    if (!hasValue()) return 0;
    auto v = parseInteger(text());
    if (!v) throw DatabaseError("'" + std::string(text()) + ru("' - неверное целое значение"));
    return *v;
}

void TStringField::SetAsInteger(int32_t value) {
    writeText(std::to_string(value));
}

double TStringField::AsFloat() const {
    if (!hasValue()) return 0;
    auto v = parseFloat(text(), systemFormat().decimalSeparator);
    if (!v) throw DatabaseError("'" + std::string(text()) + ru("' - неверное дробное значение"));
    return *v;
}

void TStringField::SetAsFloat(double value) {
    writeText(formatGeneral(value, systemFormat().decimalSeparator));
}

void TStringField::SetAsDateTime(double days) {
    writeText(systemDateTimeText(days));
}

// Integer fields.

std::string TIntegerField::textOfValue() const {
    return std::to_string(storedInteger());
}
Variant TIntegerField::variantOfValue() const {
    return Variant(storedInteger());
}

void TIntegerField::assignText(std::string_view value) {
    if (value.empty()) return writeNull();
    auto v = parseInteger(value);
    if (!v) invalidInteger(value, FieldName());
    writeInteger(*v);
}

int32_t TIntegerField::AsInteger() const {
    return storedInteger();
}
void TIntegerField::SetAsInteger(int32_t value) {
    writeInteger(value);
}
double TIntegerField::AsFloat() const {
    return storedInteger();
}

void TIntegerField::SetAsFloat(double value) {
    auto v = roundToInteger(value);
    if (!v) invalidInteger(formatGeneral(value, systemFormat().decimalSeparator), FieldName());
    writeInteger(*v);
}

// Float fields.

std::string TFloatField::textOfValue() const {
    return formatGeneral(storedFloat(), systemFormat().decimalSeparator);
}
Variant TFloatField::variantOfValue() const {
    return Variant(storedFloat());
}

void TFloatField::assignText(std::string_view value) {
    if (value.empty()) return writeNull();
    auto v = parseFloat(value, systemFormat().decimalSeparator);
    if (!v) invalidFloat(value, FieldName());
    writeFloat(*v);
}

int32_t TFloatField::AsInteger() const {
    auto v = roundToInteger(storedFloat());
    if (!v) invalidInteger(AsString(), FieldName());
    return *v;
}

void TFloatField::SetAsInteger(int32_t value) {
    writeFloat(value);
}
double TFloatField::AsFloat() const {
    return storedFloat();
}
void TFloatField::SetAsFloat(double value) {
    writeFloat(value);
}

} // namespace pv
