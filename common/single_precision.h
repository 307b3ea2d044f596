// The arithmetic of the calculators: every formula is evaluated in double from
// single-precision operands and rounded to single precision once, when it is
// stored. The two places where a fault can arise are checked here, so no
// floating-point trap or signal handler is needed:
// - Store: a result whose single-precision rounding is infinite is an overflow
//   (M6104); a NaN (only 0/0 could make one, and Quotient refuses it) is
//   invalid (M6101).
// - Quotient: x / 0 is divide by zero (M6103), 0 / 0 invalid (M6101).
// Operands are finite single-precision values (the reader refuses anything
// else), so a double product of a handful of them cannot overflow.
//
// Callers write each operand as double: double(a) * double(b), never a * b,
// which C++ evaluates in float.
#ifndef TEVOL_COMMON_SINGLE_PRECISION_H_
#define TEVOL_COMMON_SINGLE_PRECISION_H_

#include <cmath>

#include "common/run_time_error.h"

namespace tevol {

// False when value, rounded to single precision, would be infinite. (2^128 -
// 2^103 lies halfway between the largest single and 2^128; it and everything
// above round to infinity.)
inline bool FitsSingle(double value) { return std::fabs(value) < 0x1.ffffffp127; }

inline float Store(double value) {
  if (std::isnan(value)) throw RunTimeError(MathFault::kInvalid);
  if (!FitsSingle(value)) throw RunTimeError(MathFault::kOverflow);
  return static_cast<float>(value);
}

inline double Quotient(double numerator, double denominator) {
  if (denominator == 0) {
    throw RunTimeError(numerator == 0 ? MathFault::kInvalid : MathFault::kDivideByZero);
  }
  return numerator / denominator;
}

}  // namespace tevol

#endif  // TEVOL_COMMON_SINGLE_PRECISION_H_
