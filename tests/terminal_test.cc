// Calculators at a terminal (a pseudo-terminal): reads end the open line and
// clear the flags, so prompts and answers share a screen line and nothing
// follows the stop message. Compiled with the CP932 character set, so the
// literals are the bytes the calculators write.
#include <gtest/gtest.h>

#include <string>

#include "tests/process_runner.h"
#include "tests/pty_session.h"

namespace tevol::testing {
namespace {

const std::string kTitle1 = "    業務従事者の空気吸入による内部被曝の算定";
const std::string kTitle2 = "    （使用室内の実測空気中ＲＩ濃度から算定）";
const std::string kClosing =
    " \r\nTevol Ver.1.0.0 (C) 2026 Tevol Developers\r\n \r\n               ---  Hit RET key  ---"
    "\r\n";  // the pause ends the line before it waits

TEST(Terminal, NoAtTheOpeningScreenGoesToTheClosing) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  s.Type("n");
  ASSERT_TRUE(s.WaitFor("Hit RET key  ---\r\n"));
  s.Type("");
  EXPECT_EQ(s.Finish(), 0);
  // The first blank line is one blank at the very top; the prompt shows
  // without its first byte; after the answer the closing's blank line needs
  // no line end of its own.
  EXPECT_EQ(Difference(" \r\n \r\n" + kTitle1 + "\r\n" + kTitle2 + "\r\n \r\n" +
                           "                   -----> OK([y]/n) ? " + kClosing +
                           "Stop - Program terminated.\r\n",
                       s.screen()),
            "");
  RemoveTree(dir);
}

TEST(Terminal, SavedSessionWritesTheReportAndEndsAfterTheStopMessage) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  const char* answers[] = {"", "100", "", "3", "1.0e-5", "", "99", "", "r.txt"};
  for (const char* a : answers) {
    ASSERT_TRUE(s.WaitFor(" ", 5000));
    s.Type(a);
  }
  ASSERT_TRUE(s.WaitFor("Hit RET key  ---\r\n"));
  s.Type("");
  EXPECT_EQ(s.Finish(), 0);
  const std::string& screen = s.screen();
  // A prompt, the answer (not echoed here), and the next prompt on the line
  // the user's Enter began.
  EXPECT_NE(screen.find("      総作業時間［hr］＝                -----> OK([y]/n) ? "), std::string::npos);
  // Before the free-form read of the closing pause: CR LF after the record.
  std::string tail = kClosing + "Stop - Program terminated.\r\n";
  ASSERT_GE(screen.size(), tail.size());
  EXPECT_EQ(Difference(tail, screen.substr(screen.size() - tail.size())), "");
  EXPECT_EQ(Difference(" * 総作業時間 =  100.[hr]\r\n"
                       "            吸入空気   　　　    実効線量\r\n"
                       "    核種    ＲＩ濃度   摂取量      係数   実効線量\r\n"
                       "             Bq/cm3      Bq       mSv/Bq    mSv\r\n"
                       "   I-131    .100E-04  .120E+04   .11E-04  .132E-01\r\n"
                       "                                   Total  .132E-01\r\n",
                       ReadFileBytes(dir + "/r.txt")),
            "");
  RemoveTree(dir);
}

TEST(Terminal, LineOfMoreThan130BytesEndsTheRun) {
  std::string dir = MakeTempDir();
  PtySession s("Tevol_2", dir);
  ASSERT_TRUE(s.WaitFor("OK([y]/n) ? "));
  s.Type(std::string(131, 'y'));
  EXPECT_EQ(s.Finish(), 1);
  EXPECT_NE(s.screen().find("run-time error F6502: READ(CON)\r\n- input line too long\r\n"),
            std::string::npos);
  RemoveTree(dir);
}

}  // namespace
}  // namespace tevol::testing
