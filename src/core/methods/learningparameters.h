#pragma once
// The parameters of the methods of machine learning (momentum, Nesterov, AdaGrad, RMSProp, Adam),
// the noise a run adds to the gradients it uses, and the vectors of each step those methods keep.
#include <cstdint>

namespace metopt::core {

struct TLearningParameters {
    long double rate = 0.01L;     // α, the learning rate
    long double momentum = 0.9L;  // β of the momentum and of Nesterov's method
    long double decay = 0.99L;    // ρ of RMSProp
    long double beta1 = 0.9L;     // Adam's decay of the mean
    long double beta2 = 0.999L;   // Adam's decay of the mean square
    bool biasCorrection = true;   // Adam's correction of the averages' start at zero
};

// Independent Gaussian noise N(0, sigma²) on each component of each gradient a run evaluates,
// drawn from a generator started at `seed` when the run starts; none for sigma 0.
struct TGradientNoise {
    long double sigma = 0;
    std::uint32_t seed = 1;
};

// An iteration of a method of machine learning: the gradient it took at x(k − 1) and the step it
// made from there, x(k) − x(k − 1).
struct TStepVectors {
    long double gx = 0;
    long double gy = 0;
    long double sx = 0;
    long double sy = 0;
};

}  // namespace metopt::core
