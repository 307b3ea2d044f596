// The CP932 <-> UTF-8 conversions of the POSIX platform layer: a stream of
// writes or reads split anywhere, the CP932 table's own mappings, bytes and
// characters that cannot be converted, and file names cut inside a character.
// CP932 bytes are written as escapes; the UTF-8 texts are this file's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/cp932_posix.h"

namespace tevol {
namespace {

using Direction = Cp932Stream::Direction;

struct StreamCase {
  const char* what;
  std::vector<std::string> pieces;  // one Convert call each
  std::string expected;
  std::string pending;  // left at the end
};

std::string ConvertPieces(Direction direction, const StreamCase& c, std::string* pending) {
  Cp932Stream stream(direction);
  EXPECT_TRUE(stream.ok());
  std::string out;
  for (const std::string& piece : c.pieces) stream.Convert(piece, &out);
  *pending = stream.pending();
  return out;
}

class Cp932ToUtf8 : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Cp932ToUtf8, Converts) {
  std::string pending;
  EXPECT_EQ(ConvertPieces(Direction::kCp932ToUtf8, GetParam(), &pending), GetParam().expected);
  EXPECT_EQ(pending, GetParam().pending);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932ToUtf8,
    ::testing::Values(
        StreamCase{"AsciiAndLineControlsPass", {"a 1.\r\n\f\r \r\x1a"}, "a 1.\r\n\f\r \r\x1a", ""},
        // The CP932 table, not SHIFT_JIS: backslash, tilde, full-width tilde.
        StreamCase{"BackslashTildeAndWaveDash", {"\x5c\x7e\x81\x60"}, "\\~～", ""},
        StreamCase{"HalfWidthKatakana", {"\xb1\xdf"}, "ｱﾟ", ""},
        StreamCase{"WriteEndsOnALeadByte", {"a\x8c", "\x8b\x89\xca"}, "a結果", ""},
        StreamCase{"LeadByteSplitOverThreeWrites", {"\x8c", "", "\x8b"}, "結", ""},
        StreamCase{"LeadByteLeftAtTheEnd", {"\x8c\x8b\x89"}, "結", "\x89"},
        StreamCase{"LeadByteThenLineEnd", {"a\x8c", "\r\n"}, "a?\r\n", ""},
        StreamCase{"LeadByteBeforeABlank", {"(\x8c)"}, "(?)", ""},
        StreamCase{"BytesOfNoCharacter", {"\x80|\xa0|\xfd|\xff"}, "?|?|?|?", ""},
        // A lead and a trail byte without a Unicode form keep their two columns.
        StreamCase{"UnmappedDoubleByteCode", {"a\x85\x40z"}, "a??z", ""},
        StreamCase{"TrailByteInTheLeadRangeEndsACharacter", {"\x82\x9f"}, "ぁ", ""},
        StreamCase{"TrailByteInTheLeadRangeThenALead", {"\x82\x9f\x82"}, "ぁ", "\x82"}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.what); });

class Utf8ToCp932 : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Utf8ToCp932, Converts) {
  std::string pending;
  EXPECT_EQ(ConvertPieces(Direction::kUtf8ToCp932, GetParam(), &pending), GetParam().expected);
  EXPECT_EQ(pending, GetParam().pending);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToCp932,
    ::testing::Values(
        StreamCase{"AsciiCtrlZAndLineEndPass", {"3 1.5e-3\x1a\r\n"}, "3 1.5e-3\x1a\r\n", ""},
        StreamCase{"FullWidthAndHalfWidth", {"結果ｙｱ"}, "\x8c\x8b\x89\xca\x82\x99\xb1", ""},
        StreamCase{"BackslashTildeAndFullWidthTilde", {"\\~～"}, "\x5c\x7e\x81\x60", ""},
        StreamCase{"NoCp932Form", {"é😀x"}, "??x", ""},
        StreamCase{"IllFormedBytes", {"a\xff" "b\xc0\x80" "c"}, "a?b??c", ""},
        StreamCase{"SurrogateHalf", {"\xed\xa0\x80"}, "???", ""},
        StreamCase{"CharacterCutInsideALine", {"\xe7\xb5" "X"}, "?X", ""},
        StreamCase{"ChunkEndsInsideACharacter", {"a\xe7", "\xb5", "\x90" "b"}, "a\x8c\x8b" "b", ""},
        StreamCase{"FourByteCharacterOverChunks", {"\xf0\x9f", "\x98\x80"}, "?", ""},
        StreamCase{"CharacterLeftAtTheEnd", {"\xe6\x9e"}, "", "\xe6\x9e"}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.what); });

// Every split point of a text gives the same bytes as the text in one piece.
TEST(Cp932Stream, AnySplitGivesTheWholeConversion) {
  const std::string utf8 = "総作業時間［hr］＝ｱ～";
  std::string whole;
  Cp932Stream one(Direction::kUtf8ToCp932);
  one.Convert(utf8, &whole);
  for (std::size_t cut = 0; cut <= utf8.size(); ++cut) {
    Cp932Stream in(Direction::kUtf8ToCp932);
    std::string cp932;
    in.Convert(utf8.substr(0, cut), &cp932);
    in.Convert(utf8.substr(cut), &cp932);
    EXPECT_EQ(cp932, whole) << "cut at " << cut;
  }
  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    Cp932Stream out(Direction::kCp932ToUtf8);
    std::string back;
    out.Convert(whole.substr(0, cut), &back);
    out.Convert(whole.substr(cut), &back);
    EXPECT_EQ(back, utf8) << "cut at " << cut;
  }
}

// Standard output and standard error each keep their own lead byte.
TEST(Cp932Stream, TwoStreamsKeepTheirOwnPendingBytes) {
  Cp932Stream out(Direction::kCp932ToUtf8), err(Direction::kCp932ToUtf8);
  std::string o, e;
  out.Convert("\x8c", &o);
  err.Convert("\x89", &e);
  out.Convert("\x8b", &o);
  err.Convert("\xca", &e);
  EXPECT_EQ(o, "結");
  EXPECT_EQ(e, "果");
}

TEST(Cp932Stream, DroppedLeadByteIsNotJoinedToTheNextWrite) {
  Cp932Stream out(Direction::kCp932ToUtf8);
  std::string o;
  out.Convert("a\x8c", &o);
  out.DropPending();
  out.Convert("\x8b", &o);  // alone 0x8B is a lead byte again
  EXPECT_EQ(o, "a");
  EXPECT_EQ(out.pending(), "\x8b");
}

struct NameCase {
  const char* what;
  std::string cp932;
  std::string utf8;
};

class ReportFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ReportFileName, BecomesUtf8) {
  EXPECT_EQ(Cp932NameToUtf8(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReportFileName,
    ::testing::Values(
        NameCase{"Ascii", "r.txt", "r.txt"},
        NameCase{"Japanese", "\x8c\x8b\x89\xca.txt", "結果.txt"},
        NameCase{"FolderAndName", "\x96\xb3\x82\xa2/r.txt", "無い/r.txt"},
        // x, nine full-width characters and the first byte of a tenth.
        NameCase{"CutInsideTheLastCharacter",
                 "x\x8c\x8b\x89\xca\x8c\x8b\x89\xca\x8c\x8b\x89\xca\x8c\x8b\x89\xca\x8c\x8b\x89",
                 "x結果結果結果結果結"},
        NameCase{"ByteOfNoCharacterInside", "a\x80" "b", "a?b"},
        NameCase{"LeadByteBeforeTheExtension", "a\x8c.txt", "a?.txt"},
        NameCase{"BackslashStaysABackslash", "a\x5c" "b", "a\\b"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.what); });

struct ArgumentCase {
  const char* what;
  std::string utf8;
  std::string cp932;
};

class CommandLineArgument : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(CommandLineArgument, BecomesCp932) {
  EXPECT_EQ(Utf8TextToCp932(GetParam().utf8), GetParam().cp932);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineArgument,
    ::testing::Values(ArgumentCase{"Ascii", "argname.txt", "argname.txt"},
                      ArgumentCase{"Japanese", "結果.txt", "\x8c\x8b\x89\xca.txt"},
                      ArgumentCase{"CutCharacterAtTheEnd", "a\xe7\xb5", "a?"},
                      ArgumentCase{"NoCp932Form", "é.txt", "?.txt"}),
    [](const ::testing::TestParamInfo<ArgumentCase>& info) {
      return std::string(info.param.what);
    });

}  // namespace
}  // namespace tevol
