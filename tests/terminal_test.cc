// Calculators at a terminal (a pseudo-terminal). The program's bytes are
// Shift-JIS (CP932); the terminal speaks UTF-8, so what it shows and what is
// typed at it are UTF-8 text, while the report file keeps its CP932 bytes and
// a piped run keeps every byte as it was. Reads end the open line and clear
// the flags, so prompts and answers share a screen line and nothing follows
// the stop message. Ctrl+Z ends the input, and the terminal's settings are
// put back however the run ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/process_runner.h"
#include "tests/pty_session.h"

namespace tevol::testing {
namespace {

const std::string kFirstPrompt = "                   -----> OK([y]/n) ? ";
const std::string kClosing =
    " \r\nTevol Ver.1.0.0 (C) 2026 Tevol Developers\r\n \r\n               ---  Hit RET key  ---"
    "\r\n";  // the pause ends the line before it waits

std::string FixtureFile(const std::string& c, const std::string& file) {
  return ReadFileBytes(std::string(TEVOL_FIXTURE_DIR) + "/" + c + "/" + file);
}

std::vector<std::string> SplitLines(const std::string& bytes, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = bytes.find(end, start)) != std::string::npos;) {
    lines.push_back(bytes.substr(start, at - start));
    start = at + end.size();
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

// The answers of a fixture's standard input, one per line.
std::vector<std::string> FixtureAnswers(const std::string& c) {
  return SplitLines(FixtureFile(c, "stdin"), "\n");
}

std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename());
  return names;
}

// The columns at which the words (runs of non-blank characters) of a line
// start, for a line of CP932 bytes (one column per byte) and for the same
// line as UTF-8 on a terminal (two columns for a wide character).
std::vector<int> WordStarts(const std::string& line, bool utf8) {
  std::vector<int> starts;
  int column = 0;
  bool in_word = false;
  for (std::size_t i = 0; i < line.size();) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    std::size_t length = 1;
    int width = 1;
    if (utf8 && c >= 0x80) {
      length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      char32_t u = c & (0x3F >> (length - 1));
      for (std::size_t k = 1; k < length && i + k < line.size(); ++k) {
        u = (u << 6) | (line[i + k] & 0x3F);
      }
      bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                  (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                  (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6);
      width = wide ? 2 : 1;
    }
    if (c == ' ') {
      in_word = false;
    } else if (!in_word) {
      starts.push_back(column);
      in_word = true;
    }
    column += width;
    i += length;
  }
  return starts;
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

struct Opening {
  const char* program;
  std::vector<std::string> title_lines;
};

class OpeningScreen : public ::testing::TestWithParam<Opening> {};

TEST_P(OpeningScreen, ShowsTheTitleLinesAsUtf8) {
  const Opening& o = GetParam();
  std::string dir = MakeTempDir();
  PtySession s(o.program, dir);
  // The first blank line is one blank at the very top; the prompt shows
  // without its first byte.
  std::string expected = " \r\n ";
  for (const std::string& line : o.title_lines) expected += "\r\n" + line;
  expected += "\r\n \r\n" + kFirstPrompt;
  EXPECT_TRUE(s.WaitFor(expected)) << s.screen();
  EXPECT_EQ(s.screen(), expected);
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Calculators, OpeningScreen,
    ::testing::Values(
        Opening{"Tevol_1",
                {"    業務従事者の空気吸入による内部被曝の算定 (2001) ", " ",
                 "    １日および３ヶ月最大使用予定数量を基に算出した",
                 "    排気口ＲＩ濃度から、使用室内における空気吸入による",
                 "    内部被曝（実効線量）を算定する。"}},
        Opening{"Tevol_2",
                {"    業務従事者の空気吸入による内部被曝の算定",
                 "    （使用室内の実測空気中ＲＩ濃度から算定）"}},
        Opening{"Tevol_3",
                {"    業務従事者の空気吸入による内部被曝の算定", " ",
                 "    実際の使用数量を基に計算した排気口ＲＩ濃度から",
                 "    使用室内における空気吸入による内部被曝を算定する。"}},
        Opening{"Tevol_4",
                {"    業務従事者の空気吸入による内部被曝の算定",
                 "  （ガスモニタによる排気口のＲＩ濃度から算定）"}}),
    [](const ::testing::TestParamInfo<Opening>& info) { return std::string(info.param.program); });

TEST(Terminal, NoAtTheOpeningScreenGoesToTheClosing) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  s.Type("n");
  ASSERT_TRUE(s.WaitFor("Hit RET key  ---\r\n"));
  s.Type("");
  EXPECT_EQ(s.Finish(), 0);
  // After the answer the closing's blank line needs no line end of its own.
  EXPECT_EQ(Difference(" \r\n \r\n    業務従事者の空気吸入による内部被曝の算定\r\n"
                       "    （使用室内の実測空気中ＲＩ濃度から算定）\r\n \r\n" +
                           kFirstPrompt + kClosing + "Stop - Program terminated.\r\n",
                       s.screen()),
            "");
  RemoveTree(dir);
}

// The worked example of Tevol_2 saved under a Japanese name typed in UTF-8:
// the file gets that name, and its bytes are the CP932 report of the piped
// fixture. On the screen the report's rows and headers keep the columns they
// have in the file.
TEST(Terminal, Utf8NameTypedAtTheSavePromptCreatesThatFile) {
  const std::string fixture = "Tevol_2/worked_example";
  std::vector<std::string> answers = FixtureAnswers(fixture);
  ASSERT_EQ(answers[answers.size() - 3], "report.txt");
  answers[answers.size() - 3] = "結果.txt";
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  for (const std::string& a : answers) s.Type(a);
  EXPECT_EQ(s.Finish(), 0);
  const std::string& screen = s.screen();

  std::string report = FixtureFile(fixture, "after/report.txt");
  EXPECT_EQ(FilesIn(dir), std::set<std::string>{"結果.txt"});
  EXPECT_EQ(Difference(report, ReadFileBytes(dir + "/結果.txt")), "");

  // A prompt, the answer (not echoed here), and the next prompt on the line
  // the user's Enter began.
  EXPECT_NE(screen.find("      総作業時間［hr］＝                -----> OK([y]/n) ? "), std::string::npos);
  EXPECT_NE(screen.find("\r\n           吸入空気   　　　    実効線量\r\n"), std::string::npos);
  std::string tail = kClosing + "Stop - Program terminated.\r\n";
  ASSERT_GE(screen.size(), tail.size());
  EXPECT_EQ(Difference(tail, screen.substr(screen.size() - tail.size())), "");

  // The result report on the screen, between its title and the save prompt,
  // without its blank lines; each line is a file line without its first byte.
  std::size_t from = screen.find(" ---  内部被曝算定結果 ---\r\n");
  std::size_t to = screen.find("結果をファイルに保存しますか");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  std::vector<std::string> shown;
  for (const std::string& line : SplitLines(screen.substr(from, to - from), "\r\n")) {
    if (line.find_first_not_of(' ') != std::string::npos) shown.push_back(line);
  }
  shown.erase(shown.begin());  // the title
  std::vector<std::string> file_lines = SplitLines(report, "\r\n");
  ASSERT_EQ(shown.size(), file_lines.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(WordStarts(shown[i], true), WordStarts(file_lines[i].substr(1), false))
        << "line " << i << ": " << shown[i];
  }
  RemoveTree(dir);
}

// Piped runs of the same session with the name given in other ways: the
// standard output is the fixture's byte for byte, and so is the file, whose
// name the file system gets in UTF-8.
struct PipedName {
  const char* what;
  std::string typed;  // the answer at the save prompt (CP932)
  std::vector<std::string> args;  // the command line (UTF-8)
  std::string file;
};

class PipedSave : public ::testing::TestWithParam<PipedName> {};

TEST_P(PipedSave, CreatesTheUtf8NameAndOutputStaysCp932) {
  const PipedName& c = GetParam();
  const std::string fixture = "Tevol_2/worked_example";
  std::string input = FixtureFile(fixture, "stdin");
  std::size_t at = input.find("report.txt\n");
  ASSERT_NE(at, std::string::npos);
  input.replace(at, 10, c.typed);
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram("Tevol_2", c.args, input, dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Difference(FixtureFile(fixture, "stdout"), r.out), "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(FilesIn(dir), std::set<std::string>{c.file});
  EXPECT_EQ(Difference(FixtureFile(fixture, "after/report.txt"), ReadFileBytes(dir + "/" + c.file)),
            "");
  RemoveTree(dir);
}

// x and 結果 five times over: 21 characters, 41 bytes.
std::string TwentyOneCharacters() {
  std::string name = "x";
  for (int i = 0; i < 10; ++i) name += i % 2 == 0 ? "\x8c\x8b" : "\x89\xca";
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PipedSave,
    ::testing::Values(
        // The piped twin of the terminal session above.
        PipedName{"TypedInCp932", "\x8c\x8b\x89\xca.txt", {}, "結果.txt"},
        // A blank name takes the command-line argument, which comes in UTF-8.
        PipedName{"BlankNameTakesTheArgument", "", {"結果.txt"}, "結果.txt"},
        // The name keeps 20 bytes: x, nine full-width characters and the
        // first byte of the tenth, which is dropped when it becomes UTF-8.
        PipedName{"CutInsideACharacter", TwentyOneCharacters(), {}, "x結果結果結果結果結"}),
    [](const ::testing::TestParamInfo<PipedName>& info) { return std::string(info.param.what); });

// Standard input a pipe, standard output and standard error the terminal: the
// piped CP932 bytes reach the reader unchanged, and the run-time error report
// shows the report file's name as UTF-8.
TEST(Terminal, ErrorReportOnStandardErrorShowsTheNameAsUtf8) {
  std::string input = FixtureFile("Tevol_2/worked_example", "stdin");
  std::size_t at = input.find("report.txt\n");
  ASSERT_NE(at, std::string::npos);
  input.replace(at, 10, "\x96\xb3\x82\xa2/r.txt");  // 無い/r.txt, in a folder that is not there
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir, {}, &input);
  EXPECT_EQ(s.Finish(), 1);
  EXPECT_NE(s.screen().find("    （使用室内の実測空気中ＲＩ濃度から算定）"), std::string::npos);
  EXPECT_NE(s.screen().find("\r\nrun-time error F6410: OPEN(無い/r.txt)\r\n"), std::string::npos)
      << s.screen();
  RemoveTree(dir);
}

// The 130-byte limit of a typed line counts the CP932 bytes the reader gets:
// 65 full-width characters are 130 bytes (195 in UTF-8).
struct TypedLine {
  const char* what;
  std::string line;
  bool accepted;
};

class TypedLineLimit : public ::testing::TestWithParam<TypedLine> {};

TEST_P(TypedLineLimit, CountsCp932Bytes) {
  const TypedLine& c = GetParam();
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  s.Type(c.line);
  const std::string next = "総作業時間［hr］＝";
  const std::string refused = "入力が長すぎます";
  ASSERT_TRUE(s.WaitFor(c.accepted ? next : refused)) << s.screen();
  EXPECT_EQ(s.screen().find(c.accepted ? refused : next), std::string::npos);
  RemoveTree(dir);
}

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TypedLineLimit,
    ::testing::Values(TypedLine{"FullWidth130Bytes", Repeat("ｙ", 65), true},
                      TypedLine{"FullWidth132Bytes", Repeat("ｙ", 66), false},
                      TypedLine{"Ascii130Bytes", std::string(130, 'y'), true},
                      TypedLine{"Ascii131Bytes", std::string(131, 'y'), false}),
    [](const ::testing::TestParamInfo<TypedLine>& info) { return std::string(info.param.what); });

// Ctrl+Z then Enter ends the input as Ctrl+D on an empty line does; the
// suspend key is off while the program runs and back afterwards.
struct InputEnd {
  const char* what;
  std::string typed;
};

class EndOfInput : public ::testing::TestWithParam<InputEnd> {};

TEST_P(EndOfInput, EndsTheRunAndPutsTheTerminalBack) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  EXPECT_EQ(s.Settings().c_cc[VSUSP], _POSIX_VDISABLE);
  s.TypeRaw(GetParam().typed);
  EXPECT_EQ(s.Finish(), 1);
  EXPECT_NE(s.screen().find("\r\nrun-time error F6501: READ(CON)\r\n"), std::string::npos)
      << s.screen();
  EXPECT_TRUE(SameSettings(s.Settings(), s.initial_settings()));
  EXPECT_EQ(s.Settings().c_cc[VSUSP], 26);
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(Keys, EndOfInput,
                         ::testing::Values(InputEnd{"CtrlZThenEnter", "\x1a\n"},
                                           InputEnd{"CtrlDOnAnEmptyLine", "\x04"}),
                         [](const ::testing::TestParamInfo<InputEnd>& info) {
                           return std::string(info.param.what);
                         });

// A signal ends the program with its default action, after the terminal's
// settings have been put back.
struct EndingSignal {
  const char* what;
  int signal_number;
  bool typed;  // by the terminal's interrupt key rather than kill
};

class SignalAtTheTerminal : public ::testing::TestWithParam<EndingSignal> {};

TEST_P(SignalAtTheTerminal, PutsTheTerminalBack) {
  const EndingSignal& c = GetParam();
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  ASSERT_EQ(s.Settings().c_cc[VSUSP], _POSIX_VDISABLE);
  if (c.typed) {
    s.TypeRaw("\x03");
  } else {
    s.Signal(c.signal_number);
  }
  EXPECT_EQ(s.Finish(), 128 + c.signal_number);
  EXPECT_TRUE(SameSettings(s.Settings(), s.initial_settings()));
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalAtTheTerminal,
                         ::testing::Values(EndingSignal{"Term", SIGTERM, false},
                                           EndingSignal{"Hangup", SIGHUP, false},
                                           EndingSignal{"InterruptKey", SIGINT, true}),
                         [](const ::testing::TestParamInfo<EndingSignal>& info) {
                           return std::string(info.param.what);
                         });

}  // namespace
}  // namespace tevol::testing
