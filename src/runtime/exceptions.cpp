#include "runtime/exceptions.h"

namespace metopt::runtime {

EInvalidOp::EInvalidOp() : Exception("Invalid floating point operation") {}
EZeroDivide::EZeroDivide() : Exception("Floating point division by zero") {}
EOverflow::EOverflow() : Exception("Floating point overflow") {}
EDivByZero::EDivByZero() : Exception("Division by zero") {}

// Deliberate: see docs/behaviour.md, "English runtime texts".
EConvertError EConvertError::NotAnInteger(const std::string& text) {
    return EConvertError("'" + text + "' is not a valid integer value");
}

EInOutError::EInOutError(int errorCode) : Exception(MessageFor(errorCode)), errorCode_(errorCode) {}

std::string EInOutError::MessageFor(int errorCode) {
    switch (errorCode) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(errorCode);
    }
}

}  // namespace metopt::runtime
