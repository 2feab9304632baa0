#pragma once

#include "report/script/ExpressionContext.h"
#include "report/script/FunctionLibrary.h"
#include "report/script/ExpressionParser.h"
#include "report/value/Variables.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pv {

// The report's side of expressions: installs its name resolution and function
// dispatch as the parser's hooks, and carries what they consult (the variables
// lists, the template dictionary and data, the preparation's counters, the
// template objects, the function libraries).
//
// Names resolve in this order: a dictionary variable or data field, VALUE, the
// system variables, a global variable, the page values, an object property, a
// constant, and finally the name evaluated as an expression. Functions go to the
// libraries in the order they were added (the standard one, then the database
// one), then to the interpreter functions; nobody's function yields "0".
class ExpressionEngine {
public:
    // What a program using the engine adds: a value for a name the dictionary
    // and the data sources do not know (asked before the engine's own names),
    // and functions nobody else knows. Either answers none to pass.
    struct UserHandlers {
        std::function<std::optional<Variant>(const std::string& name)> getValue;
        std::function<std::optional<Variant>(const std::string& name, const std::string& p1,
                                             const std::string& p2, const std::string& p3)>
            userFunction;
    };

    explicit ExpressionEngine(ExpressionContext context = {},
                              TfrVariables& globals = frVariables());
    ExpressionEngine(const ExpressionEngine&) = delete;
    ExpressionEngine& operator=(const ExpressionEngine&) = delete;

    TfrParser& parser() { return parser_; }
    const ExpressionContext& context() const { return context_; }
    void setContext(ExpressionContext context) { context_ = context; }
    TfrVariables& globals() { return globals_; }
    void addLibrary(std::unique_ptr<TfrFunctionLibrary> library);
    void setUserHandlers(UserHandlers handlers) { user_ = std::move(handlers); }

    Variant EvaluateText(const std::string& expression) { return parser_.EvaluateText(expression); }
    Variant ResolveName(const std::string& name);
    Variant CallFunction(const std::string& name, const std::string& p1, const std::string& p2,
                         const std::string& p3);

    // A script's assignment: an existing global variable, a dictionary
    // variable, MODALRESULT, CURY or PROGRESS, an object property, or else a new
    // global variable.
    void Assign(const std::string& name, const Variant& value);

    // A field reference "source.field" (aliases translated back, the field's
    // double quotes removed) or a field of the current data source.
    FieldRead ReadFieldReference(const std::string& reference);

    // DATE and TIME: the moment the preparation started.
    void setStartTime(double days) { startTime_ = days; }
    // VALUE: the value most recently expanded in the current text box.
    void setLastValue(Variant value) { lastValue_ = std::move(value); }

private:
    std::optional<Variant> dictionaryOrField(const std::string& name);
    std::optional<Variant> systemVariable(const std::string& upperName);
    std::optional<Variant> interpreterFunction(const std::string& name, const std::string& p1,
                                               const std::string& p2, const std::string& p3);
    std::string arrayName(const std::string& array, const std::string& index);

    ExpressionContext context_;
    TfrVariables& globals_;
    TfrParser parser_;
    std::vector<std::unique_ptr<TfrFunctionLibrary>> libraries_;
    UserHandlers user_;
    std::vector<std::string> resolving_;
    Variant lastValue_;
    double startTime_ = 0;
};

} // namespace pv
