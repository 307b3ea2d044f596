#include "common/number_format.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace tevol {
namespace {

constexpr int kSignificantKept = 17;  // digits of the exact expansion kept
constexpr int kFieldPrecision = 7;    // significant digits a field shows at most

// A non-negative integer in base 10^9, least significant limb first. A float
// times a power of 5 or 2 needs at most 128 decimal digits: 15 limbs.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint32_t value) : size_(1) { limbs_[0] = value; }

  void MultiplyBy(std::uint32_t factor) {  // factor < 2^32
    std::uint64_t carry = 0;
    for (int i = 0; i < size_; ++i) {
      std::uint64_t t = static_cast<std::uint64_t>(limbs_[i]) * factor + carry;
      limbs_[i] = static_cast<std::uint32_t>(t % kBase);
      carry = t / kBase;
    }
    while (carry != 0) {
      limbs_[size_++] = static_cast<std::uint32_t>(carry % kBase);
      carry /= kBase;
    }
  }

  // Writes the leading decimal digits, most significant first and without
  // leading zeros: those of the top three limbs, at least 19, which is all the
  // rounding to 17 digits looks at. Returns how many were written; *length
  // gets the number of digits of the whole number.
  int LeadingDigits(char* out, int* length) const {
    char* p = std::to_chars(out, out + 10, limbs_[size_ - 1]).ptr;
    int top = static_cast<int>(p - out);
    int lower = size_ - 1 < 2 ? size_ - 1 : 2;
    for (int i = size_ - 2; i >= size_ - 1 - lower; --i) {
      std::uint32_t v = limbs_[i];
      for (int k = 8; k >= 0; --k) {
        p[k] = static_cast<char>('0' + v % 10);
        v /= 10;
      }
      p += 9;
    }
    *length = top + 9 * (size_ - 1);
    return static_cast<int>(p - out);
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::uint32_t limbs_[16];
  int size_;
};

// Rounds digits[0..count) half up to keep digits (keep >= 0). Returns the new
// count; a carry out of the first digit gives the digit 1 and raises *exponent.
int RoundHalfUp(char* digits, int count, int keep, int* exponent) {
  if (count <= keep) return count;
  bool up = digits[keep] >= '5';
  count = keep;
  if (!up) return count;
  int i = keep - 1;
  while (i >= 0 && digits[i] == '9') --i;
  if (i < 0) {
    digits[0] = '1';
    ++*exponent;
    return 1;
  }
  ++digits[i];
  return i + 1;
}

void AppendRightJustified(const char* text, int length, int w, std::string* out) {
  if (length > w) {
    out->append(static_cast<std::size_t>(w), '*');
    return;
  }
  out->append(static_cast<std::size_t>(w - length), ' ');
  out->append(text, static_cast<std::size_t>(length));
}

}  // namespace

DecimalDigits ToDecimalDigits(float value) {
  DecimalDigits result;
  std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
  result.negative = (bits >> 31) != 0;
  int biased = static_cast<int>((bits >> 23) & 0xff);
  std::uint32_t mantissa = bits & 0x7fffff;
  if (biased == 0 && mantissa == 0) {
    result.digits[0] = '0';
    result.count = 1;
    result.exponent = 0;
    result.negative = false;
    return result;
  }
  int binary_exponent;  // value = mantissa × 2^binary_exponent
  if (biased == 0) {
    binary_exponent = -149;
  } else {
    mantissa |= 0x800000;
    binary_exponent = biased - 150;
  }
  // Non-finite values never reach a field: reads refuse them and every store
  // is checked.
  BigDecimal n(mantissa);
  int decimal_shift = 0;  // value = n × 10^-decimal_shift
  if (binary_exponent >= 0) {
    for (int e = binary_exponent; e > 0; e -= 29) n.MultiplyBy(1u << (e < 29 ? e : 29));
  } else {
    decimal_shift = -binary_exponent;  // m × 2^-k = m × 5^k / 10^k
    static constexpr std::uint32_t kPowersOf5[14] = {
        1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125, 9765625, 48828125,
        244140625, 1220703125};
    int k = decimal_shift;
    for (; k >= 13; k -= 13) n.MultiplyBy(kPowersOf5[13]);
    if (k > 0) n.MultiplyBy(kPowersOf5[k]);
  }
  char all[32];
  int length = 0;
  int written = n.LeadingDigits(all, &length);
  int exponent = length - decimal_shift;
  int count = RoundHalfUp(all, written, kSignificantKept, &exponent);
  while (count > 1 && all[count - 1] == '0') --count;
  std::memcpy(result.digits, all, static_cast<std::size_t>(count));
  result.count = count;
  result.exponent = exponent;
  return result;
}

void AppendFixed(float value, int w, int d, std::string* out) {
  DecimalDigits v = ToDecimalDigits(value);
  bool zero = v.digits[0] == '0';
  int exponent = v.exponent;
  int count = v.count;
  if (!zero) {
    int keep = exponent + d;  // significant digits that d decimal places keep
    if (keep > kFieldPrecision) keep = kFieldPrecision;
    if (keep < 0) {
      zero = true;
    } else {
      count = RoundHalfUp(v.digits, count, keep, &exponent);
      if (count == 0) zero = true;
    }
  }
  char text[64];
  int length = 0;
  if (!zero && v.negative) text[length++] = '-';
  if (zero) {
    if (d == 0) text[length++] = '0';
  } else {
    for (int i = 0; i < exponent; ++i) text[length++] = i < count ? v.digits[i] : '0';
  }
  text[length++] = '.';
  for (int j = 0; j < d; ++j) {
    int i = exponent + j;  // index of the digit at decimal place j + 1
    text[length++] = (!zero && i >= 0 && i < count) ? v.digits[i] : '0';
  }
  AppendRightJustified(text, length, w, out);
}

void AppendExponent(float value, int w, int d, std::string* out) {
  DecimalDigits v = ToDecimalDigits(value);
  bool zero = v.digits[0] == '0';
  int exponent = zero ? 0 : v.exponent;
  int count = zero ? 0 : RoundHalfUp(v.digits, v.count, d < kFieldPrecision ? d : kFieldPrecision,
                                     &exponent);
  char text[64];
  int length = 0;
  if (!zero && v.negative) text[length++] = '-';
  text[length++] = '.';
  for (int i = 0; i < d; ++i) text[length++] = i < count ? v.digits[i] : '0';
  int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude <= 99) text[length++] = 'E';
  text[length++] = exponent < 0 ? '-' : '+';
  if (magnitude > 99) text[length++] = static_cast<char>('0' + magnitude / 100);
  text[length++] = static_cast<char>('0' + magnitude / 10 % 10);
  text[length++] = static_cast<char>('0' + magnitude % 10);
  AppendRightJustified(text, length, w, out);
}

void AppendInteger(std::int32_t value, int w, std::string* out) {
  char text[16];
  int length = static_cast<int>(std::to_chars(text, text + sizeof text, value).ptr - text);
  AppendRightJustified(text, length, w, out);
}

}  // namespace tevol
