#include "report/script/ScriptInterpreter.h"

#include "platform/TextCase.h"
#include "report/script/ExpressionEngine.h"
#include "report/value/ExpressionError.h"

#include <map>

namespace pv {
namespace {

using Op = ScriptInstruction::Op;

bool identifierChar(char c) {
    auto b = static_cast<unsigned char>(c);
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' ||
           b == '#' || b == '.' || b >= 0x80;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where compilation stopped: the position and the message.
struct SyntaxError {
    size_t at;
    std::string message;
};

const char* const kNeedSemicolonOrEnd = "Need \";\" or \"end\" here";
const char* const kNeedThen = "Need \"then\" here";
const char* const kNeedSemicolonOrUntil = "Need \";\" or \"until\" here";
const char* const kNeedDo = "Need \"do\" here";
const char* const kNeedTo = "Need \"to\" here";
const char* const kGotoNumber = "\"goto\" label must be a number";
const char* const kNeedAssign = "Need \":=\" here";
const char* const kNeedParen = "Need \")\" here";
const char* const kNeedBracket = "Need \"]\" here";

constexpr int kMaxNesting = 200;

class ScriptCompiler {
public:
    explicit ScriptCompiler(const std::string& text) : s_(text) {}

    CompiledScript run() {
        CompiledScript out;
        try {
            statementList(kNeedSemicolonOrEnd);
            skipBlanks();
            if (i_ < s_.size()) fail(kNeedSemicolonOrEnd);
            resolveGotos();
        } catch (const SyntaxError& e) {
            out.errors.push_back(position(e.at) + ": " + e.message);
        }
        // Jumps left open by an interrupted statement lead to the end.
        for (auto& ins : code_)
            if ((ins.op == Op::Jump || ins.op == Op::JumpIfZero) &&
                (ins.jumpTo < 0 || ins.jumpTo > static_cast<int>(code_.size())))
                ins.jumpTo = static_cast<int>(code_.size());
        out.code = std::move(code_);
        return out;
    }

private:
    [[noreturn]] void fail(const std::string& message) { throw SyntaxError{i_, message}; }

    std::string position(size_t at) const {
        // The end of the text is reported at the end of its last line.
        if (at >= s_.size() && !s_.empty() && s_.back() == '\r') at = s_.size() - 1;
        int line = 1;
        size_t lineStart = 0;
        for (size_t k = 0; k < at && k < s_.size(); ++k)
            if (s_[k] == '\r') ++line, lineStart = k + 1;
        return "Line " + std::to_string(line) + "/" + std::to_string(at - lineStart + 1);
    }

    void skipBlanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\r' || s_[i_] == '\n'))
            ++i_;
    }

    // The upper-case word at the position (letters, digits, "_"), empty when none.
    std::string peekWord() const {
        size_t k = i_;
        while (k < s_.size() && identifierChar(s_[k]) && s_[k] != '.' && s_[k] != '#')
            ++k;
        if (k < s_.size() && (s_[k] == '.' || s_[k] == '#')) return {};
        return upper1251(std::string_view(s_).substr(i_, k - i_));
    }

    bool atWord(const char* word) const { return peekWord() == word; }

    void expectWord(const char* word, const char* message) {
        skipBlanks();
        if (!atWord(word)) fail(message);
        i_ += std::char_traits<char>::length(word);
    }

    static bool stopWord(const std::string& w) {
        return w == "THEN" || w == "DO" || w == "TO" || w == "ELSE" || w == "END" || w == "UNTIL" ||
               w == "BEGIN";
    }

    // The text of an expression, up to ";", ":=", a keyword that ends it, or an
    // unmatched ")" or "]".
    std::string expressionText() {
        skipBlanks();
        size_t start = i_;
        int parens = 0, brackets = 0;
        bool single = false, dbl = false;
        for (; i_ < s_.size(); ++i_) {
            char c = s_[i_];
            if (c == '\'' && !dbl) {
                single = !single;
                continue;
            }
            if (c == '"' && !single) {
                dbl = !dbl;
                continue;
            }
            if (single || dbl) continue;
            if (c == '(' || c == '[') {
                (c == '(' ? parens : brackets)++;
                continue;
            }
            if (c == ')' || c == ']') {
                int& depth = c == ')' ? parens : brackets;
                if (depth == 0) break;
                --depth;
                continue;
            }
            if (parens || brackets) continue;
            if (c == ';') break;
            if (c == ':' && i_ + 1 < s_.size() && s_[i_ + 1] == '=') break;
            bool wordStart = (i_ == start || !identifierChar(s_[i_ - 1])) && identifierChar(c);
            if (wordStart && stopWord(peekWord())) break;
        }
        if (single || dbl) {
            i_ = start;
            fail("Unterminated text");
        }
        if (parens || brackets) fail(parens ? kNeedParen : kNeedBracket);
        return s_.substr(start, i_ - start);
    }

    std::string compile(const std::string& expression, size_t at) {
        try {
            return parser_.Compile(expression);
        } catch (const ExpressionError& e) {
            throw SyntaxError{at, e.text()};
        }
    }

    int emit(Op op, std::string postfix = {}, std::string target = {}) {
        ScriptInstruction ins;
        ins.op = op;
        ins.postfix = std::move(postfix);
        ins.target = std::move(target);
        code_.push_back(std::move(ins));
        return static_cast<int>(code_.size()) - 1;
    }

    int here() const { return static_cast<int>(code_.size()); }

    // Statements separated by ";", up to the end of the text or a word that ends
    // the list. A statement followed by anything else is dropped, and the error
    // says what was missing.
    void statementList(const char* missing) {
        while (true) {
            size_t start = code_.size();
            statement();
            skipBlanks();
            if (i_ >= s_.size()) return;
            if (s_[i_] == ';') {
                ++i_;
                continue;
            }
            std::string word = peekWord();
            if (word == "END" || word == "UNTIL" || word == "ELSE") return;
            code_.resize(start);
            fail(missing);
        }
    }

    void statement() {
        if (++nesting_ > kMaxNesting) fail("Statements nested too deeply");
        statementBody();
        --nesting_;
    }

    void statementBody() {
        skipBlanks();
        if (i_ >= s_.size() || s_[i_] == ';') return;
        std::string word = peekWord();
        if (word == "END" || word == "UNTIL" || word == "ELSE") return;
        if (isDigit(s_[i_]) && label()) return;
        if (word == "BEGIN") {
            i_ += 5;
            statementList(kNeedSemicolonOrEnd);
            expectWord("END", kNeedSemicolonOrEnd);
        } else if (word == "IF") {
            ifStatement();
        } else if (word == "WHILE") {
            i_ += 5;
            int start = here();
            size_t at = i_;
            std::string cond = compile(expressionText(), at);
            expectWord("DO", kNeedDo);
            int exit = emit(Op::JumpIfZero, cond);
            statement();
            code_[emit(Op::Jump)].jumpTo = start;
            code_[exit].jumpTo = here();
        } else if (word == "REPEAT") {
            i_ += 6;
            int start = here();
            statementList(kNeedSemicolonOrUntil);
            expectWord("UNTIL", kNeedSemicolonOrUntil);
            size_t at = i_;
            std::string cond = compile(expressionText(), at);
            code_[emit(Op::JumpIfZero, cond)].jumpTo = start;
        } else if (word == "FOR") {
            forStatement();
        } else if (word == "GOTO") {
            i_ += 4;
            skipBlanks();
            size_t start = i_;
            while (i_ < s_.size() && isDigit(s_[i_]))
                ++i_;
            if (i_ == start || (i_ < s_.size() && identifierChar(s_[i_]))) {
                i_ = start;
                fail(kGotoNumber);
            }
            gotos_.push_back({emit(Op::Jump), s_.substr(start, i_ - start), start});
        } else {
            simpleStatement();
        }
    }

    // "n:" before a statement; false (and nothing consumed) when it is not one.
    bool label() {
        size_t start = i_;
        while (i_ < s_.size() && isDigit(s_[i_]))
            ++i_;
        std::string number = s_.substr(start, i_ - start);
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == ':' && (i_ + 1 >= s_.size() || s_[i_ + 1] != '=')) {
            ++i_;
            labels_[trimZeros(number)] = here();
            statement();
            return true;
        }
        i_ = start;
        return false;
    }

    static std::string trimZeros(const std::string& n) {
        size_t k = 0;
        while (k + 1 < n.size() && n[k] == '0')
            ++k;
        return n.substr(k);
    }

    void ifStatement() {
        i_ += 2;
        size_t at = i_;
        std::string cond = compile(expressionText(), at);
        expectWord("THEN", kNeedThen);
        int skipThen = emit(Op::JumpIfZero, cond);
        statement();
        skipBlanks();
        if (atWord("ELSE")) {
            i_ += 4;
            int skipElse = emit(Op::Jump);
            code_[skipThen].jumpTo = here();
            statement();
            code_[skipElse].jumpTo = here();
        } else {
            code_[skipThen].jumpTo = here();
        }
    }

    void forStatement() {
        i_ += 3;
        skipBlanks();
        size_t start = i_;
        while (i_ < s_.size() && identifierChar(s_[i_]))
            ++i_;
        std::string variable = s_.substr(start, i_ - start);
        skipBlanks();
        if (variable.empty() || s_.compare(i_, 2, ":=") != 0) fail(kNeedAssign);
        i_ += 2;
        size_t at = i_;
        std::string first = compile(expressionText(), at);
        expectWord("TO", kNeedTo);
        at = i_;
        std::string bound = expressionText();
        compile(bound, at);
        expectWord("DO", kNeedDo);
        emit(Op::Assign, first, variable);
        int loop = here();
        int exit = emit(Op::JumpIfZero, compile(variable + " <= (" + bound + ")", at));
        statement();
        emit(Op::Assign, compile(variable + " + 1", start), variable);
        code_[emit(Op::Jump)].jumpTo = loop;
        code_[exit].jumpTo = here();
    }

    void simpleStatement() {
        size_t start = i_;
        while (i_ < s_.size() && (identifierChar(s_[i_]) || s_[i_] == '"')) {
            if (s_[i_] == '"') {
                size_t close = s_.find('"', i_ + 1);
                if (close == std::string::npos) break;
                i_ = close;
            }
            ++i_;
        }
        std::string target = s_.substr(start, i_ - start);
        std::string index;
        bool indexed = false;
        skipBlanks();
        if (!target.empty() && i_ < s_.size() && s_[i_] == '[') {
            size_t open = i_;
            int depth = 0;
            bool single = false;
            for (; i_ < s_.size(); ++i_) {
                if (s_[i_] == '\'') single = !single;
                if (single) continue;
                if (s_[i_] == '[') ++depth;
                if (s_[i_] == ']' && --depth == 0) break;
            }
            if (i_ >= s_.size()) fail(kNeedBracket);
            index = s_.substr(open + 1, i_ - open - 1);
            ++i_;
            indexed = true;
            skipBlanks();
        }
        if (!target.empty() && s_.compare(i_, 2, ":=") == 0) {
            i_ += 2;
            size_t at = i_;
            std::string value = expressionText();
            if (indexed)
                emit(Op::Evaluate,
                     compile("SETARRAY(" + target + ", " + index + ", " + value + ")", at));
            else
                emit(Op::Assign, compile(value, at), target);
            return;
        }
        i_ = start;
        size_t at = i_;
        std::string expression = expressionText();
        int k = emit(Op::Evaluate, compile(expression, at));
        std::string head = upper1251(trim(expression));
        if (head == "EXIT" ||
            (head.rfind("EXIT", 0) == 0 && trim(head.substr(4)).rfind("(", 0) == 0))
            code_[k].exits = true;
    }

    void resolveGotos() {
        for (const auto& g : gotos_) {
            auto it = labels_.find(trimZeros(g.label));
            if (it == labels_.end()) {
                i_ = g.at;
                fail("Label " + g.label + " is not defined");
            }
            code_[g.instruction].jumpTo = it->second;
        }
    }

    struct Goto {
        int instruction;
        std::string label;
        size_t at;
    };

    const std::string& s_;
    size_t i_ = 0;
    int nesting_ = 0;
    TfrParser parser_;
    std::vector<ScriptInstruction> code_;
    std::map<std::string, int> labels_;
    std::vector<Goto> gotos_;
};

bool isZero(const Variant& v) {
    if (v.kind() == Variant::Kind::Boolean) return !v.boolean();
    return v.toDouble() == 0;
}

} // namespace

std::string prepareScriptText(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& line : lines) {
        s += line;
        s += '\r';
    }
    for (char& c : s)
        if (c == '\t') c = ' ';
    char quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '{') {
            for (; i < s.size() && s[i] != '}'; ++i)
                if (s[i] != '\r') s[i] = ' ';
            if (i < s.size()) s[i] = ' ';
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            for (; i < s.size() && s[i] != '\r'; ++i)
                s[i] = ' ';
        }
        if (quote && c == '\r') quote = 0; // quoted text does not run past its line
    }
    return s;
}

CompiledScript TfrInterpretator::CompileScript(const std::vector<std::string>& lines) const {
    std::string text = prepareScriptText(lines);
    if (text.size() > kMaxScriptLength) {
        CompiledScript refused;
        refused.errors.push_back("Line 1/1: Script is longer than " +
                                 std::to_string(kMaxScriptLength) + " characters");
        return refused;
    }
    return ScriptCompiler(text).run();
}

void TfrInterpretator::RunScript(const CompiledScript& script, long maxSteps) {
    TfrParser& parser = engine_.parser();
    const auto& code = script.code;
    long steps = 0;
    size_t pc = 0;
    while (pc < code.size()) {
        if (maxSteps > 0 && ++steps > maxSteps)
            throw ScriptStepLimitError("Script stopped after " + std::to_string(maxSteps) +
                                       " steps");
        const ScriptInstruction& ins = code[pc];
        switch (ins.op) {
        case Op::Jump:
            pc = static_cast<size_t>(ins.jumpTo);
            continue;
        case Op::JumpIfZero:
            pc = isZero(parser.Evaluate(ins.postfix)) ? static_cast<size_t>(ins.jumpTo) : pc + 1;
            continue;
        case Op::Evaluate:
            if (ins.exits) return;
            parser.Evaluate(ins.postfix);
            break;
        case Op::Assign:
            engine_.Assign(ins.target, parser.Evaluate(ins.postfix));
            break;
        }
        ++pc;
    }
}

} // namespace pv
