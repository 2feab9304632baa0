#pragma once

#include "report/value/Variant.h"

#include <functional>
#include <string>
#include <vector>

namespace pv {

// The expression compiler and evaluator. Compile turns an expression into a
// postfix text that Evaluate runs; conditions are compiled once and evaluated
// many times. Names and functions the parser does not know itself go to the two
// hooks, which the report installs at the start of each preparation.
class TfrParser {
public:
    using NameHook = std::function<Variant(const std::string& name)>;
    using FunctionHook = std::function<Variant(const std::string& name, const std::string& p1,
                                               const std::string& p2, const std::string& p3)>;

    // Called with a bracketed name as written and any other name in upper case.
    // Without a hook every name is unknown.
    NameHook ResolveName;
    // Called with the function name in upper case and the raw argument texts.
    // Without a hook every function yields "0".
    FunctionHook CallFunction;

    // Throws ExpressionError for unbalanced parentheses or brackets.
    std::string Compile(const std::string& expression) const;
    // Throws ExpressionError when the expression is malformed or a value does
    // not convert.
    Variant Evaluate(const std::string& postfix);
    Variant EvaluateText(const std::string& expression);

    // The arguments of a function call: split at commas outside parentheses and
    // quotes, at most three kept. Unbalanced parentheses throw ExpressionError.
    static std::vector<std::string> SplitArguments(const std::string& arguments);

    // Evaluations nested deeper than this (functions whose arguments call
    // functions, names that expand to expressions) raise ExpressionError.
    static constexpr int kMaxDepth = 200;
    // Values an evaluation holds at once.
    static constexpr int kMaxStack = 32;

private:
    Variant evaluateOperand(const std::string& operand);
    Variant evaluateFunction(const std::string& call);

    int depth_ = 0;
};

// The message of an unknown name: "Переменная не определена: "NAME"" (1251).
std::string unknownNameMessage(const std::string& name);

} // namespace pv
