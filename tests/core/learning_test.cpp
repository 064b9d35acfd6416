// The methods of machine learning: their first iterations against values worked out by hand (in
// exact decimal arithmetic, outside the program), where they end on a narrow quadratic, the
// refusals of their parameters, and the seeded noise of the gradients.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "core/formula/formula.h"
#include "core/methods/method.h"
#include "core/runreport.h"
#include "runtime/exceptions.h"
#include "support/descent_fixture.h"
#include "support/expect_error.h"

namespace metopt::core {
namespace {

const char* const Narrow = "x^2+10*y^2";

class LearningTest : public MinimizerTest {
  protected:
    void SetUp() override {
        SetRun(99, 1e-6L);
        descent.Typed = CompileFormula(Narrow);
    }
    TMethodOutcome Run(TMethod method, TStopRule rule = TStopRule::Step) {
        return RunMethod(descent, method, rule, 1, 1);
    }
};

struct FirstSteps {
    TMethod method;
    bool biasCorrection;
    TTracePoint points[3];
};

void PrintTo(const FirstSteps& c, std::ostream* os) {
    *os << MethodCaption(c.method) << (c.biasCorrection ? "" : " without bias correction");
}

class LearningFirstStepsTest : public LearningTest,
                               public ::testing::WithParamInterface<FirstSteps> {};

// x² + 10y² from (1, 1), α = 0.01, β = 0.9, ρ = 0.99, β1 = 0.9, β2 = 0.999, ε = 1e-8.
const FirstSteps FirstStepCases[] = {
    {TMethod::Momentum, true, {{0.98L, 0.8L}, {0.9424L, 0.46L}, {0.889712L, 0.062L}}},
    {TMethod::Nesterov, true, {{0.98L, 0.8L}, {0.94276L, 0.496L}, {0.89105912L, 0.17792L}}},
    {TMethod::AdaGrad,
     true,
     {{0.99000000004999999975L, 0.990000000005L},
      {0.98296455409561823679L, 0.98296455402828087689L},
      {0.97723793958090751436L, 0.97723793949873410603L}}},
    {TMethod::RmsProp,
     true,
     {{0.90000000499999975L, 0.9000000004999999975L},
      {0.83291796797003308041L, 0.83291796140450901601L},
      {0.77998227324363501766L, 0.77998226537878730388L}}},
    {TMethod::Adam,
     true,
     {{0.99000000004999999975L, 0.990000000005L},
      {0.9800027459961473797L, 0.98000274590594711472L},
      {0.97001009937839987912L, 0.9700100992428148247L}}},
    {TMethod::Adam,
     false,
     {{0.96837722839831541611L, 0.96837722389831619877L},
      {0.92592238588597063697L, 0.92592237705157412116L},
      {0.87657677174316140721L, 0.87657675872875331173L}}},
};

TEST_P(LearningFirstStepsTest, TakeTheStepsWorkedOutByHand) {
    const FirstSteps& c = GetParam();
    descent.Learning.biasCorrection = c.biasCorrection;
    descent.StepLimit = 3;
    Run(c.method);
    ASSERT_EQ(descent.TraceCount, 3u);
    ASSERT_EQ(descent.StepVectors.size(), 3u);
    for (std::uint32_t k = 1; k <= 3; ++k) {
        SCOPED_TRACE("iteration " + std::to_string(k));
        EXPECT_LE(std::fabs(descent.Trace[k].X - c.points[k - 1].X), 1e-15L);
        EXPECT_LE(std::fabs(descent.Trace[k].Y - c.points[k - 1].Y), 1e-15L);
        // The step kept for the map is the move the iteration made.
        const TTracePoint from = k == 1 ? TTracePoint{1, 1} : descent.Trace[k - 1];
        EXPECT_LE(std::fabs(descent.StepVectors[k - 1].sx - (descent.Trace[k].X - from.X)), 1e-18L);
        EXPECT_LE(std::fabs(descent.StepVectors[k - 1].sy - (descent.Trace[k].Y - from.Y)), 1e-18L);
    }
    // The first gradient is the one at the start, (2, 20), for each of them.
    EXPECT_EQ(descent.StepVectors[0].gx, 2);
    EXPECT_EQ(descent.StepVectors[0].gy, 20);
}

INSTANTIATE_TEST_SUITE_P(Methods, LearningFirstStepsTest, ::testing::ValuesIn(FirstStepCases));

struct Ending {
    TMethod method;
    TStopReason reason;
};

void PrintTo(const Ending& c, std::ostream* os) {
    *os << MethodCaption(c.method) << ": " << StopReasonText(c.reason);
}

class LearningEndTest : public LearningTest, public ::testing::WithParamInterface<Ending> {};

// At α = 0.01 the heavy ball and Nesterov's method contract by about √β a step, and RMSProp and
// Adam, whose running mean squares fall behind the shrinking gradient, take steps of about α until
// the gradient is small: all four reach |∇f| < 1e-6. AdaGrad's sum of squares only grows, its
// steps shrink as 1/√k, and they cannot cover the distance in 10000 iterations.
const Ending Endings[] = {
    {TMethod::Momentum, TStopReason::Gradient},      {TMethod::Nesterov, TStopReason::Gradient},
    {TMethod::AdaGrad, TStopReason::IterationLimit}, {TMethod::RmsProp, TStopReason::Gradient},
    {TMethod::Adam, TStopReason::Gradient},
};

TEST_P(LearningEndTest, ReachTheMinimumOrStopForTheirReason) {
    const Ending& c = GetParam();
    const TMethodOutcome outcome = Run(c.method, TStopRule::Gradient);
    EXPECT_EQ(outcome.reason, c.reason);
    const TTracePoint end = descent.Trace[descent.TraceCount];
    if (c.reason == TStopReason::Gradient) {
        EXPECT_LT(std::hypot(end.X, end.Y), 1e-4L);
        EXPECT_LT(descent.TraceCount, 1000u);
    } else {
        EXPECT_EQ(descent.TraceCount, TraceCapacity);
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, LearningEndTest, ::testing::ValuesIn(Endings));

struct Refusal {
    const char* name;
    void (*set)(TDescent&);
    TMethod method;
    const char* message;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << c.name;
}

class LearningRefusalTest : public LearningTest, public ::testing::WithParamInterface<Refusal> {};

const Refusal Refusals[] = {
    {"rate zero", [](TDescent& d) { d.Learning.rate = 0; }, TMethod::Adam,
     "Скорость обучения α должна быть больше 0"},
    {"momentum one", [](TDescent& d) { d.Learning.momentum = 1; }, TMethod::Nesterov,
     "Коэффициент β должен быть не меньше 0 и меньше 1"},
    {"decay negative", [](TDescent& d) { d.Learning.decay = -0.1L; }, TMethod::RmsProp,
     "Коэффициент ρ должен быть не меньше 0 и меньше 1"},
    {"beta2 above one", [](TDescent& d) { d.Learning.beta2 = 1.5L; }, TMethod::Adam,
     "Коэффициент β2 должен быть не меньше 0 и меньше 1"},
    {"negative noise", [](TDescent& d) { d.Noise.sigma = -1; }, TMethod::Bfgs,
     "Шум градиента σ должен быть не меньше 0"},
};

TEST_P(LearningRefusalTest, RefusesBeforeTouchingTheTrace) {
    const Refusal& c = GetParam();
    descent.StepLimit = 2;
    Run(TMethod::Momentum);
    c.set(descent);
    testsupport::ExpectError([&] { Run(c.method); }, c.message);
    EXPECT_EQ(descent.TraceCount, 2u);
}

INSTANTIATE_TEST_SUITE_P(Parameters, LearningRefusalTest, ::testing::ValuesIn(Refusals));

// A decay only the method that reads it refuses: Adam's β1 does not stop the heavy ball.
TEST_F(LearningTest, ADecayRefusesOnlyTheMethodThatReadsIt) {
    descent.Learning.beta1 = 2;
    descent.StepLimit = 1;
    EXPECT_NO_THROW(Run(TMethod::Momentum));
    EXPECT_THROW(Run(TMethod::Adam), runtime::Exception);
}

class NoiseTest : public ::testing::Test {
  protected:
    static std::vector<std::string> Report(const std::string& sigma, const std::string& seed,
                                           TMethod method = TMethod::Adam) {
        DescentFields fields;
        fields.funcIndex = 99;
        fields.formula = Narrow;
        fields.typed = CompileFormula(Narrow);
        fields.x0 = "1";
        fields.y0 = "1";
        fields.method = method;
        fields.stepLimit = 40;
        fields.noise = sigma;
        fields.seed = seed;
        TDescent descent;
        return RunDescentAndReport(descent, fields, TRegion{-2, 2, -2, 2});
    }
};

TEST_F(NoiseTest, TheSameSeedRepeatsAndAnotherDiffers) {
    const std::vector<std::string> first = Report("0.5", "7");
    EXPECT_EQ(Report("0.5", "7"), first);
    EXPECT_NE(Report("0.5", "8"), first);
    EXPECT_NE(Report("0.5", "7", TMethod::Momentum), Report("0", "7", TMethod::Momentum));
    // The report names the noise, as typed.
    EXPECT_NE(std::find(first.begin(), first.end(), "Шум градиента: σ = 0.5, зерно 7"),
              first.end());
}

TEST_F(NoiseTest, NoNoiseIsTheRunWithout) {
    // σ = 0 leaves every method, the classic run too, as it was: the seed is not even read.
    for (const TMethod method : {TMethod::SteepestDescent, TMethod::Bfgs, TMethod::Adam})
        EXPECT_EQ(Report("0", "not a number", method), Report("0", "1", method));
    // A noisy steepest descent leaves the classic run for the method's own loop and report.
    const std::vector<std::string> noisy = Report("0.01", "1", TMethod::SteepestDescent);
    EXPECT_NE(std::ranges::find_if(
                  noisy, [](const std::string& line) { return line.rfind("Остановка: ", 0) == 0; }),
              noisy.end());
}

TEST_F(NoiseTest, RefusesASeedThatIsNoWholeNumber) {
    for (const char* seed : {"1.5", "-1", "4294967296"})
        testsupport::ExpectError([&] { Report("0.1", seed); },
                                 "Зерно шума должно быть целым числом от 0 до 4294967295");
}

}  // namespace
}  // namespace metopt::core
