// The free-form reader: token forms, nulls, repeat counts and errors, read
// through the console from a fake standard input.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstdint>
#include <optional>
#include <string>

#include "common/console.h"
#include "common/free_form.h"
#include "tests/fake_env.h"

namespace tevol {
namespace {

using Cond = std::optional<IoCondition>;

// Reads one variable from input; returns the error condition, if any.
template <typename T>
Cond ReadFrom(const std::string& input, T* value) {
  FakeEnv env;
  env.input = input;
  Console con(&env);
  try {
    if constexpr (std::is_same_v<T, float>) {
      con.ReadReal(value);
    } else {
      con.ReadInteger(value);
    }
  } catch (const RunTimeError& e) {
    return e.condition();
  }
  return std::nullopt;
}

TEST(FreeFormInteger, AcceptedForms) {
  const struct {
    const char* line;
    std::int32_t expected;
  } cases[] = {
      {"3\n", 3},          {"  3  \n", 3},       {"+3\n", 3},         {"-7\n", -7},
      {"3 junk\n", 3},     {"3,4\n", 3},         {"99/\n", 99},       {"\n\n  \n5\n", 5},
      {"16#A\n", 10},      {"-16#A\n", -10},     {"#22\n", 34},       {"2#101\n", 5},
      {"36#z\n", 35},      {"36#Z\n", 35},       {"2*7\n", 7},        {"2147483647\n", 2147483647},
      {"-2147483648\n", -2147483647 - 1},        {"3\r\n", 3},        {"4", 4},
      {"\t5\n", 5},
  };
  for (const auto& c : cases) {
    std::int32_t v = -999;
    EXPECT_EQ(ReadFrom(c.line, &v), std::nullopt) << c.line;
    EXPECT_EQ(v, c.expected) << c.line;
  }
}

TEST(FreeFormInteger, NullValuesKeepTheVariable) {
  for (const char* line : {",\n", "/\n", " ,5\n", "2*\n", "  /  9\n", ",,3\n"}) {
    std::int32_t v = 42;
    EXPECT_EQ(ReadFrom(line, &v), std::nullopt) << line;
    EXPECT_EQ(v, 42) << line;
  }
}

TEST(FreeFormInteger, Errors) {
  const struct {
    const char* line;
    IoCondition expected;
  } cases[] = {
      {"3.0\n", IoCondition::kInvalidInteger},   {"3a\n", IoCondition::kInvalidInteger},
      {"-\n", IoCondition::kInvalidInteger},     {"16#\n", IoCondition::kInvalidInteger},
      {"#\n", IoCondition::kInvalidInteger},     {"2#102\n", IoCondition::kInvalidInteger},
      {"37#1\n", IoCondition::kInvalidInteger},  {"1#1\n", IoCondition::kInvalidInteger},
      {"a*5\n", IoCondition::kInvalidInteger},   {"-1*5\n", IoCondition::kInvalidInteger},
      {"2147483648\n", IoCondition::kIntegerRange},
      {"-2147483649\n", IoCondition::kIntegerRange},
      {"16#80000000\n", IoCondition::kIntegerRange},
      {"99999999999999999999\n", IoCondition::kIntegerRange},
      {"0*5\n", IoCondition::kRepeatCount},      {"0*\n", IoCondition::kRepeatCount},
      {"'3'\n", IoCondition::kTextForNumber},    {"\"3\"\n", IoCondition::kTextForNumber},
      {"(1,2)\n", IoCondition::kTextForNumber},  {"2*'a'\n", IoCondition::kTextForNumber},
      {"", IoCondition::kEndOfInput},            {"\n\n", IoCondition::kEndOfInput},
      {"5\x1a\n", IoCondition::kEndOfInput},     {"\x1a", IoCondition::kEndOfInput},
  };
  for (const auto& c : cases) {
    std::int32_t v = 0;
    EXPECT_EQ(ReadFrom(c.line, &v), c.expected) << c.line;
  }
}

TEST(FreeFormReal, AcceptedForms) {
  const struct {
    const char* line;
    float expected;
  } cases[] = {
      {"160\n", 160.0f},       {"1.5E-3\n", 1.5e-3f},   {"1.5e-3\n", 1.5e-3f},
      {"1.5D-3\n", 1.5e-3f},   {"1.5d-3\n", 1.5e-3f},   {"1.5-3\n", 1.5e-3f},
      {"1.5+3\n", 1500.0f},    {"1,000\n", 1.0f},       {"5 abc\n", 5.0f},
      {".5\n", 0.5f},          {"5.\n", 5.0f},          {"-2.5e+2\n", -250.0f},
      {"+7\n", 7.0f},          {"3*2.5\n", 2.5f},       {"1.0e-5\n", 1.0e-5f},
      {"100/\n", 100.0f},      {"1e-50\n", 0.0f},       {"-1e-50\n", -0.0f},
      // The largest single and the largest decimals that still round to it.
      {"3.4028234663852886e38\n", FLT_MAX},
      {"3.40282356779733661637539395458142568e38\n", FLT_MAX},
      // A subnormal: the nearest single, without error.
      {"1e-45\n", std::bit_cast<float>(0x00000001u)},
  };
  for (const auto& c : cases) {
    float v = -999.0f;
    EXPECT_EQ(ReadFrom(c.line, &v), std::nullopt) << c.line;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(v), std::bit_cast<std::uint32_t>(c.expected)) << c.line;
  }
}

TEST(FreeFormReal, ReadStraightFromTheDigitsNotThroughADouble) {
  // 1.00000005960464477539062500001 lies just above the midpoint of 1 and the
  // next single; its nearest double is the midpoint itself, which would round
  // to 1 (ties to even).
  float v = 0;
  EXPECT_EQ(ReadFrom("1.00000005960464477539062500001\n", &v), std::nullopt);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(v), 0x3f800001u);
}

TEST(FreeFormReal, Errors) {
  const struct {
    const char* line;
    IoCondition expected;
  } cases[] = {
      {"1.5E\n", IoCondition::kInvalidReal},   {"1.5E+\n", IoCondition::kInvalidReal},
      {"1.5-\n", IoCondition::kInvalidReal},   {".\n", IoCondition::kInvalidReal},
      {"+\n", IoCondition::kInvalidReal},      {"inf\n", IoCondition::kInvalidReal},
      {"nan\n", IoCondition::kInvalidReal},    {"0x10\n", IoCondition::kInvalidReal},
      {"1.0e-5x\n", IoCondition::kInvalidReal}, {"abc\n", IoCondition::kInvalidReal},
      {"16#A\n", IoCondition::kInvalidReal},   {"1.5E3.0\n", IoCondition::kInvalidReal},
      {"1e39\n", IoCondition::kRealRange},     {"-1e39\n", IoCondition::kRealRange},
      // The midpoint of the largest single and 2^128 rounds to infinity.
      {"3.40282356779733661637539395458142568448e38\n", IoCondition::kRealRange},
      {"'x'\n", IoCondition::kTextForNumber},  {"0*1.5\n", IoCondition::kRepeatCount},
  };
  for (const auto& c : cases) {
    float v = 0;
    EXPECT_EQ(ReadFrom(c.line, &v), c.expected) << c.line;
  }
}

TEST(FreeFormReal, NullKeepsTheValue) {
  for (const char* line : {",\n", "/\n", " ,5\n", "3*\n"}) {
    float v = 2.5f;
    EXPECT_EQ(ReadFrom(line, &v), std::nullopt) << line;
    EXPECT_EQ(v, 2.5f) << line;
  }
}

}  // namespace
}  // namespace tevol
