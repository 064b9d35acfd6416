#include "core/methods/method.h"

#include "core/methods/methodrun.h"
#include "runtime/exceptions.h"

namespace metopt::core {

const char* const NoMethodMessage = "Метод оптимизации не выбран: выберите его из списка";

const char* const MethodCaptions[MethodCount] = {
    "Скорейший спуск (градиентный метод)",
    "Градиентный спуск, постоянный шаг",
    "Градиентный спуск, дробление шага",
    "Покоординатный спуск",
    "Сопряжённые градиенты (Флетчер–Ривс)",
    "Сопряжённые градиенты (Полак–Рибьер)",
    "Метод Ньютона",
    "Метод Ньютона с выбором шага",
    "Квазиньютоновский метод BFGS",
    "Квазиньютоновский метод DFP",
    "Метод Хука–Дживса",
    "Метод Нелдера–Мида",
    "Градиентный спуск с моментом",
    "Метод Нестерова",
    "AdaGrad",
    "RMSProp",
    "Adam",
};

const char* const MethodHints[MethodCount] = {
    "Шаг вдоль антиградиента, длина шага — поиском на прямой (h_step, Uoo, eps)",
    "x(k) = x(k−1) − h_step·∇f(x(k−1)); eps — для правила остановки",
    "Шаг h_step делится пополам, пока f не уменьшится достаточно (до 64 раз); eps — для остановки",
    "Поиск на прямой вдоль x, затем вдоль y, по очереди (h_step, Uoo, eps)",
    "Направление −∇f + β·d, β = |g(k)|²/|g(k−1)|², обновление каждые 2 итерации; "
    "поиск на прямой (h_step, Uoo, eps)",
    "Направление −∇f + β·d, β = max(0, g(k)·(g(k) − g(k−1)))/|g(k−1)|², обновление каждые "
    "2 итерации; поиск на прямой (h_step, Uoo, eps)",
    "x(k) = x(k−1) − H⁻¹·∇f, полный шаг; нужна матрица Гессе; eps — для остановки",
    "Направление Ньютона (или −∇f, если оно не ведёт вниз), шаг — поиском на прямой "
    "(h_step, Uoo, eps)",
    "Оценка обратной матрицы Гессе по формуле BFGS, шаг — поиском на прямой (h_step, Uoo, eps)",
    "Оценка обратной матрицы Гессе по формуле DFP, шаг — поиском на прямой (h_step, Uoo, eps)",
    "Исследующий поиск с шагом h_step по x и y и поиск по образцу; шаг делится пополам до eps "
    "(своё правило остановки)",
    "Симплекс из x0, x0 + (h_step, 0), x0 + (0, h_step): отражение, растяжение, сжатие; "
    "остановка, когда симплекс меньше eps (своё правило)",
    "v(k) = β·v(k−1) + ∇f(x(k−1)), x(k) = x(k−1) − α·v(k) (α, β; eps — для остановки)",
    "Как с моментом, но градиент берётся в точке x(k−1) − α·β·v(k−1) (α, β; eps — для "
    "остановки)",
    "G(k) = G(k−1) + g², шаг −α·g/(√G + 1e-8) по каждой координате (α; eps — для остановки)",
    "E(k) = ρ·E(k−1) + (1 − ρ)·g², шаг −α·g/(√E + 1e-8) по каждой координате (α, ρ; eps — для "
    "остановки)",
    "Средние m и v градиента и его квадрата с β1 и β2, поправка смещения, шаг −α·m/(√v + 1e-8) "
    "(α, β1, β2; eps — для остановки)",
};

const char* const StopRuleCaptions[StopRuleCount] = {
    "по шагу: |x(k) − x(k−1)| < eps",
    "по градиенту: |∇f(x(k))| < eps",
    "по функции: |f(x(k)) − f(x(k−1))| < eps",
};

const char* StopReasonText(TStopReason reason) {
    switch (reason) {
        case TStopReason::Step:
            return "шаг меньше eps";
        case TStopReason::Gradient:
            return "норма градиента меньше eps";
        case TStopReason::Value:
            return "изменение функции меньше eps";
        case TStopReason::OutsideDomain:
            return "точка вышла из области";
        case TStopReason::IterationLimit:
            return "достигнут предел итераций";
        case TStopReason::SingularHessian:
            return "матрица Гессе вырождена";
        case TStopReason::NoDecrease:
            return "шаг не уменьшает функцию";
        case TStopReason::SearchStep:
            return "шаг поиска меньше eps";
        case TStopReason::StepLimit:
            return "выполнено заданное число шагов";
        default:
            return "симплекс меньше eps";
    }
}

const char* MethodCaption(TMethod method) {
    return MethodCaptions[ItemOf(method)];
}

const char* MethodReportName(TMethod method) {
    // The steepest descent keeps the name its report has always had.
    return method == TMethod::SteepestDescent ? "Скорейший спуск" : MethodCaption(method);
}

bool IsClassicRun(TMethod method, TStopRule rule, const TGradientNoise& noise) {
    return method == TMethod::SteepestDescent && rule == TStopRule::Step && noise.sigma == 0;
}

TMethodOutcome RunMethod(TDescent& descent, TMethod method, TStopRule rule, long double x0,
                         long double y0) {
    using Run = void (*)(methods::TMethodRun&, methods::Point);
    static constexpr Run Runs[MethodCount] = {
        methods::RunSteepestDescent,
        methods::RunFixedStep,
        methods::RunStepHalving,
        methods::RunCoordinateDescent,
        methods::RunFletcherReeves,
        methods::RunPolakRibiere,
        methods::RunNewton,
        methods::RunDampedNewton,
        methods::RunBfgs,
        methods::RunDfp,
        methods::RunHookeJeeves,
        methods::RunNelderMead,
        methods::RunMomentum,
        methods::RunNesterov,
        methods::RunAdaGrad,
        methods::RunRmsProp,
        methods::RunAdam,
    };
    CheckRunParameters(descent);
    CheckLearningParameters(descent, method);
    methods::TMethodRun run(descent, rule, {x0, y0});
    Runs[ItemOf(method)](run, {x0, y0});
    return run.Outcome();
}

}  // namespace metopt::core
