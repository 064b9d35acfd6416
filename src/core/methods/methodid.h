#pragma once
// The minimisation methods by name, and the items of the method list that stand for them.
#include <array>
#include <optional>

namespace metopt::core {

// In the order of the method list's items.
enum class TMethod {
    SteepestDescent,
    FixedStep,
    StepHalving,
    CoordinateDescent,
    FletcherReeves,
    PolakRibiere,
    Newton,
    DampedNewton,
    Bfgs,
    Dfp,
    HookeJeeves,
    NelderMead,
    Momentum,
    Nesterov,
    AdaGrad,
    RmsProp,
    Adam,
};
constexpr int MethodCount = 17;

// The method of an item of the method list (or of the menu "Сравнивать методы"); none for -1
// (no item chosen) or any number that is no item.
constexpr std::optional<TMethod> MethodOfItem(int item) {
    if (item < 0 || item >= MethodCount)
        return std::nullopt;
    return static_cast<TMethod>(item);
}
constexpr int ItemOf(TMethod method) {
    return static_cast<int>(method);
}
// Every method, in list order.
constexpr std::array<TMethod, MethodCount> AllMethods() {
    std::array<TMethod, MethodCount> all{};
    for (int item = 0; item < MethodCount; ++item)
        all[static_cast<std::size_t>(item)] = static_cast<TMethod>(item);
    return all;
}

}  // namespace metopt::core
