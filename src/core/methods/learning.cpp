// The methods of machine learning: the heavy ball (momentum), Nesterov's look-ahead, and the
// adaptive steps of AdaGrad, RMSProp and Adam, each componentwise, with a fixed learning rate.
#include <cmath>
#include <string>

#include "core/methods/methodrun.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"

namespace metopt::core {

namespace {

// What keeps the adaptive denominators √G + ε away from zero.
constexpr long double Epsilon = 1e-8L;

void CheckDecay(long double value, const char* name) {
    if (!(value >= 0 && value < 1))
        throw runtime::Exception(std::string("Коэффициент ") + name +
                                 " должен быть не меньше 0 и меньше 1");
}

}  // namespace

bool IsLearningMethod(TMethod method) {
    return ItemOf(method) >= ItemOf(TMethod::Momentum);
}

void CheckLearningParameters(const TDescent& descent, TMethod method) {
    if (!(descent.Noise.sigma >= 0 && std::isfinite(descent.Noise.sigma)))
        throw runtime::Exception("Шум градиента σ должен быть не меньше 0");
    if (!IsLearningMethod(method))
        return;
    const TLearningParameters& p = descent.Learning;
    if (!(p.rate > 0 && std::isfinite(p.rate)))
        throw runtime::Exception("Скорость обучения α должна быть больше 0");
    switch (method) {
        case TMethod::Momentum:
        case TMethod::Nesterov:
            CheckDecay(p.momentum, "β");
            break;
        case TMethod::RmsProp:
            CheckDecay(p.decay, "ρ");
            break;
        case TMethod::Adam:
            CheckDecay(p.beta1, "β1");
            CheckDecay(p.beta2, "β2");
            break;
        default:
            break;
    }
}

namespace methods {

namespace {

struct Pair {
    long double x = 0;
    long double y = 0;
};

// The loop of every method here: the gradient at the point the rule names, the rule's step from
// it, and the vectors of the iteration kept for the map.
template <class Rule>
void RunLearning(TMethodRun& run, Point start, Rule rule) {
    Point x = start;
    for (;;) {
        run.Begin();
        Pair g;
        run.Gradient(rule.GradientPoint(x), g.x, g.y);
        runtime::ClearFpuFlags();
        const Pair s = rule.Step(g);
        const Point next{x.X + s.x, x.Y + s.y};
        runtime::CheckFpu();
        run.Descent().StepVectors.push_back({g.x, g.y, s.x, s.y});
        if (run.End(x, next))
            return;
        x = next;
    }
}

// v ← βv + g, x ← x − αv; Nesterov's form takes g at the look-ahead point x − αβv.
class HeavyBall {
  public:
    HeavyBall(const TLearningParameters& p, bool lookAhead) : p_(p), lookAhead_(lookAhead) {}
    Point GradientPoint(Point x) const {
        return lookAhead_ ? Along(x, -(p_.rate * p_.momentum), v_.x, v_.y) : x;
    }
    Pair Step(Pair g) {
        v_ = {p_.momentum * v_.x + g.x, p_.momentum * v_.y + g.y};
        return {-(p_.rate * v_.x), -(p_.rate * v_.y)};
    }

  private:
    const TLearningParameters& p_;
    bool lookAhead_;
    Pair v_;
};

// The running mean ρ·a + (1 − ρ)·b.
long double Decayed(long double rho, long double a, long double b) {
    return rho * a + (1 - rho) * b;
}

// −α·g/(√a + ε) for one component whose mean square is a.
long double AdaptiveStep(long double rate, long double g, long double a) {
    return -(rate * g / (std::sqrt(a) + Epsilon));
}

// The mean square of each component, AdaGrad's sum G ← G + g² or RMSProp's running mean
// E ← ρE + (1 − ρ)g², and the step −α·g/(√G + ε).
class SquareScaled {
  public:
    SquareScaled(const TLearningParameters& p, bool running) : p_(p), running_(running) {}
    Point GradientPoint(Point x) const { return x; }
    Pair Step(Pair g) {
        square_ = {Accumulated(square_.x, g.x), Accumulated(square_.y, g.y)};
        return {AdaptiveStep(p_.rate, g.x, square_.x), AdaptiveStep(p_.rate, g.y, square_.y)};
    }

  private:
    long double Accumulated(long double square, long double g) const {
        return running_ ? Decayed(p_.decay, square, g * g) : square + g * g;
    }

    const TLearningParameters& p_;
    bool running_;
    Pair square_;
};

// m ← β1·m + (1 − β1)·g, v ← β2·v + (1 − β2)·g², each divided by 1 − β^k when corrected; step
// −α·m/(√v + ε).
class Adam {
  public:
    explicit Adam(const TLearningParameters& p) : p_(p) {}
    Point GradientPoint(Point x) const { return x; }
    Pair Step(Pair g) {
        const long double b1 = p_.beta1;
        const long double b2 = p_.beta2;
        mean_ = {Decayed(b1, mean_.x, g.x), Decayed(b1, mean_.y, g.y)};
        square_ = {Decayed(b2, square_.x, g.x * g.x), Decayed(b2, square_.y, g.y * g.y)};
        power1_ = power1_ * b1;
        power2_ = power2_ * b2;
        Pair m = mean_;
        Pair v = square_;
        if (p_.biasCorrection) {
            m = {m.x / (1 - power1_), m.y / (1 - power1_)};
            v = {v.x / (1 - power2_), v.y / (1 - power2_)};
        }
        return {AdaptiveStep(p_.rate, m.x, v.x), AdaptiveStep(p_.rate, m.y, v.y)};
    }

  private:
    const TLearningParameters& p_;
    Pair mean_;
    Pair square_;
    long double power1_ = 1;  // β1^k
    long double power2_ = 1;  // β2^k
};

}  // namespace

void RunMomentum(TMethodRun& run, Point start) {
    RunLearning(run, start, HeavyBall(run.Descent().Learning, false));
}

void RunNesterov(TMethodRun& run, Point start) {
    RunLearning(run, start, HeavyBall(run.Descent().Learning, true));
}

void RunAdaGrad(TMethodRun& run, Point start) {
    RunLearning(run, start, SquareScaled(run.Descent().Learning, false));
}

void RunRmsProp(TMethodRun& run, Point start) {
    RunLearning(run, start, SquareScaled(run.Descent().Learning, true));
}

void RunAdam(TMethodRun& run, Point start) {
    RunLearning(run, start, Adam(run.Descent().Learning));
}

}  // namespace methods

}  // namespace metopt::core
