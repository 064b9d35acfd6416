// Opening and closing a text file, the errors they give, and the pending I/O error.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>

#include "runtime/exceptions.h"
#include "runtime/textfile.h"
#include "support/expect_error.h"
#include "support/textfile_fixture.h"

namespace metopt::runtime {
namespace {

using namespace std::string_literals;

// --- Opening, closing and errors -----------------------------------------------------------------

TEST_F(TextFileTest, MissingFileIsFileNotFound) {
    EXPECT_EQ(OpenError(dir_ + "/missing.dat"), 2);
    try {
        CheckIO();
        FAIL() << "CheckIO did not raise";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
        EXPECT_EQ(e.Message(), "File not found");
    }
    EXPECT_EQ(IOResult(), 0);  // the check resets the pending error
    EXPECT_NO_THROW(CheckIO());
}

TEST_F(TextFileTest, MissingFolderIsInvalidFilename) {
    EXPECT_EQ(OpenError(dir_ + "/no_such_folder/x.dat"), 3);
    SetIOError(0);
    EXPECT_EQ(OpenError(dir_ + "/no_such_folder/deeper/x.dat"), 3);
    SetIOError(0);
    // A file standing where a folder should be.
    EXPECT_EQ(OpenError(Write("plain.txt", "1") + "/x.dat"), 3);
}

TEST_F(TextFileTest, FolderAsFileIsAccessDenied) {
    std::filesystem::create_directory(dir_ + "/Palitr10.dat");
    EXPECT_EQ(OpenError(dir_ + "/Palitr10.dat"), 5);
    testsupport::ExpectError<EInOutError>([&] { CheckIO(); }, "File access denied");
}

TEST_F(TextFileTest, DeviceIsAccessDeniedRatherThanReadWithoutEnd) {
    // /dev/zero yields blanks (NUL bytes) for ever: reading it would hang the start.
    EXPECT_EQ(OpenError("/dev/zero"), 5);
    SetIOError(0);
}

TEST_F(TextFileTest, UnreadableFileIsAccessDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string path = Write("locked.dat", "1 2 3");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EQ(OpenError(path), 5);
}

TEST_F(TextFileTest, NameWithNulIsInvalid) {
    Write("a", "1");
    EXPECT_EQ(OpenError(dir_ + "/a\0b"s), 3);
}

TEST_F(TextFileTest, RelativeNameIsTakenFromTheCurrentFolder) {
    Write("relative.dat", "42");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    file_.Assign("relative.dat");
    file_.Reset();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(file_.IsOpen());
    EXPECT_EQ(file_.ReadInteger(), 42);
}

TEST_F(TextFileTest, FifoWithoutWriterReadsAsEmpty) {
    const std::string path = dir_ + "/fifo";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    file_.Assign(path);
    file_.Reset();  // must not wait for a writer
    ASSERT_TRUE(file_.IsOpen());
    EXPECT_EQ(file_.ReadInteger(), 0);
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFileTest, FifoWithWriterIsRead) {
    const std::string path = dir_ + "/fifo";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    file_.Assign(path);
    file_.Reset();
    ASSERT_TRUE(file_.IsOpen());
    const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const std::string text = "11 -22\r\n";
    ASSERT_EQ(write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(writer);
    EXPECT_EQ(file_.ReadInteger(), 11);
    EXPECT_EQ(file_.ReadInteger(), -22);
    EXPECT_EQ(file_.ReadInteger(), 0);
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFileTest, CloseAndReopen) {
    Open("5 6");
    EXPECT_EQ(file_.ReadInteger(), 5);
    file_.Reset();  // reopening starts again from the beginning
    EXPECT_EQ(file_.ReadInteger(), 5);
    file_.Close();
    EXPECT_FALSE(file_.IsOpen());
    EXPECT_EQ(IOResult(), 0);
}

TEST_F(TextFileTest, OperationsOnAClosedRecordFail) {
    file_.Assign(dir_ + "/never_opened");
    EXPECT_EQ(file_.ReadInteger(), 0);
    EXPECT_EQ(IOResult(), 103);
    SetIOError(0);
    file_.SkipLine();
    EXPECT_EQ(IOResult(), 103);
    SetIOError(0);
    file_.Close();
    EXPECT_EQ(IOResult(), 103);
    testsupport::ExpectError<EInOutError>([&] { CheckIO(); }, "I/O error 103");
}

TEST_F(TextFileTest, DestructorClosesTheFile) {
    const std::string path = Write("held.dat", "1");
    const auto openCount = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    const auto before = openCount();
    {
        TextFile file;
        file.Assign(path);
        file.Reset();
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(openCount(), before + 1);
    }
    EXPECT_EQ(openCount(), before);
}

TEST(PendingIOError, LaterFailureOverwritesAnUncheckedOne) {
    SetIOError(2);
    SetIOError(106);
    try {
        CheckIO();
        FAIL() << "CheckIO did not raise";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 106);
        EXPECT_EQ(e.Message(), "Invalid numeric input");
    }
    EXPECT_EQ(IOResult(), 0);
}

TEST(PendingIOError, IsPerThread) {
    SetIOError(0);
    int seenByOtherThread = -1;
    std::thread([&] {
        SetIOError(5);
        seenByOtherThread = IOResult();
    }).join();
    EXPECT_EQ(seenByOtherThread, 5);
    EXPECT_EQ(IOResult(), 0);
}

TEST(IOErrorFromErrno, MapsLinuxErrorNumbers) {
    struct Row {
        int err;
        int expected;
    };
    const Row rows[] = {
        {ENOENT, 2},
        {ENOTDIR, 3},
        {EMFILE, 4},
        {ENFILE, 4},
        {EACCES, 5},
        {EPERM, 5},
        {EISDIR, 5},
        {ENOSPC, 101},
        {EROFS, 30},
        {ELOOP, 40},
        {ENAMETOOLONG, 36},
        // Numbers that would read as one of the fixed messages keep a number of their own.
        {EIO, 1005},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IOErrorFromErrno(row.err), row.expected) << "errno " << row.err;
    }
    EXPECT_EQ(EInOutError(IOErrorFromErrno(EIO)).Message(), "I/O error 1005");
    EXPECT_EQ(EInOutError(IOErrorFromErrno(ENAMETOOLONG)).Message(), "I/O error 36");
}

}  // namespace
}  // namespace metopt::runtime
