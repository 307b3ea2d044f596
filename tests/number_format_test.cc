// Field tables for Iw, Fw.d and Ew.d, and the digit step beneath them. The
// expected texts were worked out by hand from the exact decimal expansions
// (checked with Python's decimal module), never from printf, which rounds
// ties to even.
#include "common/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace tevol {
namespace {

struct FieldCase {
  float value;
  int w;
  int d;
  const char* expected;
};

std::string Fixed(float v, int w, int d) {
  std::string s;
  AppendFixed(v, w, d, &s);
  return s;
}

std::string Exponent(float v, int w, int d) {
  std::string s;
  AppendExponent(v, w, d, &s);
  return s;
}


TEST(FixedField, DocumentedTable) {
  const FieldCase cases[] = {
      {160.0f, 5, 0, " 160."},       {0.3f, 5, 0, "   0."},   {0.6f, 5, 0, "   1."},
      {-160.0f, 5, 0, "-160."},      {1.0e5f, 5, 0, "*****"},  {0.5f, 9, 1, "       .5"},
      {0.0f, 9, 1, "       .0"},     {-0.04f, 9, 1, "       .0"}, {1.0e7f, 9, 1, "*********"},
      {-2.5f, 9, 2, "    -2.50"},    {0.05f, 6, 3, "  .050"},  {9.96f, 3, 1, "***"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.w, c.d), c.expected) << c.value << " under F" << c.w << '.' << c.d;
  }
}

TEST(FixedField, RoundsExactTiesHalfUp) {
  const FieldCase cases[] = {
      {0.125f, 5, 2, "  .13"},   // exact tie; printf would give .12
      {2.5f, 5, 0, "   3."},     // exact tie; printf would give 2.
      {0.5f, 5, 0, "   1."},
      {-0.125f, 6, 2, "  -.13"},
      {0.001f, 6, 3, "  .001"},  // 0.001000000047...
      {0.001f, 9, 2, "      .00"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.w, c.d), c.expected) << c.value << " under F" << c.w << '.' << c.d;
  }
}

TEST(FixedField, CarriesIntoANewIntegerDigit) {
  const FieldCase cases[] = {
      {9.96f, 5, 1, " 10.0"},
      {99.96f, 9, 1, "    100.0"},
      {0.9996f, 6, 3, " 1.000"},
      {-9.96f, 5, 1, "-10.0"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.w, c.d), c.expected) << c.value << " under F" << c.w << '.' << c.d;
  }
}

TEST(FixedField, NegativeValuesThatRoundToZeroHaveNoSign) {
  const FieldCase cases[] = {
      {-0.004f, 5, 2, "  .00"},
      {-0.004f, 5, 3, "-.004"},
      {-0.3f, 5, 0, "   0."},
      {-0.0f, 5, 1, "   .0"},
      {-1.0e-30f, 9, 2, "      .00"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.w, c.d), c.expected) << c.value << " under F" << c.w << '.' << c.d;
  }
}

TEST(FixedField, KeepsAtMostSevenSignificantDigits) {
  const FieldCase cases[] = {
      {1234567.75f, 10, 1, " 1234568.0"},     // printf: 1234567.8
      {123456792.0f, 12, 1, " 123456800.0"},  // the float nearest 123456789
      {12345.678f, 9, 2, " 12345.68"},
      {1.2345678f, 9, 7, "1.2345680"},
      {9999999.0f, 9, 1, "9999999.0"},
      {1.0e7f, 10, 1, "10000000.0"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.w, c.d), c.expected) << c.value << " under F" << c.w << '.' << c.d;
  }
}

TEST(FixedField, TooWideGivesAsterisks) {
  EXPECT_EQ(Fixed(100000.0f, 9, 4), "*********");
  EXPECT_EQ(Fixed(-10.0f, 5, 2), "*****");
  EXPECT_EQ(Fixed(-1.0f, 5, 2), "-1.00");
}

TEST(ExponentField, DocumentedTable) {
  const FieldCase cases[] = {
      {1.23e-4f, 10, 3, "  .123E-03"}, {-1.23e-4f, 10, 3, " -.123E-03"},
      {0.0f, 10, 3, "  .000E+00"},     {9.96f, 10, 2, "   .10E+02"},
      {1.1e-07f, 10, 2, "   .11E-06"},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Exponent(c.value, c.w, c.d), c.expected) << c.value << " under E" << c.w << '.' << c.d;
  }
}

TEST(ExponentField, RoundingAndCarries) {
  const FieldCase cases[] = {
      {0.125f, 10, 2, "   .13E+00"},  // exact tie, half up
      {9.9996f, 10, 3, "  .100E+02"},
      {-1.0e-5f, 10, 3, " -.100E-04"},
      {-0.0f, 10, 3, "  .000E+00"},
      {1.0f, 10, 3, "  .100E+01"},
      {0.5f, 10, 3, "  .500E+00"},
      {0.0252f, 10, 3, "  .252E-01"},
      {std::bit_cast<float>(0x7f7fffffu), 10, 3, "  .340E+39"},  // the largest single
      {std::bit_cast<float>(0x00000001u), 10, 3, "  .140E-44"},  // the smallest
      {1.2345678f, 14, 9, ".123456800E+01"},  // more places than seven: zeros
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(Exponent(c.value, c.w, c.d), c.expected) << c.value << " under E" << c.w << '.' << c.d;
  }
}

TEST(ExponentField, TooWideGivesAsterisks) {
  EXPECT_EQ(Exponent(-1.0e-5f, 8, 3), "********");
  EXPECT_EQ(Exponent(1.0e-5f, 8, 3), ".100E-04");
}

TEST(IntegerField, RightJustifiedOrAsterisks) {
  const struct {
    std::int32_t v;
    int w;
    const char* expected;
  } cases[] = {{1, 3, "  1"},    {40, 3, " 40"},      {0, 3, "  0"},
               {-5, 3, " -5"},   {1000, 3, "***"},    {-100, 3, "***"},
               {-2147483647 - 1, 11, "-2147483648"}};
  for (const auto& c : cases) {
    std::string s;
    AppendInteger(c.v, c.w, &s);
    EXPECT_EQ(s, c.expected) << c.v;
  }
}

TEST(DecimalDigits, ExactExpansionRoundedHalfUpToSeventeenDigits) {
  const struct {
    std::uint32_t bits;
    const char* digits;
    int exponent;
  } cases[] = {
      {0x43200000u, "16", 3},                  // 160
      {0x3d4ccccdu, "5000000074505806", -1},  // 0.05f = 0.05000000074505805969...: trailing 0 dropped
      {0x3dcccccdu, "10000000149011612", 0},   // 0.1f = 0.100000001490116119384765625
      {0x3f800040u, "10000076293945313", 1},   // 1.00000762939453125: an exact tie at the 18th
      {0x00000000u, "0", 0},
      {0x80000000u, "0", 0},
  };
  for (const auto& c : cases) {
    DecimalDigits d = ToDecimalDigits(std::bit_cast<float>(c.bits));
    EXPECT_EQ(std::string(d.digits, static_cast<std::size_t>(d.count)), c.digits) << std::hex << c.bits;
    EXPECT_EQ(d.exponent, c.exponent) << std::hex << c.bits;
  }
  EXPECT_FALSE(ToDecimalDigits(-0.0f).negative);
  EXPECT_TRUE(ToDecimalDigits(-2.5f).negative);
}

}  // namespace
}  // namespace tevol
