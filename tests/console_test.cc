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

TEST(TypedLines, MoreThan130BytesIsAnErrorInABatchRunWithTerminalInput) {
  // Standard input a terminal, output piped: the limit holds; the line is
  // then asked again (see Retry below), so here it ends the input.
  for (bool terminal : {false, true}) {
    for (std::size_t length : {130u, 131u}) {
      FakeEnv env;
      env.stdin_terminal = terminal;
      env.input = std::string(length - 1, ' ') + "1\r\n";
      Console con(&env);
      float v = 0;
      std::optional<IoCondition> error;
      try {
        con.ReadReal(&v);
      } catch (const RunTimeError& e) {
        error = e.condition();
      }
      if (terminal && length == 131) {
        EXPECT_EQ(error, IoCondition::kEndOfInput);  // refused, then nothing more typed
      } else {
        EXPECT_EQ(error, std::nullopt) << terminal << ' ' << length;
      }
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

// At a terminal a line that cannot be used is refused with one line and the
// read's prompt again; piped, the same line keeps its batch meaning.
struct RetryCase {
  const char* what;
  const char* typed;       // the mistaken line
  const char* message;     // the refusal line's text
  bool batch_fails;        // piped, the mistaken line ends the run
};

class Retry : public ::testing::TestWithParam<RetryCase> {};

TEST_P(Retry, TerminalAsksAgainAndBatchKeepsItsMeaning) {
  const RetryCase& c = GetParam();
  {
    FakeEnv env;
    env.stdin_terminal = true;
    env.input = std::string(c.typed) + "\n2.5\n";
    Console con(&env);
    con.Prompt(" c = ");
    float v = 7.0f;
    con.ReadReal(&v);
    con.Flush();
    EXPECT_EQ(v, 2.5f) << c.what;
    EXPECT_EQ(env.out, std::string("c = ") + " " + c.message + "\r\n" + "c = ") << c.what;
  }
  {
    FakeEnv env;
    env.input = std::string(c.typed) + "\n2.5\n";
    Console con(&env);
    float v = 7.0f;
    bool failed = false;
    try {
      con.ReadReal(&v);
    } catch (const RunTimeError&) {
      failed = true;
    }
    EXPECT_EQ(failed, c.batch_fails) << c.what;
    if (!failed) {
      EXPECT_NE(v, 2.5f) << c.what;
    }
  }
}

const char kAskAgain[] = "     *** \x93\xfc\x97\xcd\x82\xaa\x90\xb3\x82\xb5\x82\xad\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x42\x82\xe0\x82\xa4\x88\xea\x93\x78\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";

INSTANTIATE_TEST_SUITE_P(
    Lines, Retry,
    ::testing::Values(RetryCase{"stray letter", "1.0e-5x", kAskAgain, true},
                      RetryCase{"beyond single precision", "1e39", kAskAgain, true},
                      RetryCase{"quoted text", "'x'", kAskAgain, true},
                      RetryCase{"repeat count zero", "0*3", kAskAgain, true},
                      RetryCase{"decimal comma", "1,5e-5", kAskAgain, false},
                      RetryCase{"second value after a blank", "1 .5e-5", kAskAgain, false},
                      RetryCase{"second value", "2.5e-6 7", kAskAgain, false}));

TEST(Retry, OneValueForms) {
  // Still one value at a terminal: a trailing comma or slash, blanks, a
  // lone null.
  for (const char* line : {"3,", "3 , ", "3/ 4", "3 / x", "  3  ", "2*3"}) {
    FakeEnv env;
    env.stdin_terminal = true;
    env.input = std::string(line) + "\n";
    Console con(&env);
    float v = 0;
    con.ReadReal(&v);
    EXPECT_EQ(v, 3.0f) << line;
  }
  FakeEnv env;
  env.stdin_terminal = true;
  env.input = ",\n";
  Console con(&env);
  float v = 4.0f;
  con.ReadReal(&v);
  EXPECT_EQ(v, 4.0f);
}

TEST(Retry, EndOfInputStillEndsTheRun) {
  FakeEnv env;
  env.stdin_terminal = true;
  env.input = "abc\n";
  Console con(&env);
  float v = 0;
  try {
    con.ReadReal(&v);
    FAIL();
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.condition(), IoCondition::kEndOfInput);
  }
}

TEST(Retry, FileNameOfMoreThan20BytesAtATerminal) {
  FakeEnv env;
  env.stdin_terminal = true;
  env.input = "dose_report_2026.txt.new\ndose_report_2026.txt\n";
  Console con(&env);
  FixedText<20> name;
  con.Prompt(" name ---> ");
  con.ReadText(&name);
  con.Flush();
  EXPECT_EQ(name.view(), "dose_report_2026.txt");
  EXPECT_NE(env.out.find("name ---> "), std::string::npos);
  EXPECT_EQ(env.out.rfind("name ---> "), env.out.size() - 10);  // asked again
  FakeEnv batch;
  batch.input = "dose_report_2026.txt.new\n";
  Console piped(&batch);
  piped.ReadText(&name);
  EXPECT_EQ(name.view(), "dose_report_2026.txt");  // cut, as scripts expect
}

TEST(Retry, NoMeansNoAtATerminal) {
  const struct {
    const char* line;
    bool terminal_yes;
  } cases[] = {
      {"no", false},  {"No", false}, {"NO", false}, {"no thanks", false},
      {"\x82\x6d", false}, {"\x82\x8e", false}, {"\x82\x8e x", false},
      {"n", false},   {"nox", true}, {"nO", true},  {"", true}, {"y", true}, {" no", true},
  };
  for (const auto& c : cases) {
    for (bool terminal : {false, true}) {
      FakeEnv env;
      env.stdin_terminal = terminal;
      env.input = std::string(c.line) + "\n";
      Console con(&env);
      bool batch_yes = !(std::string(c.line) == "n");
      EXPECT_EQ(con.Confirm(" ? "), terminal ? c.terminal_yes : batch_yes) << c.line << terminal;
    }
  }
}

}  // namespace
}  // namespace tevol
