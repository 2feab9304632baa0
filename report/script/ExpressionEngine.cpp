#include "report/script/ExpressionEngine.h"

#include "platform/TextCase.h"
#include "report/script/BracketScan.h"
#include "report/value/Constants.h"
#include "report/script/DatabaseFunctionLibrary.h"
#include "report/value/DateTimeFormat.h"
#include "report/value/ExpressionError.h"
#include "report/data/FieldReference.h"
#include "report/script/StdFunctionLibrary.h"
#include "report/value/VariantMath.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>

namespace pv {
namespace {

// Splits "object.property" at its first dot.
bool splitObjectName(const std::string& name, std::string& object, std::string& property) {
    size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return false;
    object = name.substr(0, dot);
    property = name.substr(dot + 1);
    return true;
}

// Letters, digits, "_" and "." only.
bool plainName(const std::string& s) {
    for (char c : s) {
        auto b = static_cast<unsigned char>(c);
        if (!(std::isalnum(b) || b == '_' || b == '.' || b >= 0x80)) return false;
    }
    return true;
}

// Removes its name from the list of names being resolved, however the
// evaluation ends.
class ResolvingScope {
public:
    ResolvingScope(std::vector<std::string>& names, const std::string& name) : names_(names) {
        names_.push_back(name);
    }
    ~ResolvingScope() { names_.pop_back(); }

private:
    std::vector<std::string>& names_;
};

} // namespace

ExpressionEngine::ExpressionEngine(ExpressionContext context, TfrVariables& globals)
    : context_(context), globals_(globals), startTime_(currentDateTime()) {
    parser_.ResolveName = [this](const std::string& name) { return ResolveName(name); };
    parser_.CallFunction = [this](const std::string& name, const std::string& p1,
                                  const std::string& p2,
                                  const std::string& p3) { return CallFunction(name, p1, p2, p3); };
    addLibrary(std::make_unique<TfrStdFunctionLibrary>());
    addLibrary(std::make_unique<TDatabaseFunctionLibrary>());
}

void ExpressionEngine::addLibrary(std::unique_ptr<TfrFunctionLibrary> library) {
    libraries_.push_back(std::move(library));
}

FieldRead ExpressionEngine::ReadFieldReference(const std::string& reference) {
    if (!context_.data) return {};
    size_t dot = lastDotOutsideQuotes(reference);
    if (dot == std::string::npos) return context_.data->readField("", unquoteDouble(reference));
    std::string source = context_.data->sourceFromAlias(trim(reference.substr(0, dot)));
    std::string field =
        unquoteDouble(context_.data->fieldFromAlias(source, trim(reference.substr(dot + 1))));
    return context_.data->readField(source, field);
}

std::optional<Variant> ExpressionEngine::dictionaryOrField(const std::string& name) {
    if (!context_.data) return std::nullopt;
    if (auto expression = context_.data->dictionaryVariable(name)) {
        int i = globals_.IndexOf(name);
        if (i >= 0) return globals_.ValueAt(i);
        if (trim(*expression).empty()) return Variant(std::string());
        if (expression->find('.') != std::string::npos) {
            FieldRead field = ReadFieldReference(*expression);
            if (field.found) return field.value;
        }
        return EvaluateText(*expression);
    }
    FieldRead field = ReadFieldReference(name);
    if (field.found) return field.value;
    return std::nullopt;
}

std::optional<Variant> ExpressionEngine::systemVariable(const std::string& upperName) {
    if (upperName == "DATE") return Variant::dateTime(std::trunc(startTime_));
    if (upperName == "TIME") return Variant::dateTime(startTime_ - std::trunc(startTime_));
    if (context_.state) return context_.state->systemVariable(upperName);
    return std::nullopt;
}

Variant ExpressionEngine::ResolveName(const std::string& name) {
    if (auto v = dictionaryOrField(name)) return *v;
    if (user_.getValue)
        if (auto v = user_.getValue(name)) return *v;
    std::string upper = upper1251(name);
    if (upper == "VALUE") return lastValue_;
    if (auto v = systemVariable(upper)) return *v;
    int g = globals_.IndexOf(name);
    if (g >= 0) return globals_.ValueAt(g);
    if (context_.state)
        if (auto v = context_.state->pageValue(upper)) return *v;
    std::string object, property;
    if (context_.objects && splitObjectName(name, object, property))
        if (auto v = context_.objects->readProperty(object, property)) return *v;
    int c = frConstants().IndexOf(name);
    if (c >= 0) return frConstants().ValueAt(c);
    // Procedures without arguments are written without parentheses in scripts
    // ("NewPage;", "Memo1.Hide;").
    if (upper == "STOPREPORT" || upper == "NEWPAGE" || upper == "NEWCOLUMN")
        return *interpreterFunction(upper, "", "", "");
    if (context_.objects && splitObjectName(name, object, property) && plainName(property))
        if (auto v = context_.objects->callMethod(object, property, "", "", "")) return *v;

    for (const std::string& active : resolving_) {
        if (!equalsNoCase(active, name)) continue;
        if (context_.state && context_.state->collectingAggregates()) return Variant();
        throw ExpressionError(unknownNameMessage(active));
    }
    ResolvingScope scope(resolving_, name);
    return EvaluateText(name);
}

Variant ExpressionEngine::CallFunction(const std::string& name, const std::string& p1,
                                       const std::string& p2, const std::string& p3) {
    for (auto& library : libraries_) {
        int index = library->IndexOf(name);
        if (index >= 0) return library->DoFunction(index, p1, p2, p3, *this);
    }
    if (auto v = interpreterFunction(name, p1, p2, p3)) return *v;
    if (user_.userFunction)
        if (auto v = user_.userFunction(name, p1, p2, p3)) return *v;
    return Variant("0");
}

std::string ExpressionEngine::arrayName(const std::string& array, const std::string& index) {
    Variant i = EvaluateText(index);
    std::string text = i.isText() ? i.text() : std::to_string(i.toInt());
    return "Arr_" + trim(array) + "_" + text;
}

std::optional<Variant> ExpressionEngine::interpreterFunction(const std::string& name,
                                                             const std::string& p1,
                                                             const std::string& p2,
                                                             const std::string& p3) {
    PreparationActions* actions = context_.actions;
    if (name == "STOPREPORT") {
        if (actions) actions->stopReport();
        return Variant();
    }
    if (name == "NEWPAGE") {
        if (actions) actions->newPage();
        return Variant();
    }
    if (name == "NEWCOLUMN") {
        if (actions) actions->newColumn();
        return Variant();
    }
    if (name == "SHOWBAND") {
        if (actions) actions->showBand(trim(p1));
        return Variant();
    }
    if (name == "INC" || name == "DEC") {
        std::string target = trim(p1);
        Variant value = EvaluateText(target);
        Assign(target, name == "INC" ? variantAdd(value, Variant(int32_t(1)))
                                     : variantSub(value, Variant(int32_t(1))));
        return Variant();
    }
    if (name == "SETARRAY" || name == "GETARRAY") {
        std::string object, property;
        if (splitObjectName(trim(p1), object, property)) {
            if (!context_.objects) return Variant();
            std::string method = name == "SETARRAY" ? "SETINDEXPROPERTY" : "GETINDEXPROPERTY";
            return context_.objects->callMethod(object, method, property, p2, p3)
                .value_or(Variant());
        }
        std::string key = arrayName(p1, p2);
        if (name == "GETARRAY") return globals_.Value(key);
        globals_.SetValue(key, EvaluateText(p3));
        return Variant();
    }
    std::string object, method;
    if (context_.objects && splitObjectName(name, object, method))
        return context_.objects->callMethod(object, method, p1, p2, p3);
    return std::nullopt;
}

void ExpressionEngine::Assign(const std::string& name, const Variant& value) {
    int g = globals_.IndexOf(name);
    if (g >= 0) {
        globals_.SetValueAt(g, value);
        return;
    }
    if (context_.data && context_.data->setDictionaryVariable(name, value)) return;
    std::string upper = upper1251(name);
    if ((upper == "MODALRESULT" || upper == "CURY" || upper == "PROGRESS") && context_.state &&
        context_.state->assignSpecial(upper, value))
        return;
    std::string object, property;
    if (context_.objects && splitObjectName(name, object, property) &&
        context_.objects->writeProperty(object, property, value))
        return;
    globals_.SetValue(name, value);
}

} // namespace pv
