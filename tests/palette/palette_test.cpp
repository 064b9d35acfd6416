#include "palette/palette.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "runtime/exceptions.h"
#include "runtime/textfile.h"
#include "support/tempfolder.h"

namespace metopt::palette {
namespace {

using testsupport::TempFolder;

// The packing written out by hand, independent of PackColor.
std::int64_t Packed(std::int64_t r, std::int64_t g, std::int64_t b) {
    return r + g * 256 + b * 65536;
}

// Record i of a test file holds i+1, i+2, i+3 and a comment.
std::string Records(int count, const std::string& lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(i + 1) + " " + std::to_string(i + 2) + " " + std::to_string(i + 3) +
                "  entry " + std::to_string(i) + lineEnd;
    }
    return text;
}

std::ptrdiff_t OpenDescriptorCount() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator{});
}

class PaletteTest : public ::testing::Test {
  protected:
    void SetUp() override { runtime::SetIOError(0); }
    void TearDown() override {
        runtime::SetIOError(0);
        std::filesystem::remove_all(dir_);
    }

    std::string Write(const std::string& content, const std::string& name = "palette.dat") {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    void Load(const std::string& content) { LoadPalette(Palette, Write(content)); }
    // Loads and returns the number of the I/O error raised (0: none).
    int LoadError(const std::string& path) {
        try {
            LoadPalette(Palette, path);
        } catch (const runtime::EInOutError& e) {
            lastMessage_ = e.Message();
            return e.ErrorCode();
        }
        return 0;
    }

    void ExpectRecord(int index, std::int32_t r, std::int32_t g, std::int32_t b) const {
        SCOPED_TRACE("entry " + std::to_string(index));
        const TPaletteEntry& e = Entry(index);
        EXPECT_EQ(e.R, r);
        EXPECT_EQ(e.G, g);
        EXPECT_EQ(e.B, b);
        EXPECT_EQ(e.Color, static_cast<std::int32_t>(Packed(r, g, b)));
    }

    const TPaletteEntry& Entry(int index) const { return Palette[static_cast<std::size_t>(index)]; }

    void ExpectBlack(int from, int to) const {
        for (int i = from; i <= to; ++i)
            ExpectRecord(i, 0, 0, 0);
    }

    TPalette Palette;
    TempFolder folder_{"palette_test"};
    std::string dir_ = folder_.Path();
    std::string lastMessage_;
};

TEST(PackColor, PacksAndWrapsIn32Bits) {
    struct Row {
        std::int32_t r, g, b, expected;
    };
    const Row rows[] = {
        {1, 2, 3, 197121},  // 0x030201
        {255, 255, 255, 16777215},
        {256, 0, 0, 256},
        {0, 1, 0, 256},
        {0, 0, 256, 16777216},
        {-1, 0, 0, -1},
        {0, -1, 0, -256},
        {0, 0, -1, -65536},
        {0, 0, 32767, 2147418112},
        {0, 0, 32768, INT32_MIN},  // 2^31 wraps round
        // (2^31 - 1) * 65793 = 65793 * 2^31 - 65793; 65793 is odd, so modulo 2^32: 2^31 - 65793.
        {INT32_MAX, INT32_MAX, INT32_MAX, 2147417855},
        {INT32_MIN, 0, 0, INT32_MIN},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PackColor(row.r, row.g, row.b), row.expected)
            << row.r << " " << row.g << " " << row.b;
    }
}

TEST_F(PaletteTest, StartsAllZero) {
    ExpectBlack(0, PaletteSize - 1);
}

TEST_F(PaletteTest, LoadsTwentyTwoRecords) {
    Load(Records(22));
    for (int i = 0; i < PaletteSize; ++i)
        ExpectRecord(i, i + 1, i + 2, i + 3);
}

TEST_F(PaletteTest, ExampleRecordPacksTo197121) {
    Load("1 2 3\r\n");
    EXPECT_EQ(Palette[0].Color, 197121);
}

TEST_F(PaletteTest, MissingFileTouchesNoEntry) {
    Palette[0] = {1, 1, 0, 0};  // would be overwritten by any read
    EXPECT_EQ(LoadError(dir_ + "/missing.dat"), 2);
    EXPECT_EQ(lastMessage_, "File not found");
    EXPECT_EQ(Palette[0].Color, 1);
    EXPECT_EQ(Palette[0].R, 1);
    ExpectBlack(1, PaletteSize - 1);
    EXPECT_EQ(runtime::IOResult(), 0);
}

TEST_F(PaletteTest, MissingFolderIsInvalidFilename) {
    EXPECT_EQ(LoadError(dir_ + "/nowhere/Palitr10.dat"), 3);
    EXPECT_EQ(lastMessage_, "Invalid filename");
    ExpectBlack(0, PaletteSize - 1);
}

TEST_F(PaletteTest, FolderInPlaceOfTheFileIsAccessDenied) {
    EXPECT_EQ(LoadError(dir_), 5);
    EXPECT_EQ(lastMessage_, "File access denied");
    ExpectBlack(0, PaletteSize - 1);
}

TEST_F(PaletteTest, ShortFileLeavesTheRestBlackWithoutError) {
    Load(Records(21));
    for (int i = 0; i < 21; ++i)
        ExpectRecord(i, i + 1, i + 2, i + 3);
    ExpectBlack(21, 21);
    EXPECT_EQ(runtime::IOResult(), 0);
}

TEST_F(PaletteTest, RecordCutShortByTheEndOfFile) {
    Load("1 2 3\r\n4 5");
    ExpectRecord(0, 1, 2, 3);
    ExpectRecord(1, 4, 5, 0);
    ExpectBlack(2, PaletteSize - 1);
}

TEST_F(PaletteTest, EmptyFileIsAllBlack) {
    Load("");
    ExpectBlack(0, PaletteSize - 1);
}

TEST_F(PaletteTest, NothingAfterTheTwentySecondRecordIsRead) {
    Load(Records(30) + "not a number\r\n");
    for (int i = 0; i < PaletteSize; ++i)
        ExpectRecord(i, i + 1, i + 2, i + 3);
}

TEST_F(PaletteTest, RecordSplitOverLines) {
    Load("10 20\r\n30 word\r\n\r\n\r\n4\r\n5\r\n6 7 8\r\n9 9 9");
    ExpectRecord(0, 10, 20, 30);
    ExpectRecord(1, 4, 5, 6);  // the 7 8 after it is skipped with its line
    ExpectRecord(2, 9, 9, 9);
}

TEST_F(PaletteTest, ExtraNumbersAndWordsOnALineAreIgnored) {
    Load("1 2 3 4 5 six\r\n6 7 8 -- comment 99\r\n");
    ExpectRecord(0, 1, 2, 3);
    ExpectRecord(1, 6, 7, 8);
    ExpectBlack(2, PaletteSize - 1);
}

TEST_F(PaletteTest, HexadecimalAndSignedValues) {
    Load("$FF 0x10 -5\r\n+1 $0 0X7f\r\n");
    ExpectRecord(0, 255, 16, -5);
    ExpectRecord(1, 1, 0, 127);
}

TEST_F(PaletteTest, ComponentsOutOfRangeSpillIntoTheNeighbour) {
    Load("256 0 0\r\n0 1 0\r\n-1 0 0\r\n0 0 -1\r\n$FFFFFFFF 300 70000\r\n");
    EXPECT_EQ(Palette[0].Color, 256);
    EXPECT_EQ(Palette[1].Color, 256);
    EXPECT_EQ(Palette[2].Color, -1);
    EXPECT_EQ(Palette[3].Color, -65536);
    ExpectRecord(4, -1, 300, 70000);
}

TEST_F(PaletteTest, CtrlZEndsThePalette) {
    Load(
        "1 2 3\r\n\x1A"
        "4 5 6\r\n");
    ExpectRecord(0, 1, 2, 3);
    ExpectBlack(1, PaletteSize - 1);
}

struct LineEndCase {
    const char* name;
    const char* lineEnd;
};

void PrintTo(const LineEndCase& row, std::ostream* os) {
    *os << row.name;
}

class LineEndTest : public PaletteTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, EveryLineEndLoadsAllEntries) {
    Load(Records(22, GetParam().lineEnd));
    for (int i = 0; i < PaletteSize; ++i)
        ExpectRecord(i, i + 1, i + 2, i + 3);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, LineEndTest,
                         ::testing::Values(LineEndCase{"CrLf", "\r\n"}, LineEndCase{"Cr", "\r"},
                                           LineEndCase{"Lf", "\n"}),
                         [](const auto& row) { return std::string(row.param.name); });

// A bad token in record k: records before it are kept, record k keeps what it read (0 for the
// failed component) but not its Color, and nothing after it is read.
class BadTokenTest : public PaletteTest, public ::testing::WithParamInterface<int> {};

TEST_P(BadTokenTest, StopsAtTheFailingRecord) {
    const int k = GetParam();
    const std::string path = Write(Records(k) + "7 12a 9  bad\r\n" + Records(22));
    EXPECT_EQ(LoadError(path), 106);
    EXPECT_EQ(lastMessage_, "Invalid numeric input");
    for (int i = 0; i < k; ++i)
        ExpectRecord(i, i + 1, i + 2, i + 3);
    EXPECT_EQ(Entry(k).R, 7);
    EXPECT_EQ(Entry(k).G, 0);
    EXPECT_EQ(Entry(k).B, 9);
    EXPECT_EQ(Entry(k).Color, 0);
    ExpectBlack(k + 1, PaletteSize - 1);
    EXPECT_EQ(runtime::IOResult(), 0);
}

INSTANTIATE_TEST_SUITE_P(Records, BadTokenTest, ::testing::Values(0, 5, 21),
                         [](const auto& row) { return "Record" + std::to_string(row.param); });

TEST_F(PaletteTest, FileIsClosedAfterLoadingAndAfterAFailure) {
#ifndef __linux__
    GTEST_SKIP() << "counts the descriptors of /proc/self/fd";
#endif
    const auto before = OpenDescriptorCount();
    Load(Records(22));
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(LoadError(Write("1 x 3\r\n", "bad.dat")), 106);
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(PaletteTest, BareNameIsReadFromTheCurrentFolder) {
    Write("5 6 7\r\n", PaletteFileName);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    EXPECT_NO_THROW(LoadPalette(Palette));
    std::filesystem::remove(dir_ + "/" + PaletteFileName);
    const int missingError = LoadError(PaletteFileName);
    std::filesystem::current_path(previous);
    ExpectRecord(0, 5, 6, 7);
    EXPECT_EQ(missingError, 2);
    EXPECT_EQ(std::string(PaletteFileName), "Palitr10.dat");
}

// --- The palette that ships with the program
// ------------------------------------------------------

std::string ReadWholeFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double Luminance(const TPaletteEntry& e) {
    return 0.2126 * e.R + 0.7152 * e.G + 0.0722 * e.B;
}

TEST_F(PaletteTest, DefaultPaletteLoadsTwentyTwoDistinctColours) {
    ASSERT_NO_THROW(LoadPalette(Palette, METOPT_DEFAULT_PALETTE));
    std::set<std::int32_t> colours;
    for (int i = 0; i < PaletteSize; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const TPaletteEntry& e = Entry(i);
        for (std::int32_t component : {e.R, e.G, e.B}) {
            EXPECT_GE(component, 0);
            EXPECT_LE(component, 255);
        }
        EXPECT_EQ(e.Color, Packed(e.R, e.G, e.B));
        colours.insert(e.Color);
    }
    EXPECT_EQ(colours.size(), static_cast<std::size_t>(PaletteSize));
    // The map runs from dark for low values to light for high ones.
    for (int i = 1; i < MapColorCount; ++i) {
        EXPECT_GT(Luminance(Entry(i)), Luminance(Entry(i - 1))) << "map colour " << i;
    }
    EXPECT_GT(Luminance(Palette[GradientHighColor]), Luminance(Palette[GradientLowColor]));
}

TEST(DefaultPaletteFile, HasOneCrLfLinePerRecord) {
    const std::string text = ReadWholeFile(METOPT_DEFAULT_PALETTE);
    int lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++lines;
            EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at byte " << i;
        } else if (text[i] == '\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    EXPECT_EQ(lines, PaletteSize);
    EXPECT_TRUE(text.ends_with("\r\n"));
}

}  // namespace
}  // namespace metopt::palette
