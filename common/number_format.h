// The number writers of the record layer: Iw, Fw.d and Ew.d fields.
//
// A real is first turned into decimal digits (DecimalDigits): the single-
// precision value widened to double, its exact decimal expansion rounded half
// up to 17 significant digits, trailing zeros dropped. Each field then rounds
// those digits half up to the places it shows, never keeping more than seven
// significant digits, and lays them out. The two steps are separate so that
// each has its own table of tests.
#ifndef TEVOL_COMMON_NUMBER_FORMAT_H_
#define TEVOL_COMMON_NUMBER_FORMAT_H_

#include <cstdint>
#include <string>

namespace tevol {

// value = 0.d1 d2 ... dcount × 10^exponent, d1 != 0; zero is the digit 0 with
// exponent 0 and no sign.
struct DecimalDigits {
  char digits[17];
  int count = 0;
  int exponent = 0;
  bool negative = false;
};

DecimalDigits ToDecimalDigits(float value);

// Each appends exactly w bytes to *out.
void AppendFixed(float value, int w, int d, std::string* out);     // Fw.d
void AppendExponent(float value, int w, int d, std::string* out);  // Ew.d
void AppendInteger(std::int32_t value, int w, std::string* out);   // Iw

}  // namespace tevol

#endif  // TEVOL_COMMON_NUMBER_FORMAT_H_
