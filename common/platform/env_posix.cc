// The POSIX implementation of Env: file descriptors 0, 1 and 2, isatty, and
// open/pwrite/ftruncate/fsync/close for the report file.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

class PosixEnv final : public Env {
 public:
  PosixEnv() : stdin_tty_(::isatty(0) == 1), stdout_tty_(::isatty(1) == 1) {}

  void SetArguments(int argc, char** argv) {
    arguments_.clear();
    for (int i = 1; i < argc; ++i) arguments_.emplace_back(argv[i]);
  }

  bool StdinIsTerminal() override { return stdin_tty_; }
  bool StdoutIsTerminal() override { return stdout_tty_; }

  Status WriteStdout(std::string_view data) override { return WriteAllFd(1, data); }
  Status WriteStderr(std::string_view data) override { return WriteAllFd(2, data); }

  Status ReadStdin(char* buffer, std::size_t capacity, std::size_t* got) override {
    for (;;) {
      ssize_t n = ::read(0, buffer, capacity);
      if (n < 0) {
        if (errno == EINTR) continue;
        *got = 0;
        return PosixError(errno);
      }
      *got = static_cast<std::size_t>(n);
      return Status::Ok();
    }
  }

  const std::vector<std::string>& Arguments() override { return arguments_; }

  Status OpenReportFile(const std::string& name, std::unique_ptr<ReportFile>* file,
                        bool* created) override {
    *created = false;
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

  Status RemoveFile(const std::string& name) override {
    if (::unlink(name.c_str()) != 0) return PosixError(errno);
    return Status::Ok();
  }

 private:
  bool stdin_tty_;
  bool stdout_tty_;
  std::vector<std::string> arguments_;
};

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
}

}  // namespace tevol
