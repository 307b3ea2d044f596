// PtySession runs a program under a pseudo-terminal, so that it sees a
// terminal on standard input and standard output, as a user's session does.
// The terminal does not echo what is typed and passes output bytes unchanged,
// so the screen bytes are exactly what the program wrote. Standard input may
// instead be a pipe that holds given bytes (a terminal for output only).
#ifndef TEVOL_TESTS_PTY_SESSION_H_
#define TEVOL_TESTS_PTY_SESSION_H_

#include <sys/types.h>
#include <termios.h>

#include <string>
#include <vector>

namespace tevol::testing {

class PtySession {
 public:
  // Starts program (a name in ProgramDir()) in cwd, with extra environment
  // entries ("NAME=value").
  PtySession(const std::string& program, const std::string& cwd,
             const std::vector<std::string>& environment = {},
             const std::string* piped_input = nullptr);
  ~PtySession();

  // Waits until the screen bytes (all so far) contain text; false on timeout.
  bool WaitFor(const std::string& text, int timeout_ms = 5000);
  // Types one line and Enter.
  void Type(const std::string& line);
  // Types raw bytes (no Enter).
  void TypeRaw(const std::string& bytes);
  // Reads until the program closes the terminal; returns its exit status, or
  // 128 + the signal that ended it.
  int Finish(int timeout_ms = 5000);
  // Sends a signal to the program.
  void Signal(int signal_number);

  // The terminal's settings now, and as the session started with them.
  termios Settings() const;
  const termios& initial_settings() const { return initial_; }

  const std::string& screen() const { return screen_; }

 private:
  bool ReadSome(int timeout_ms);
  int master_ = -1;
  pid_t pid_ = -1;
  termios initial_{};
  std::string screen_;
};

}  // namespace tevol::testing

#endif  // TEVOL_TESTS_PTY_SESSION_H_
