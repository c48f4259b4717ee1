// The expression evaluator of deck fields and SY definitions: a tokenizer and
// a recursive-descent parser with binding levels, left-associative operators
// (2^3^2 = 64), juxtaposed constants and units (5 mm, 2 pi) and -1/0 truth
// values. One Evaluator object lives for one evaluation.
#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "base/text.h"
#include "deck/expression.h"

namespace wavra {

namespace {

// Parentheses, function arguments and signs nest the parser; deeper
// nesting than this is refused so that no input can exhaust the stack.
constexpr int kMaxNesting = 200;

struct BinaryOperator {
    std::string_view token;
    int level; // taken when the caller's level is at most this
};

constexpr std::array<BinaryOperator, 18> kBinaryOperators{{{"^", 11},
                                                           {"*", 10},
                                                           {"/", 10},
                                                           {"\\", 9},
                                                           {"mod", 8},
                                                           {"+", 7},
                                                           {"-", 7},
                                                           {"=", 6},
                                                           {"<", 6},
                                                           {">", 6},
                                                           {"<>", 6},
                                                           {"<=", 6},
                                                           {">=", 6},
                                                           {"and", 5},
                                                           {"or", 4},
                                                           {"xor", 3},
                                                           {"eqv", 2},
                                                           {"imp", 1}}};

constexpr int kJuxtapositionLevel = 12;

const BinaryOperator* findBinaryOperator(std::string_view kind) {
    for (const BinaryOperator& op : kBinaryOperators)
        if (op.token == kind) return &op;
    return nullptr;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool startsName(char c) { return isLetter(c) || c == '_' || c == '\'' || c == '"' || c == '#'; }
bool continuesName(char c) { return isLetter(c) || isDigit(c) || c == '_' || c == '\'' || c == '"'; }

bool isOperatorWord(std::string_view word) {
    return word == "not" || word == "and" || word == "eqv" || word == "imp" || word == "mod" || word == "or" ||
           word == "xor";
}

template <typename Predicate>
size_t spanWhile(std::string_view s, size_t from, Predicate pred) {
    while (from < s.size() && pred(s[from])) ++from;
    return from;
}

// A number as C writes it: digits with a decimal point anywhere (5, .5, 5.)
// and an exponent (1e3, 1e+3, 1E-3). An "e" not followed by digits is no
// exponent: "2e" is 2 times the constant e.
size_t numberLength(std::string_view s) {
    size_t length = spanWhile(s, 0, [](char ch) { return isDigit(ch) || ch == '.'; });
    if (length < s.size() && (s[length] == 'e' || s[length] == 'E')) {
        size_t digits = length + 1;
        if (digits < s.size() && (s[digits] == '+' || s[digits] == '-')) ++digits;
        if (digits < s.size() && isDigit(s[digits])) length = spanWhile(s, digits, isDigit);
    }
    return length;
}

class Evaluator {
public:
    Evaluator(Symbols& symbols, Diagnostics& found, std::string_view text)
        : m_symbols(symbols), m_found(found), m_parseRest(text) {}

    bool run(double& value) {
        nextToken();
        value = parseExpr(1);
        if (!m_tokenKind.empty()) fail("syntax error, token = '" + messageText(m_tokenText) + "'");
        if (m_parseError) value = 0;
        return !m_parseError;
    }

private:
    Symbols& m_symbols;
    Diagnostics& m_found;
    std::string_view m_parseRest;
    std::string m_tokenKind;
    std::string m_tokenText;
    bool m_parseError = false;
    int m_nesting = 0;

    void nextToken();
    void readName();
    double parseExpr(int level);
    double primary();
    double nested(int level);
    double number();
    double constant(const std::string& name);
    double functionCall();
    double combine(std::string_view op, double left, double right);
    double integerOperation(std::string_view op, double left, double right);
    bool toInteger(double v, std::string_view op, int64_t& out);
    double checked(double v, std::string_view op);
    void expect(std::string_view kind);
    void fail(const std::string& message);
};

void Evaluator::fail(const std::string& message) {
    if (m_parseError) return;
    m_parseError = true;
    m_found.push_back({Severity::Error, message});
}

void Evaluator::nextToken() {
    m_parseRest.remove_prefix(spanWhile(m_parseRest, 0, isBlank));
    m_tokenText.clear();
    m_tokenKind.clear();
    if (m_parseRest.empty()) return;
    const char c = m_parseRest.front();
    size_t length = 1;
    if (isDigit(c) || c == '.') {
        length = numberLength(m_parseRest);
        m_tokenKind = "num";
        m_tokenText = m_parseRest.substr(0, length);
    } else if (startsName(c)) {
        return readName();
    } else if ((c == '<' || c == '>') && m_parseRest.size() > 1 && (m_parseRest[1] == '>' || m_parseRest[1] == '=')) {
        length = 2;
    } else {
        // A whole UTF-8 character is one token, so that messages show it intact.
        length = std::max<size_t>(1, utf8SequenceLength(m_parseRest));
    }
    if (m_tokenKind.empty()) m_tokenKind = m_parseRest.substr(0, length);
    m_parseRest.remove_prefix(length);
    if (m_tokenText.empty()) m_tokenText = m_tokenKind;
}

// A name: an operator word, a built-in function, or a constant or unit. A
// name directly followed by "(" can only be meant as a function call, so it
// is taken as one and an unknown one is reported as an undefined function.
void Evaluator::readName() {
    const size_t length = spanWhile(m_parseRest, 1, continuesName);
    m_tokenText = toLower(m_parseRest.substr(0, length));
    m_parseRest.remove_prefix(length);
    if (isOperatorWord(m_tokenText)) {
        m_tokenKind = m_tokenText;
        return;
    }
    const size_t next = spanWhile(m_parseRest, 0, isBlank);
    const bool call = next < m_parseRest.size() && m_parseRest[next] == '(';
    m_tokenKind = isFunctionName(m_tokenText) || call ? "fun" : "con";
}

void Evaluator::expect(std::string_view kind) {
    if (m_tokenKind != kind) fail("expected " + std::string(kind) + ", got '" + messageText(m_tokenText) + "'");
    nextToken();
}

double Evaluator::parseExpr(int level) {
    double left = primary();
    while (!m_parseError) {
        if (m_tokenKind == "con") {
            if (level > kJuxtapositionLevel) break;
            const std::string name = m_tokenText;
            left = checked(left * constant(name), "*");
            nextToken();
            continue;
        }
        const BinaryOperator* op = findBinaryOperator(m_tokenKind);
        if (op == nullptr || level > op->level) break;
        nextToken();
        const double right = parseExpr(op->level + 1);
        if (m_parseError) break;
        left = combine(op->token, left, right);
    }
    return left;
}

double Evaluator::nested(int level) {
    if (m_nesting >= kMaxNesting) {
        fail("expression nested too deeply (more than " + std::to_string(kMaxNesting) + " levels)");
        return 0;
    }
    ++m_nesting;
    const double value = parseExpr(level);
    --m_nesting;
    return value;
}

double Evaluator::primary() {
    if (m_tokenKind == "num") return number();
    if (m_tokenKind == "con") {
        const double value = constant(m_tokenText);
        nextToken();
        return value;
    }
    if (m_tokenKind == "-") {
        nextToken();
        return -nested(11);
    }
    if (m_tokenKind == "not") {
        nextToken();
        int64_t operand = 0;
        const double value = nested(6);
        return toInteger(value, "not", operand) ? static_cast<double>(~static_cast<int32_t>(operand)) : 0;
    }
    if (m_tokenKind == "(") {
        nextToken();
        const double value = nested(1);
        expect(")");
        return value;
    }
    if (m_tokenKind == "fun") return functionCall();
    fail("syntax error, token = '" + messageText(m_tokenText) + "'");
    return 0;
}

double Evaluator::number() {
    // readNumber gives the largest double for a literal beyond the range.
    const double value = readNumber(m_tokenText);
    if (value >= DBL_MAX) fail("number too large: '" + messageText(m_tokenText) + "'");
    nextToken();
    return m_parseError ? 0 : value;
}

// A unit or table entry; an unknown name is reported once and added to the
// table. When the table is full the name cannot be remembered, so the
// evaluation stops there instead of repeating the message for every use.
double Evaluator::constant(const std::string& name) {
    double value = 0;
    if (findConstantValue(m_symbols, name, value)) return value;
    if (!m_parseError && !reportMissingConstant(m_symbols, m_found, name)) m_parseError = true;
    return 0;
}

double Evaluator::functionCall() {
    const std::string name = m_tokenText;
    nextToken();
    expect("(");
    const double argument = nested(1);
    expect(")");
    if (m_parseError) return 0;
    double result = 0;
    std::string error;
    if (!applyFunction(name, argument, result, error)) fail(error);
    return result;
}

double Evaluator::checked(double v, std::string_view op) {
    const std::string error = nonFiniteMessage(v, op);
    if (error.empty()) return v;
    fail(error);
    return 0;
}

// Rounds to the nearest integer, halves to even, and refuses values outside
// the 32-bit range instead of clamping them into a wrong result.
bool Evaluator::toInteger(double v, std::string_view op, int64_t& out) {
    const double rounded = std::nearbyint(v);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        fail("integer overflow in '" + std::string(op) + "'");
        return false;
    }
    out = static_cast<int64_t>(rounded);
    return true;
}

double Evaluator::integerOperation(std::string_view op, double left, double right) {
    int64_t a = 0;
    int64_t b = 0;
    if (!toInteger(left, op, a) || !toInteger(right, op, b)) return 0;
    if ((op == "\\" || op == "mod") && b == 0) {
        fail("division by zero in '" + std::string(op) + "'");
        return 0;
    }
    const auto x = static_cast<int32_t>(a);
    const auto y = static_cast<int32_t>(b);
    if (op == "\\") return static_cast<double>(a / b);  // truncates toward zero
    if (op == "mod") return static_cast<double>(a % b); // sign of the left operand
    if (op == "and") return x & y;
    if (op == "or") return x | y;
    if (op == "xor") return x ^ y;
    if (op == "eqv") return ~(x ^ y);
    return ~x | y; // imp
}

double Evaluator::combine(std::string_view op, double left, double right) {
    auto truth = [](bool b) { return b ? -1.0 : 0.0; };
    if (op == "^") return checked(std::pow(left, right), op);
    if (op == "*") return checked(left * right, op);
    if (op == "/") {
        if (right == 0) {
            fail("division by zero in '/'");
            return 0;
        }
        return checked(left / right, op);
    }
    if (op == "+") return checked(left + right, op);
    if (op == "-") return checked(left - right, op);
    if (op == "=") return truth(left == right);
    if (op == "<") return truth(left < right);
    if (op == ">") return truth(left > right);
    if (op == "<>") return truth(left != right);
    if (op == "<=") return truth(left <= right);
    if (op == ">=") return truth(left >= right);
    return integerOperation(op, left, right);
}

} // namespace

bool tryEvaluate(Symbols& symbols, Diagnostics& found, std::string_view text, double& value) {
    Evaluator evaluator(symbols, found, text);
    return evaluator.run(value);
}

double evaluateExpression(Symbols& symbols, Diagnostics& found, std::string_view text) {
    double value = 0;
    tryEvaluate(symbols, found, text, value);
    return value;
}

} // namespace wavra
