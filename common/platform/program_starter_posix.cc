// The program starter on POSIX systems with an X11 or Wayland desktop.
//
// A calculator shipped as "Tevol_3.exe" is the executable file "Tevol_3".
// It is looked for in the launcher's own directory, then in the directories
// of PATH, and the first regular file there that may be executed is taken.
// A new console is a terminal emulator window: Debian's x-terminal-emulator,
// else the first of a few common terminals found on PATH, which is told to
// run the calculator by its full path. The terminal gets a session of its own
// so that neither it nor the calculator ends with the launcher.

#include "common/platform/program_starter.h"

#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern char** environ;

namespace tevol {

namespace {

// A terminal emulator and the option after which the rest of its command
// line is the program to run, with that program's arguments.
struct Terminal {
  const char* name;
  const char* run_option;
};

// Looked for on PATH in this order. x-terminal-emulator is the system's
// chosen terminal on Debian and its derivatives and takes -e like xterm.
constexpr Terminal kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"},
    {"xfce4-terminal", "-x"},      {"mate-terminal", "-x"},  {"xterm", "-e"},
};

std::string ErrnoText(int error) { return std::strerror(error); }

// "Tevol_3.exe" is "Tevol_3" here; a name without the suffix stays as it is.
std::string PlatformFileName(std::string_view file_name) {
  constexpr std::string_view kSuffix = ".exe";
  if (file_name.size() > kSuffix.size() &&
      file_name.substr(file_name.size() - kSuffix.size()) == kSuffix) {
    file_name.remove_suffix(kSuffix.size());
  }
  return std::string(file_name);
}

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

// `directory` made absolute against the working directory.
std::string Absolute(const std::string& directory) {
  if (!directory.empty() && directory.front() == '/') return directory;
  const std::string cwd = CurrentDirectory();
  if (cwd.empty()) return directory;
  return directory.empty() ? cwd : cwd + "/" + directory;
}

// The directory of the running program, or empty when it cannot be told.
std::string RunningProgramDirectory() {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
    return std::string();
  }
  std::string path(buffer.data(), static_cast<size_t>(length));
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The non-empty entries of PATH, in order. An empty entry would mean the
// working directory, which the search deliberately leaves out.
std::vector<std::string> SearchPath() {
  std::vector<std::string> directories;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return directories;
  std::string_view rest(path);
  while (true) {
    const size_t colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    if (!entry.empty()) directories.emplace_back(entry);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return directories;
}

enum class Probe { kAbsent, kNotExecutable, kExecutable };

// What stands at `path`: nothing usable (no file, a directory, a device),
// a regular file that may not be executed, or one that may.
Probe ProbeFile(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return Probe::kAbsent;
  }
  // access() alone says yes to root for any file; a file without any
  // execute bit cannot be run by anyone.
  if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0 || ::access(path.c_str(), X_OK) != 0) {
    return Probe::kNotExecutable;
  }
  return Probe::kExecutable;
}

std::string Join(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

class PosixProgramStarter final : public ProgramStarter {
 public:
  explicit PosixProgramStarter(std::string own_directory)
      : own_directory_(std::move(own_directory)) {}

  StartStatus StartInNewConsole(std::string_view file_name) override {
    const std::string name = PlatformFileName(file_name);
    std::string program;
    StartStatus status = FindProgram(name, &program);
    if (!status.ok()) return status;

    const Terminal* terminal = nullptr;
    std::string terminal_path;
    for (const Terminal& candidate : kTerminals) {
      terminal_path = FindOnPath(candidate.name);
      if (!terminal_path.empty()) {
        terminal = &candidate;
        break;
      }
    }
    if (terminal == nullptr) {
      std::string names;
      for (const Terminal& candidate : kTerminals) {
        names += names.empty() ? "" : ", ";
        names += candidate.name;
      }
      return StartStatus::Error(name, "no terminal program on PATH (" + names + ")");
    }

    // The command line is a list of arguments; the terminal runs the
    // calculator by its full path, with no arguments of its own.
    std::vector<std::string> arguments = {terminal->name, terminal->run_option, program};
    return Spawn(name, terminal_path, arguments);
  }

  StartStatus RunInPlace(std::string_view file_name) override {
    const std::string name = PlatformFileName(file_name);
    std::string program;
    StartStatus status = FindProgram(name, &program);
    if (!status.ok()) return status;

    std::fflush(nullptr);
    char* const argv[] = {const_cast<char*>(name.c_str()), nullptr};
    ::execv(program.c_str(), argv);
    return StartStatus::Error(name, "cannot run " + program + ": " + ErrnoText(errno));
  }

 private:
  // The calculator `name` beside the launcher, else on PATH, as a full path.
  // On failure *path is unchanged.
  StartStatus FindProgram(const std::string& name, std::string* path) const {
    if (name.empty() || name.find('/') != std::string::npos) {
      return StartStatus::Error(name, "not a bare file name");
    }
    std::vector<std::string> directories;
    if (!own_directory_.empty()) directories.push_back(own_directory_);
    for (std::string& directory : SearchPath()) directories.push_back(std::move(directory));

    std::string not_executable;
    for (const std::string& directory : directories) {
      const std::string candidate = Join(Absolute(directory), name);
      switch (ProbeFile(candidate)) {
        case Probe::kExecutable:
          *path = candidate;
          return StartStatus::Ok();
        case Probe::kNotExecutable:
          if (not_executable.empty()) not_executable = candidate;
          break;
        case Probe::kAbsent:
          break;
      }
    }
    if (!not_executable.empty()) {
      return StartStatus::Error(name, "not executable: " + not_executable);
    }
    const std::string where =
        own_directory_.empty() ? std::string("on PATH") : "in " + own_directory_ + " or on PATH";
    return StartStatus::Error(name, "not found " + where);
  }

  // The full path of the executable `name` on PATH, or empty.
  static std::string FindOnPath(const std::string& name) {
    for (const std::string& directory : SearchPath()) {
      const std::string candidate = Join(Absolute(directory), name);
      if (ProbeFile(candidate) == Probe::kExecutable) return candidate;
    }
    return std::string();
  }

  // Starts `path` with `arguments` in a new session, with the default
  // disposition of the signals a parent may have changed and no signal
  // blocked, and does not wait for it. The system reports a program that
  // cannot be executed before this returns.
  static StartStatus Spawn(const std::string& name, const std::string& path,
                           const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    int error = ::posix_spawnattr_init(&attributes);
    if (error != 0) {
      return StartStatus::Error(name, "cannot prepare the start: " + ErrnoText(error));
    }
    sigset_t no_signals;
    sigemptyset(&no_signals);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal_number :
         {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGCHLD, SIGTSTP, SIGTTIN, SIGTTOU}) {
      sigaddset(&defaults, signal_number);
    }
    error = ::posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (error == 0) error = ::posix_spawnattr_setsigmask(&attributes, &no_signals);
    if (error == 0) error = ::posix_spawnattr_setsigdefault(&attributes, &defaults);

    pid_t pid = 0;
    if (error == 0) {
      error = ::posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv.data(), environ);
    }
    ::posix_spawnattr_destroy(&attributes);
    if (error != 0) {
      return StartStatus::Error(name, "cannot start " + path + ": " + ErrnoText(error));
    }
    return StartStatus::Ok();
  }

  const std::string own_directory_;
};

}  // namespace

std::unique_ptr<ProgramStarter> NewProgramStarter(StarterOptions options) {
  std::string own_directory =
      options.own_directory.empty() ? RunningProgramDirectory() : Absolute(options.own_directory);
  return std::make_unique<PosixProgramStarter>(std::move(own_directory));
}

}  // namespace tevol
