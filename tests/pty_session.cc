#include "tests/pty_session.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "tests/process_runner.h"

namespace tevol::testing {

PtySession::PtySession(const std::string& program, const std::string& cwd,
                       const std::vector<std::string>& environment,
                       const std::string* piped_input) {
  termios t{};
  cfmakeraw(&t);
  t.c_lflag |= ICANON | ISIG | IEXTEN;  // line input and the usual control keys
  t.c_iflag |= ICRNL;
  t.c_cflag |= CREAD;  // the pseudo-terminal sets it anyway; initial_ is then what it holds
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  t.c_cc[VINTR] = 3;
  t.c_cc[VSUSP] = 26;
  t.c_cc[VEOF] = 4;
  t.c_cc[VERASE] = 127;
  initial_ = t;
  winsize ws{24, 80, 0, 0};
  std::string path = ProgramDir() + "/" + program;
  int input[2] = {-1, -1};
  if (piped_input != nullptr && pipe(input) != 0) std::abort();
  pid_ = forkpty(&master_, nullptr, &t, &ws);
  if (pid_ < 0) std::abort();
  if (pid_ == 0) {
    if (piped_input != nullptr) {
      dup2(input[0], 0);
      close(input[0]);
      close(input[1]);
    }
    if (chdir(cwd.c_str()) != 0) _exit(126);
    for (const std::string& e : environment) putenv(const_cast<char*>(e.c_str()));
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  if (piped_input != nullptr) {
    // The bytes fit in the pipe's buffer; the closed end is the end of input.
    close(input[0]);
    if (write(input[1], piped_input->data(), piped_input->size()) !=
        static_cast<ssize_t>(piped_input->size())) {
      std::abort();
    }
    close(input[1]);
  }
}

PtySession::~PtySession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) close(master_);
}

bool PtySession::ReadSome(int timeout_ms) {
  pollfd p{master_, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0) return false;
  char buf[4096];
  ssize_t n = read(master_, buf, sizeof buf);
  if (n <= 0) return false;  // EIO: the program has closed the terminal
  screen_.append(buf, static_cast<std::size_t>(n));
  return true;
}

bool PtySession::WaitFor(const std::string& text, int timeout_ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (screen_.find(text) == std::string::npos) {
    int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
            .count());
    if (left <= 0 || !ReadSome(left)) return screen_.find(text) != std::string::npos;
  }
  return true;
}

void PtySession::Type(const std::string& line) { TypeRaw(line + "\n"); }

void PtySession::TypeRaw(const std::string& bytes) {
  if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
}

void PtySession::Signal(int signal_number) {
  if (pid_ > 0) kill(pid_, signal_number);
}

termios PtySession::Settings() const {
  termios t{};
  if (tcgetattr(master_, &t) != 0) std::abort();
  return t;
}

int PtySession::Finish(int timeout_ms) {
  while (ReadSome(timeout_ms)) {
  }
  int status = 0;
  for (int i = 0; i < timeout_ms / 10; ++i) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    usleep(10000);
  }
  return -1;
}

}  // namespace tevol::testing
