#include "common/run_time_error.h"

namespace tevol {
namespace {

struct ConditionText {
  int number;
  const char* statement;
  const char* message;
};

ConditionText TextOf(IoCondition c) {
  switch (c) {
    case IoCondition::kEndOfInput: return {6501, "READ", "end of file encountered"};
    case IoCondition::kLineTooLong: return {6502, "READ", "input line too long"};
    case IoCondition::kInvalidInteger: return {6503, "READ", "invalid INTEGER"};
    case IoCondition::kIntegerRange: return {6504, "READ", "INTEGER out of range"};
    case IoCondition::kInvalidReal: return {6505, "READ", "invalid REAL"};
    case IoCondition::kRealRange: return {6506, "READ", "REAL out of range"};
    case IoCondition::kTextForNumber: return {6507, "READ", "text where a number is expected"};
    case IoCondition::kRepeatCount: return {6508, "READ", "repeat count below 1"};
    case IoCondition::kExtraValue: return {6509, "READ", "more than one value"};
    case IoCondition::kNameTooLong: return {6510, "READ", "file name too long"};
    case IoCondition::kOpenNotFound: return {6410, "OPEN", "file or folder not found"};
    case IoCondition::kOpenIsFolder: return {6411, "OPEN", "name is a folder"};
    case IoCondition::kOpenAccessDenied: return {6412, "OPEN", "access denied"};
    case IoCondition::kOpenFailed: return {6413, "OPEN", "cannot open file"};
    case IoCondition::kWriteDiskFull: return {6420, "WRITE", "disk full"};
    case IoCondition::kWriteReadOnly: return {6421, "WRITE", "file is read-only"};
    case IoCondition::kWriteFailed: return {6422, "WRITE", "cannot write file"};
    case IoCondition::kCloseDiskFull: return {6430, "CLOSE", "disk full"};
    case IoCondition::kCloseFailed: return {6431, "CLOSE", "cannot close file"};
    case IoCondition::kConsoleWrite: return {6600, "WRITE", "cannot write to console"};
  }
  return {6999, "READ", "unknown error"};
}

const char* FaultName(MathFault f) {
  switch (f) {
    case MathFault::kInvalid: return "invalid";
    case MathFault::kDivideByZero: return "divide by zero";
    case MathFault::kOverflow: return "overflow";
  }
  return "invalid";
}

}  // namespace

RunTimeError::RunTimeError(IoCondition condition, std::string channel)
    : is_math_(false), condition_(condition), channel_(std::move(channel)) {}

RunTimeError::RunTimeError(MathFault fault) : is_math_(true), fault_(fault) {}

std::string RunTimeError::Report() const {
  std::string r = "\r\nrun-time error ";
  if (is_math_) {
    r += 'M';
    r += std::to_string(static_cast<int>(fault_));
    r += ": MATH\r\n- floating-point error: ";
    r += FaultName(fault_);
  } else {
    ConditionText t = TextOf(condition_);
    r += 'F';
    r += std::to_string(t.number);
    r += ": ";
    r += t.statement;
    r += '(';
    r += channel_;
    r += ")\r\n- ";
    r += t.message;
  }
  r += "\r\n";
  return r;
}

}  // namespace tevol
