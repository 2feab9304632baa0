#include "report/script/ExpressionParser.h"

#include "platform/CodePage.h"
#include "platform/TextCase.h"
#include "report/script/BracketScan.h"
#include "report/value/DateTimeFormat.h"
#include "report/value/ExpressionError.h"
#include "report/value/VariantMath.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace pv {
namespace {

// Postfix text: operators are 'o' and their one-character code, operands 'v',
// the operand's length, ':' and its text (operands may hold any byte).
constexpr char kOperatorTag = 'o';
constexpr char kOperandTag = 'v';

// Codes of the operators that are not written as one character.
constexpr char kNotEqual = 3, kGreaterEqual = 1, kLessEqual = 2;
constexpr char kOr = 4, kAnd = 5, kInt = 6, kFrac = 7, kNeg = 9, kPlus = 10, kStr = 11, kNot = 12,
               kMod = 13, kRound = 14;
constexpr char kOpenParen = '(';

int priority(char code) {
    switch (code) {
    case kInt:
    case kFrac:
    case kRound:
    case kStr:
        return 0;
    case '*':
    case '/':
    case kMod:
    case kAnd:
    case kOr:
    case kNot:
        return 1;
    case '+':
    case '-':
    case kNeg:
    case kPlus:
        return 2;
    case kOpenParen:
        return 5;
    default:
        return 3;
    }
}

// Operators that stand before their one operand.
bool isPrefix(char code) {
    return code == kNeg || code == kPlus || code == kNot || code == kInt || code == kFrac ||
           code == kRound || code == kStr;
}

int wordOperator(const std::string& word) {
    static const struct {
        const char* word;
        char code;
    } words[] = {{"INT", kInt}, {"FRAC", kFrac}, {"ROUND", kRound}, {"OR", kOr},
                 {"AND", kAnd}, {"NOT", kNot},   {"STR", kStr},     {"MOD", kMod}};
    for (const auto& w : words)
        if (equalsNoCase(word, w.word)) return w.code;
    return -1;
}

bool isDelimiter(char c) {
    return std::strchr("\r\n\t ()*+-/<=>[;", c) != nullptr && c != '\0';
}

bool isBlank(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

void emitOperand(std::string& out, const std::string& text) {
    out += kOperandTag;
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

void emitOperator(std::string& out, char code) {
    out += kOperatorTag;
    out += code;
}

std::string shown(const std::string& s) {
    return s.size() > 60 ? s.substr(0, 60) + "..." : s;
}

[[noreturn]] void unbalanced(const std::string& expression) {
    throw ExpressionError("Unbalanced parentheses or brackets in \"" + shown(expression) + "\"");
}

class Compiler {
public:
    explicit Compiler(const std::string& s) : s_(s) {}

    std::string run() {
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (isBlank(c)) {
                ++i_;
            } else if (c == ';') {
                break;
            } else if (c == '(') {
                stack_.push_back(kOpenParen);
                afterOperand_ = false;
                ++i_;
            } else if (c == ')') {
                closeParen();
                ++i_;
            } else if (std::strchr("*+-/<=>", c)) {
                pushOperator(scanOperator());
            } else {
                scanOperand();
            }
        }
        while (!stack_.empty()) {
            if (stack_.back() == kOpenParen) unbalanced(s_);
            emitOperator(out_, stack_.back());
            stack_.pop_back();
        }
        return out_;
    }

private:
    void closeParen() {
        while (!stack_.empty() && stack_.back() != kOpenParen) {
            emitOperator(out_, stack_.back());
            stack_.pop_back();
        }
        if (stack_.empty()) unbalanced(s_);
        stack_.pop_back();
        afterOperand_ = true;
    }

    char scanOperator() {
        char c = s_[i_++];
        char next = i_ < s_.size() ? s_[i_] : '\0';
        if (c == '<' && next == '>') return ++i_, kNotEqual;
        if (c == '>' && next == '=') return ++i_, kGreaterEqual;
        if (c == '<' && next == '=') return ++i_, kLessEqual;
        if (!afterOperand_ && c == '-') return kNeg;
        if (!afterOperand_ && c == '+') return kPlus;
        return c;
    }

    // A prefix operator has no left operand, so nothing on the stack can be
    // complete yet: it is always pushed. The others follow the priorities.
    void pushOperator(char code) {
        if (!isPrefix(code)) {
            while (!stack_.empty() && stack_.back() != kOpenParen &&
                   priority(stack_.back()) <= priority(code)) {
                emitOperator(out_, stack_.back());
                stack_.pop_back();
            }
        }
        stack_.push_back(code);
        afterOperand_ = false;
    }

    void scanOperand() {
        std::string prefix;
        if (s_[i_] == '%' && i_ + 1 < s_.size()) {
            prefix = s_.substr(i_, 2);
            i_ += 2;
            if (i_ >= s_.size()) {
                emitOperand(out_, prefix);
                afterOperand_ = true;
                return;
            }
        }
        char c = s_[i_];
        std::string operand;
        if (c == '\'') {
            operand = scanQuoted();
        } else if (c == '[') {
            operand = scanBracketed();
        } else {
            operand = scanIdentifier();
            if (prefix.empty()) {
                int word = wordOperator(operand);
                if (word >= 0) {
                    pushOperator(static_cast<char>(word));
                    return;
                }
            }
            if (i_ < s_.size() && s_[i_] == '(' && !operand.empty()) {
                size_t close = findClosing(s_, i_, '(', ')');
                if (close == std::string::npos) unbalanced(s_);
                operand += s_.substr(i_, close + 1 - i_);
                i_ = close + 1;
            } else if (i_ < s_.size() && s_[i_] == '[') {
                operand += scanBracketed();
            }
            if (operand.empty() && prefix.empty()) operand = s_[i_++]; // a stray delimiter
        }
        emitOperand(out_, prefix + operand);
        afterOperand_ = true;
    }

    std::string scanQuoted() {
        size_t start = i_++;
        while (i_ < s_.size()) {
            if (s_[i_] == '\'') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                    i_ += 2;
                    continue;
                }
                ++i_;
                return s_.substr(start, i_ - start);
            }
            ++i_;
        }
        throw ExpressionError("Unterminated text in \"" + shown(s_) + "\"");
    }

    std::string scanBracketed() {
        size_t close = findClosing(s_, i_, '[', ']');
        if (close == std::string::npos) unbalanced(s_);
        std::string out = s_.substr(i_, close + 1 - i_);
        i_ = close + 1;
        return out;
    }

    std::string scanIdentifier() {
        size_t start = i_;
        bool quoted = false;
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == '"') quoted = !quoted;
            if (!quoted && isDelimiter(c)) break;
            ++i_;
        }
        return s_.substr(start, i_ - start);
    }

    const std::string& s_;
    size_t i_ = 0;
    std::string out_;
    std::string stack_;
    bool afterOperand_ = false;
};

struct Token {
    bool isOperator;
    char code;
    std::string text;
};

// Reads the next token of a postfix text; false at its end.
bool nextToken(const std::string& postfix, size_t& at, Token& token) {
    if (at >= postfix.size()) return false;
    char tag = postfix[at];
    if (tag == kOperatorTag && at + 1 < postfix.size()) {
        token = {true, postfix[at + 1], {}};
        at += 2;
        return true;
    }
    if (tag != kOperandTag) throw ExpressionError("Malformed compiled expression");
    size_t colon = postfix.find(':', at);
    if (colon == std::string::npos) throw ExpressionError("Malformed compiled expression");
    size_t length = 0;
    auto res = std::from_chars(postfix.data() + at + 1, postfix.data() + colon, length);
    if (res.ec != std::errc() || res.ptr != postfix.data() + colon ||
        length > postfix.size() - colon - 1)
        throw ExpressionError("Malformed compiled expression");
    token = {false, 0, postfix.substr(colon + 1, length)};
    at = colon + 1 + length;
    return true;
}

double parseNumber(const std::string& text) {
    // "," and "." both stand for the decimal separator, whatever the system uses.
    std::string plain;
    int separators = 0;
    for (char c : text) {
        if (c == ',' || c == '.') {
            plain += '.';
            ++separators;
        } else {
            plain += c;
        }
    }
    double value = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (separators > 1 || res.ec != std::errc() || res.ptr != plain.data() + plain.size() ||
        plain == ".")
        throw ExpressionError("\"" + text + "\" is not a valid number");
    return value;
}

std::string unquote(const std::string& quoted) {
    std::string out;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        out += quoted[i];
        if (quoted[i] == '\'' && quoted[i + 1] == '\'') ++i;
    }
    return out;
}

// x snapped to a whole number when within 1e-10 of one.
double snapped(double x) {
    double n = std::round(x);
    return std::fabs(x - n) < 1e-10 ? n : x;
}

Variant applyUnary(char code, const Variant& a) {
    switch (code) {
    case kNeg:
        return variantNegate(a);
    case kPlus:
        return a;
    case kNot: {
        auto n = a.asNumber();
        return Variant(int32_t(n && *n == 0 ? 1 : 0));
    }
    case kInt:
        return Variant(std::trunc(snapped(a.toDouble())));
    case kFrac: {
        double x = snapped(a.toDouble());
        return Variant(x - std::trunc(x));
    }
    case kRound:
        return Variant(std::nearbyint(a.toDouble())); // the default mode rounds halves to even
    case kStr:
        return Variant(a.toText());
    }
    throw ExpressionError("Malformed compiled expression");
}

Variant applyBinary(char code, const Variant& a, const Variant& b) {
    switch (code) {
    case '+':
        return variantAdd(a, b);
    case '-':
        return variantSub(a, b);
    case '*':
        return variantMul(a, b);
    case '/':
        return variantDiv(a, b);
    case kMod:
        return variantMod(a, b);
    case kAnd:
        return variantAnd(a, b);
    case kOr:
        return variantOr(a, b);
    }
    int c = variantCompare(a, b);
    bool r;
    switch (code) {
    case '=':
        r = c == 0;
        break;
    case kNotEqual:
        r = c != 0;
        break;
    case '<':
        r = c < 0;
        break;
    case '>':
        r = c > 0;
        break;
    case kLessEqual:
        r = c <= 0;
        break;
    case kGreaterEqual:
        r = c >= 0;
        break;
    default:
        throw ExpressionError("Malformed compiled expression");
    }
    return Variant(int32_t(r ? 1 : 0));
}

// An expression with an operand or an operator too few.
class MalformedExpression : public ExpressionError {
public:
    using ExpressionError::ExpressionError;
};

// Keeps the nesting depth of evaluations.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) {
        if (++depth_ > TfrParser::kMaxDepth) {
            --depth_;
            throw ExpressionError("Expression nested too deeply");
        }
    }
    ~DepthGuard() { --depth_; }

private:
    int& depth_;
};

} // namespace

std::string unknownNameMessage(const std::string& name) {
    return ru("Переменная не определена: \"") + name + "\"";
}

std::string TfrParser::Compile(const std::string& expression) const {
    return Compiler(expression).run();
}

Variant TfrParser::Evaluate(const std::string& postfix) {
    DepthGuard guard(depth_);
    std::vector<Variant> stack;
    size_t at = 0;
    Token token;
    while (nextToken(postfix, at, token)) {
        if (!token.isOperator) {
            if (stack.size() >= kMaxStack) throw ExpressionError("Expression too complex");
            stack.push_back(evaluateOperand(token.text));
            continue;
        }
        if (isPrefix(token.code)) {
            if (stack.empty()) throw MalformedExpression("Operand missing in expression");
            stack.back() = applyUnary(token.code, stack.back());
            continue;
        }
        if (stack.size() < 2) throw MalformedExpression("Operand missing in expression");
        Variant b = std::move(stack.back());
        stack.pop_back();
        stack.back() = applyBinary(token.code, stack.back(), b);
    }
    if (stack.empty()) return Variant();
    if (stack.size() > 1) throw MalformedExpression("Operator missing in expression");
    return std::move(stack.back());
}

Variant TfrParser::EvaluateText(const std::string& expression) {
    try {
        return Evaluate(Compile(expression));
    } catch (const MalformedExpression& e) {
        // Only the text knows what was malformed; its postfix form would not tell.
        throw ExpressionError(e.text() + " \"" + shown(expression) + "\"");
    }
}

Variant TfrParser::evaluateOperand(const std::string& operand) {
    char c = operand[0];
    if (c == '\'') return Variant(unquote(operand));
    if ((c >= '0' && c <= '9') || c == ',' || c == '.') return Variant(parseNumber(operand));
    if (c == '[') {
        std::string name = operand.substr(1, operand.size() - 2);
        return ResolveName ? ResolveName(name) : throw ExpressionError(unknownNameMessage(name));
    }
    if (equalsNoCase(operand, "TRUE")) return Variant(true);
    if (equalsNoCase(operand, "FALSE")) return Variant(false);
    size_t open = operand.find('(');
    if (open != std::string::npos && open > 0 && operand.back() == ')')
        return evaluateFunction(operand);
    size_t bracket = operand.find('[');
    if (bracket != std::string::npos && bracket > 0 && operand.back() == ']') {
        std::string name = operand.substr(0, bracket);
        std::string index = operand.substr(bracket + 1, operand.size() - bracket - 2);
        return CallFunction ? CallFunction("GETARRAY", name, index, "") : Variant("0");
    }
    std::string name = upper1251(operand);
    if (!ResolveName) throw ExpressionError(unknownNameMessage(name));
    return ResolveName(name);
}

Variant TfrParser::evaluateFunction(const std::string& call) {
    DepthGuard guard(depth_);
    size_t open = call.find('(');
    std::string name = upper1251(trim(call.substr(0, open)));
    auto args = SplitArguments(call.substr(open + 1, call.size() - open - 2));
    args.resize(3);
    const std::string &p1 = args[0], &p2 = args[1], &p3 = args[2];
    if (name == "COPY") {
        std::string s = EvaluateText(p1).toText();
        int32_t from = EvaluateText(p2).toInt();
        int32_t count = EvaluateText(p3).toInt();
        if (from < 1) from = 1;
        if (count <= 0 || static_cast<size_t>(from) > s.size()) return Variant(std::string());
        return Variant(s.substr(from - 1, count));
    }
    if (name == "IF") {
        std::string cond = EvaluateText(p1).toText();
        auto n = textToNumber(cond);
        if (!n) throw ExpressionError("\"" + cond + "\" is not a valid number");
        return std::trunc(*n) != 0 ? EvaluateText(p2) : EvaluateText(p3);
    }
    if (name == "STRTODATE" || name == "STRTOTIME") {
        std::string text = EvaluateText(p1).toText();
        auto d = name == "STRTODATE" ? StrToDate(text) : StrToTime(text);
        if (!d)
            throw ExpressionError("\"" + text + "\" is not a valid " +
                                  (name == "STRTODATE" ? "date" : "time"));
        return Variant::dateTime(*d);
    }
    if (!CallFunction) return Variant("0");
    return CallFunction(name, p1, p2, p3);
}

std::vector<std::string> TfrParser::SplitArguments(const std::string& arguments) {
    std::vector<std::string> out;
    std::string current;
    QuoteState q;
    int depth = 0;
    for (char c : arguments) {
        if (q.feed(c) || q.quoted()) {
            current += c;
            continue;
        }
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) break;
        if (c == ',' && depth == 0) {
            out.push_back(trim(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (depth != 0) throw ExpressionError("Unbalanced parentheses in \"" + shown(arguments) + "\"");
    if (!out.empty() || !trim(current).empty()) out.push_back(trim(current));
    if (out.size() > 3) out.resize(3);
    return out;
}

} // namespace pv
