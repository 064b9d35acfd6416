#include "runtime/textfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string_view>

#include "runtime/exceptions.h"
#include "runtime/fileopen.h"
#include "runtime/numparse.h"

namespace metopt::runtime {

namespace {

constexpr int CtrlZ = 0x1A;
constexpr int CarriageReturn = 13;
constexpr int LineFeed = 10;
constexpr int LastBlankCode = 32;
constexpr int EndOfFile = -1;

// Error numbers of fixed meaning in the message table; an errno that happens to have one of
// these values but not that meaning is moved out of their way.
constexpr int FileNotFound = 2;
constexpr int InvalidFilename = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int FileAccessDenied = 5;
constexpr int ReadBeyondEnd = 100;
constexpr int DiskFull = 101;
constexpr int UnmappedErrnoOffset = 1000;

thread_local int pendingIOError = 0;

bool IsBlank(int c) {
    return c >= 0 && c <= LastBlankCode;
}

// Hexadecimal digits as a 64-bit pattern; nullopt when empty, malformed or wider than 64 bits.
std::optional<std::uint64_t> ParseHexDigits(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || value > (UINT64_MAX >> 4))
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return value;
}

// Decimal digits whose value may not exceed limit.
std::optional<std::uint64_t> ParseDecimalDigits(std::string_view digits, std::uint64_t limit) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// An integer token: optional sign, then decimal digits or '$' / "0x" / "0X" and hexadecimal
// digits. Decimal values must fit a signed 64-bit integer; hexadecimal ones any 64-bit pattern.
// The result is the low 32 bits, taken as signed.
// Deliberate: see docs/behaviour.md, "Palette values".
std::optional<std::int32_t> ParseIntegerToken(std::string_view token) {
    bool negative = false;
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    std::optional<std::uint64_t> magnitude;
    if (token.starts_with('$')) {
        magnitude = ParseHexDigits(token.substr(1));
    } else if (token.starts_with("0x") || token.starts_with("0X")) {
        magnitude = ParseHexDigits(token.substr(2));
    } else {
        const std::uint64_t limit =
            negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
        magnitude = ParseDecimalDigits(token, limit);
    }
    if (!magnitude)
        return std::nullopt;
    // Unsigned arithmetic wraps, so negating and narrowing keep exactly the low 32 bits.
    const std::uint64_t value = negative ? std::uint64_t{0} - *magnitude : *magnitude;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// open() reports a missing folder on the path as a missing file; tell the two apart.
bool ParentFolderExists(const std::string& fileName) {
    const auto slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return true;
    const std::string parent = slash == 0 ? "/" : fileName.substr(0, slash);
    return IsFolder(parent);
}

// Regular files and pipes are read; a folder, a device or a socket is refused like a file we may
// not read: a device such as /dev/zero would never reach its end.
// Deliberate: see docs/behaviour.md, "Palette file handling".
bool IsReadableKind(mode_t mode) {
    return S_ISREG(mode) || S_ISFIFO(mode);
}

}  // namespace

int IOResult() {
    return pendingIOError;
}

void SetIOError(int errorCode) {
    pendingIOError = errorCode;
}

void CheckIO() {
    const int errorCode = pendingIOError;
    if (errorCode == 0)
        return;
    pendingIOError = 0;
    throw EInOutError(errorCode);
}

int IOErrorFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return FileNotFound;
        case ENOTDIR:
            return InvalidFilename;
        case EMFILE:
        case ENFILE:
            return TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
            return FileAccessDenied;
        case ENOSPC:
            return DiskFull;
        default:
            break;
    }
    switch (err) {
        // errno values that coincide with a number of fixed meaning (EIO is 5, which would read
        // "File access denied") keep a number of their own.
        // Deliberate: see docs/behaviour.md, "Palette file handling".
        case FileNotFound:
        case InvalidFilename:
        case TooManyOpenFiles:
        case FileAccessDenied:
        case ReadBeyondEnd:
        case DiskFull:
        case InvalidNumericInputError:
        case FileNotOpenError:
            return UnmappedErrnoOffset + err;
        default:
            return err;
    }
}

TextFile::~TextFile() {
    CloseHandle();
}

void TextFile::Assign(const std::string& fileName) {
    CloseHandle();
    fileName_ = fileName;
}

void TextFile::Reset() {
    CloseHandle();
    bufferEnd_ = bufferPos_ = 0;
    atEof_ = false;
    if (fileName_.find('\0') != std::string::npos) {
        SetIOError(InvalidFilename);
        return;
    }
    const int fd = OpenForReading(fileName_);
    if (fd < 0) {
        int err = errno;
        if (err == ENOENT && !ParentFolderExists(fileName_))
            err = ENOTDIR;
        SetIOError(IOErrorFromErrno(err));
        return;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !IsReadableKind(info.st_mode)) {
        const int err =
            S_ISDIR(info.st_mode) ? EISDIR : (IsReadableKind(info.st_mode) ? errno : EACCES);
        close(fd);
        SetIOError(IOErrorFromErrno(err));
        return;
    }
    fd_ = fd;
}

void TextFile::Close() {
    if (!IsOpen()) {
        SetIOError(FileNotOpenError);
        return;
    }
    const int fd = fd_;
    fd_ = -1;
    // On Linux the descriptor is released even when close() reports an error: never retry.
    if (close(fd) != 0)
        SetIOError(IOErrorFromErrno(errno));
}

void TextFile::CloseHandle() {
    if (IsOpen())
        close(fd_);
    fd_ = -1;
}

bool TextFile::FillBuffer() {
    if (atEof_)
        return false;
    ssize_t count;
    do {
        count = read(fd_, buffer_, sizeof buffer_);
    } while (count < 0 && errno == EINTR);
    if (count > 0) {
        bufferPos_ = 0;
        bufferEnd_ = static_cast<std::size_t>(count);
        return true;
    }
    // A failed read ends the input as well; a broken pipe is simply the end.
    if (count < 0 && errno != EPIPE)
        SetIOError(IOErrorFromErrno(errno));
    atEof_ = true;
    return false;
}

int TextFile::PeekChar() {
    if (atEof_)
        return EndOfFile;
    if (bufferPos_ >= bufferEnd_ && !FillBuffer())
        return EndOfFile;
    const int c = buffer_[bufferPos_];
    if (c == CtrlZ) {
        atEof_ = true;
        return EndOfFile;
    }
    return c;
}

int TextFile::ReadChar() {
    const int c = PeekChar();
    if (c != EndOfFile)
        ++bufferPos_;
    return c;
}

bool TextFile::SkipBlanks() {
    int c = PeekChar();
    while (IsBlank(c)) {
        ++bufferPos_;
        c = PeekChar();
    }
    return c != EndOfFile;
}

std::string TextFile::CollectToken() {
    std::string token;
    while (token.size() < MaxTokenLength) {
        const int c = PeekChar();
        if (c == EndOfFile || IsBlank(c))
            break;
        token.push_back(static_cast<char>(c));
        ++bufferPos_;
    }
    return token;
}

std::int32_t TextFile::ReadInteger() {
    if (!IsOpen()) {
        SetIOError(FileNotOpenError);
        return 0;
    }
    // Deliberate: see docs/behaviour.md, "Palette layout".
    if (!SkipBlanks())
        return 0;
    const auto value = ParseIntegerToken(CollectToken());
    if (!value) {
        SetIOError(InvalidNumericInputError);
        return 0;
    }
    return *value;
}

void TextFile::SkipLine() {
    if (!IsOpen()) {
        SetIOError(FileNotOpenError);
        return;
    }
    for (int c = ReadChar(); c != EndOfFile; c = ReadChar()) {
        // Deliberate: see docs/behaviour.md, "Lone line feeds".
        if (c == LineFeed)
            return;
        if (c == CarriageReturn) {
            if (PeekChar() == LineFeed)
                ReadChar();
            return;
        }
    }
}

}  // namespace metopt::runtime
