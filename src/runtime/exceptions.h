#pragma once
// The program's exception kinds. Every failure that reaches the user is one of these; the window
// shows Message() in its error box (EAbort silently ends the handler).
#include <exception>
#include <string>

namespace metopt::runtime {

class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

// Floating-point invalid operation: "Invalid floating point operation".
class EInvalidOp : public Exception {
  public:
    EInvalidOp();
};

// Floating-point division of a non-zero value by zero: "Floating point division by zero".
class EZeroDivide : public Exception {
  public:
    EZeroDivide();
};

// Floating-point overflow: "Floating point overflow".
class EOverflow : public Exception {
  public:
    EOverflow();
};

// Integer division by zero: "Division by zero".
class EDivByZero : public Exception {
  public:
    EDivByZero();
};

// A text that is not an integer: "'<text>' is not a valid integer value".
class EConvertError : public Exception {
  public:
    using Exception::Exception;
    static EConvertError NotAnInteger(const std::string& text);
};

// An input/output error with its number (2 "File not found", 106 "Invalid numeric input", ...).
class EInOutError : public Exception {
  public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const noexcept { return errorCode_; }
    static std::string MessageFor(int errorCode);

  private:
    int errorCode_;
};

// The silent kind: ends a handler without a message box.
class EAbort : public Exception {
  public:
    EAbort() : Exception("Operation aborted") {}
};

}  // namespace metopt::runtime
