// Compiled with the execution character set CP932 like the rest of the
// common layer: this file's only literal byte is the ASCII "?".
#include "common/platform/cp932_posix.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace tevol {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsCp932Trail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// How many bytes at p, at most left of them, form the longest start of a
// well-formed UTF-8 character (at least 1); *length is the length of the
// character that its first byte begins (0 when it begins none).
std::size_t Utf8Piece(const unsigned char* p, std::size_t left, std::size_t* length) {
  unsigned char c = p[0];
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (c < 0x80) {
    *length = 1;
  } else if (c >= 0xC2 && c <= 0xDF) {
    *length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    *length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    *length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    *length = 0;
    return 1;
  }
  std::size_t i = 1;
  for (; i < *length && i < left; ++i) {
    if (p[i] < low || p[i] > high) break;
    low = 0x80;
    high = 0xBF;
  }
  return i;
}

enum class Stop { kDone, kIncomplete, kInvalid };

// Runs iconv over [*p, *p + *left) into *out until the input is used up or a
// byte stops it; *p and *left then point at that byte.
Stop RunIconv(iconv_t cd, const char** p, std::size_t* left, std::string* out) {
  char buffer[1024];
  while (*left > 0) {
    char* in = const_cast<char*>(*p);
    char* to = buffer;
    std::size_t room = sizeof buffer;
    std::size_t r = ::iconv(cd, &in, left, &to, &room);
    int error = errno;
    *p = in;
    out->append(buffer, static_cast<std::size_t>(to - buffer));
    if (r != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    return error == EINVAL ? Stop::kIncomplete : Stop::kInvalid;
  }
  return Stop::kDone;
}

}  // namespace

Cp932Stream::Cp932Stream(Direction direction)
    : direction_(direction),
      cd_(direction == Direction::kCp932ToUtf8 ? ::iconv_open("UTF-8", "CP932")
                                                : ::iconv_open("CP932", "UTF-8")) {}

Cp932Stream::~Cp932Stream() {
  if (ok()) ::iconv_close(static_cast<iconv_t>(cd_));
}

bool Cp932Stream::ok() const { return static_cast<iconv_t>(cd_) != kNoConverter; }

void Cp932Stream::Convert(std::string_view data, std::string* out) {
  std::string joined;
  if (!pending_.empty()) {
    joined = pending_ + std::string(data);
    pending_.clear();
    data = joined;
  }
  if (!ok()) {
    out->append(data);
    return;
  }
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    Stop stop = RunIconv(static_cast<iconv_t>(cd_), &p, &left, out);
    if (stop == Stop::kDone) break;
    if (stop == Stop::kIncomplete) {
      pending_.assign(p, left);
      break;
    }
    const unsigned char* u = reinterpret_cast<const unsigned char*>(p);
    std::size_t skip = 1;
    if (direction_ == Direction::kCp932ToUtf8) {
      // A lead and a trail byte are one character of two columns.
      if (left >= 2 && IsCp932Lead(u[0]) && IsCp932Trail(u[1])) skip = 2;
      out->append(skip, '?');
    } else {
      std::size_t length = 0;
      skip = Utf8Piece(u, left, &length);
      if (skip < length && skip == left) {
        // The start of a character cut off by the end of the data.
        pending_.assign(p, left);
        break;
      }
      out->push_back('?');
    }
    p += skip;
    left -= skip;
  }
}

std::string Cp932NameToUtf8(std::string_view name) {
  Cp932Stream stream(Cp932Stream::Direction::kCp932ToUtf8);
  std::string out;
  stream.Convert(name, &out);
  return out;  // a pending lead byte is dropped
}

std::string Utf8TextToCp932(std::string_view text) {
  Cp932Stream stream(Cp932Stream::Direction::kUtf8ToCp932);
  std::string out;
  stream.Convert(text, &out);
  if (!stream.pending().empty()) out.push_back('?');
  return out;
}

}  // namespace tevol
