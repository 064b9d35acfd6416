#pragma once
// The Gaussian noise a run adds to the gradients it evaluates: a seeded 64-bit Mersenne twister
// and the polar method, in the x87's own arithmetic, so a seed gives the same numbers on every
// system the program runs on.
#include <random>

#include "core/methods/learningparameters.h"

namespace metopt::core::methods {

class TNoiseSource {
  public:
    explicit TNoiseSource(const TGradientNoise& noise) : sigma_(noise.sigma), engine_(noise.seed) {}
    // Adds independent N(0, sigma²) to each component.
    void Disturb(long double& gx, long double& gy);

  private:
    // A uniform number in (−1, 1) on a grid of 2^−52.
    long double Uniform();

    long double sigma_;
    std::mt19937_64 engine_;
};

}  // namespace metopt::core::methods
