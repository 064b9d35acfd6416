#include "render/rowteam.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "runtime/fpu.h"

namespace metopt::render {

namespace {

// The workers of one RowPass. The calling thread takes each row in order, and while a row is not
// done yet it does the next unclaimed row itself, so that it works as one of the team instead of
// waiting on a core that the workers need. A row that raised, or a stop, ends the claims of rows
// beyond it. The destructor stops and joins every worker, so no worker outlives the pass whatever
// it ends with.
class RowTeam {
  public:
    // `threads` worker threads beside the calling thread.
    RowTeam(std::int32_t rows, unsigned threads, const std::function<void(std::int32_t)>& work)
        : work_(work),
          done_(static_cast<std::size_t>(rows) + 1, 0),
          failures_(static_cast<std::size_t>(rows) + 1),
          lastRow_(rows) {
        std::fegetenv(&environment_);
        workers_.reserve(threads);  // so that starting a worker can only fail as a system error
        for (unsigned i = 0; i < threads; ++i) {
            try {
                workers_.emplace_back([this] { Serve(); });
            } catch (const std::system_error&) {
                break;  // fewer threads; the calling thread does the rows no worker took
            }
        }
    }
    ~RowTeam() {
        lastRow_.store(0);
        for (std::thread& worker : workers_)
            worker.join();
    }
    RowTeam(const RowTeam&) = delete;
    RowTeam& operator=(const RowTeam&) = delete;

    // Stops claims of rows after this one.
    void StopAfter(std::int32_t row) { LowerLastRow(row); }

    // Until the row is done, does unclaimed rows here, then waits for the row; true when its
    // work raised.
    bool Await(std::int32_t row) {
        while (!IsDone(row) && ClaimNext()) {
        }
        std::unique_lock<std::mutex> lock(mutex_);
        rowDone_.wait(lock, [&] { return done_[static_cast<std::size_t>(row)] != 0; });
        return failures_[static_cast<std::size_t>(row)] != nullptr;
    }
    [[noreturn]] void Raise(std::int32_t row) {
        std::rethrow_exception(failures_[static_cast<std::size_t>(row)]);
    }

  private:
    void Serve() {
        std::fesetenv(&environment_);
        runtime::ClearFpuFlags();
        while (ClaimNext()) {
        }
    }

    // Does the next unclaimed row; false when none is left.
    bool ClaimNext() {
        const std::int32_t row = nextRow_.fetch_add(1) + 1;
        if (row > lastRow_.load())
            return false;
        Claim(row);
        return true;
    }

    bool IsDone(std::int32_t row) {
        std::lock_guard<std::mutex> lock(mutex_);
        return done_[static_cast<std::size_t>(row)] != 0;
    }

    void Claim(std::int32_t row) {
        std::exception_ptr failure;
        try {
            work_(row);
        } catch (...) {
            failure = std::current_exception();
            LowerLastRow(row);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            failures_[static_cast<std::size_t>(row)] = failure;
            done_[static_cast<std::size_t>(row)] = 1;
        }
        rowDone_.notify_all();
    }

    void LowerLastRow(std::int32_t row) {
        std::int32_t last = lastRow_.load();
        while (row < last && !lastRow_.compare_exchange_weak(last, row)) {
        }
    }

    const std::function<void(std::int32_t)>& work_;
    std::fenv_t environment_{};
    std::mutex mutex_;
    std::condition_variable rowDone_;
    std::vector<unsigned char> done_;
    std::vector<std::exception_ptr> failures_;
    std::atomic<std::int32_t> nextRow_{0};
    std::atomic<std::int32_t> lastRow_;
    std::vector<std::thread> workers_;
};

// One row's work on the calling thread, right after its beforeRow.
std::int32_t RunRowsHere(std::int32_t rows, const RowPass& pass) {
    for (std::int32_t row = 1; row <= rows; ++row) {
        if (!pass.beforeRow(row))
            return row;
        std::exception_ptr failure;
        try {
            pass.work(row);
        } catch (...) {
            failure = std::current_exception();
        }
        pass.afterRow(row, failure != nullptr);
        if (failure)
            std::rethrow_exception(failure);
    }
    return 0;
}

std::int32_t RunRowsOnWorkers(std::int32_t rows, unsigned threads, const RowPass& pass) {
    RowTeam team(rows, threads - 1, pass.work);
    for (std::int32_t row = 1; row <= rows; ++row) {
        if (!pass.beforeRow(row)) {
            team.StopAfter(0);
            return row;
        }
        const bool failed = team.Await(row);
        pass.afterRow(row, failed);
        if (failed)
            team.Raise(row);
    }
    return 0;
}

}  // namespace

std::int32_t RunRowPass(std::int32_t rows, unsigned threads, const RowPass& pass) {
    if (threads <= 1 || rows <= 1)
        return RunRowsHere(rows, pass);
    return RunRowsOnWorkers(rows, std::min<unsigned>(threads, static_cast<unsigned>(rows)), pass);
}

}  // namespace metopt::render
