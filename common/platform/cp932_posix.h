// Conversions between the program's code page 932 (Shift-JIS) and UTF-8 for
// the POSIX implementation of Env: the screen of a UTF-8 terminal, what is
// typed at it, and file names. They use the C library's iconv with its CP932
// table, which maps 0x5C to the backslash, 0x7E to the tilde and 0x8160 to the
// full-width tilde (the SHIFT_JIS table does not).
//
// What cannot be converted:
// - CP932 to UTF-8: each byte that is not part of a character becomes "?", and
//   a double-byte code without a Unicode form becomes "??", so that the text
//   keeps one column per byte, as the tables' widths count them.
// - UTF-8 to CP932: a character without a CP932 form, and each ill-formed
//   piece of UTF-8, becomes one "?".
//
// When the C library has no CP932 table the bytes pass unchanged (ok() is
// false).
#ifndef TEVOL_COMMON_PLATFORM_CP932_POSIX_H_
#define TEVOL_COMMON_PLATFORM_CP932_POSIX_H_

#include <string>
#include <string_view>

namespace tevol {

// One direction of conversion over a stream of writes or reads: a character
// split between two calls is converted whole with the second one.
class Cp932Stream {
 public:
  enum class Direction { kCp932ToUtf8, kUtf8ToCp932 };

  explicit Cp932Stream(Direction direction);
  ~Cp932Stream();
  Cp932Stream(const Cp932Stream&) = delete;
  Cp932Stream& operator=(const Cp932Stream&) = delete;

  bool ok() const;
  // Appends the converted whole characters of the pending bytes and data to
  // *out; an incomplete character at the end becomes the pending bytes.
  void Convert(std::string_view data, std::string* out);
  // Bytes of an incomplete character left by the last Convert.
  const std::string& pending() const { return pending_; }
  // Forgets the pending bytes.
  void DropPending() { pending_.clear(); }

 private:
  const Direction direction_;
  void* cd_;  // iconv_t
  std::string pending_;
};

// A report-file name (CP932) as the file system's UTF-8 name. A lead byte at
// the very end, left when a name was cut inside a double-byte character, is
// dropped.
std::string Cp932NameToUtf8(std::string_view name);

// A command-line argument (UTF-8) in the program's code page; an incomplete
// character at its end becomes "?".
std::string Utf8TextToCp932(std::string_view text);

}  // namespace tevol

#endif  // TEVOL_COMMON_PLATFORM_CP932_POSIX_H_
