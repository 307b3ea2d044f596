// Fixed-length texts: exactly n bytes, padded with blanks on the right. Storing
// a longer text keeps its first n bytes (a double-byte character that straddles
// byte n keeps only its first byte). Two texts are equal when they match byte
// for byte after the shorter one is padded with blanks; letter case matters.
#ifndef TEVOL_COMMON_FIXED_TEXT_H_
#define TEVOL_COMMON_FIXED_TEXT_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace tevol {

template <std::size_t N>
class FixedText {
 public:
  FixedText() { bytes_.fill(' '); }
  explicit FixedText(std::string_view text) { Assign(text); }

  void Assign(std::string_view text) {
    bytes_.fill(' ');
    for (std::size_t i = 0; i < N && i < text.size(); ++i) bytes_[i] = text[i];
  }

  std::string_view view() const { return std::string_view(bytes_.data(), N); }

  // Blank-padded comparison with a text of any length.
  bool Equals(std::string_view other) const { return PaddedEqual(view(), other); }

  // The text without leading and trailing blanks (only the byte 32 is a blank).
  std::string_view Trimmed() const { return Trim(view()); }

  static bool PaddedEqual(std::string_view a, std::string_view b) {
    std::size_t n = a.size() > b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      char x = i < a.size() ? a[i] : ' ';
      char y = i < b.size() ? b[i] : ' ';
      if (x != y) return false;
    }
    return true;
  }

  static std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  }

 private:
  std::array<char, N> bytes_;
};

}  // namespace tevol

#endif  // TEVOL_COMMON_FIXED_TEXT_H_
