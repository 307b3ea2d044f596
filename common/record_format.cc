#include "common/record_format.h"

#include <cstdlib>

#include "common/number_format.h"

namespace tevol {
namespace {

// Walks a format string; blanks outside literals are passed over.
class FormatCursor {
 public:
  explicit FormatCursor(std::string_view format) : f_(format) {}

  char Peek() {
    while (pos_ < f_.size() && f_[pos_] == ' ') ++pos_;
    return pos_ < f_.size() ? f_[pos_] : ')';
  }
  char Take() {
    char c = Peek();
    if (pos_ < f_.size()) ++pos_;
    return c;
  }
  bool TakeNumber(int* n) {
    if (!IsDigit(Peek())) return false;
    int v = 0;
    while (IsDigit(Peek())) v = v * 10 + (Take() - '0');
    *n = v;
    return true;
  }
  // The bytes of a literal up to its closing apostrophe ('' stands for one).
  void TakeLiteral(std::string* out) {
    while (pos_ < f_.size()) {
      char c = f_[pos_++];
      if (c == '\'') {
        if (pos_ < f_.size() && f_[pos_] == '\'') {
          ++pos_;
        } else {
          return;
        }
      }
      out->push_back(c);
    }
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  std::string_view f_;
  std::size_t pos_ = 0;
};

[[noreturn]] void BadStatement() { std::abort(); }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

Record BuildRecord(std::string_view format, std::span<const FormatArg> args) {
  Record record;
  std::string& out = record.bytes;
  std::size_t next = 0;
  int skipped = 0;  // positions passed over by nX, written only when text follows
  auto flush_skipped = [&] {
    out.append(static_cast<std::size_t>(skipped), ' ');
    skipped = 0;
  };
  FormatCursor cur(format);
  if (cur.Take() != '(') BadStatement();
  for (;;) {
    char c = cur.Peek();
    if (c == ',') {
      cur.Take();
      continue;
    }
    if (c == ')') break;
    if (c == '\'') {
      cur.Take();
      flush_skipped();
      cur.TakeLiteral(&out);
      continue;
    }
    if (c == '\\') {
      cur.Take();
      record.prompt = true;
      continue;
    }
    int repeat = 1;
    bool has_repeat = cur.TakeNumber(&repeat);
    char letter = Upper(cur.Take());
    if (letter == 'X') {
      if (!has_repeat) BadStatement();
      skipped += repeat;
      continue;
    }
    int w = 0;
    int d = 0;
    bool has_width = cur.TakeNumber(&w);
    if ((letter == 'F' || letter == 'E') && cur.Peek() == '.') {
      cur.Take();
      if (!cur.TakeNumber(&d)) BadStatement();
    }
    for (int r = 0; r < repeat; ++r) {
      if (next == args.size()) return record;  // the values are used up
      const FormatArg& arg = args[next++];
      flush_skipped();
      switch (letter) {
        case 'A': {
          if (arg.kind() != FormatArg::Kind::kText) BadStatement();
          std::string_view t = arg.text();
          if (!has_width) {
            out.append(t);
          } else if (t.size() >= static_cast<std::size_t>(w)) {
            out.append(t.substr(0, static_cast<std::size_t>(w)));
          } else {
            out.append(static_cast<std::size_t>(w) - t.size(), ' ');
            out.append(t);
          }
          break;
        }
        case 'I':
          if (arg.kind() != FormatArg::Kind::kInteger || !has_width) BadStatement();
          AppendInteger(arg.integer(), w, &out);
          break;
        case 'F':
          if (arg.kind() != FormatArg::Kind::kReal || !has_width) BadStatement();
          AppendFixed(arg.real(), w, d, &out);
          break;
        case 'E':
          if (arg.kind() != FormatArg::Kind::kReal || !has_width) BadStatement();
          AppendExponent(arg.real(), w, d, &out);
          break;
        default:
          BadStatement();
      }
    }
  }
  return record;
}

}  // namespace tevol
