// The row team: rows taken in order on the calling thread whatever thread finishes first, a
// failing row raised again after its afterRow, a stop before a row, on 1, 2 and several threads.
#include "render/rowteam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "runtime/fpu.h"

namespace metopt::render {
namespace {

constexpr std::int32_t Rows = 24;

// What a pass saw, in the order the calling thread saw it: "b5" for beforeRow(5), "a5" for
// afterRow(5, false), "f5" for afterRow(5, true).
struct PassLog {
    std::vector<std::string> events;
    std::atomic<int> worked[Rows + 1] = {};
    std::atomic<int> done[Rows + 1] = {};
    std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> visitedOffTheCaller{false};
    std::atomic<bool> afterBeforeWorkDone{false};
};

// A pass whose later rows finish first: row r's work takes longer the smaller r is.
RowPass SlowFirstRows(PassLog& log, std::int32_t failAt, std::int32_t stopAt) {
    RowPass pass;
    pass.beforeRow = [&log, stopAt](std::int32_t row) {
        if (std::this_thread::get_id() != log.caller)
            log.visitedOffTheCaller = true;
        log.events.push_back("b" + std::to_string(row));
        return row != stopAt;
    };
    pass.work = [&log, failAt](std::int32_t row) {
        ++log.worked[row];
        std::this_thread::sleep_for(std::chrono::microseconds(200 * (Rows - row)));
        log.done[row] = 1;
        if (row == failAt)
            throw std::runtime_error("row " + std::to_string(row));
    };
    pass.afterRow = [&log](std::int32_t row, bool failed) {
        if (std::this_thread::get_id() != log.caller)
            log.visitedOffTheCaller = true;
        if (log.done[row] == 0)
            log.afterBeforeWorkDone = true;
        log.events.push_back((failed ? "f" : "a") + std::to_string(row));
    };
    return pass;
}

// beforeRow and afterRow of rows 1..last, then beforeRow of `then` when it is not 0.
std::vector<std::string> VisitsUpTo(std::int32_t last, std::int32_t then = 0) {
    std::vector<std::string> events;
    for (std::int32_t row = 1; row <= last; ++row) {
        events.push_back("b" + std::to_string(row));
        events.push_back("a" + std::to_string(row));
    }
    if (then != 0)
        events.push_back("b" + std::to_string(then));
    return events;
}

class RowTeamTest : public ::testing::TestWithParam<unsigned> {
  protected:
    static void ExpectVisitedOnTheCaller(const PassLog& log) {
        EXPECT_FALSE(log.visitedOffTheCaller);
        EXPECT_FALSE(log.afterBeforeWorkDone);
    }
};

TEST_P(RowTeamTest, RowsAreTakenInOrderWhateverThreadFinishesFirst) {
    PassLog log;
    EXPECT_EQ(RunRowPass(Rows, GetParam(), SlowFirstRows(log, 0, 0)), 0);
    EXPECT_EQ(log.events, VisitsUpTo(Rows));
    for (std::int32_t row = 1; row <= Rows; ++row)
        EXPECT_EQ(log.worked[row], 1) << row;
    ExpectVisitedOnTheCaller(log);
}

TEST_P(RowTeamTest, AFailingRowIsRaisedAgainAfterItsAfterRowAndNoLaterRowIsVisited) {
    PassLog log;
    try {
        RunRowPass(Rows, GetParam(), SlowFirstRows(log, 5, 0));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "row 5");
    }
    std::vector<std::string> expected = VisitsUpTo(4, 5);
    expected.push_back("f5");
    EXPECT_EQ(log.events, expected);
    for (std::int32_t row = 1; row <= 5; ++row)
        EXPECT_EQ(log.worked[row], 1) << row;
    ExpectVisitedOnTheCaller(log);
}

TEST_P(RowTeamTest, TheFirstOfSeveralFailingRowsIsRaised) {
    PassLog log;
    RowPass pass = SlowFirstRows(log, 0, 0);
    pass.work = [&log](std::int32_t row) {
        ++log.worked[row];
        log.done[row] = 1;
        if (row >= 3)
            throw std::runtime_error("row " + std::to_string(row));
    };
    try {
        RunRowPass(Rows, GetParam(), pass);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "row 3");
    }
    std::vector<std::string> expected = VisitsUpTo(2, 3);
    expected.push_back("f3");
    EXPECT_EQ(log.events, expected);
}

TEST_P(RowTeamTest, AStopBeforeARowEndsThePassThereAndReturnsThatRow) {
    PassLog log;
    EXPECT_EQ(RunRowPass(Rows, GetParam(), SlowFirstRows(log, 0, 4)), 4);
    EXPECT_EQ(log.events, VisitsUpTo(3, 4));
    for (std::int32_t row = 1; row <= 3; ++row)
        EXPECT_EQ(log.worked[row], 1) << row;
    for (std::int32_t row = 4; row <= Rows; ++row) {
        EXPECT_LE(log.worked[row], 1) << row;
        if (GetParam() == 1) {
            EXPECT_EQ(log.worked[row], 0) << row;  // on one thread no row is done ahead
        }
    }
    ExpectVisitedOnTheCaller(log);
}

TEST_P(RowTeamTest, AStopBeforeTheFirstRowDoesNoRowHere) {
    PassLog log;
    EXPECT_EQ(RunRowPass(Rows, GetParam(), SlowFirstRows(log, 0, 1)), 1);
    EXPECT_EQ(log.events, VisitsUpTo(0, 1));
}

TEST_P(RowTeamTest, NoRowsVisitNothing) {
    for (const std::int32_t rows : {0, -3}) {
        PassLog log;
        EXPECT_EQ(RunRowPass(rows, GetParam(), SlowFirstRows(log, 0, 0)), 0);
        EXPECT_TRUE(log.events.empty()) << rows;
    }
}

TEST_P(RowTeamTest, WorkRunsInTheCallersFloatingPointEnvironment) {
    std::mutex mutex;
    std::vector<int> rounding;
    RowPass pass;
    pass.beforeRow = [](std::int32_t) { return true; };
    pass.work = [&](std::int32_t) {
        const std::lock_guard<std::mutex> lock(mutex);
        rounding.push_back(std::fegetround());
    };
    pass.afterRow = [](std::int32_t, bool) {};
    std::fesetround(FE_UPWARD);
    RunRowPass(Rows, GetParam(), pass);
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(rounding, std::vector<int>(Rows, FE_UPWARD));
}

// The calling thread is one of the team: while it waits for a row it does rows itself.
TEST(RowTeam, TheCallingThreadDoesRowsToo) {
    std::mutex mutex;
    std::vector<std::thread::id> workers(Rows + 1);
    RowPass pass;
    pass.beforeRow = [](std::int32_t) { return true; };
    pass.work = [&](std::int32_t row) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const std::lock_guard<std::mutex> lock(mutex);
        workers[static_cast<std::size_t>(row)] = std::this_thread::get_id();
    };
    pass.afterRow = [](std::int32_t, bool) {};
    EXPECT_EQ(RunRowPass(Rows, 2, pass), 0);
    const auto caller = std::count(workers.begin() + 1, workers.end(), std::this_thread::get_id());
    EXPECT_GT(caller, 0);
}

INSTANTIATE_TEST_SUITE_P(Threads, RowTeamTest, ::testing::Values(1u, 2u, 3u, 8u),
                         [](const auto& row) { return std::to_string(row.param) + "threads"; });

}  // namespace
}  // namespace metopt::render
