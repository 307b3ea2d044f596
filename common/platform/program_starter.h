// Starting one calculator of the suite as a program of its own.
//
// A ProgramStarter is the part of the platform seam through which the
// launcher starts the calculator that the user picked. The launcher names
// the calculator by the file name the suite ships it under ("Tevol_3.exe");
// each implementation maps that name to its platform's file name and looks
// for the program the way its platform's search for a program named without
// a path does. The launcher is the only caller.
//
// Every implementation keeps this contract:
//   - The program is started without arguments, in the caller's working
//     directory, with the caller's environment. Nothing else passes to it.
//   - The program is looked for first in the caller's own directory (where
//     the suite is delivered), then in the directories of the search path.
//   - Before anything is started the program is known to exist and to be
//     runnable; a missing program never opens an empty console window.
//   - A failure is returned as a StartStatus that names the program and the
//     reason; no call throws, prints or ends the process on a failure.
//
// The POSIX implementation lives in program_starter_posix.cc, the Windows one
// in program_starter_windows.cc; the build, not the callers, picks the
// implementation file for the platform.

#ifndef TEVOL_COMMON_PLATFORM_PROGRAM_STARTER_H_
#define TEVOL_COMMON_PLATFORM_PROGRAM_STARTER_H_

#include <memory>
#include <string>
#include <string_view>

namespace tevol {

// The outcome of a start: success, or the program's platform file name and
// a reason in words.
class StartStatus {
 public:
  // Success.
  StartStatus() = default;

  static StartStatus Ok() { return StartStatus(); }
  static StartStatus Error(std::string program, std::string reason) {
    return StartStatus(std::move(program), std::move(reason));
  }

  bool ok() const { return !failed_; }
  // The program that could not be started ("Tevol_3"); empty on success.
  const std::string& program() const { return program_; }
  // Why it could not be started; empty on success.
  const std::string& reason() const { return reason_; }
  // "OK", or "<program>: <reason>".
  std::string ToString() const { return failed_ ? program_ + ": " + reason_ : std::string("OK"); }

 private:
  StartStatus(std::string program, std::string reason)
      : failed_(true), program_(std::move(program)), reason_(std::move(reason)) {}

  bool failed_ = false;
  std::string program_;
  std::string reason_;
};

class ProgramStarter {
 public:
  ProgramStarter() = default;
  ProgramStarter(const ProgramStarter&) = delete;
  ProgramStarter& operator=(const ProgramStarter&) = delete;
  virtual ~ProgramStarter() = default;

  // Starts the program shipped as `file_name` in a console window of its
  // own, which opens in its normal size and takes the keyboard focus, and
  // returns without waiting for the program. The program outlives the
  // caller.
  // On success the program has been handed to the system and is running
  // or about to run. On failure nothing has been started.
  virtual StartStatus StartInNewConsole(std::string_view file_name) = 0;

  // Runs the program shipped as `file_name` in the caller's own console in
  // place of the caller, so that the program's end is the caller's end.
  // On success the call does not return. On failure nothing has been
  // started and the caller goes on.
  virtual StartStatus RunInPlace(std::string_view file_name) = 0;
};

struct StarterOptions {
  // The directory searched before the search path: the caller's own, where
  // the suite is delivered. Empty means the directory of the running program.
  std::string own_directory;
};

// The starter of this platform.
std::unique_ptr<ProgramStarter> NewProgramStarter(StarterOptions options = {});

}  // namespace tevol

#endif  // TEVOL_COMMON_PLATFORM_PROGRAM_STARTER_H_
