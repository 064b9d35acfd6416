#pragma once
// A small text-file reader over the operating system's file calls: open an existing file
// read-only, read whitespace-separated integers, skip lines, close. Failures set a pending I/O
// error that CheckIO turns into EInOutError.
#include <cstddef>
#include <cstdint>
#include <string>

namespace metopt::runtime {

// The error number set by an operation on a record that is not open ("I/O error 103").
constexpr int FileNotOpenError = 103;
// The error number of a malformed integer token ("Invalid numeric input").
constexpr int InvalidNumericInputError = 106;

class TextFile {
  public:
    TextFile() = default;
    ~TextFile();  // closes a file still open
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    void Assign(const std::string& fileName);
    // Opens the assigned file for reading; on failure the pending error becomes the error number.
    void Reset();
    // Reads one integer token; end of file reads 0; a malformed token sets pending error 106 and
    // reads 0.
    std::int32_t ReadInteger();
    // Skips the rest of the line: up to a CR (and one LF right after it), or a lone LF.
    void SkipLine();
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

  private:
    static constexpr std::size_t MaxTokenLength = 32;

    int ReadChar();  // next byte, or -1 at end of file
    int PeekChar();
    bool FillBuffer();
    void CloseHandle();
    bool SkipBlanks();  // false at end of file
    std::string CollectToken();

    std::string fileName_;
    int fd_ = -1;
    unsigned char buffer_[128] = {};
    std::size_t bufferEnd_ = 0;
    std::size_t bufferPos_ = 0;
    bool atEof_ = false;
};

// The pending I/O error of this thread (0: none), read without clearing it.
int IOResult();
void SetIOError(int errorCode);
// Raises EInOutError for a pending error and resets it to 0.
void CheckIO();

// Maps a Linux errno to the program's I/O error number (ENOENT -> 2, ENOTDIR -> 3, ...).
int IOErrorFromErrno(int err);

}  // namespace metopt::runtime
