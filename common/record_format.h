// The format notation of formatted records: a parenthesized list of edit
// descriptors ('text', nX, A, Aw, Iw, Fw.d, Ew.d, rEw.d and a closing
// backslash), interpreted at run time. BuildRecord turns one statement (a
// format and its values) into the bytes of one record; where the record goes
// (console or report file) and what line ends it gets is the caller's matter.
#ifndef TEVOL_COMMON_RECORD_FORMAT_H_
#define TEVOL_COMMON_RECORD_FORMAT_H_

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace tevol {

// One value of an output statement.
class FormatArg {
 public:
  enum class Kind { kInteger, kReal, kText };
  FormatArg(std::int32_t v) : kind_(Kind::kInteger), integer_(v) {}  // NOLINT: implicit by design
  FormatArg(float v) : kind_(Kind::kReal), real_(v) {}                // NOLINT
  FormatArg(std::string_view v) : kind_(Kind::kText), text_(v) {}     // NOLINT

  Kind kind() const { return kind_; }
  std::int32_t integer() const { return integer_; }
  float real() const { return real_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  std::int32_t integer_ = 0;
  float real_ = 0;
  std::string_view text_;
};

struct Record {
  std::string bytes;
  bool prompt = false;  // the format ended in a backslash: the record stays open
};

// Lays out one record. The descriptors run from left to right; when the values
// are used up the record ends before the next descriptor that would take one.
// A value of the wrong kind for its descriptor, or a malformed format, is a
// programming error and aborts (the calculators' formats are all fixed).
Record BuildRecord(std::string_view format, std::span<const FormatArg> args);

inline Record BuildRecord(std::string_view format, std::initializer_list<FormatArg> args) {
  return BuildRecord(format, std::span<const FormatArg>(args.begin(), args.size()));
}

}  // namespace tevol

#endif  // TEVOL_COMMON_RECORD_FORMAT_H_
