#pragma once

#include <cstdint>
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
    bool isNumber() const;

    int32_t integer() const { return std::get<int32_t>(value_); }
    double real() const { return std::get<double>(value_); }
    bool boolean() const { return std::get<bool>(value_); }
    double days() const { return std::get<DateTime>(value_).days; }
    const std::string& text() const { return std::get<std::string>(value_); }

    bool operator==(const Variant& other) const = default;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, int32_t, double, bool, DateTime, std::string> value_;
};

} // namespace pv
