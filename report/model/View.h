#pragma once

#include "report/value/Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pv {

class ByteStream;
class TfrPage;
struct FrfContext;

// Texts of several lines (memo text, scripts), 1251.
using Lines = std::vector<std::string>;

// The object type codes stored in templates.
enum ObjectTypeCode : uint8_t {
    gtMemo = 0,
    gtPicture = 1,
    gtBand = 2,
    gtSubReport = 3,
    gtLine = 4,
    gtAddIn = 10,
};

// Option bits of `Flags` that every class shares.
constexpr uint16_t flStretched = 1;

// Frame sides (`FrameTyp` of memos, pictures and sub-reports).
constexpr uint16_t frftRight = 1, frftBottom = 2, frftLeft = 4, frftTop = 8;

enum class FrameStyle : uint16_t { Solid, Dash, Dot, DashDot, DashDotDot, Double };

// Placement of an object inside its band.
enum BandAlign : uint8_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baTop, baRest };

constexpr uint32_t clNone = 0x1FFFFFFF;
constexpr uint32_t clWhite = 0xFFFFFF;

// A 16-bit boolean as templates store it: nonzero is true. The value read is
// kept, so a file is written back with the bytes it had.
using WordBool = int16_t;
constexpr WordBool kTrue = 1;

// The base of everything a template holds (pages and views).
class TfrObject {
public:
    virtual ~TfrObject() = default;

    // Object properties as expressions and scripts address them; names compare
    // without regard to case. No value: the object has no such property.
    virtual std::optional<Variant> ReadProperty(std::string_view name) const = 0;
    // False when the object has no such property.
    virtual bool WriteProperty(std::string_view name, const Variant& value) = 0;
    // Arguments are already evaluated. No value: no such method.
    virtual std::optional<Variant> CallMethod(std::string_view name, const Variant& p1,
                                              const Variant& p2, const Variant& p3);
};

// A positioned object of a page.
class TfrView : public TfrObject {
public:
    TfrView();

    virtual uint8_t typeCode() const = 0;
    // Prefix of the names given to unnamed objects ("Memo" gives Memo1, Memo2 …).
    virtual const char* namePrefix() const = 0;
    // The class name stored after type code 10.
    virtual std::string className() const { return {}; }
    virtual std::unique_ptr<TfrView> clone() const = 0;

    // Reads and writes the class fields that follow the common ones.
    virtual void readClassFields(ByteStream& s, const FrfContext& ctx) {}
    virtual void writeClassFields(ByteStream& s) const {}
    // The class fields of the view's record on a prepared page: the template
    // form unless the class says otherwise.
    virtual void readPreparedClassFields(ByteStream& s);
    virtual void writePreparedClassFields(ByteStream& s) const { writeClassFields(s); }
    // Called once the whole template is read.
    virtual void Loaded() {}

    std::optional<Variant> ReadProperty(std::string_view name) const override;
    bool WriteProperty(std::string_view name, const Variant& value) override;
    std::optional<Variant> CallMethod(std::string_view name, const Variant& p1, const Variant& p2,
                                      const Variant& p3) override;

    bool flag(uint16_t bit) const { return (Flags & bit) != 0; }
    void setFlag(uint16_t bit, bool on) { Flags = on ? (Flags | bit) : (Flags & ~bit); }
    // A running number given to each object as it is created; not stored.
    int id() const { return id_.value(); }

    std::string Name;
    uint8_t ObjectVersion = 0;
    uint8_t ObjectSubVersion = 0;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint16_t Flags = flStretched;
    uint16_t FrameTyp = 0;
    float FrameWidth = 1;
    uint32_t FrameColor = 0;
    uint16_t FrameStyle = 0;
    uint32_t FillColor = clNone;
    int32_t Format = 0;
    std::string FormatStr;
    Lines Memo;
    Lines Script;
    WordBool Visible = kTrue;
    uint16_t Restrictions = 0;
    std::string Tag;
    int32_t GapX = 2, GapY = 1;
    uint8_t BandAlign = baNone;

protected:
    TfrView(const TfrView&);
    TfrView& operator=(const TfrView&) = default;
    // Options named after `Flags` bits, per class.
    struct FlagName {
        const char* name;
        uint16_t bit;
    };
    virtual std::vector<FlagName> flagNames() const { return {{"Stretched", flStretched}}; }

private:
    // Each object, copies included, draws the next number.
    class Number {
    public:
        Number();
        Number(const Number&) : Number() {}
        Number& operator=(const Number&) { return *this; }
        int value() const { return value_; }

    private:
        int value_;
    };
    Number id_;
};

// The base of views whose height may grow with their content.
class TfrStretcheable : public TfrView {
protected:
    using TfrView::TfrView;
};

// Dialog-form controls. No control class is registered in this program: a
// template holding one is read up to it and then refused, or skipped by its
// end offset when a class is registered.
class TfrControl : public TfrView {
public:
    uint8_t typeCode() const override { return gtAddIn; }
    const char* namePrefix() const override { return "View"; }
};

class TfrNonVisualControl : public TfrControl {};

// The decimal-separator part of the default display format of a new view.
int32_t defaultViewFormat();

} // namespace pv
