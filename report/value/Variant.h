#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace pv {

// A report value: empty (unassigned), null, 32-bit integer, double, boolean,
// date-time (days since 30 December 1899) or 1251 text.
class Variant {
public:
    enum class Kind { Empty, Null, Integer, Double, Boolean, DateTime, Text };

    struct DateTime {
        double days = 0;
        bool operator==(const DateTime&) const = default;
    };

    Variant() = default;
    Variant(int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(DateTime v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}

    static Variant null() {
        Variant v;
        v.value_ = NullTag{};
        return v;
    }
    static Variant dateTime(double days) { return Variant(DateTime{days}); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isText() const { return kind() == Kind::Text; }
    // Integer, double, boolean or date-time.
    bool isNumber() const;
    // Empty or null.
    bool isVoid() const { return isEmpty() || isNull(); }

    int32_t integer() const { return std::get<int32_t>(value_); }
    double real() const { return std::get<double>(value_); }
    bool boolean() const { return std::get<bool>(value_); }
    double days() const { return std::get<DateTime>(value_).days; }
    const std::string& text() const { return std::get<std::string>(value_); }

    // Conversions. Text converts to a number when it holds one written with the
    // system decimal separator (blanks around it allowed); otherwise the
    // conversions to numbers throw ExpressionError. Empty and null are 0 and "",
    // a boolean is 1 or 0, a date-time its day count.
    std::string toText() const;
    double toDouble() const;
    // Whole part toward zero; out of the 32-bit range throws ExpressionError.
    int32_t toInt() const;
    bool toBool() const;
    // A day count: numbers as they are, text read as a date and time in the system format.
    double toDateTime() const;
    // The number the value holds or converts to, or none.
    std::optional<double> asNumber() const;

    bool operator==(const Variant& other) const = default;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, int32_t, double, bool, DateTime, std::string> value_;
};

// Text to a number with the system decimal separator; none when it is not one.
std::optional<double> textToNumber(const std::string& text);

// A double as the engine prints it: up to 15 significant digits, no trailing
// zeros, the system decimal separator, an exponent ("1E20") only for very large
// or small values.
std::string doubleToText(double value);

} // namespace pv
