#pragma once
// The one worker thread that long runs compute on, so that the window stays live: a job runs
// there with a watch that reports its progress and stops it on request; the caller learns of its
// end through a callback and then takes its outcome.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/minimizer.h"
#include "core/runwatch.h"

namespace metopt::app {

// Where a run stands: the iteration under way, the point of the last one completed (the start
// before the first), and for a comparison the method under way.
struct TRunProgress {
    std::uint32_t iteration = 0;
    core::TTracePoint point;
    bool hasPoint = false;
    std::optional<core::TMethod> method;  // none for a single run
    std::size_t methodIndex = 0;
    std::size_t methodCount = 0;
};

// The status line's progress text: "Итерация k: z = …" for a run (z of f at the point, left out
// when f is null or cannot be evaluated there), "Метод i из n: <name>, итерация k" for a
// comparison.
std::string ProgressText(const TRunProgress& progress, const core::TObjective* f);

// The status line's text after a stopped run.
std::string StoppedText(std::uint32_t iteration);

// How a job ended.
struct TRunEnd {
    bool stopped = false;      // Stop was asked for and the job ended by it
    std::exception_ptr error;  // any other failure, to be raised where the caller reports errors
    TRunProgress progress;     // where it stood at its end
};

class TRunWorker {
  public:
    // A job: computes with this watch in its descents (their Watch), raising EAbort when stopped.
    using Job = std::function<void(core::TRunWatch& watch)>;

    TRunWorker() = default;
    // Stops a job still running and waits for its thread.
    ~TRunWorker();
    TRunWorker(const TRunWorker&) = delete;
    TRunWorker& operator=(const TRunWorker&) = delete;

    // Runs job on the worker thread, with the caller's floating-point environment; `ended` is
    // called on the worker thread once it has ended. One job at a time: the last one must have
    // been finished (Finish) first.
    void Start(Job job, std::function<void()> ended);
    // True from Start until Finish.
    bool Busy() const { return thread_.joinable(); }
    // Asks the job to stop at its next evaluation.
    void RequestStop() { stop_.store(true); }
    // Whether Stop was asked of the job under way: the jobs that do not compute a descent ask it.
    bool StopAsked() const { return stop_.load(std::memory_order_relaxed); }
    TRunProgress Progress() const;
    // Waits until the job has ended, or at most `limit`, calling `tick` every `interval`
    // meanwhile (batch mode's progress line and its interrupt); true when it has ended.
    bool Wait(const std::function<void()>& tick, std::chrono::milliseconds interval,
              std::chrono::milliseconds limit = std::chrono::milliseconds::max());
    // After the job has ended (or to end it: then it waits): joins the thread and says how the
    // job ended.
    TRunEnd Finish();

  private:
    class Watch;
    void Publish(const TRunProgress& progress);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
    // Wakes Wait at the job's end.
    std::mutex endMutex_;
    std::condition_variable endSignal_;
    mutable std::mutex mutex_;
    TRunProgress progress_;
    bool stopped_ = false;
    std::exception_ptr error_;
};

}  // namespace metopt::app
