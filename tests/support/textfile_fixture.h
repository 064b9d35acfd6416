#pragma once
// A fixture for the text-file reader: a fresh folder for each test, the files written there, one
// file record, and no pending I/O error before or after.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/textfile.h"
#include "support/tempfolder.h"

namespace metopt::testsupport {

class TextFileTest : public ::testing::Test {
  protected:
    void SetUp() override { runtime::SetIOError(0); }
    void TearDown() override {
        file_.Close();
        runtime::SetIOError(0);
        std::filesystem::remove_all(dir_);
    }

    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void Open(const std::string& content) {
        file_.Assign(Write("input.txt", content));
        file_.Reset();
        ASSERT_TRUE(file_.IsOpen());
        ASSERT_EQ(runtime::IOResult(), 0);
    }
    // The pending error after opening `path`, which must leave the record closed.
    int OpenError(const std::string& path) {
        file_.Assign(path);
        file_.Reset();
        EXPECT_FALSE(file_.IsOpen());
        return runtime::IOResult();
    }

    testsupport::TempFolder folder_{"textfile_test"};
    std::string dir_ = folder_.Path();
    runtime::TextFile file_;
};

}  // namespace metopt::testsupport

// The reader's tests name the fixture without the namespace.
namespace metopt::runtime {
using testsupport::TextFileTest;
}  // namespace metopt::runtime
