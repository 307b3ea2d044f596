// Checks ToDecimalDigits against a plain reference over many floats: the
// exact decimal expansion of m × 2^e worked out digit by digit (a decimal
// string multiplied by 2 or 5 at a time), then rounded half up to 17 digits.
//
//   tevol_digits_sweep [stride]   every stride-th bit pattern (default 1: all)
//
// ctest runs it with a large stride; the full sweep is for a manual run.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/number_format.h"

namespace {

// Digits of the exact value, most significant first, and the exponent n with
// value = 0.digits × 10^n.
void Reference(float v, std::string* digits, int* exponent) {
  std::uint32_t bits = std::bit_cast<std::uint32_t>(v) & 0x7fffffffu;
  int biased = static_cast<int>(bits >> 23);
  std::uint32_t m = bits & 0x7fffff;
  if (bits == 0) {
    *digits = "0";
    *exponent = 0;
    return;
  }
  int e = biased == 0 ? -149 : biased - 150;
  if (biased != 0) m |= 0x800000;
  std::string d = std::to_string(m);  // most significant first
  auto times = [&](int f) {
    int carry = 0;
    for (int i = static_cast<int>(d.size()) - 1; i >= 0; --i) {
      int t = (d[i] - '0') * f + carry;
      d[i] = static_cast<char>('0' + t % 10);
      carry = t / 10;
    }
    while (carry) {
      d.insert(d.begin(), static_cast<char>('0' + carry % 10));
      carry /= 10;
    }
  };
  int shift = 0;
  for (; e > 0; --e) times(2);
  for (; e < 0; ++e) {
    times(5);
    ++shift;
  }
  int n = static_cast<int>(d.size()) - shift;
  if (d.size() > 17) {
    bool up = d[17] >= '5';
    d.resize(17);
    if (up) {
      int i = 16;
      while (i >= 0 && d[i] == '9') d[i--] = '0';
      if (i < 0) {
        d = "1";
        ++n;
      } else {
        ++d[i];
      }
    }
  }
  while (d.size() > 1 && d.back() == '0') d.pop_back();
  *digits = d;
  *exponent = n;
}

}  // namespace

// True when the two agree; prints the first difference.
bool Agrees(std::uint32_t b) {
  float v = std::bit_cast<float>(b);
  std::string want;
  int want_n = 0;
  Reference(v, &want, &want_n);
  tevol::DecimalDigits got = tevol::ToDecimalDigits(v);
  std::string have(got.digits, static_cast<std::size_t>(got.count));
  if (have == want && got.exponent == want_n) return true;
  std::printf("0x%08x: got %s e%d, want %s e%d\n", b, have.c_str(), got.exponent, want.c_str(),
              want_n);
  return false;
}

int main(int argc, char** argv) {
  std::uint64_t stride = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
  if (stride == 0) stride = 1;
  std::uint64_t checked = 0;
  // The smallest and the largest floats, then every stride-th one.
  for (std::uint32_t b = 0; b < 2000; ++b, ++checked) {
    if (!Agrees(b) || !Agrees(0x7f800000u - 1 - b)) return 1;
  }
  for (std::uint64_t b = 0; b < 0x7f800000u; b += stride) {
    if (!Agrees(static_cast<std::uint32_t>(b))) return 1;
    ++checked;
  }
  std::printf("%llu floats agree\n", static_cast<unsigned long long>(checked));
  return 0;
}
