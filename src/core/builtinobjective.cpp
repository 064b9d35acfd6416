#include "core/builtinobjective.h"

#include "core/builtinfunctions.h"

namespace metopt::core {

namespace {

class TBuiltinObjective final : public TObjective {
  public:
    explicit TBuiltinObjective(int index) : index_(index) {}
    long double Value(long double x, long double y) const override {
        return ObjectiveFuncs[index_](x, y);
    }
    void Gradient(long double x, long double y, long double& gx, long double& gy) const override {
        GradientProcs[index_](x, y, gx, gy);
    }
    void Hessian(long double x, long double y, long double& hxx, long double& hxy,
                 long double& hyy) const override {
        HessianProcs[index_](x, y, hxx, hxy, hyy);
    }

  private:
    int index_;
};

const TBuiltinObjective Builtins[FunctionCount] = {TBuiltinObjective(0), TBuiltinObjective(1),
                                                   TBuiltinObjective(2)};

}  // namespace

const TObjective& BuiltinObjective(int index) {
    return Builtins[index];
}

}  // namespace metopt::core
