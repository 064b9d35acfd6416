#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ostream>
#include <string>

#include "core/formula/formula.h"
#include "core/formula/formulaerror.h"
#include "core/formula/parser.h"
#include "core/formula/tree.h"
#include "core/builtinfunctions.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

long double ValueOf(const std::string& text, long double x = 0, long double y = 0) {
    return CompileFormula(text)->Value(x, y);
}

// The argument as the program would see it at run time: the compiler folds no library call on it.
long double V(long double value) {
    volatile long double kept = value;
    return kept;
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

class FormulaTest : public ::testing::Test {
  protected:
};

// --- Values: each expected value is the same operations written in C++ ---

struct ValueCase {
    const char* text;
    long double x, y;
    long double z;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class FormulaValueTest : public ::testing::TestWithParam<ValueCase> {
  protected:
};

const long double Pi = 3.14159265358979323846264338327950288L;
const long double E = 2.71828182845904523536028747135266250L;

const ValueCase ValueCases[] = {
    {"x*x+y*y", 3, 4, 25},
    {"2", 0, 0, 2},
    {"0.5+.5+1e-3+2.5E+4", 0, 0, 0.5L + 0.5L + 1e-3L + 2.5e4L},
    {"  x  *  y ", 3, 4, 12},
    {"-x^2", 3, 0, -9},
    {"(-x)^2", 3, 0, 9},
    {"2^3^2", 0, 0, 512},
    {"(2^3)^2", 0, 0, 64},
    {"x^-1", 4, 0, 0.25L},
    {"y^3", 0, -2, -8},
    {"x^0.5", 2, 0, sqrtl(V(2.0L))},
    {"2*-3", 0, 0, -6},
    {"--x", 5, 0, 5},
    {"+x", 5, 0, 5},
    {"x-y-1", 10, 3, 6},
    {"x/y/2", 12, 3, 2},
    {"x-(y-1)", 10, 3, 8},
    {"pi", 0, 0, Pi},
    {"E", 0, 0, E},
    {"SIN(X)+Cos(y)", 1, 2, sinl(V(1.0L)) + cosl(V(2.0L))},
    {"tg(x)-tan(x)", 1, 0, 0},
    {"ctg(x)*cot(x)", 1, 0, (1 / tanl(V(1.0L))) * (1 / tanl(V(1.0L)))},
    {"arcsin(x)+asin(x)", 0.5L, 0, asinl(V(0.5L)) + asinl(V(0.5L))},
    {"arccos(x)+acos(y)", 0.5L, 0.25L, acosl(V(0.5L)) + acosl(V(0.25L))},
    {"arctg(x)+atan(y)", 2, 3, atanl(V(2.0L)) + atanl(V(3.0L))},
    {"sh(x)+sinh(y)", 1, 2, sinhl(V(1.0L)) + sinhl(V(2.0L))},
    {"ch(x)+cosh(y)", 1, 2, coshl(V(1.0L)) + coshl(V(2.0L))},
    {"th(x)+tanh(y)", 1, 2, tanhl(V(1.0L)) + tanhl(V(2.0L))},
    {"exp(x)+ln(y)", 1, 2, expl(V(1.0L)) + logl(V(2.0L))},
    {"lg(x)+log10(y)", 100, 1000, 5},
    {"sqrt(x)+abs(y)", 16, -3, 7},
    {"a+b, b=2*a, a=x", 3, 0, 9},
    {"R*r, r=x+y", 1, 2, 9},
    {"x, unused=1/0", 7, 0, 7},
    // The three built-in items' texts.
    {" x*x+y*y", 1.5L, -2, 1.5L * 1.5L + 4},
    {" (y-x*x)*(y-x*x) + (1-x*x)*(1-x*x)", 2, 0, 25},
    {" (sin(r))/r, r=sqrt(x*x+y*y)", 3, 4, sinl(V(5.0L)) / 5},
    // Sine and cosine of 2^63 and more are 0, the tangent too.
    {"sin(x)+cos(x)+tg(x)", 9223372036854775808.0L, 0, 0},
};

TEST_P(FormulaValueTest, ValueIsTheSameOperations) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(ValueOf(c.text, c.x, c.y), c.z);
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaValueTest, ::testing::ValuesIn(ValueCases));

TEST_F(FormulaTest, WholePowersAreProductsToTheLastBit) {
    const auto square = CompileFormula("x^2");
    const auto cube = CompileFormula("y^3");
    const auto inverse = CompileFormula("x^-1");
    for (const long double v : {0.1L, -1.7L, 3.3333333333333333L, 1e-300L, 123456.789L}) {
        EXPECT_TRUE(SameBits(square->Value(v, 0), v * v)) << static_cast<double>(v);
        EXPECT_TRUE(SameBits(cube->Value(0, v), v * v * v)) << static_cast<double>(v);
        EXPECT_TRUE(SameBits(inverse->Value(v, 0), 1 / v)) << static_cast<double>(v);
    }
}

TEST_F(FormulaTest, ItemTextsGiveTheBuiltInValues) {
    const long double points[][2] = {{0.3L, -1.1L}, {-1.3L, 1.3L}, {2, 0}, {0.01L, 0.02L}};
    for (int i = 0; i < FunctionCount; ++i) {
        const auto formula = CompileFormula(FunctionCaptions[i]);
        for (const auto& p : points) {
            EXPECT_TRUE(SameBits(formula->Value(p[0], p[1]), ObjectiveFuncs[i](p[0], p[1])))
                << i << " at " << static_cast<double>(p[0]) << ", " << static_cast<double>(p[1]);
        }
    }
}

// --- Evaluation faults: the runtime's own errors and texts ---

struct FaultCase {
    const char* text;
    long double x;
    const char* message;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << '"' << c.text << "\"@" << c.x;
}

class FormulaFaultTest : public ::testing::TestWithParam<FaultCase> {
  protected:
};

const FaultCase FaultCases[] = {
    {"ln(x)", 0, "Floating point division by zero"},
    {"ln(x)", -1, "Invalid floating point operation"},
    {"lg(x)", 0, "Floating point division by zero"},
    {"sh(x)", -20000, "Floating point overflow"},
    {"ch(x)", 20000, "Floating point overflow"},
    {"arccos(x)", -2, "Invalid floating point operation"},
    {"x^(-0.5)", 0, "Floating point division by zero"},
    {"x^1.5", 1e4000L, "Floating point overflow"},
    {"sqrt(x-1)", 0, "Invalid floating point operation"},
    {"x/x", 0, "Invalid floating point operation"},
    {"1/x", 0, "Floating point division by zero"},
    {"1/0", 0, "Floating point division by zero"},
    {"exp(x)", 20000, "Floating point overflow"},
    {"x^0.5", -4, "Invalid floating point operation"},
    {"arcsin(x)", 2, "Invalid floating point operation"},
    {"x^2", 1e3000L, "Floating point overflow"},
    {"(sin(r))/r, r=sqrt(x*x+y*y)", 0, "Invalid floating point operation"},
};

TEST_P(FormulaFaultTest, RaisesTheRuntimeError) {
    const FaultCase& c = GetParam();
    const auto formula = CompileFormula(c.text);
    testsupport::ExpectError([&] { formula->Value(c.x, 0); }, c.message);
    // The flags are clear again.
    EXPECT_EQ(ValueOf("x+1", 1), 2);
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaFaultTest, ::testing::ValuesIn(FaultCases));

// --- Refusals: the message and the position in characters ---

struct RefusalCase {
    std::string text;
    std::size_t position;
    std::string detail;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << '"' << c.text.substr(0, 40) << '"';
}

class FormulaRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

const RefusalCase RefusalCases[] = {
    {"sin(x*(y+1)", 11, "ожидается \")\""},
    {"(x+y", 4, "ожидается \")\""},
    {"sin(x,y)", 6, "ожидается \")\""},
    {"sni(x)", 1, "неизвестное имя \"sni\""},
    {"x+foo", 3, "неизвестное имя \"foo\""},
    {"x*", 2, "нет числа или скобки после \"*\""},
    {"x*)", 3, "нет числа или скобки после \"*\""},
    {"sin()", 5, "нет числа или скобки после \"(\""},
    {")", 1, "нет числа или скобки в начале формулы"},
    {"x)", 2, "лишние знаки после конца формулы"},
    {"x=1", 2, "лишние знаки после конца формулы"},
    {"x y", 3, "нет знака действия перед \"y\""},
    {"2x", 2, "нет знака действия перед \"x\""},
    {"x#y", 2, "недопустимый знак \"#\""},
    {"хх+1", 1, "недопустимый знак \"х\""},  // Cyrillic letters: positions count characters
    {"ху+x#", 1, "недопустимый знак \"х\""},
    {"r, r=r+1", 6, "определение \"r\" ссылается само на себя"},
    {"a, a=b, b=2*a", 13, "определение \"a\" ссылается само на себя"},
    {"", 1, "пустая формула"},
    {"   ", 1, "пустая формула"},
    {"  , r=x", 3, "пустая формула"},
    {"sin", 1, "ожидается \"(\" после \"sin\""},
    {"sin x", 5, "ожидается \"(\" после \"sin\""},
    {"x,", 2, "ожидается имя определения после \",\""},
    {"x, r", 4, "ожидается \"=\" после \"r\""},
    {"x, X=1", 4, "имя \"X\" нельзя определить"},
    {"r, r=1, R=2", 9, "определение \"R\" уже есть"},
    {"1e99999", 1, "число \"1e99999\" слишком велико"},
    {std::string(4097, 'x'), 4097, "формула длиннее 4096 знаков"},
    {std::string(100000, '('), 4097, "формула длиннее 4096 знаков"},
    {std::string(300, '(') + "x" + std::string(300, ')'), 257, "вложенность глубже 256 уровней"},
    {"x" + std::string(10, ' ') + "y", 12, "нет знака действия перед \"y\""},
};

TEST_P(FormulaRefusalTest, NamesTheFaultAndItsPosition) {
    const RefusalCase& c = GetParam();
    try {
        CompileFormula(c.text);
        ADD_FAILURE() << "compiled";
    } catch (const EFormulaError& e) {
        EXPECT_EQ(e.Detail(), c.detail);
        EXPECT_EQ(e.Position(), c.position);
        EXPECT_EQ(e.Message(),
                  "Ошибка в формуле, знак " + std::to_string(c.position) + ": " + c.detail);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaRefusalTest, ::testing::ValuesIn(RefusalCases));

TEST_F(FormulaTest, PowerChainsCountAsNesting) {
    std::string chain = "x";
    for (int i = 0; i < 300; ++i)
        chain += "^x";
    EXPECT_THROW(CompileFormula(chain), EFormulaError);
    std::string fine = "x";
    for (int i = 0; i < 200; ++i)
        fine += "^1";
    EXPECT_EQ(ValueOf(fine, 3), 3);
}

TEST_F(FormulaTest, DeepButUnnestedFormulasCompile) {
    // A long sum and a long chain of definitions: nothing recurses over them.
    std::string sum = "x";
    for (int i = 0; i < 2000; ++i)
        sum += "+x";
    EXPECT_EQ(ValueOf(sum, 1), 2001);
    std::string chain = "a0";
    for (int i = 0; i < 250; ++i)
        chain += ", a" + std::to_string(i) + "=a" + std::to_string(i + 1) + "+1";
    chain += ", a250=x";
    EXPECT_EQ(ValueOf(chain, 1), 251);
}

// --- Printing: the tree's text, and that text parsed again is the same tree ---

struct PrintCase {
    const char* text;
    const char* printed;
};

void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" printed as \"" << c.printed << '"';
}

class FormulaPrintTest : public ::testing::TestWithParam<PrintCase> {};

const PrintCase PrintCases[] = {
    {" x*x+y*y", "x*x+y*y"},
    {"-x^2", "-x^2"},
    {"(-x)^2", "(-x)^2"},
    {"2^3^2", "2^3^2"},
    {"(2^3)^2", "(2^3)^2"},
    {"x^-y", "x^-y"},
    {"x^(y+1)", "x^(y+1)"},
    {"x-(y-x)", "x-(y-x)"},
    {"(x-y)-x", "x-y-x"},
    {"x/(y*x)", "x/(y*x)"},
    {"x*-y", "x*-y"},
    {"-(x*y)", "-(x*y)"},
    {"- - x", "--x"},
    {"+x", "x"},
    {"SIN ( X )+tg(y)", "sin(x)+tg(y)"},
    {"0.5*.25e1", "0.5*2.5"},
    {" (sin(r))/r, r=sqrt(x*x+y*y)", "sin(r)/r, r=sqrt(x*x+y*y)"},
    {"R+PI, r=E", "r+pi, r=e"},
};

TEST_P(FormulaPrintTest, PrintsAndParsesBackToTheSameTree) {
    const PrintCase& c = GetParam();
    const formula::TSyntaxTree tree = formula::ParseFormula(c.text);
    const std::string printed = formula::PrintFormula(tree);
    EXPECT_EQ(printed, c.printed);
    EXPECT_TRUE(formula::SameTree(tree, formula::ParseFormula(printed)));
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaPrintTest, ::testing::ValuesIn(PrintCases));

TEST(FormulaTreeTest, DifferentTreesDiffer) {
    EXPECT_FALSE(
        formula::SameTree(formula::ParseFormula("x-y-x"), formula::ParseFormula("x-(y-x)")));
    EXPECT_FALSE(formula::SameTree(formula::ParseFormula("x+1"), formula::ParseFormula("x+2")));
    EXPECT_TRUE(formula::SameTree(formula::ParseFormula("X + 1"), formula::ParseFormula("x+1")));
}

}  // namespace
}  // namespace metopt::core
