#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "deck/expression.h"
#include "support/test_support.h"

using namespace wavra;

namespace {

class Expression : public ::testing::Test {
protected:
    Model model;
    Diagnostics found;

    void SetUp() override { initConstantTable(model, model); }

    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const Diagnostic& d : found) texts.push_back(d.text);
        return texts;
    }

    double eval(const std::string& text) { return evaluateExpression(model, found, text); }

    // Evaluates text that must fail with exactly one message.
    void expectError(const std::string& text, const std::string& message) {
        found.clear();
        double value = 99;
        EXPECT_FALSE(tryEvaluate(model, found, text, value)) << text;
        EXPECT_EQ(value, 0) << text;
        ASSERT_EQ(messages().size(), 1u) << text;
        EXPECT_EQ(messages()[0], message) << text;
    }

    void fillTable(int count) {
        for (int i = 1; i <= count; ++i) defineConstant(model, found, "v" + std::to_string(i), std::to_string(i));
    }
};

TEST_F(Expression, PrecedenceAndLeftAssociativity) {
    EXPECT_EQ(eval("2+3*4"), 14);
    EXPECT_EQ(eval("(2+3)*4"), 20);
    EXPECT_EQ(eval("2^3^2"), 64);
    EXPECT_EQ(eval("10-4-3"), 3);
    EXPECT_EQ(eval("64/4/2"), 8);
    EXPECT_EQ(eval("10 \\ 3 * 2"), 1);  // \ binds looser than *
    EXPECT_EQ(eval("7 mod 3 \\ 2"), 0); // mod binds looser than \ .
    EXPECT_EQ(eval("1 + 2 mod 2"), 1);
    EXPECT_EQ(eval(" \t2\r\n*\t3 "), 6);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, UnaryMinusBindsLooserThanPowerTighterThanProduct) {
    EXPECT_EQ(eval("-2^2"), -4);
    EXPECT_EQ(eval("2*-3"), -6);
    EXPECT_EQ(eval("2*-3^2"), -18);
    EXPECT_EQ(eval("--3"), 3);
    EXPECT_EQ(eval("2^-1"), 0.5);
    defineConstant(model, found, "len", "5");
    EXPECT_EQ(eval("-len/2"), -2.5);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, ComparisonsAndLogicGiveMinusOneOrZero) {
    EXPECT_EQ(eval("3 < 4"), -1);
    EXPECT_EQ(eval("3 > 4"), 0);
    EXPECT_EQ(eval("3 <> 4"), -1);
    EXPECT_EQ(eval("3 <= 3"), -1);
    EXPECT_EQ(eval("4 >= 5"), 0);
    EXPECT_EQ(eval("2 = 2"), -1);
    EXPECT_EQ(eval("1 + 1 = 2"), -1);
    EXPECT_EQ(eval("not 0"), -1);
    EXPECT_EQ(eval("not -1"), 0);
    EXPECT_EQ(eval("not 1 = 2"), -1);
    EXPECT_EQ(eval("5 and 3"), 1);
    EXPECT_EQ(eval("5 or 3"), 7);
    EXPECT_EQ(eval("5 xor 3"), 6);
    EXPECT_EQ(eval("1 or 2 and 3"), 3);
    EXPECT_EQ(eval("0 eqv 0"), -1);
    EXPECT_EQ(eval("5 eqv 3"), ~6);
    EXPECT_EQ(eval("0 imp 0"), -1);
    EXPECT_EQ(eval("-1 imp 0"), 0);
    EXPECT_EQ(eval("3 < 4 and 2 > 1"), -1);
    EXPECT_EQ(eval("5 AND 3"), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, IntegerOperatorsRoundHalfToEvenAndKeepSigns) {
    EXPECT_EQ(eval("7 \\ 2"), 3);
    EXPECT_EQ(eval("-7 \\ 2"), -3);
    EXPECT_EQ(eval("7 \\ -2"), -3);
    EXPECT_EQ(eval("7 mod 3"), 1);
    EXPECT_EQ(eval("-7 mod 3"), -1);
    EXPECT_EQ(eval("7 mod -3"), 1);
    EXPECT_EQ(eval("2.5 \\ 1"), 2);
    EXPECT_EQ(eval("3.5 \\ 1"), 4);
    EXPECT_EQ(eval("7.5 mod 4"), 0);
    EXPECT_EQ(eval("-2147483648 \\ -1"), 2147483648.0);
    EXPECT_EQ(eval("0.5 or 0"), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, JuxtaposedUnitsAndConstantsMultiply) {
    EXPECT_DOUBLE_EQ(eval("5mm"), 0.005);
    EXPECT_DOUBLE_EQ(eval("5 mm"), 0.005);
    EXPECT_DOUBLE_EQ(eval("12in"), 0.3048);
    EXPECT_DOUBLE_EQ(eval("12 in"), 0.3048);
    EXPECT_DOUBLE_EQ(eval("2 FT"), 0.6096);
    EXPECT_DOUBLE_EQ(eval("12'"), 12 * 0.3048);
    EXPECT_DOUBLE_EQ(eval("3\""), 3 * 0.0254);
    EXPECT_DOUBLE_EQ(eval("100pf + 2 nh"), 100e-12 + 2e-9);
    EXPECT_DOUBLE_EQ(eval("4 uh * 2"), 8e-6);
    EXPECT_DOUBLE_EQ(eval("10 cm mm"), 1e-4);
    defineConstant(model, found, "pi", "3.14159265358979");
    EXPECT_DOUBLE_EQ(eval("2 pi"), 6.28318530717958);
    EXPECT_DOUBLE_EQ(eval("2 pi * 3"), 18.84955592153874);
    // A juxtaposed constant binds tighter than "^".
    EXPECT_DOUBLE_EQ(eval("2^3 pi"), std::pow(2.0, 3 * 3.14159265358979));
    EXPECT_TRUE(messages().empty());
    // A symbol named like a unit is shadowed by the unit.
    defineConstant(model, found, "mm", "7");
    EXPECT_DOUBLE_EQ(eval("mm"), 0.001);
}

// Every number form of C, inside expressions too; an "e" without digits
// after it is still a constant (2e = 2 times e), one with digits is an
// exponent even where a constant e exists (2e+1 = 20).
TEST_F(Expression, CNumberFormsAreReadInsideExpressions) {
    EXPECT_DOUBLE_EQ(eval("1e+3*0.0001"), 0.1);
    EXPECT_DOUBLE_EQ(eval("2*1e-3"), 0.002);
    EXPECT_DOUBLE_EQ(eval("1E3+1"), 1001);
    EXPECT_DOUBLE_EQ(eval(".5+5."), 5.5);
    EXPECT_DOUBLE_EQ(eval("2.5e2mm"), 0.25);
    EXPECT_TRUE(messages().empty());
    defineConstant(model, found, "e", "2.5");
    EXPECT_DOUBLE_EQ(eval("2e"), 5);
    EXPECT_DOUBLE_EQ(eval("2e+1"), 20);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, NumberTokensTakeTheirLeadingNumericPart) {
    EXPECT_DOUBLE_EQ(eval("1.5.7"), 1.5);
    EXPECT_DOUBLE_EQ(eval(".25*4"), 1);
    EXPECT_EQ(eval("."), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, ClassifyNumberSeparatesNumbersUnitNumbersAndExpressions) {
    double value = 42;
    EXPECT_EQ(classifyNumber("1e-3", value), -1);
    EXPECT_EQ(value, 42); // not set for a plain number
    EXPECT_EQ(classifyNumber(" -7.5 ", value), -1);
    EXPECT_EQ(classifyNumber("25.4mm", value), 1);
    EXPECT_DOUBLE_EQ(value, 0.0254);
    EXPECT_EQ(classifyNumber("25.4MM", value), 1);
    EXPECT_DOUBLE_EQ(value, 0.0254);
    EXPECT_EQ(classifyNumber("2in", value), 1);
    EXPECT_DOUBLE_EQ(value, 0.0508);
    EXPECT_EQ(classifyNumber("1e3pf", value), 1);
    EXPECT_DOUBLE_EQ(value, 1e-9);
    EXPECT_EQ(classifyNumber("-3ft", value), 1);
    EXPECT_DOUBLE_EQ(value, -3 * 0.3048);
    for (const char* expression : {"len/2", "mm", "xmm", "2 pi", "3km", "", "2*3mm", "*"}) {
        value = 42;
        EXPECT_EQ(classifyNumber(expression, value), 0) << expression;
        EXPECT_EQ(value, 0) << expression;
    }
}

TEST_F(Expression, FunctionsTakeDegrees) {
    EXPECT_NEAR(eval("sin(30)"), 0.5, 1e-15);
    EXPECT_NEAR(eval("COS(60)"), 0.5, 1e-15);
    EXPECT_NEAR(eval("tan(45)"), 1, 1e-15);
    EXPECT_DOUBLE_EQ(eval("atn(45)"), std::atan(std::atan(1.0)));
    EXPECT_EQ(eval("abs(-3)"), 3);
    EXPECT_EQ(eval("exp(0)"), 1);
    EXPECT_EQ(eval("fix(-2.7)"), -2);
    EXPECT_EQ(eval("int(-2.7)"), -3);
    EXPECT_EQ(eval("log(1)"), 0);
    EXPECT_EQ(eval("sgn(-5)"), -1);
    EXPECT_EQ(eval("sgn(0)"), 0);
    EXPECT_EQ(eval("sgn(0.1)"), 1);
    EXPECT_EQ(eval("sqr(16)"), 4);
    EXPECT_EQ(eval("2*sqr(abs(-4))^2"), 8);
    EXPECT_EQ(eval("sqr (9)"), 3);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, RndIsReproduciblePerSeed) {
    const double seeded = eval("rnd(-1)");
    EXPECT_EQ(eval("rnd(0)"), seeded);
    const double first = eval("rnd(1)");
    const double second = eval("rnd(1)");
    EXPECT_NE(first, seeded);
    EXPECT_NE(first, second);
    EXPECT_EQ(eval("rnd(0)"), second);
    EXPECT_EQ(eval("rnd(-1)"), seeded);
    EXPECT_EQ(eval("rnd(1)"), first);
    EXPECT_NE(eval("rnd(-2)"), seeded);
    for (int i = 0; i < 1000; ++i) {
        const double v = eval("rnd(1)");
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 1);
    }
}

TEST_F(Expression, DefineConstantFlagsNumbersAndExpressions) {
    defineConstant(model, found, " Len ", "5");
    defineConstant(model, found, "gap", "25.4mm");
    defineConstant(model, found, "half", "len/2");
    ASSERT_EQ(model.constCount, 3);
    EXPECT_EQ(model.constNames[1], "len");
    EXPECT_EQ(model.constFlags[1], -1);
    EXPECT_DOUBLE_EQ(model.constValues[2], 0.0254);
    EXPECT_EQ(model.constFlags[2], -1);
    EXPECT_EQ(model.constValues[3], 2.5);
    EXPECT_EQ(model.constFlags[3], 0);

    defineConstant(model, found, "LEN", "len*2");
    defineConstant(model, found, "half", "3in");
    defineConstant(model, found, "gap", "1e-3");
    EXPECT_EQ(model.constCount, 3);
    EXPECT_EQ(model.constValues[1], 10);
    EXPECT_EQ(model.constFlags[1], 0);
    EXPECT_DOUBLE_EQ(model.constValues[3], 0.0762);
    EXPECT_EQ(model.constFlags[3], -1);
    EXPECT_EQ(model.constValues[2], 1e-3);
    EXPECT_EQ(model.constFlags[2], -1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, SixtyFifthNameFindsNoRoom) {
    fillTable(64);
    EXPECT_TRUE(messages().empty());
    defineConstant(model, found, "v65", "65");
    EXPECT_EQ(messages(), std::vector<std::string>{"Parser: No more room in constant table."});
    EXPECT_EQ(model.constCount, 64);
    EXPECT_EQ(constantIndex(model, "v65"), 0);
    found.clear();
    defineConstant(model, found, "v64", "-1"); // redefinition needs no room
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.constValues[64], -1);
}

TEST_F(Expression, UnknownNameIsReportedOnceAndAdded) {
    double value = 9;
    EXPECT_TRUE(tryEvaluate(model, found, "LEN2*2+1", value));
    EXPECT_EQ(value, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{"Parser: Constant 'len2' not found."});
    const int row = constantIndex(model, "len2");
    ASSERT_GT(row, 0);
    EXPECT_EQ(model.constValues[row], 0);
    EXPECT_EQ(model.constFlags[row], 0);
    found.clear();
    EXPECT_EQ(eval("len2 + len2"), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, UnknownNamesInAFullTableStopTheEvaluation) {
    fillTable(64);
    expectError("a + b + c", "Parser: Constant 'a' not found.");
    EXPECT_EQ(model.constCount, 64);
}

TEST_F(Expression, LookupConstantGivesUnitsThenEntries) {
    defineConstant(model, found, "w", "0.5");
    EXPECT_EQ(lookupConstant(model, found, "W"), 0.5);
    EXPECT_EQ(lookupConstant(model, found, "in"), 0.0254);
    EXPECT_EQ(lookupConstant(model, found, "'"), 0.3048);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(lookupConstant(model, found, "q"), 0);
    EXPECT_EQ(lookupConstant(model, found, "q"), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{"Parser: Constant 'q' not found."});
}

TEST_F(Expression, SyntaxErrorsAreShownOncePerEvaluation) {
    expectError("2 +", "syntax error, token = ''");
    expectError("2 3", "syntax error, token = '3'");
    expectError("2 ) + (", "syntax error, token = ')'");
    expectError("(1+2", "expected ), got ''");
    expectError("((1+2) * (3", "expected ), got ''");
    expectError("sin 30", "expected (, got '30'");
    expectError("foo(2)", "undefined function 'foo'");
    expectError("2 * Bar (2)", "undefined function 'bar'");
    expectError("1 + * 2 + ) + (", "syntax error, token = '*'");
    expectError("3 >> 2", "syntax error, token = '>>'");
    expectError("1 = = 2", "syntax error, token = '='");
    EXPECT_EQ(constantIndex(model, "foo"), 0);
    // The next evaluation reports again.
    expectError("2 +", "syntax error, token = ''");
}

TEST_F(Expression, ArithmeticFaultsAreReportedAndGiveZero) {
    expectError("1/0", "division by zero in '/'");
    expectError("0/0 + 5", "division by zero in '/'");
    expectError("7 \\ 0.4", "division by zero in '\\'");
    expectError("7 mod 0", "division by zero in 'mod'");
    expectError("10^400", "overflow in '^'");
    expectError("(0-8)^0.5", "undefined result of '^'");
    expectError("0^-1", "overflow in '^'");
    expectError("exp(1000)", "overflow in 'exp'");
    expectError("sqr(-1)", "undefined result of 'sqr'");
    expectError("log(0)", "undefined result of 'log'");
    expectError("10000000000 and 1", "integer overflow in 'and'");
    expectError("not 3000000000", "integer overflow in 'not'");
    expectError("1" + std::string(400, '0'), "number too large: '1" + std::string(59, '0') + "...'");
    const std::string big = "1" + std::string(300, '0');
    expectError(big + "*" + big, "overflow in '*'");
    expectError(big + "+1" + std::string(400, '0'), "number too large: '1" + std::string(59, '0') + "...'");
}

TEST_F(Expression, LongExpressionsEvaluate) {
    std::string sum = "1";
    while (sum.size() < 100000) sum += "+1";
    EXPECT_EQ(eval(sum), static_cast<double>(sum.size() / 2 + 1));
    std::string powers = "1";
    while (powers.size() < 100000) powers += "^1";
    EXPECT_EQ(eval(powers), 1);
    std::string nested = std::string(150, '(') + "2" + std::string(150, ')');
    EXPECT_EQ(eval(nested), 2);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Expression, DeepNestingIsRefused) {
    const std::string message = "expression nested too deeply (more than 200 levels)";
    expectError(std::string(100000, '(') + "1" + std::string(100000, ')'), message);
    expectError(std::string(100000, '-') + "1", message);
    std::string calls;
    for (int i = 0; i < 30000; ++i) calls += "sin(";
    expectError(calls, message);
    expectError(std::string(100000, '(') + "1", message);
}

TEST_F(Expression, ForeignBytesGiveSyntaxErrors) {
    expectError("5 \xC2\xB5m", "syntax error, token = '\xC2\xB5'");
    expectError(std::string("1\0+2", 4), "syntax error, token = '\\x00'");
    expectError("1 + \xFF", "syntax error, token = '\\xFF'");
    expectError("\xE2\x82", "syntax error, token = '\\xE2'");
    expectError("2 \x01", "syntax error, token = '\\x01'");
    const std::string longName(100000, 'x');
    found.clear();
    EXPECT_EQ(eval(longName), 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Parser: Constant '" + std::string(60, 'x') + "...' not found.");
}

TEST_F(Expression, TableWorksWithoutInitialisation) {
    Model fresh;
    fresh.constNames.clear();
    fresh.constValues.clear();
    fresh.constFlags.clear();
    fresh.constCount = 5;
    defineConstant(fresh, found, "a", "1");
    ASSERT_EQ(fresh.constCount, 1);
    EXPECT_EQ(evaluateExpression(fresh, found, "a+1"), 2);
    EXPECT_TRUE(messages().empty());
}

class ConstantsFile : public ::testing::Test {
protected:
    test::InstallTree tree;
    Model model;
    Diagnostics found;

    void SetUp() override {
        tree.prepare(model);
        initConstantTable(model, model);
    }
};

TEST_F(ConstantsFile, ShippedFileDefinesFixedConstants) {
    EXPECT_TRUE(loadConstantsFile(model, model).empty());
    EXPECT_GE(model.constCount, 2);
    EXPECT_EQ(model.baseConstantCount, model.constCount);
    EXPECT_NEAR(evaluateExpression(model, found, "pi"), std::acos(-1.0), 1e-15);
    EXPECT_EQ(evaluateExpression(model, found, "c0"), 299792458);
    for (int row = 1; row <= model.constCount; ++row) EXPECT_EQ(model.constFlags[row], 0);
    EXPECT_TRUE(found.empty());
}

TEST_F(ConstantsFile, SkipsLinesWithoutValueAndMarksEntriesFixed) {
    test::writeText(tree.file("exe/constant.ini"),
                    "' comment line\r\n"
                    "\n"
                    "two = 2 ' a comment\r\n"
                    "novalue\n"
                    "star = *\n"
                    "empty =\n"
                    "quoted = ' only a comment\n"
                    " = 5\n"
                    "four = two * 2\n"
                    "Len = 3mm\n");
    model.optimizerVarCount = 3;
    EXPECT_TRUE(loadConstantsFile(model, model).empty());
    ASSERT_EQ(model.constCount, 3);
    EXPECT_EQ(model.baseConstantCount, 3);
    EXPECT_EQ(model.constNames[1], "two");
    EXPECT_EQ(model.constValues[2], 4);
    EXPECT_EQ(model.constNames[3], "len");
    EXPECT_DOUBLE_EQ(model.constValues[3], 0.003);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(model.constFlags[row], 0);
    initConstantTable(model, model);
    EXPECT_EQ(model.constCount, 0);
    EXPECT_EQ(model.optimizerVarCount, 0);
}

TEST_F(ConstantsFile, MissingFileIsNoError) {
    defineConstant(model, found, "x", "1");
    test::writeText(tree.file("exe/other.ini"), "");
    std::remove(tree.file("exe/constant.ini").c_str());
    EXPECT_TRUE(loadConstantsFile(model, model).empty());
    EXPECT_EQ(model.baseConstantCount, 1);
}

} // namespace
