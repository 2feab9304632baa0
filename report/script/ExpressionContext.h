#pragma once

#include "report/value/Variant.h"

#include <optional>
#include <string>
#include <string_view>

namespace pv {

class Ui;

// What expressions reach outside the variables lists. Report preparation
// implements these; every method has a harmless default so that a context
// provides only what it has. Names are compared without regard to letter case.

// A field read from a data source.
struct FieldRead {
    bool found = false; // the data source and its field exist
    bool isNull = false;
    // A null text field reads as empty text, a null boolean as false, any other null as 0.
    Variant value;
};

// The template dictionary and the data sources.
class DataContext {
public:
    virtual ~DataContext() = default;
    // The expression text of a dictionary variable, none when the name is not one.
    virtual std::optional<std::string> dictionaryVariable(std::string_view name) { return {}; }
    // Replaces a dictionary variable's stored value; false when the name is not one.
    virtual bool setDictionaryVariable(std::string_view name, const Variant& value) {
        return false;
    }
    // Translate display aliases back to data source and field names.
    virtual std::string sourceFromAlias(std::string_view alias) { return std::string(alias); }
    virtual std::string fieldFromAlias(std::string_view source, std::string_view alias) {
        return std::string(alias);
    }
    // A field of the named data source; an empty source means the current one.
    virtual FieldRead readField(std::string_view source, std::string_view field) { return {}; }
};

// Counters and positions of the preparation in progress.
class ReportState {
public:
    virtual ~ReportState() = default;
    // PAGE#, LINE#, LINETHROUGH#, COLUMN#, CURRENT#, TOTALPAGES, REPORTNAME …,
    // CALCWIDTH; none when unknown. DATE and TIME are the evaluator's own.
    virtual std::optional<Variant> systemVariable(std::string_view name) { return {}; }
    // CURY, FREESPACE, FINALPASS, PAGEHEIGHT, PAGEWIDTH.
    virtual std::optional<Variant> pageValue(std::string_view name) { return {}; }
    // Assignments of scripts to MODALRESULT, CURY and PROGRESS; false when the
    // name is not assignable here (MODALRESULT outside a dialog page).
    virtual bool assignSpecial(std::string_view name, const Variant& value) { return false; }
    // True during the collection pass for aggregates, when unknown names give empty values.
    virtual bool collectingAggregates() const { return false; }
};

// Template objects, addressed by name ("Memo1", "Page2").
class ObjectAccess {
public:
    virtual ~ObjectAccess() = default;
    virtual std::optional<Variant> readProperty(std::string_view object,
                                                std::string_view property) {
        return {};
    }
    virtual bool writeProperty(std::string_view object, std::string_view property,
                               const Variant& value) {
        return false;
    }
    // The argument texts are raw; a method evaluates them as it needs. None
    // when there is no such object.
    virtual std::optional<Variant> callMethod(std::string_view object, std::string_view method,
                                              const std::string& p1, const std::string& p2,
                                              const std::string& p3) {
        return {};
    }
};

// What scripts and aggregates ask of the preparation.
class PreparationActions {
public:
    virtual ~PreparationActions() = default;
    // SUM, AVG, MIN, MAX, COUNT with their raw argument texts; none when unknown.
    virtual std::optional<Variant> aggregate(std::string_view function, const std::string& p1,
                                             const std::string& p2, const std::string& p3) {
        return {};
    }
    virtual void stopReport() {}
    virtual void newPage() {}
    virtual void newColumn() {}
    virtual void showBand(std::string_view name) {}
};

// The pieces one evaluation sees; any may be missing.
struct ExpressionContext {
    DataContext* data = nullptr;
    ReportState* state = nullptr;
    ObjectAccess* objects = nullptr;
    PreparationActions* actions = nullptr;
    Ui* ui = nullptr;
};

} // namespace pv
