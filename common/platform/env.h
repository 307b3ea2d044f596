// Env is the one seam between the calculators and the operating system: the
// standard streams, the terminal test, the command line and the report file.
// Everything above it (record I/O, the calculator frame, the calculators)
// works on Shift-JIS bytes and never calls the operating system itself.
//
// Contract kept by every implementation:
// - Calls return a Status. On failure nothing is thrown; the Status carries a
//   code the caller maps to its own report, and a short system reason.
// - Console bytes pass unchanged: no line-end translation in either direction.
//   (An implementation may convert between the program's code page 932 and a
//   terminal's own encoding, whole characters at a time, but only while the
//   stream is a terminal; a pipe or a file sees exactly the program's bytes.)
// - File names are the program's code-page-932 bytes; the implementation maps
//   them to the system's file names.
//
// Env::Default() is the implementation of this platform (env_posix.cc, or
// env_windows.cc in the Windows build). Tests wrap it to fail one chosen call.
#ifndef TEVOL_COMMON_PLATFORM_ENV_H_
#define TEVOL_COMMON_PLATFORM_ENV_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tevol {

class Status {
 public:
  enum class Code {
    kOk,
    kNotFound,      // no such file, or a folder on the way is missing
    kIsDirectory,   // the name is a folder
    kAccessDenied,  // refused by permissions or a read-only file system
    kNoSpace,       // the disk (or the device) is full
    kIoError,       // any other failure
  };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(Code code, std::string reason) { return Status(code, std::move(reason)); }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  const std::string& reason() const { return reason_; }

 private:
  Status(Code code, std::string reason) : code_(code), reason_(std::move(reason)) {}
  Code code_ = Code::kOk;
  std::string reason_;
};

// An open report file. All offsets are from the file's start. Close() must be
// called once; after it no other call is made.
class ReportFile {
 public:
  virtual ~ReportFile() = default;

  // True for an ordinary file (it can be cut and synced); false for a device
  // or a pipe, which is written as it is.
  virtual bool IsRegular() const = 0;
  // True when the file was opened for writing (an existing file may have been
  // opened for reading only).
  virtual bool Writable() const = 0;
  // The current length of an ordinary file; 0 for anything else.
  virtual std::uint64_t Size() const = 0;
  // Reads up to n bytes at offset into *out (fewer at the end of the file).
  virtual Status ReadAt(std::uint64_t offset, std::size_t n, std::string* out) = 0;
  // Writes all of data at offset (for a device or pipe: at its current place).
  // On failure part of data may have been written.
  virtual Status WriteAt(std::uint64_t offset, std::string_view data) = 0;
  // Sets an ordinary file's length.
  virtual Status Truncate(std::uint64_t length) = 0;
  // Waits until what was written is on the disk.
  virtual Status Sync() = 0;
  // Releases the file; it stays on disk.
  virtual Status Close() = 0;
};

class Env {
 public:
  virtual ~Env() = default;

  // The implementation of this platform; lives for the whole run.
  static Env* Default();

  virtual bool StdinIsTerminal() = 0;
  virtual bool StdoutIsTerminal() = 0;

  // Writes all of data, or fails.
  virtual Status WriteStdout(std::string_view data) = 0;
  virtual Status WriteStderr(std::string_view data) = 0;
  // Reads what is there, up to capacity bytes, waiting for at least one;
  // *got == 0 with an ok Status is the end of the input.
  virtual Status ReadStdin(char* buffer, std::size_t capacity, std::size_t* got) = 0;

  // The command-line arguments after the program name, in order.
  virtual const std::vector<std::string>& Arguments() = 0;

  // Opens the report file named name: when no file of that name exists one is
  // created (an ordinary file that can be read and written; *created is set);
  // an existing one is opened without changing it, for reading and writing,
  // else for reading only, else for writing only. A folder is kIsDirectory.
  virtual Status OpenReportFile(const std::string& name, std::unique_ptr<ReportFile>* file,
                                bool* created) = 0;
  // Removes a file that this run created and could not fill.
  virtual Status RemoveFile(const std::string& name) = 0;
};

// The platform's implementation is set up with the command line once, at
// start. (On Windows the arguments are taken from the system's UTF-16 command
// line; argv is used only when that cannot be read.)
void InitDefaultEnv(int argc, char** argv);

}  // namespace tevol

#endif  // TEVOL_COMMON_PLATFORM_ENV_H_
