// The main of every test program: each test starts in the program's floating-point environment,
// as the program sets it at start, whatever the test before it left.
#include <gtest/gtest.h>

#include "runtime/fpu.h"

namespace {

class ProgramFpuForEachTest final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { metopt::runtime::InitFpu(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProgramFpuForEachTest);
    return RUN_ALL_TESTS();
}
