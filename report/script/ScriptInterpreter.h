#pragma once

#include <string>
#include <vector>

namespace pv {

class ExpressionEngine;

// One instruction of a compiled script; expressions are kept in postfix form.
struct ScriptInstruction {
    enum class Op { JumpIfZero, Jump, Evaluate, Assign };
    Op op = Op::Evaluate;
    std::string postfix;
    std::string target; // Assign: the name assigned to
    int jumpTo = -1;    // Jump, JumpIfZero
    bool exits = false; // Evaluate of EXIT(…): ends the script
};

struct CompiledScript {
    std::vector<ScriptInstruction> code;
    // "Line L/C: message"; compilation stops at the first, keeping the
    // statements compiled before it.
    std::vector<std::string> errors;
};

// The script compiler and runner. Statements: BEGIN … END, IF … THEN … [ELSE …],
// WHILE … DO …, REPEAT … UNTIL …, FOR v := a TO b DO … (the bound evaluated again
// before each round), GOTO n with "n:" labels, v := e, v[i] := e (stored through
// SETARRAY) and expressions evaluated for their effect. Comments in braces and
// from "//" to the end of the line.
class TfrInterpretator {
public:
    explicit TfrInterpretator(ExpressionEngine& engine) : engine_(engine) {}

    // Longer scripts are refused with an error.
    static constexpr size_t kMaxScriptLength = 32000;

    CompiledScript CompileScript(const std::vector<std::string>& lines) const;
    // Runs until the end or EXIT. With maxSteps above 0, a run that executes
    // more instructions throws ScriptStepLimitError.
    void RunScript(const CompiledScript& script, long maxSteps = 0);

private:
    ExpressionEngine& engine_;
};

// The script text as compiled: the lines joined with a carriage return after
// each, tabs as blanks, comments replaced by blanks (so positions stay).
std::string prepareScriptText(const std::vector<std::string>& lines);

} // namespace pv
