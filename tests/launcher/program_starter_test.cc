// The POSIX program starter against fake calculators and fake terminal
// programs: shell scripts that record how they were started.

#include "common/platform/program_starter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "test_dir.h"

namespace tevol {
namespace {

using ::tevol::testing::ReadFile;
using ::tevol::testing::ScopedEnv;
using ::tevol::testing::TestDir;
using ::tevol::testing::WaitForFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string FindSleep() {
  for (const char* path : {"/usr/bin/sleep", "/bin/sleep"}) {
    if (::access(path, X_OK) == 0) return path;
  }
  return std::string();
}

// The launcher's own directory own/, a PATH of one directory path/, a working
// directory work/, and records/ where the fakes write what they saw. PATH
// holds nothing but what a test puts there, so no real terminal or
// calculator of the machine can answer.
class StarterTest : public ::testing::Test {
 protected:
  StarterTest()
      : own_(dir_.MakeDir("own")),
        path_(dir_.MakeDir("path")),
        work_(dir_.MakeDir("work")),
        records_(dir_.MakeDir("records")),
        path_env_("PATH", path_),
        old_cwd_(std::filesystem::current_path()) {
    std::filesystem::current_path(work_);
  }
  ~StarterTest() override { std::filesystem::current_path(old_cwd_); }

  std::unique_ptr<ProgramStarter> Starter() {
    return NewProgramStarter(StarterOptions{.own_directory = own_});
  }

  // A calculator that records its argument count, working directory, where
  // it was found and its process id, then lingers for `linger` seconds.
  // `where` is "own" or "path", the directory it is put in.
  std::string FakeCalculator(const std::string& where, const std::string& name, int linger = 0) {
    std::string script =
        "#!/bin/sh\n"
        "printf 'argc=%s\\ncwd=%s\\nwhere=" +
        where +
        "\\npid=%s\\n' "
        "\"$#\" \"$(pwd)\" \"$$\" > '" +
        Record(name) +
        "'\n"
        ": > '" +
        Record(name) + ".done'\n";
    if (linger > 0) {
      script += "'" + FindSleep() + "' " + std::to_string(linger) +
                "\n"
                ": > '" +
                Record(name) + ".finished'\n";
    }
    script += "exit 7\n";
    return dir_.WriteFile(where + "/" + name, script, 0755);
  }

  // A terminal program on PATH that records its arguments, its process id
  // and its session, then runs the rest of its command line.
  void FakeTerminal(const std::string& name) {
    dir_.WriteFile("path/" + name,
                   "#!/bin/sh\n"
                   "printf '%s\\n' \"$@\" > '" +
                       Record("terminal.args") +
                       "'\n"
                       "printf '%s\\n' \"" +
                       name + "\" > '" + Record("terminal.name") +
                       "'\n"
                       "read -r stat < /proc/$$/stat\n"
                       "printf '%s\\n' \"$$ $stat\" > '" +
                       Record("terminal.stat") +
                       "'\n"
                       ": > '" +
                       Record("terminal.done") +
                       "'\n"
                       "shift\n"
                       "exec \"$@\"\n",
                   0755);
  }

  std::string Record(const std::string& name) const { return records_ + "/" + name; }

  std::vector<std::string> RecordLines(const std::string& name) const {
    return Lines(ReadFile(Record(name)).value_or(""));
  }

  TestDir dir_;
  const std::string own_;
  const std::string path_;
  const std::string work_;
  const std::string records_;
  ScopedEnv path_env_;
  const std::filesystem::path old_cwd_;
};

TEST_F(StarterTest, StartsCalculatorBesideLauncherBeforePathWithNoArguments) {
  FakeTerminal("x-terminal-emulator");
  const std::string beside = FakeCalculator("own", "Tevol_3");
  FakeCalculator("path", "Tevol_3");

  const StartStatus status = Starter()->StartInNewConsole("Tevol_3.exe");

  ASSERT_TRUE(status.ok()) << status.ToString();
  ASSERT_TRUE(WaitForFile(Record("Tevol_3.done")));
  EXPECT_EQ(RecordLines("terminal.args"), (std::vector<std::string>{"-e", beside}));
  std::vector<std::string> seen = RecordLines("Tevol_3");
  ASSERT_EQ(seen.size(), 4u);
  seen.pop_back();  // its process id
  EXPECT_EQ(seen, (std::vector<std::string>{"argc=0", "cwd=" + work_, "where=own"}));
}

TEST_F(StarterTest, FindsCalculatorOnPathWhenNotBesideLauncher) {
  FakeTerminal("x-terminal-emulator");
  FakeCalculator("path", "Tevol_1");
  // Something of that name that is not a program does not hide the real one.
  dir_.MakeDir("own/Tevol_1");

  const StartStatus status = Starter()->StartInNewConsole("Tevol_1.exe");

  ASSERT_TRUE(status.ok()) << status.ToString();
  ASSERT_TRUE(WaitForFile(Record("Tevol_1.done")));
  EXPECT_EQ(RecordLines("Tevol_1").at(2), "where=path");
}

TEST_F(StarterTest, ReturnsWithoutWaitingAndTerminalHasItsOwnSession) {
  ASSERT_FALSE(FindSleep().empty());
  FakeTerminal("x-terminal-emulator");
  FakeCalculator("own", "Tevol_4", /*linger=*/3);

  const auto before = std::chrono::steady_clock::now();
  const StartStatus status = Starter()->StartInNewConsole("Tevol_4.exe");
  const auto took = std::chrono::steady_clock::now() - before;

  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_LT(took, std::chrono::seconds(2));
  ASSERT_TRUE(WaitForFile(Record("terminal.done")));
  // "<pid> <pid> (<name>) <state> <ppid> <pgrp> <session> ..." from /proc.
  std::istringstream stat(RecordLines("terminal.stat").at(0));
  std::string pid, same_pid, name, state, ppid, pgrp, session;
  stat >> pid >> same_pid >> name >> state >> ppid >> pgrp >> session;
  EXPECT_EQ(session, pid) << "the terminal leads a session of its own";
  EXPECT_NE(session, std::to_string(::getsid(0)));
  // The terminal ran the calculator in its own process, which is still
  // running now that the start has returned.
  ASSERT_TRUE(WaitForFile(Record("Tevol_4.done")));
  EXPECT_EQ(RecordLines("Tevol_4").at(3), "pid=" + pid);
  EXPECT_FALSE(std::filesystem::exists(Record("Tevol_4.finished")));
}

TEST_F(StarterTest, PrefersTheSystemTerminalAndGivesEachItsRunOption) {
  struct Case {
    std::vector<std::string> installed;
    std::string used;
    std::string option;
  };
  const Case cases[] = {
      {{"xterm", "x-terminal-emulator"}, "x-terminal-emulator", "-e"},
      {{"xterm", "gnome-terminal"}, "gnome-terminal", "--"},
      {{"xterm"}, "xterm", "-e"},
      {{"xfce4-terminal"}, "xfce4-terminal", "-x"},
  };
  const std::string calculator = FakeCalculator("own", "Tevol_2");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.used);
    std::filesystem::remove_all(path_);
    std::filesystem::remove_all(records_);
    dir_.MakeDir("path");
    dir_.MakeDir("records");
    for (const std::string& terminal : c.installed) FakeTerminal(terminal);

    const StartStatus status = Starter()->StartInNewConsole("Tevol_2.exe");

    ASSERT_TRUE(status.ok()) << status.ToString();
    ASSERT_TRUE(WaitForFile(Record("Tevol_2.done")));
    EXPECT_EQ(RecordLines("terminal.name"), std::vector<std::string>{c.used});
    EXPECT_EQ(RecordLines("terminal.args"), (std::vector<std::string>{c.option, calculator}));
  }
}

TEST_F(StarterTest, FailureNamesProgramAndReasonAndStartsNothing) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    const char* file_name;
    const char* program;
    std::string reason;
  };
  const Case cases[] = {
      {"missing everywhere", [this] { FakeTerminal("x-terminal-emulator"); }, "Tevol_3.exe",
       "Tevol_3", "not found in " + own_ + " or on PATH"},
      {"a directory, not a program",
       [this] {
         FakeTerminal("x-terminal-emulator");
         dir_.MakeDir("own/Tevol_3");
       },
       "Tevol_3.exe", "Tevol_3", "not found in " + own_ + " or on PATH"},
      {"no execute bit",
       [this] {
         FakeTerminal("x-terminal-emulator");
         dir_.WriteFile("own/Tevol_4", "#!/bin/sh\n", 0644);
       },
       "Tevol_4.exe", "Tevol_4", "not executable: " + own_ + "/Tevol_4"},
      {"a path, not a bare name",
       [this] {
         FakeTerminal("x-terminal-emulator");
         FakeCalculator("own", "Tevol_4");
       },
       "../own/Tevol_4.exe", "../own/Tevol_4", "not a bare file name"},
      {"no terminal program", [this] { FakeCalculator("own", "Tevol_1"); }, "Tevol_1.exe",
       "Tevol_1",
       "no terminal program on PATH (x-terminal-emulator, gnome-terminal, konsole, "
       "xfce4-terminal, mate-terminal, xterm)"},
      {"a terminal that cannot be executed",
       [this] {
         FakeCalculator("own", "Tevol_1");
         dir_.WriteFile("path/x-terminal-emulator", "#!/nonexistent/interpreter\n", 0755);
       },
       "Tevol_1.exe", "Tevol_1",
       "cannot start " + path_ + "/x-terminal-emulator: No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(path_);
    std::filesystem::remove_all(own_);
    std::filesystem::remove_all(records_);
    dir_.MakeDir("path");
    dir_.MakeDir("own");
    dir_.MakeDir("records");
    c.arrange();

    const StartStatus status = Starter()->StartInNewConsole(c.file_name);

    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.program(), c.program);
    EXPECT_EQ(status.reason(), c.reason);
    // Give a wrongly started terminal time to show itself.
    EXPECT_FALSE(WaitForFile(Record("terminal.done"), std::chrono::milliseconds(200)));
  }
}

TEST_F(StarterTest, RunInPlaceBecomesTheCalculator) {
  FakeCalculator("path", "Tevol_2");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const StartStatus status = Starter()->RunInPlace("Tevol_2.exe");
    ::_exit(status.ok() ? 98 : 99);
  }
  int wait_status = 0;
  ASSERT_EQ(::waitpid(child, &wait_status, 0), child);

  // The calculator's end is the caller's end: its exit status, its process.
  ASSERT_TRUE(WIFEXITED(wait_status));
  EXPECT_EQ(WEXITSTATUS(wait_status), 7);
  EXPECT_EQ(RecordLines("Tevol_2"),
            (std::vector<std::string>{"argc=0", "cwd=" + work_, "where=path",
                                      "pid=" + std::to_string(child)}));
}

TEST_F(StarterTest, RunInPlaceReturnsWhenTheCalculatorIsMissing) {
  const StartStatus status = Starter()->RunInPlace("Tevol_2.exe");

  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.ToString(), "Tevol_2: not found in " + own_ + " or on PATH");
}

}  // namespace
}  // namespace tevol
