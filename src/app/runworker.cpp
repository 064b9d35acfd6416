#include "app/runworker.h"

#include <algorithm>
#include <cfenv>

#include "core/methods/comparison.h"
#include "runtime/exceptions.h"
#include "runtime/fpu.h"
#include "runtime/numformat.h"

namespace metopt::app {

// The job's watch: stops it when asked, and publishes where it stands whenever the iteration or
// the method under way changes (a few times per iteration at most, so the lock costs nothing).
class TRunWorker::Watch final : public core::TRunWatch {
  public:
    explicit Watch(TRunWorker& worker) : worker_(worker) {}

    void Evaluating(const core::TDescent& descent) override {
        if (worker_.stop_.load(std::memory_order_relaxed))
            throw runtime::EAbort();
        if (descent.TraceCount == progress_.iteration && progress_.hasPoint)
            return;
        progress_.iteration = descent.TraceCount;
        progress_.point = descent.TraceCount > 1 && descent.TraceCount <= core::TraceCapacity + 1
                              ? descent.Trace[descent.TraceCount - 1]
                              : descent.TraceStart;
        progress_.hasPoint = true;
        worker_.Publish(progress_);
    }

    void MethodBegins(core::TMethod method, std::size_t index, std::size_t count) override {
        progress_ = TRunProgress{};
        progress_.method = method;
        progress_.methodIndex = index;
        progress_.methodCount = count;
        worker_.Publish(progress_);
    }

  private:
    TRunWorker& worker_;
    TRunProgress progress_;
};

std::string ProgressText(const TRunProgress& progress, const core::TObjective* f) {
    const std::string iteration = std::to_string(progress.iteration);
    if (progress.method) {
        return "Метод " + std::to_string(progress.methodIndex) + " из " +
               std::to_string(progress.methodCount) + ": " +
               core::MethodShortName(*progress.method) + ", итерация " + iteration;
    }
    std::string text = "Итерация " + iteration;
    if (f == nullptr || !progress.hasPoint)
        return text;
    try {
        runtime::ClearFpuFlags();
        const long double z = f->Value(progress.point.X, progress.point.Y);
        text += ": z = " + runtime::FormatGeneral(z);
    } catch (const runtime::Exception&) {
        // A point where f cannot be evaluated shows the iteration alone.
    }
    return text;
}

std::string StoppedText(std::uint32_t iteration) {
    return "Расчет остановлен на итерации " + std::to_string(iteration);
}

TRunWorker::~TRunWorker() {
    if (Busy()) {
        RequestStop();
        thread_.join();
    }
}

void TRunWorker::Start(Job job, std::function<void()> ended) {
    stop_.store(false);
    ended_.store(false);
    progress_ = TRunProgress{};
    stopped_ = false;
    error_ = nullptr;
    std::fenv_t environment;
    std::fegetenv(&environment);
    thread_ = std::thread([this, environment, job = std::move(job), ended = std::move(ended)] {
        std::fesetenv(&environment);
        runtime::ClearFpuFlags();
        Watch watch(*this);
        try {
            job(watch);
        } catch (const runtime::EAbort&) {
            const std::lock_guard<std::mutex> lock(mutex_);
            // An EAbort the job raised of its own accord is a failure like any other.
            if (stop_.load())
                stopped_ = true;
            else
                error_ = std::current_exception();
        } catch (...) {
            const std::lock_guard<std::mutex> lock(mutex_);
            error_ = std::current_exception();
        }
        {
            const std::lock_guard<std::mutex> lock(endMutex_);
            ended_.store(true);
        }
        endSignal_.notify_all();
        if (ended)
            ended();
    });
}

void TRunWorker::Publish(const TRunProgress& progress) {
    const std::lock_guard<std::mutex> lock(mutex_);
    progress_ = progress;
}

TRunProgress TRunWorker::Progress() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return progress_;
}

bool TRunWorker::Wait(const std::function<void()>& tick, std::chrono::milliseconds interval,
                      std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto next = start + interval;
    std::unique_lock<std::mutex> lock(endMutex_);
    while (!ended_.load()) {
        const auto now = Clock::now();
        // In milliseconds, where the unlimited wait cannot overflow.
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
        if (waited >= limit)
            return false;
        if (now >= next) {
            // Unlocked: the tick may read the progress, and the job must be able to end meanwhile.
            lock.unlock();
            tick();
            lock.lock();
            next = Clock::now() + interval;
            continue;
        }
        // Woken at the job's end, at once; otherwise at the next tick or at the limit.
        const auto untilTick = std::chrono::duration_cast<std::chrono::milliseconds>(next - now) +
                               std::chrono::milliseconds(1);
        endSignal_.wait_for(lock, std::min(untilTick, limit - waited),
                            [this] { return ended_.load(); });
    }
    return true;
}

TRunEnd TRunWorker::Finish() {
    if (thread_.joinable())
        thread_.join();
    const std::lock_guard<std::mutex> lock(mutex_);
    return TRunEnd{stopped_, error_, progress_};
}

}  // namespace metopt::app
