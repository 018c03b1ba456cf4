#include "expr/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "expr/functions.h"
#include "tool/tool.h"

namespace ovra {
namespace {

struct Case {
    const char* text;
    double value;
    int32_t error;
};

// The ABCD2 tool with its defaults (60, 130, 80, 1, 1, 0) and 0 for its output score.
double Evaluate(const char* text, int32_t& error) {
    const double inputs[MaxInputs] = {60, 130, 80, 1, 1, 0};
    const double outputs[MaxOutputs] = {};
    error = -1;
    return EvaluateExpression(ActiveTool(), text, inputs, outputs, error);
}

void ExpectCases(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
        int32_t error = -1;
        const double value = Evaluate(c->text, error);
        EXPECT_EQ(error, c->error) << c->text;
        if (std::isnan(c->value)) {
            EXPECT_TRUE(std::isnan(value)) << c->text;
        } else {
            EXPECT_EQ(value, c->value) << c->text;
        }
    }
}

#define EXPECT_CASES(table) ExpectCases(std::begin(table), std::end(table))

TEST(Expression, TheAbcd2FormulaAndConditions) {
    const Case cases[] = {
        {"(age>=60?1:0)+((sbp>=140||dbp>=90)?1:0)+clinical+duration+(dm?1:0)", 3, 0},
        {"score>=6", 0, 0},
        {"score>=4", 0, 0},
        {"age + score", 60, 0},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, PrecedenceAndAssociativity) {
    const Case cases[] = {
        {"2^3^2", 512, 0},       {"-2^2", 4, 0},         {"2^-2", 0.25, 0},      {"!0^2", 1, 0},
        {"2 * 3 ^ 2", 18, 0},    {"2 % 3 ^ 2", 2, 0},    {"2 - 3 - 4", -5, 0},   {"24 / 4 / 3", 2, 0},
        {"2*3%4", 2, 0},         {"-7 % 3", -1, 0},      {"7 % -3", 1, 0},       {"1 ? 0 ? 7 : 8 : 9", 8, 0},
        {"0 ? 1 : 0 ? 3 : 4", 4, 0}, {"+-+3", -3, 0},    {"--3", 3, 0},          {"!5", 0, 0},
        {"!!5", 1, 0},           {"1 + 2 * 3", 7, 0},    {"1 < 2 == 1", 1, 1},   {"2 > 1 && 3 > 2", 1, 0},
        {"0 || 0 && 1", 0, 0},   {"1 || 0 && 0", 1, 0},  {"-0 == 0", 1, 0},      {"1 != 2", 1, 0},
        {"3 <= 3", 1, 0},        {"3 >= 4", 0, 0},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, MalformedOperatorsFailWithTheValueReadSoFar) {
    const Case cases[] = {
        {"1 < 2 < 3", 1, 1}, {"age = 60", 60, 1}, {"1 < = 2", 0, 1}, {"2**3", 2, 1},
        {"1 & 1", 1, 1},     {"1 | 0", 1, 1},     {"1 ! 2", 1, 1},   {"3 ** 2 + 1", 3, 1},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, EveryOperandIsEvaluatedAndItsFailureCounts) {
    const Case cases[] = {
        {"1 ? 2 : 1/0", 2, 1}, {"0 ? 1/0 : 2", 2, 1}, {"0 && 1/0", 0, 1}, {"1 || 0/0", 1, 1},
        {"0 ? nope : 1", 1, 1},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, DivisionByZeroDropsTheWholeProduct) {
    const Case cases[] = {
        {"1/0", 0, 1},      {"2+1/0", 2, 1},   {"3*4/0", 0, 1},      {"3*4/0*2", 0, 1}, {"1 / -0", 0, 1},
        {"10 % 0.0", 0, 1}, {"mod(1, 0)", 0, 1}, {"(3*4/0)*2 + 1", 1, 1},
        // a product to the right of "+" or "-": a product operator after the zero divisor is left unread, while
        // the sum goes on
        {"2+1/0*5", 2, 1},  {"2-4*3%0+7", 9, 1}, {"2+6/3*4-1", 9, 0}, {"2-8%3^2*2", -14, 0},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, BuiltInFunctions) {
    const Case cases[] = {
        {"round(2.5)", 3, 0},   {"round(-2.5)", -2, 0}, {"round(0.49999999999999994)", 1, 0},
        {"cbrt(-27)", -3, 0},   {"cbrt(8)", 2, 0},      {"sign(-0)", 0, 0},  {"sign(-4)", -1, 0},
        {"sign(2)", 1, 0},      {"min(3, 1)", 1, 0},    {"max(2, 5)", 5, 0}, {"pow(2, 10)", 1024, 0},
        {"mod(7.5, 2)", 1.5, 0}, {"log(1)", 0, 0},      {"sqrt (4)", 2, 0},  {"abs(-2.5)", 2.5, 0},
        {"log10(1000)", 3, 0},  {"exp(0)", 1, 0},       {"floor(-1.5)", -2, 0}, {"ceil(-1.5)", -1, 0},
        {"sqrt(-1)", 0, 1},     {"log(0)", 0, 1},       {"log10(-1)", 0, 1}, {"SQRT(4)", 0, 1},
        {"sqrt(4, 2)", 0, 1},   {"min(3)", 0, 1},       {"sqrt()", 0, 1},    {"age(3)", 0, 1},
        {"min(1, 2, 3)", 1, 1}, {"sqrt(4", 2, 1},
    };
    EXPECT_CASES(cases);
}

// The lookup stops at the first row past the name it seeks, so a row out of order would never be found.
TEST(Expression, TheFunctionTableIsSortedByNameWithEachNameOnce) {
    const std::span<const Function> functions = BuiltInFunctions();
    for (size_t i = 1; i < functions.size(); ++i) {
        EXPECT_LT(std::strcmp(functions[i - 1].name, functions[i].name), 0) << functions[i].name;
    }
}

TEST(Expression, NonFiniteValues) {
    const double inf = INFINITY;
    const Case cases[] = {
        {"exp(1000)", inf, 1},
        {"1e999", inf, 1},
        {"pow(-8, 0.5)", NAN, 1},
        {"1e999 > 5", 1, 0},
        {"1e-400", 0, 0},
        {"pow(-8,0.5) ? 1 : 2", 1, 0},
        {"!pow(-8, 0.5)", 0, 0},
        {"sign(pow(-8, 0.5))", 0, 0},
        {"pow(-8,0.5) == pow(-8,0.5)", 0, 0},
        {"pow(-8, 0.5) != pow(-8, 0.5)", 1, 0},
        {"min(pow(-8,0.5), 3)", 3, 0},
        {"min(3, pow(-8,0.5))", NAN, 1},
        {"sqrt(pow(-8,0.5)) < 1", 0, 0},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, NumbersAreWhatStrtodReads) {
    const Case cases[] = {
        {"0x1F", 31, 0},  {"1e3", 1000, 0}, {".5", 0.5, 0},  {"5.", 5, 0},      {".", 0, 1},
        {"2e", 2, 1},     {"2.5E-2", 0.025, 0}, {"0x1.8p1", 3, 0}, {"007", 7, 0}, {"1.5.5", 1.5, 1},
        {"0.1+0.2", 0.1 + 0.2, 0}, {"123456789012345678901234567890", 1.2345678901234568e29, 0},
    };
    EXPECT_CASES(cases);
}

TEST(Expression, ShapeOfTheText) {
    const Case cases[] = {
        {"", 0, 1},        {"   ", 0, 1},      {"(1+2", 3, 1},  {"1+2)", 3, 1},   {"1 ? 5", 5, 1},
        {"0 ? 5", 0, 1},   {"\t1\n+\r2 ", 3, 0}, {"1 \v+ 2", 1, 1}, {"1 \f+ 2", 1, 1}, {"_x", 0, 1},
        {"x1", 0, 1},      {"log", 0, 1},    {"(", 0, 1},     {")", 0, 1},      {"age age", 60, 1},
        {"1 +", 1, 1},     {"\xC3\xA9", 0, 1},
    };
    EXPECT_CASES(cases);
    int32_t error = -1;
    EXPECT_EQ(EvaluateExpression(ActiveTool(), nullptr, nullptr, nullptr, error), 0.0);
    EXPECT_EQ(error, 1);
}

// A tool whose names test resolution: an input and an output share "dup"; "log" is a variable.
const std::string name63(63, 'n');
const InputField nameInputs[] = {{name63.c_str(), u"", nullptr, 0}, {"dup", u"", nullptr, 0}, {"log", u"", nullptr, 0},
                                 {"d", u"", nullptr, 0}};
const OutputField nameOutputs[] = {{"dup", u"", nullptr, "1", nullptr}, {"out", u"", nullptr, "1", nullptr}};
const Tool nameTool = {1, u"", nullptr, u"", u"", nullptr, 4, nameInputs, 2, nameOutputs, 0, nullptr, 0};

TEST(Expression, NamesResolveInputsFirstThenOutputs) {
    const double inputs[MaxInputs] = {7, 11, 5, 3};
    const double outputs[MaxOutputs] = {13, 17};
    struct NameCase {
        std::string text;
        double value;
        int32_t error;
    };
    const NameCase cases[] = {
        {name63, 7, 0},              // 63 characters are read whole
        {name63 + "n", 7, 1},        // the 64th stays in the text
        {name63 + "x", 7, 1},
        {"dup", 11, 0},              // an input hides an output of the same name
        {"out", 17, 0},
        {"log", 5, 0},               // function names are not reserved
        {"log(1) + log", 5, 0},
        {"Out", 0, 1},               // case-sensitive
        {"d*d+d", 12, 0},            // one-letter names, with and without a character after them
        {"du", 0, 1},                // a prefix of a name is no name
        {"dupe", 0, 1},
    };
    for (const NameCase& c : cases) {
        int32_t error = -1;
        EXPECT_EQ(EvaluateExpression(nameTool, c.text.c_str(), inputs, outputs, error), c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

TEST(Expression, DeepNestingWorksToTwoHundredAndFailsCleanlyBeyondTheBound) {
    struct DepthCase {
        std::string text;
        double value;
        int32_t error;
    };
    const DepthCase cases[] = {
        {Repeat("(", 200) + "age" + Repeat(")", 200), 60, 0},
        {Repeat("-", 200) + "3", 3, 0},
        {Repeat("!", 201) + "0", 1, 0},
        {"1" + Repeat("^1", 200), 1, 0},
        {Repeat("(", 100) + Repeat("-", 100) + "2" + Repeat(")", 100), 2, 0},
        {Repeat("1?", 150) + "4" + Repeat(":0", 150), 4, 0},
        {Repeat("(", 100000) + "1" + Repeat(")", 100000), 0, 1},
        {Repeat("-", 100000) + "1", 0, 1},
        {"2" + Repeat("^2", 100000), 0, 1},
        {"sqrt(" + Repeat("(", 5000) + "4", 0, 1},
        {Repeat("abs(", 200) + "-3" + Repeat(")", 200), 3, 0},
        {Repeat("abs(", 100000) + "1" + Repeat(")", 100000), 0, 1},
        {Repeat("min(1,", 100000) + "1" + Repeat(")", 100000), 0, 1},
        {Repeat("1?", 100000) + "1" + Repeat(":0", 100000), 0, 1},
        {Repeat("0?1:", 100000) + "1", 0, 1},
    };
    for (const DepthCase& c : cases) {
        int32_t error = -1;
        const double value = Evaluate(c.text.c_str(), error);
        EXPECT_EQ(value, c.value) << c.text.substr(0, 40);
        EXPECT_EQ(error, c.error) << c.text.substr(0, 40);
    }
}

// Each kind of nesting, and one of them around another, holds at the bound and fails one level past it.
TEST(Expression, EveryKindOfNestingHoldsAtTheBoundAndFailsOnePast) {
    constexpr int bound = 512;
    struct NestingCase {
        const char* open;   // repeated before `inner`, one level each
        const char* inner;  // costs `innerLevels` levels of its own
        const char* close;  // repeated after `inner`
        int innerLevels;
        double value;       // at the bound
    };
    const NestingCase cases[] = {
        {"(", "1", ")", 0, 1},         {"abs(", "1", ")", 0, 1},       {"min(", "1", ",2)", 0, 1},
        {"min(2,", "1", ")", 0, 1},    {"1?", "1", ":0", 0, 1},        {"0?0:", "1", "", 0, 1},
        {"-", "1", "", 0, 1},          {"!", "1", "", 0, 1},           {"1^", "1", "", 0, 1},
        {"(", "-1", ")", 1, -1},       {"abs(", "(2)", ")", 1, 2},     {"(", "1^1", ")", 1, 1},
        {"(", "1^(1)", ")", 2, 1},  // the operand of "^" is one level deeper, a parenthesised one too
    };
    for (const NestingCase& c : cases) {
        for (const int levels : {bound, bound + 1}) {
            const int pieces = levels - c.innerLevels;
            const std::string text = Repeat(c.open, pieces) + c.inner + Repeat(c.close, pieces);
            int32_t error = -1;
            const double value = Evaluate(text.c_str(), error);
            EXPECT_EQ(value, levels == bound ? c.value : 0.0) << c.open << c.inner << " at " << levels;
            EXPECT_EQ(error, levels == bound ? 0 : 1) << c.open << c.inner << " at " << levels;
        }
    }
    int32_t error = -1;
    EXPECT_EQ(Evaluate((Repeat("+", 100000) + "1").c_str(), error), 1);  // "+" is dropped, not nested
    EXPECT_EQ(error, 0);
}

TEST(Expression, ANonFiniteResultIsAFailure) {
    const char* texts[] = {"1e308*10", "-1e308*10", "exp(710)", "pow(0, -1)", "1e308+1e308-1e308"};
    for (const char* text : texts) {
        int32_t error = -1;
        const double value = Evaluate(text, error);
        EXPECT_FALSE(std::isfinite(value)) << text;
        EXPECT_EQ(error, 1) << text;
    }
}

}  // namespace
}  // namespace ovra
