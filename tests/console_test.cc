// The console's line rule in batch and terminal modes, text reads, the
// confirmation rule, the stop and the run-time error report.
#include "common/console.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fake_env.h"

namespace tevol {
namespace {

TEST(LineRule, ControlBytesAndTheOpenLine) {
  FakeEnv env;
  Console con(&env);
  con.WriteBlankLine();             // first record of the run: no line end
  con.WriteBlankLine();             // then CR LF before each record
  con.WriteFreeForm("abc");
  con.Write("('0','x')", {});       // 0: a blank line first
  con.Write("('+','y')", {});       // +: back to the line's start
  con.Write("('1','z')", {});       // 1: a new page
  con.Write("(2X,'w')", {});
  con.Flush();
  EXPECT_EQ(env.out, std::string(" \r\n \r\nabc\r\n\r\nx\ry\r\n\f\r \rz\r\n w"));
}

TEST(LineRule, FirstRecordWithControlZeroHasOneLineEnd) {
  FakeEnv env;
  Console con(&env);
  con.Write("('0','x')", {});
  con.Write("(' ')", {});  // an empty rest: nothing but the line end
  con.Write("()", {});     // an empty record counts as one blank
  con.Flush();
  EXPECT_EQ(env.out, "\r\nx\r\n\r\n");
}

TEST(LineRule, BatchReadsLeaveTheFlags) {
  FakeEnv env;
  env.input = "5\n";
  Console con(&env);
  con.WriteBlankLine();
  con.Prompt(" H = ");
  float h = 0;
  con.ReadReal(&h);
  con.WriteFreeForm("next");  // continues the prompt's line, first byte included
  con.WriteFreeForm("last");
  con.Flush();
  EXPECT_EQ(h, 5.0f);
  EXPECT_EQ(env.out, " \r\nH =  next\r\nlast");
}

TEST(LineRule, TerminalReadsEndTheLineAndClearTheFlags) {
  FakeEnv env;
  env.stdin_terminal = env.stdout_terminal = true;
  env.input = "y\n\n";
  env.chunk = 2;
  Console con(&env);
  con.WriteBlankLine();
  EXPECT_TRUE(con.Confirm("  OK? "));  // after a prompt: no CR LF at the read
  con.WriteFreeForm("after");          // the user's Enter ended the line
  con.PauseForEnter();                 // after a record: CR LF, then the read
  EXPECT_EQ(con.Stop(), 0);
  EXPECT_EQ(env.out, " \r\n OK? after\r\nStop - Program terminated.\r\n");
}

TEST(LineRule, OnlyStandardInputAtATerminalKeepsBatchFlags) {
  FakeEnv env;
  env.stdin_terminal = true;  // output piped: reads do not touch the flags
  env.input = "\n";
  Console con(&env);
  con.WriteFreeForm("x");
  con.PauseForEnter();
  con.Stop();
  EXPECT_EQ(env.out, "x\r\nStop - Program terminated.\r\n\r\n");
}

TEST(Stop, BatchRunEndsWithTwoLineEnds) {
  FakeEnv env;
  env.input = "\n";
  Console con(&env);
  con.WriteFreeForm("               ---  Hit RET key  ---");
  con.PauseForEnter();
  EXPECT_EQ(con.Stop(), 0);
  EXPECT_EQ(env.out, "               ---  Hit RET key  ---\r\nStop - Program terminated.\r\n\r\n");
}

TEST(Stop, ConsoleThatCannotBeWrittenIsAnError) {
  FakeEnv env;
  env.stdout_writes_before_failure = 0;
  Console con(&env);
  con.WriteFreeForm("x");
  try {
    con.Stop();
    FAIL() << "no error";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(con.ReportError(e), 1);
  }
  EXPECT_EQ(env.err, "\r\nrun-time error F6600: WRITE(CON)\r\n- cannot write to console\r\n");
}

TEST(ErrorReport, FramesOfIoAndArithmeticErrors) {
  EXPECT_EQ(RunTimeError(IoCondition::kInvalidReal, "CON").Report(),
            "\r\nrun-time error F6505: READ(CON)\r\n- invalid REAL\r\n");
  EXPECT_EQ(RunTimeError(IoCondition::kOpenIsFolder, "out").Report(),
            "\r\nrun-time error F6411: OPEN(out)\r\n- name is a folder\r\n");
  EXPECT_EQ(RunTimeError(MathFault::kDivideByZero).Report(),
            "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n");
  EXPECT_EQ(RunTimeError(MathFault::kOverflow).Report(),
            "\r\nrun-time error M6104: MATH\r\n- floating-point error: overflow\r\n");
  EXPECT_EQ(RunTimeError(MathFault::kInvalid).Report(),
            "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n");
}

TEST(ErrorReport, EndsAnOpenConsoleLineOnStandardOutput) {
  FakeEnv env;
  Console con(&env);
  con.WriteFreeForm("x");
  EXPECT_EQ(con.ReportError(RunTimeError(IoCondition::kEndOfInput, "CON")), 1);
  EXPECT_EQ(env.out, "x\r\n");
  EXPECT_EQ(env.err, "\r\nrun-time error F6501: READ(CON)\r\n- end of file encountered\r\n");
}

TEST(Confirmation, OnlyALoneNMeansNo) {
  const struct {
    const char* line;
    bool yes;
  } cases[] = {
      {"n\n", false},  {"N\n", false},  {"n more\n", false}, {"N \n", false},
      {"n", false},    {"n\r\n", false}, {"\n", true},       {"y\n", true},
      {"no\n", true},  {"nn\n", true},  {" n\n", true},      {"n\t\n", true},
      {"\x82\x6d\n", true},  // a full-width N
  };
  for (const auto& c : cases) {
    FakeEnv env;
    env.input = c.line;
    Console con(&env);
    EXPECT_EQ(con.Confirm(" ? "), c.yes) << c.line;
  }
}

TEST(TextRead, KeepsTheFirstBytesAndPadsWithBlanks) {
  FakeEnv env;
  env.input = "abcdefghijklmnopqrstuvwxy\nshort.txt\n\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xc5\x82\xb7\n";
  Console con(&env);
  FixedText<20> name;
  con.ReadText(&name);
  EXPECT_EQ(name.view(), "abcdefghijklmnopqrst");
  con.ReadText(&name);
  EXPECT_EQ(name.view(), "short.txt           ");
  EXPECT_EQ(name.Trimmed(), "short.txt");
  // Eleven double-byte characters: the one straddling byte 20 keeps its first byte.
  con.ReadText(&name);
  EXPECT_EQ(name.view(), std::string_view("\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xc5", 20));
}

TEST(TypedLines, MoreThan130BytesAtATerminalIsAnError) {
  for (bool terminal : {false, true}) {
    for (std::size_t length : {130u, 131u}) {
      FakeEnv env;
      env.stdin_terminal = terminal;
      env.input = std::string(length, '1') + "\r\n";
      Console con(&env);
      float v = 0;
      bool failed = false;
      try {
        con.ReadReal(&v);
      } catch (const RunTimeError& e) {
        failed = e.condition() == IoCondition::kLineTooLong;
      }
      EXPECT_EQ(failed, terminal && length == 131) << terminal << ' ' << length;
    }
  }
}

TEST(TypedLines, EachReadStartsOnANewLine) {
  FakeEnv env;
  env.input = "1 2 3\n4\n";
  Console con(&env);
  std::int32_t a = 0;
  std::int32_t b = 0;
  con.ReadInteger(&a);
  con.ReadInteger(&b);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 4);
}

}  // namespace
}  // namespace tevol
