// RunTimeError is the one failure of a calculator run: input that cannot be
// read, the end of the input, a console or report file that cannot be written,
// or an arithmetic fault. It is thrown where the failure is found and caught
// in exactly one place, RunCalculator (calculator_frame.h), which writes the
// run-time error report on standard error and ends the run with status 1.
#ifndef TEVOL_COMMON_RUN_TIME_ERROR_H_
#define TEVOL_COMMON_RUN_TIME_ERROR_H_

#include <exception>
#include <string>
#include <string_view>

namespace tevol {

// Every condition has a number and a message of its own.
enum class IoCondition {
  kEndOfInput,         // F6501 READ(CON)
  kLineTooLong,        // F6502 READ(CON): more than 130 bytes typed at a terminal
  kInvalidInteger,     // F6503 READ(CON)
  kIntegerRange,       // F6504 READ(CON)
  kInvalidReal,        // F6505 READ(CON)
  kRealRange,          // F6506 READ(CON)
  kTextForNumber,      // F6507 READ(CON): quoted text or a parenthesized pair
  kRepeatCount,        // F6508 READ(CON): r*value with r below 1
  kExtraValue,         // F6509 READ(CON): more than the one value (raised at a terminal only)
  kNameTooLong,        // F6510 READ(CON): a file name over 20 bytes (raised at a terminal only)
  kOpenNotFound,       // F6410 OPEN(name)
  kOpenIsFolder,       // F6411 OPEN(name)
  kOpenAccessDenied,   // F6412 OPEN(name)
  kOpenFailed,         // F6413 OPEN(name)
  kWriteDiskFull,      // F6420 WRITE(name)
  kWriteReadOnly,      // F6421 WRITE(name): the file opened for reading only
  kWriteFailed,        // F6422 WRITE(name)
  kCloseDiskFull,      // F6430 CLOSE(name)
  kCloseFailed,        // F6431 CLOSE(name)
  kConsoleWrite,       // F6600 WRITE(CON)
};

enum class MathFault {
  kInvalid = 6101,
  kDivideByZero = 6103,
  kOverflow = 6104,
};

class RunTimeError : public std::exception {
 public:
  // An input/output error on the channel (CON, or the report file's name).
  RunTimeError(IoCondition condition, std::string channel);
  explicit RunTimeError(MathFault fault);

  bool is_math() const { return is_math_; }
  IoCondition condition() const { return condition_; }
  MathFault fault() const { return fault_; }
  const char* what() const noexcept override { return "run-time error"; }

  // The bytes of the report on standard error, CR LF first.
  std::string Report() const;

 private:
  bool is_math_;
  IoCondition condition_ = IoCondition::kEndOfInput;
  MathFault fault_ = MathFault::kInvalid;
  std::string channel_;
};

}  // namespace tevol

#endif  // TEVOL_COMMON_RUN_TIME_ERROR_H_
