#include "common/free_form.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tevol {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return IsBlank(c) || c == ',' || c == '/'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

FreeFormField FirstField(std::string_view line, std::optional<IoCondition>* error) {
  FreeFormField field;
  *error = std::nullopt;
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size()) return field;  // kEmptyLine
  char c = line[i];
  if (c == ',' || c == '/') {
    field.kind = FreeFormField::Kind::kNull;
    field.separator = c;
    field.rest = line.substr(i + 1);
    return field;
  }
  if (c == '\'' || c == '"' || c == '(') {
    field.kind = FreeFormField::Kind::kToken;
    *error = IoCondition::kTextForNumber;
    return field;
  }
  std::size_t start = i;
  while (i < line.size() && !IsSeparator(line[i])) ++i;
  std::string_view token = line.substr(start, i - start);
  field.separator = i < line.size() ? line[i] : '\0';
  field.rest = line.substr(i < line.size() ? i + 1 : i);
  field.kind = FreeFormField::Kind::kToken;
  std::size_t star = token.find('*');
  if (star != std::string_view::npos) {
    std::string_view count = token.substr(0, star);
    bool digits = !count.empty();
    std::int64_t r = 0;
    for (char d : count) {
      if (!IsDigit(d)) {
        digits = false;
        break;
      }
      if (r < 1000000000000) r = r * 10 + (d - '0');
    }
    if (!digits) {
      field.token = token;  // not a repeat count: an invalid value
      return field;
    }
    if (r < 1) {
      *error = IoCondition::kRepeatCount;
      return field;
    }
    token = token.substr(star + 1);
    if (token.empty()) {
      field.kind = FreeFormField::Kind::kNull;
      return field;
    }
    if (token.front() == '\'' || token.front() == '"' || token.front() == '(') {
      *error = IoCondition::kTextForNumber;
      return field;
    }
  }
  field.token = token;
  return field;
}

bool HoldsOneValue(const FreeFormField& field) {
  if (field.separator == '/') return true;
  std::string_view rest = field.rest;
  bool comma_seen = field.separator == ',';
  for (char c : rest) {
    if (IsBlank(c)) continue;
    if (c == '/') return true;
    if (c == ',' && !comma_seen) {
      comma_seen = true;
      continue;
    }
    return false;
  }
  return true;
}

std::optional<IoCondition> ParseInteger(std::string_view t, std::int32_t* value) {
  const auto invalid = IoCondition::kInvalidInteger;
  bool negative = false;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  int base = 10;
  std::size_t hash = t.find('#', i);
  if (hash != std::string_view::npos) {
    std::string_view b = t.substr(i, hash - i);
    if (b.empty()) {
      base = 16;
    } else {
      if (b.size() > 2) return invalid;
      base = 0;
      for (char c : b) {
        if (!IsDigit(c)) return invalid;
        base = base * 10 + (c - '0');
      }
      if (base < 2 || base > 36) return invalid;
    }
    i = hash + 1;
  }
  if (i == t.size()) return invalid;
  std::int64_t magnitude = 0;
  bool too_large = false;
  for (; i < t.size(); ++i) {
    int d = DigitValue(t[i]);
    if (d >= base) return invalid;
    magnitude = magnitude * base + d;
    if (magnitude > 2147483648LL) {
      too_large = true;
      magnitude = 2147483648LL + 1;
    }
  }
  std::int64_t v = negative ? -magnitude : magnitude;
  if (too_large || v > 2147483647LL || v < -2147483648LL) return IoCondition::kIntegerRange;
  *value = static_cast<std::int32_t>(v);
  return std::nullopt;
}

std::optional<IoCondition> ParseReal(std::string_view t, float* value) {
  const auto invalid = IoCondition::kInvalidReal;
  // The token is checked here and rewritten in the form strtof reads
  // ([sign]mantissa[e[sign]digits]), so strtof's own extensions (hex, inf,
  // nan) never come into play.
  std::string normal;
  normal.reserve(t.size() + 2);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal += t[i++];
  int digits = 0;
  while (i < t.size() && IsDigit(t[i])) {
    normal += t[i++];
    ++digits;
  }
  if (i < t.size() && t[i] == '.') {
    normal += t[i++];
    while (i < t.size() && IsDigit(t[i])) {
      normal += t[i++];
      ++digits;
    }
  }
  if (digits == 0) return invalid;
  if (i < t.size()) {
    char c = t[i];
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
      ++i;
    } else if (c != '+' && c != '-') {
      return invalid;
    }
    normal += 'e';
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) normal += t[i++];
    int exponent_digits = 0;
    while (i < t.size() && IsDigit(t[i])) {
      normal += t[i++];
      ++exponent_digits;
    }
    if (exponent_digits == 0 || i != t.size()) return invalid;
  }
  errno = 0;
  char* end = nullptr;
  float v = std::strtof(normal.c_str(), &end);
  if (end != normal.c_str() + normal.size()) return invalid;
  if (std::isinf(v)) return IoCondition::kRealRange;
  *value = v;
  return std::nullopt;
}

}  // namespace tevol
