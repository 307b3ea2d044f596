// The POSIX implementation of Env: file descriptors 0, 1 and 2, isatty, and
// open/pwrite/ftruncate/fsync/close for the report file.
//
// It plays the part of a code-page-932 console on a UTF-8 terminal:
// - what is written to standard output or standard error while it is a
//   terminal is converted from CP932 to UTF-8, whole characters at a time (a
//   write that ends on a lead byte keeps it for the stream's next write; one
//   still kept when the program ends has no character to show and is dropped);
// - what is typed while standard input is a terminal is converted from UTF-8
//   to CP932 before the reader sees it, so the reader counts CP932 bytes;
// - while standard input is the foreground terminal, the terminal's suspend
//   character is switched off so that Ctrl+Z arrives as the byte 26, and the
//   terminal's settings are put back at exit and on a deadly signal.
// A stream that is not a terminal passes its bytes unchanged.
//
// File names are CP932 above the seam and UTF-8 in the file system; the
// command-line arguments come in as UTF-8 and go up as CP932.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/platform/cp932_posix.h"
#include "common/platform/env.h"

namespace tevol {
namespace {

Status PosixError(int error_number) {
  Status::Code code;
  switch (error_number) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      code = Status::Code::kNotFound;
      break;
    case EISDIR:
      code = Status::Code::kIsDirectory;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      code = Status::Code::kAccessDenied;
      break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      code = Status::Code::kNoSpace;
      break;
    default:
      code = Status::Code::kIoError;
      break;
  }
  return Status::Error(code, std::strerror(error_number));
}

Status WriteAllFd(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return PosixError(errno);
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return Status::Ok();
}

class PosixReportFile final : public ReportFile {
 public:
  PosixReportFile(int fd, bool regular, bool writable, std::uint64_t size)
      : fd_(fd), regular_(regular), writable_(writable), size_(size) {}
  ~PosixReportFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool IsRegular() const override { return regular_; }
  bool Writable() const override { return writable_; }
  std::uint64_t Size() const override { return size_; }

  Status ReadAt(std::uint64_t offset, std::size_t n, std::string* out) override {
    out->assign(n, '\0');
    std::size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(fd_, out->data() + done, n - done, static_cast<off_t>(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return PosixError(errno);
      }
      if (r == 0) break;
      done += static_cast<std::size_t>(r);
    }
    out->resize(done);
    return Status::Ok();
  }

  Status WriteAt(std::uint64_t offset, std::string_view data) override {
    if (!regular_) return WriteAllFd(fd_, data);
    while (!data.empty()) {
      ssize_t n = ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(offset));
      if (n < 0) {
        if (errno == EINTR) continue;
        return PosixError(errno);
      }
      data.remove_prefix(static_cast<std::size_t>(n));
      offset += static_cast<std::uint64_t>(n);
    }
    return Status::Ok();
  }

  Status Truncate(std::uint64_t length) override {
    if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) return PosixError(errno);
    return Status::Ok();
  }

  Status Sync() override {
    if (!regular_) return Status::Ok();
    if (::fsync(fd_) != 0) return PosixError(errno);
    return Status::Ok();
  }

  Status Close() override {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) return PosixError(errno);
    return Status::Ok();
  }

 private:
  int fd_;
  bool regular_;
  bool writable_;
  std::uint64_t size_;
};

// Reads what is there on fd, up to capacity bytes, waiting for at least one.
Status ReadFd(int fd, char* buffer, std::size_t capacity, std::size_t* got) {
  for (;;) {
    ssize_t n = ::read(fd, buffer, capacity);
    if (n < 0) {
      if (errno == EINTR) continue;
      *got = 0;
      return PosixError(errno);
    }
    *got = static_cast<std::size_t>(n);
    return Status::Ok();
  }
}

// An output stream to a terminal: CP932 in, UTF-8 out.
class TerminalWriter {
 public:
  explicit TerminalWriter(int fd) : fd_(fd), stream_(Cp932Stream::Direction::kCp932ToUtf8) {}

  Status Write(std::string_view data) {
    std::string utf8;
    stream_.Convert(data, &utf8);
    return WriteAllFd(fd_, utf8);
  }

 private:
  int fd_;
  Cp932Stream stream_;
};

// Standard input at a terminal: UTF-8 typed, CP932 handed up. What one read
// brings may be more than the caller takes; the rest waits in typed_.
class TerminalReader {
 public:
  TerminalReader() : stream_(Cp932Stream::Direction::kUtf8ToCp932) {}

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) {
    while (typed_.empty()) {
      if (end_after_typed_) {
        // The end of the input came after a cut-off character: it is
        // reported now, without waiting for the terminal again.
        end_after_typed_ = false;
        *got = 0;
        return Status::Ok();
      }
      char raw[4096];
      std::size_t n = 0;
      Status s = ReadFd(0, raw, sizeof raw, &n);
      if (!s.ok() || n == 0) {
        if (!s.ok() || stream_.pending().empty()) {
          *got = 0;
          return s;
        }
        stream_.DropPending();
        typed_ = "?";
        end_after_typed_ = true;
        break;
      }
      stream_.Convert(std::string_view(raw, n), &typed_);
      // Only part of a character so far: wait for the rest.
    }
    *got = std::min(capacity, typed_.size());
    std::memcpy(buffer, typed_.data(), *got);
    typed_.erase(0, *got);
    return Status::Ok();
  }

 private:
  Cp932Stream stream_;
  std::string typed_;
  bool end_after_typed_ = false;
};

class PosixEnv final : public Env {
 public:
  PosixEnv() : stdin_tty_(::isatty(0) == 1), stdout_tty_(::isatty(1) == 1) {
    if (stdin_tty_) stdin_reader_ = std::make_unique<TerminalReader>();
    if (stdout_tty_) stdout_writer_ = std::make_unique<TerminalWriter>(1);
    if (::isatty(2) == 1) stderr_writer_ = std::make_unique<TerminalWriter>(2);
  }

  void SetArguments(int argc, char** argv) {
    arguments_.clear();
    for (int i = 1; i < argc; ++i) arguments_.push_back(Utf8TextToCp932(argv[i]));
  }

  bool StdinIsTerminal() override { return stdin_tty_; }
  bool StdoutIsTerminal() override { return stdout_tty_; }

  Status WriteStdout(std::string_view data) override {
    return stdout_writer_ ? stdout_writer_->Write(data) : WriteAllFd(1, data);
  }
  Status WriteStderr(std::string_view data) override {
    return stderr_writer_ ? stderr_writer_->Write(data) : WriteAllFd(2, data);
  }

  Status ReadStdin(char* buffer, std::size_t capacity, std::size_t* got) override {
    return stdin_reader_ ? stdin_reader_->Read(buffer, capacity, got)
                         : ReadFd(0, buffer, capacity, got);
  }

  const std::vector<std::string>& Arguments() override { return arguments_; }

  Status OpenReportFile(const std::string& cp932_name, std::unique_ptr<ReportFile>* file,
                        bool* created) override {
    *created = false;
    const std::string name = Cp932NameToUtf8(cp932_name);
    for (;;) {
      struct stat st;
      if (::stat(name.c_str(), &st) != 0) {
        if (errno != ENOENT) return PosixError(errno);
        int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
          if (errno == EEXIST) continue;  // appeared meanwhile: open it as existing
          return PosixError(errno);
        }
        *created = true;
        *file = std::make_unique<PosixReportFile>(fd, true, true, 0);
        return Status::Ok();
      }
      if (S_ISDIR(st.st_mode)) return Status::Error(Status::Code::kIsDirectory, "is a directory");
      // An existing file is opened without changing it: for reading and
      // writing, else for reading only, else for writing only.
      bool writable = true;
      int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
      if (fd < 0) {
        fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        writable = false;
      }
      if (fd < 0) {
        fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        writable = true;
      }
      if (fd < 0) return PosixError(errno);
      if (::fstat(fd, &st) != 0) {
        int e = errno;
        ::close(fd);
        return PosixError(e);
      }
      bool regular = S_ISREG(st.st_mode);
      *file = std::make_unique<PosixReportFile>(fd, regular, writable,
                                                regular ? static_cast<std::uint64_t>(st.st_size) : 0);
      return Status::Ok();
    }
  }

  Status RemoveFile(const std::string& cp932_name) override {
    if (::unlink(Cp932NameToUtf8(cp932_name).c_str()) != 0) return PosixError(errno);
    return Status::Ok();
  }

 private:
  bool stdin_tty_;
  bool stdout_tty_;
  std::unique_ptr<TerminalReader> stdin_reader_;
  std::unique_ptr<TerminalWriter> stdout_writer_;
  std::unique_ptr<TerminalWriter> stderr_writer_;
  std::vector<std::string> arguments_;
};

// --- The terminal's suspend character.
// The settings found at start, put back by RestoreTerminal from exit and from
// the signal handler (tcsetattr may be called there).
termios saved_terminal;
volatile sig_atomic_t terminal_changed = 0;

void RestoreTerminal() {
  if (terminal_changed) {
    ::tcsetattr(0, TCSANOW, &saved_terminal);
    terminal_changed = 0;
  }
}

// The signals that end the program by default; after them the terminal is
// put back and the signal is raised again with its default action.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGABRT};

void RestoreAndRaise(int signal_number) {
  int saved_errno = errno;
  RestoreTerminal();
  // The handler was reset to the default when it was entered (SA_RESETHAND);
  // the raised signal is taken when the handler returns.
  ::raise(signal_number);
  errno = saved_errno;
}

// At a terminal a user ends input with Ctrl+Z, which the terminal would turn
// into a suspend: switch that off while the program runs.
void SwitchSuspendKeyOff() {
  if (::isatty(0) != 1 || ::tcgetpgrp(0) != ::getpgrp()) return;  // not ours to change
  termios t;
  if (::tcgetattr(0, &t) != 0) return;
  bool suspend_set = t.c_cc[VSUSP] != _POSIX_VDISABLE;
#ifdef VDSUSP
  suspend_set = suspend_set || t.c_cc[VDSUSP] != _POSIX_VDISABLE;
#endif
  if (!suspend_set) return;
  saved_terminal = t;
  t.c_cc[VSUSP] = _POSIX_VDISABLE;
#ifdef VDSUSP
  t.c_cc[VDSUSP] = _POSIX_VDISABLE;
#endif
  for (int signal_number : kEndingSignals) {
    struct sigaction old_action;
    if (::sigaction(signal_number, nullptr, &old_action) != 0) continue;
    if (old_action.sa_handler != SIG_DFL) continue;  // ignored or handled by someone else
    struct sigaction action {};
    action.sa_handler = RestoreAndRaise;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal_number, &action, nullptr);
  }
  std::atexit(RestoreTerminal);
  terminal_changed = 1;
  if (::tcsetattr(0, TCSANOW, &t) != 0) terminal_changed = 0;
}

PosixEnv* DefaultPosixEnv() {
  static PosixEnv* env = new PosixEnv();
  return env;
}

}  // namespace

Env* Env::Default() { return DefaultPosixEnv(); }

void InitDefaultEnv(int argc, char** argv) {
  // A closed pipe on standard output is reported as a failed write, not a
  // silent death by signal.
  ::signal(SIGPIPE, SIG_IGN);
  DefaultPosixEnv()->SetArguments(argc, argv);
  SwitchSuspendKeyOff();
}

}  // namespace tevol
