// The palette file through the text-file reader: the fuzz input is written to a file and loaded.
// Whatever it holds, the table afterwards equals what an independent reading of the file's rules
// below gives, entry for entry (so the loader writes nothing it should not), the error raised is
// the expected one, the pending I/O error is cleared and the file is closed.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "palette/palette.h"
#include "runtime/exceptions.h"
#include "runtime/textfile.h"

using namespace metopt::palette;
using metopt::fuzz::Broken;
using metopt::fuzz::Expect;
using metopt::fuzz::Printable;

namespace {

// The palette file: a temporary file removed from its folder as soon as it is made, so that no
// run leaves it behind, even one that crashes; it is loaded through its /proc/self/fd name.
int fileDescriptor = -1;
std::string fileName;

void WriteFile(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fileDescriptor, 0) != 0)
        Broken("cannot empty the palette file");
    for (std::size_t done = 0; done < size;) {
        const ssize_t n =
            pwrite(fileDescriptor, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0)
            Broken("cannot write the palette file");
        done += static_cast<std::size_t>(n);
    }
}

// ---- the file's rules, read independently --------------------------------------------------

bool IsBlank(unsigned char c) {
    return c <= 32;
}

// An integer token: a sign, then decimal digits in the signed 64-bit range, or '$' / "0x" / "0X"
// and hexadecimal digits of at most 64 bits; the low 32 bits as a signed value.
std::optional<std::int32_t> TokenValue(std::string_view token) {
    bool negative = false;
    if (!token.empty() && (token[0] == '+' || token[0] == '-')) {
        negative = token[0] == '-';
        token.remove_prefix(1);
    }
    const bool hex = token.starts_with('$') || token.starts_with("0x") || token.starts_with("0X");
    if (hex)
        token.remove_prefix(token[0] == '$' ? 1 : 2);
    if (token.empty())
        return std::nullopt;
    for (char c : token) {
        if (hex ? metopt::fuzz::HexValue(c) < 0 : !metopt::fuzz::IsDecimalDigit(c))
            return std::nullopt;
    }
    const std::size_t first = token.find_first_not_of('0');
    const std::string_view digits =
        first == std::string_view::npos ? std::string_view{} : token.substr(first);
    if (hex && digits.size() > 16)
        return std::nullopt;
    if (!hex) {
        const std::string_view limit = negative ? "9223372036854775808" : "9223372036854775807";
        if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
            return std::nullopt;
    }
    unsigned __int128 magnitude = 0;
    for (char c : digits)
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(metopt::fuzz::HexValue(c));
    const auto low = static_cast<std::uint32_t>(negative ? -magnitude : magnitude);
    return static_cast<std::int32_t>(low);
}

// The file as the reader sees it: it ends at its first Ctrl-Z.
class Reading {
  public:
    explicit Reading(std::string_view text) : text_(text.substr(0, text.find('\x1A'))) {}

    // The next token's value; 0 at the end of the file; a malformed token sets the error.
    std::int32_t ReadInteger() {
        while (pos_ < text_.size() && IsBlank(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && pos_ - start < 32 &&
               !IsBlank(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        if (pos_ == start)
            return 0;
        const auto value = TokenValue(text_.substr(start, pos_ - start));
        if (!value) {
            malformed_ = true;
            return 0;
        }
        return *value;
    }
    // Up to and with the next line end: CR and one LF right after it, or a LF alone.
    void SkipLine() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '\n')
                return;
            if (c == '\r') {
                if (pos_ < text_.size() && text_[pos_] == '\n')
                    ++pos_;
                return;
            }
        }
    }
    bool Malformed() const { return malformed_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool malformed_ = false;
};

// What the table holds after loading `text` over `before`, and whether a malformed token stopped
// the loading.
bool ExpectedTable(std::string_view text, const TPaletteEntry (&before)[PaletteSize],
                   TPaletteEntry (&table)[PaletteSize]) {
    for (int i = 0; i < PaletteSize; ++i)
        table[i] = before[i];
    Reading file(text);
    for (TPaletteEntry& entry : table) {
        entry.R = file.ReadInteger();
        entry.G = file.ReadInteger();
        entry.B = file.ReadInteger();
        file.SkipLine();
        if (file.Malformed())
            return true;
        const std::uint32_t packed = static_cast<std::uint32_t>(entry.R) +
                                     (static_cast<std::uint32_t>(entry.G) << 8) +
                                     (static_cast<std::uint32_t>(entry.B) << 16);
        entry.Color = static_cast<std::int32_t>(packed);
    }
    return false;
}

// The lowest free descriptor: it moves up when a file is left open.
int LowestFreeDescriptor() {
    const int fd = dup(STDERR_FILENO);
    close(fd);
    return fd;
}

// The file is rewritten for every input: in memory (/dev/shm) when there is no TMPDIR, since a
// disk file system may write a truncated and rewritten file through at once.
std::string TemporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && *tmp != '\0')
        return tmp;
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string path = TemporaryFolder() + "/fuzz_palette.XXXXXX";
    fileDescriptor = mkostemp(path.data(), O_CLOEXEC);
    if (fileDescriptor < 0)
        Broken("cannot make the palette file in " + TemporaryFolder());
    unlink(path.c_str());
    fileName = "/proc/self/fd/" + std::to_string(fileDescriptor);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    WriteFile(data, size);

    // Every entry starts out different, so that an entry written where it should not be shows.
    TPaletteEntry before[PaletteSize];
    TPalette Palette;
    for (int i = 0; i < PaletteSize; ++i) {
        before[i] = TPaletteEntry{0x5A000000 + i, -1 - i, 1000 + i, 0x7FFF0000 + i};
        Palette[static_cast<std::size_t>(i)] = before[i];
    }
    TPaletteEntry expected[PaletteSize];
    const bool malformed = ExpectedTable(text, before, expected);

    const int freeDescriptor = LowestFreeDescriptor();
    int errorCode = 0;
    try {
        LoadPalette(Palette, fileName);
    } catch (const metopt::runtime::EInOutError& e) {
        errorCode = e.ErrorCode();
    } catch (const metopt::runtime::Exception& e) {
        Broken("'" + Printable(text) + "' raised " + e.Message());
    }
    Expect(errorCode == (malformed ? metopt::runtime::InvalidNumericInputError : 0),
           "'" + Printable(text) + "' raised I/O error " + std::to_string(errorCode));
    Expect(metopt::runtime::IOResult() == 0, "pending I/O error left after loading");
    Expect(LowestFreeDescriptor() == freeDescriptor, "palette file left open");
    for (int i = 0; i < PaletteSize; ++i) {
        const TPaletteEntry& got = Palette[static_cast<std::size_t>(i)];
        const TPaletteEntry& want = expected[i];
        Expect(got.R == want.R && got.G == want.G && got.B == want.B && got.Color == want.Color,
               "'" + Printable(text) + "': entry " + std::to_string(i) + " holds " +
                   std::to_string(got.R) + " " + std::to_string(got.G) + " " +
                   std::to_string(got.B) + " (" + std::to_string(got.Color) + "), expected " +
                   std::to_string(want.R) + " " + std::to_string(want.G) + " " +
                   std::to_string(want.B) + " (" + std::to_string(want.Color) + ")");
    }
    return 0;
}
