// The launcher without a display: the menu in process with a recording
// starter, and the real Tevol program under a pseudo-terminal, where the
// chosen calculator has to take the launcher's place.

#include "launcher/text_menu.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "test_dir.h"

namespace tevol::launcher {
namespace {

using ::tevol::testing::TestDir;

constexpr std::string_view kMenu =
    "\n"
    "  放射線業務従事者の内部被曝線量の算定\n"
    "\n"
    "    吸入摂取にのみ対応しており、\n"
    "    経口摂取には対応していません。\n"
    "\n"
    "    1) 最大使用予定数量から算定する\n"
    "    2) 実際の使用数量から算定する\n"
    "    3) ガスモニターの計測値から算定する\n"
    "    4) 室内空気中濃度の実測値から算定する\n"
    "    5) EXIT\n"
    "\n"
    "    番号 (1-5) ? ";

class RecordingStarter final : public ProgramStarter {
 public:
  explicit RecordingStarter(StartStatus result) : result_(std::move(result)) {}

  StartStatus StartInNewConsole(std::string_view file_name) override {
    started_.emplace_back(file_name);
    return result_;
  }
  StartStatus RunInPlace(std::string_view file_name) override {
    ran_.emplace_back(file_name);
    return result_;
  }

  const std::vector<std::string>& started() const { return started_; }
  const std::vector<std::string>& ran() const { return ran_; }

 private:
  StartStatus result_;
  std::vector<std::string> started_;
  std::vector<std::string> ran_;
};

size_t Count(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

struct MenuCase {
  const char* what;
  const char* input;
  std::vector<std::string> ran;
  int status;
  size_t menus;  // how often the menu was shown
};

TEST(TextMenuTest, ChoicesAndAnswersThatAreNotChoices) {
  const StartStatus failure = StartStatus::Error("Tevol_4", "not found in /opt/tevol or on PATH");
  const MenuCase cases[] = {
      {"each calculator", "1\n", {"Tevol_1.exe"}, 1, 1},
      {"", "2\n", {"Tevol_3.exe"}, 1, 1},
      {"", "3\n", {"Tevol_4.exe"}, 1, 1},
      {"", "4\n", {"Tevol_2.exe"}, 1, 1},
      {"blanks around the number", "  3 \r\n", {"Tevol_4.exe"}, 1, 1},
      {"EXIT", "5\n", {}, 0, 1},
      {"end of input", "", {}, 0, 1},
      {"not choices show the menu again", "0\n6\n12\n3x\nx\n\n１\n5\n", {}, 0, 8},
      {"only the first choice counts", "9\n4\n1\n", {"Tevol_2.exe"}, 1, 2},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " input=" + c.input);
    RecordingStarter starter(failure);
    std::istringstream in(c.input);
    std::ostringstream out;
    std::ostringstream err;

    const int status = RunTextMenu(in, out, err, starter);

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(starter.ran(), c.ran);
    EXPECT_TRUE(starter.started().empty()) << "no new terminal window is opened";
    EXPECT_EQ(Count(out.str(), kMenu), c.menus) << out.str();
    EXPECT_EQ(out.str().find(kMenu), 0u);
    if (c.ran.empty()) {
      EXPECT_EQ(err.str(), "");
    } else {
      EXPECT_EQ(err.str(),
                "Tevol_4 を起動できませんでした。\nnot found in /opt/tevol or on PATH\n");
    }
  }
}

// What the program wrote to its terminal, and how it ended.
struct TerminalRun {
  std::string output;
  int exit_status = -1;  // -1 when it did not end normally
  pid_t pid = 0;
};

// Runs `program` on a new pseudo-terminal in `work` with `env` changes
// ({name, value}; no value removes it), typing `input` once it asks.
TerminalRun RunOnTerminal(
    const std::string& program, const std::string& work,
    const std::vector<std::pair<const char*, std::optional<std::string>>>& env,
    const std::string& input) {
  TerminalRun run;
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return run;
  if (pid == 0) {
    if (::chdir(work.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : env) {
      if (value) {
        ::setenv(name, value->c_str(), 1);
      } else {
        ::unsetenv(name);
      }
    }
    char* const argv[] = {const_cast<char*>("Tevol"), nullptr};
    ::execv(program.c_str(), argv);
    ::_exit(127);
  }
  run.pid = pid;
  bool typed = false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd ready = {master, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once nothing holds the terminal open
    run.output.append(buffer, static_cast<size_t>(got));
    if (!typed && run.output.find("(1-5) ? ") != std::string::npos) {
      typed = ::write(master, input.data(), input.size()) == static_cast<ssize_t>(input.size());
    }
  }
  ::close(master);
  int status = 0;
  if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

// A copy of Tevol in a directory of its own, beside a fake Tevol_4 that says
// how it was run and ends with status 3; PATH holds no calculator.
class TerminalTest : public ::testing::Test {
 protected:
  TerminalTest() : own_(dir_.MakeDir("own")), work_(dir_.MakeDir("work")) {
    std::filesystem::copy_file(TEVOL_LAUNCHER_BINARY, own_ + "/Tevol");
    dir_.WriteFile("own/Tevol_4",
                   "#!/bin/sh\n"
                   "if [ -t 0 ] && [ -t 1 ]; then tty=yes; else tty=no; fi\n"
                   "printf 'FAKE Tevol_4 argc=%s pid=%s tty=%s cwd=%s\\n' \"$#\" \"$$\" \"$tty\" "
                   "\"$(pwd)\"\n"
                   "exit 3\n",
                   0755);
  }

  TerminalRun Run(std::optional<std::string> display, const std::string& input) {
    return RunOnTerminal(own_ + "/Tevol", work_,
                         {{"DISPLAY", display},
                          {"WAYLAND_DISPLAY", std::nullopt},
                          {"QT_QPA_PLATFORM", std::nullopt},
                          {"PATH", dir_.MakeDir("empty")}},
                         input);
  }

  TestDir dir_;
  const std::string own_;
  const std::string work_;
};

TEST_F(TerminalTest, WithoutDisplayTheChosenCalculatorTakesTheLaunchersPlace) {
  const TerminalRun run = Run(std::nullopt, "3\r");

  // The terminal turns the menu's line ends into CR LF.
  EXPECT_NE(run.output.find("  放射線業務従事者の内部被曝線量の算定\r\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("    3) ガスモニターの計測値から算定する\r\n"), std::string::npos);
  EXPECT_NE(run.output.find("FAKE Tevol_4 argc=0 pid=" + std::to_string(run.pid) +
                            " tty=yes cwd=" + work_ + "\r\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.exit_status, 3);
}

TEST_F(TerminalTest, DisplayThatCannotBeOpenedFallsBackToTheMenu) {
  // No X server listens on display 7391 (an unlikely number, so that a test
  // server elsewhere on the machine does not answer).
  const TerminalRun run = Run(":7391", "5\r");

  EXPECT_EQ(run.output.find("  放射線業務従事者の内部被曝線量の算定\r\n"), 2u) << run.output;
  EXPECT_EQ(run.output.find("FAKE"), std::string::npos);
  EXPECT_EQ(run.exit_status, 0);
}

TEST_F(TerminalTest, MissingCalculatorIsReportedWithStatusOne) {
  const TerminalRun run = Run(std::nullopt, "2\r");

  EXPECT_NE(run.output.find("Tevol_3 を起動できませんでした。\r\nnot found in " + own_ +
                            " or on PATH\r\n"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.exit_status, 1);
}

}  // namespace
}  // namespace tevol::launcher
