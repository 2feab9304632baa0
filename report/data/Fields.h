#pragma once

#include "report/value/Variant.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pv {

class TRxMemoryData;

// Memo and blob fields hold text or bytes of any length; a whole-field
// object takes a text box's lines or a picture's image from them.
enum class TFieldType { ftString, ftInteger, ftFloat, ftMemo, ftBlob };

// One column of a memory table: its name, type and (for text) the largest
// number of characters it keeps.
struct FieldDef {
    std::string Name;
    TFieldType DataType = TFieldType::ftString;
    int Size = 0;
};

// A field of an open memory table. It reads and writes the table's active
// record: the pending record while inserting or editing, the record under test
// while the filter runs, the current record otherwise (none: the field is null).
// Assignments convert the value to the field's type; a failed one raises a
// DatabaseError and leaves the old value.
class TField {
public:
    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const { return def_.Name; }
    TFieldType DataType() const { return def_.DataType; }
    int Size() const { return def_.Size; }
    int Index() const { return index_; }
    TRxMemoryData& DataSet() const { return table_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }

    bool IsNull() const;
    void Clear();

    std::string AsString() const;
    void SetAsString(std::string_view text);
    virtual int32_t AsInteger() const = 0;
    virtual void SetAsInteger(int32_t value) = 0;
    virtual double AsFloat() const = 0;
    virtual void SetAsFloat(double value) = 0;
    Variant AsVariant() const;

protected:
    TField(TRxMemoryData& table, FieldDef def, int index, size_t offset, int textOrdinal);

    // The value of the active record; null when it has none.
    bool hasValue() const;
    std::string_view text() const;
    int32_t storedInteger() const;
    double storedFloat() const;
    // Writing: each checks that the table accepts a value first.
    void writeText(std::string_view value);
    void writeInteger(int32_t value);
    void writeFloat(double value);
    void writeNull();

    virtual std::string textOfValue() const = 0;
    virtual void assignText(std::string_view text) = 0;
    virtual Variant variantOfValue() const = 0;

private:
    friend class TRxMemoryData;
    // The value bytes of a number in the active record; null when it has none.
    const char* numberValue() const;
    char* writableSlot();

    TRxMemoryData& table_;
    FieldDef def_;
    int index_;
    size_t offset_;          // of the value in the record's fixed block
    int textOrdinal_;        // among the text fields, -1 for numbers
    int numberOrdinal_ = -1; // among the number fields, -1 for texts
    bool readOnly_ = false;
};

class TStringField : public TField {
public:
    TStringField(TRxMemoryData& table, FieldDef def, int index, size_t offset, int textOrdinal)
        : TField(table, std::move(def), index, offset, textOrdinal) {}
    int32_t AsInteger() const override;
    void SetAsInteger(int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;
    // The date in the system short date format, then a blank and the time in
    // the long time format when the time of day is not zero.
    void SetAsDateTime(double days);

protected:
    std::string textOfValue() const override;
    void assignText(std::string_view text) override;
    Variant variantOfValue() const override;
};

class TIntegerField : public TField {
public:
    TIntegerField(TRxMemoryData& table, FieldDef def, int index, size_t offset)
        : TField(table, std::move(def), index, offset, -1) {}
    int32_t AsInteger() const override;
    void SetAsInteger(int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;

protected:
    std::string textOfValue() const override;
    void assignText(std::string_view text) override;
    Variant variantOfValue() const override;
};

class TFloatField : public TField {
public:
    TFloatField(TRxMemoryData& table, FieldDef def, int index, size_t offset)
        : TField(table, std::move(def), index, offset, -1) {}
    int32_t AsInteger() const override;
    void SetAsInteger(int32_t value) override;
    double AsFloat() const override;
    void SetAsFloat(double value) override;

protected:
    std::string textOfValue() const override;
    void assignText(std::string_view text) override;
    Variant variantOfValue() const override;
};

} // namespace pv
