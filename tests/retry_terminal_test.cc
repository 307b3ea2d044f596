// Mistakes at a terminal: each session makes one, is told so and asked again
// (or has the entry or the value refused), and goes on to a saved report. The
// report must be byte for byte the one a piped run of the same session
// without the mistake saves. Each session's piped twin (the same lines,
// mistake included) keeps the batch behaviour.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/process_runner.h"
#include "tests/pty_session.h"

namespace tevol::testing {
namespace {

struct Session {
  const char* what;
  const char* program;
  std::vector<std::string> typed;  // at the terminal, mistake included (UTF-8)
  std::vector<std::string> clean;  // the same session without the mistake
  const char* shown;               // a text the terminal must show (UTF-8)
  int twin_status;                 // the piped twin of `typed`
  const char* twin_error;          // its standard error
  const char* twin_report_shows = nullptr;  // a text of the twin's report, if it saves one
};

void PrintTo(const Session& s, std::ostream* os) { *os << s.program << ": " << s.what; }

std::string Lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return Cp932(s);
}

class RetrySession : public ::testing::TestWithParam<Session> {};

TEST_P(RetrySession, TerminalGoesOnToTheSameReport) {
  const Session& c = GetParam();
  std::string clean_dir = MakeTempDir();
  ProcessResult clean = RunProgram(c.program, {}, Lines(c.clean), clean_dir);
  ASSERT_EQ(clean.status, 0) << clean.err;

  std::string dir = MakeTempDir();
  PtySession s(c.program, dir);
  for (const std::string& line : c.typed) s.Type(line);
  EXPECT_EQ(s.Finish(), 0) << s.screen();
  EXPECT_NE(s.screen().find(c.shown), std::string::npos) << "not shown: " << c.shown;
  EXPECT_EQ(Difference(ReadFileBytes(clean_dir + "/r.txt"), ReadFileBytes(dir + "/r.txt")), "");
  RemoveTree(dir);
  RemoveTree(clean_dir);
}

TEST_P(RetrySession, PipedTwinKeepsTheBatchBehaviour) {
  const Session& c = GetParam();
  std::string dir = MakeTempDir();
  ProcessResult r = RunProgram(c.program, {}, Lines(c.typed), dir);
  EXPECT_EQ(r.status, c.twin_status);
  EXPECT_EQ(r.err, c.twin_error);
  if (c.twin_report_shows != nullptr) {
    EXPECT_NE(ReadFileBytes(dir + "/r.txt").find(Cp932(c.twin_report_shows)), std::string::npos);
  }
  RemoveTree(dir);
}

// Tevol_2 with H = 100 and one I-131 entry, saved as r.txt.
std::vector<std::string> Room(std::vector<std::string> entry) {
  std::vector<std::string> l = {"", "100", "", "3"};
  l.insert(l.end(), entry.begin(), entry.end());
  l.insert(l.end(), {"99", "", "r.txt", ""});
  return l;
}

// Tevol_1 with k = 10, 1000 m3/h for 8 h, T = 500, 20 holidays; the given
// parameter lines replace the holidays step when set.
std::vector<std::string> Planned(std::vector<std::string> exhaust, std::vector<std::string> holidays,
                                 std::vector<std::string> entries) {
  std::vector<std::string> l = {"", ""};
  l.insert(l.end(), exhaust.begin(), exhaust.end());
  l.insert(l.end(), {"500", ""});
  l.insert(l.end(), holidays.begin(), holidays.end());
  l.insert(l.end(), entries.begin(), entries.end());
  l.insert(l.end(), {"99", "", "r.txt", ""});
  return l;
}
const std::vector<std::string> kExhaust = {"1000", "8", ""};
const std::vector<std::string> kHolidays = {"20", ""};
const std::vector<std::string> kI131 = {"3", "10", "1", "", "1", ""};

const char kAskAgain[] = "*** 入力が正しくありません。もう一度入力してください。";

INSTANTIATE_TEST_SUITE_P(
    Mistakes, RetrySession,
    ::testing::Values(
        Session{"bad number", "Tevol_2", Room({"1.0e-5x", "1.0e-5", ""}), Room({"1.0e-5", ""}),
                kAskAgain, 1, "\r\nrun-time error F6505: READ(CON)\r\n- invalid REAL\r\n"},
        Session{"beyond single precision", "Tevol_2", Room({"1e39", "1.0e-5", ""}),
                Room({"1.0e-5", ""}), kAskAgain, 1,
                "\r\nrun-time error F6506: READ(CON)\r\n- REAL out of range\r\n"},
        Session{"decimal comma", "Tevol_2", Room({"1,5e-5", "1.5e-5", ""}), Room({"1.5e-5", ""}),
                // piped, 1,5e-5 is 1.0 (the comma ends the field) and the
                // next line answers the confirmation
                kAskAgain, 0, "", "I-131    .100E+01"},
        Session{"line over 130 bytes", "Tevol_2", Room({std::string(131, '1'), "1.0e-5", ""}),
                Room({"1.0e-5", ""}), "*** 入力が長すぎます（130バイトまで）。もう一度入力してください。",
                1, "\r\nrun-time error F6506: READ(CON)\r\n- REAL out of range\r\n"},
        Session{"no at the entry", "Tevol_2", Room({"2.0e-5", "no", "3", "1.0e-5", ""}),
                Room({"1.0e-5", ""}), "よろしいですか", 0, ""},
        Session{"zero one-day usage", "Tevol_1",
                Planned(kExhaust, kHolidays, {"3", "10", "0", "", "1", "", "3", "10", "1", "", "1", ""}),
                Planned(kExhaust, kHolidays, kI131),
                "*** 一日最大使用予定数量が0のため、この入力は登録しません。", 1,
                "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n"},
        Session{"91 holidays", "Tevol_1", Planned(kExhaust, {"91", "", "20", ""}, kI131),
                Planned(kExhaust, kHolidays, kI131), "*** 休日数は91未満で入力してください。", 1,
                "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n"},
        Session{"zero exhaust volume", "Tevol_1",
                Planned({"0", "8", "", "1000", "8", ""}, kHolidays, kI131),
                Planned(kExhaust, kHolidays, kI131),
                "*** 排気量と稼動時間には0より大きい値を入力してください。", 1,
                "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n"},
        Session{"zero work days", "Tevol_3",
                {"", "", "1.0e4", "8", "", "160", "", "0", "", "20", "", "3", "100", "", "1", "", "99",
                 "", "r.txt", ""},
                {"", "", "1.0e4", "8", "", "160", "", "20", "", "3", "100", "", "1", "", "99", "",
                 "r.txt", ""},
                "*** 作業日数には0より大きい値を入力してください。", 1,
                "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n"},
        Session{"overflowing entry", "Tevol_4",
                {"", "", "1e10", "", "3", "1e30", "", "3", "1.0e-6", "", "99", "", "r.txt", ""},
                {"", "", "1e10", "", "3", "1.0e-6", "", "99", "", "r.txt", ""},
                "*** 計算結果が数値の範囲を超えるため、この入力は登録しません。", 1,
                "\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n"},
        Session{"report in a missing folder", "Tevol_2",
                {"", "100", "", "3", "1.0e-5", "", "99", "", "nodir/r.txt", "r.txt", ""},
                Room({"1.0e-5", ""}), "*** nodir/r.txt に保存できません：見つかりません", 1,
                "\r\nrun-time error F6410: OPEN(nodir/r.txt)\r\n- file or folder not found\r\n"},
        Session{"file name over 20 bytes", "Tevol_2",
                {"", "100", "", "3", "1.0e-5", "", "99", "", "dose_report_2026.txt.new", "r.txt", ""},
                Room({"1.0e-5", ""}), "ファイル名は20バイト以内で入力してください。", 0, ""}),
    [](const ::testing::TestParamInfo<Session>& info) {
      std::string n = info.param.what;
      for (char& ch : n) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      }
      return n;
    });

TEST(RetryTerminal, FullWidthNAtTheOpeningGoesToTheClosing) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_4", dir);
  s.Type("ｎ");
  s.Type("");
  EXPECT_EQ(s.Finish(), 0);
  EXPECT_EQ(s.screen().find("倍率"), std::string::npos);  // no parameter was asked
  EXPECT_NE(s.screen().find("Hit RET key"), std::string::npos);
  RemoveTree(dir);
}

TEST(RetryTerminal, EndOfInputStillEndsTheRun) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  s.Type("");
  ASSERT_TRUE(s.WaitFor("＝ "));
  s.TypeRaw("\x04");  // Ctrl+D on an empty line
  EXPECT_EQ(s.Finish(), 1);
  EXPECT_NE(s.screen().find("run-time error F6501: READ(CON)"), std::string::npos);
  RemoveTree(dir);
}

}  // namespace
}  // namespace tevol::testing
