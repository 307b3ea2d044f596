// The free-form reader's scanning and number parsing, on one input line. No
// I/O here: the console (console.h) fetches lines and calls these.
//
// Fields are separated by blanks, tabs, a comma (with the blanks around it) or
// the end of the line; a slash ends the statement. A field r*value stands for
// r copies of value, r* for r null values.
#ifndef TEVOL_COMMON_FREE_FORM_H_
#define TEVOL_COMMON_FREE_FORM_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/run_time_error.h"

namespace tevol {

// What the first field of a line gives a one-variable read.
struct FreeFormField {
  enum class Kind {
    kEmptyLine,  // only blanks: the read goes on with the next line
    kNull,       // lone comma, slash, or r*: the variable keeps its value
    kToken,      // token holds the value's text (a repeat prefix removed)
  };
  Kind kind = Kind::kEmptyLine;
  std::string_view token;
  // The byte that ended the field (blank, tab, comma or slash), 0 at the end
  // of the line, and the bytes after it (what a read of one value ignores).
  char separator = 0;
  std::string_view rest;
};

// True when nothing but blanks follows the field: a comma after the blanks
// belongs to the field's separator, and a slash ends the statement.
bool HoldsOneValue(const FreeFormField& field);

// Splits off the first field. Errors that do not depend on the variable's type
// (a quoted text, a parenthesized pair, a repeat count below 1) come back as
// the condition; an invalid repeat prefix is left in the token.
FreeFormField FirstField(std::string_view line, std::optional<IoCondition>* error);

// Parses a token as a 32-bit integer: optional sign, decimal digits, or
// [sign][base]#digits with base 2 to 36 (16 when left out).
std::optional<IoCondition> ParseInteger(std::string_view token, std::int32_t* value);

// Parses a token as a real: optional sign, a mantissa with at least one digit
// and an optional point, and an optional exponent (E, e, D or d with an
// optional sign and digits, or a sign and digits straight after the mantissa).
// The value is the single-precision number nearest the decimal; one beyond the
// single-precision range is an error, one too small for it becomes the nearest
// single (possibly zero).
std::optional<IoCondition> ParseReal(std::string_view token, float* value);

}  // namespace tevol

#endif  // TEVOL_COMMON_FREE_FORM_H_
