// The Windows implementation of Env: the standard handles, GetConsoleMode as
// the terminal test, and CreateFileW/WriteFile/SetEndOfFile/FlushFileBuffers/
// CloseHandle for the report file. It mirrors env_posix.cc name for name.
//
// The C runtime's streams are not used for the dialogue, so nothing of its
// text mode touches a byte: a pipe or a file gets and gives exactly the
// program's bytes, CR LF included. A console is written and read through its
// wide-character interface, so that the Japanese shows whatever the console's
// code page: output is converted from code page 932 to UTF-16, a typed line
// from UTF-16 to code page 932 (a character that code page 932 lacks becomes
// "?"), before the record reader counts its bytes.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "common/platform/env.h"

namespace tevol {
namespace {

constexpr UINT kProgramCodePage = 932;

std::string ErrorText(DWORD error_number) {
  std::string text = "Windows error " + std::to_string(error_number);
  char* message = nullptr;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error_number, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
      reinterpret_cast<char*>(&message), 0, nullptr);
  if (length > 0 && message != nullptr) {
    std::string system_text(message, length);
    while (!system_text.empty() && (system_text.back() == '\n' || system_text.back() == '\r' ||
                                    system_text.back() == ' ' || system_text.back() == '.')) {
      system_text.pop_back();
    }
    if (!system_text.empty()) text += ": " + system_text;
  }
  if (message != nullptr) ::LocalFree(message);
  return text;
}

Status WindowsError(DWORD error_number) {
  Status::Code code;
  switch (error_number) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      code = Status::Code::kNotFound;
      break;
    case ERROR_DIRECTORY:
      code = Status::Code::kIsDirectory;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      code = Status::Code::kAccessDenied;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
      code = Status::Code::kNoSpace;
      break;
    default:
      code = Status::Code::kIoError;
      break;
  }
  return Status::Error(code, ErrorText(error_number));
}

// Code-page-932 bytes as UTF-16. A byte sequence that is not a character of
// the code page becomes the code page's replacement character.
std::wstring WideFromProgram(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(kProgramCodePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(kProgramCodePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                          wide.data(), n);
  }
  return wide;
}

// UTF-16 as code-page-932 bytes; what the code page lacks becomes "?".
std::string ProgramFromWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  int n = ::WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(kProgramCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                          static_cast<int>(wide.size()), bytes.data(), n, "?", nullptr);
  }
  return bytes;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc); }

Status WriteAllHandle(HANDLE handle, std::string_view data) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return WindowsError(ERROR_INVALID_HANDLE);
  while (!data.empty()) {
    DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
    DWORD n = 0;
    if (!::WriteFile(handle, data.data(), chunk, &n, nullptr)) return WindowsError(::GetLastError());
    if (n == 0) return WindowsError(ERROR_WRITE_FAULT);
    data.remove_prefix(n);
  }
  return Status::Ok();
}

// One standard output stream: a pipe or a file gets the bytes as they are; a
// console gets whole characters through WriteConsoleW, a lead byte at the end
// of one write waiting for its trail byte in the next.
class OutputStream {
 public:
  explicit OutputStream(DWORD which) : handle_(::GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE &&
               ::GetConsoleMode(handle_, &mode) != 0;
  }

  bool IsConsole() const { return console_; }

  Status Write(std::string_view data) {
    if (!console_) return WriteAllHandle(handle_, data);
    std::string bytes = pending_lead_ + std::string(data);
    pending_lead_.clear();
    std::size_t whole = 0;
    while (whole < bytes.size()) {
      std::size_t length = IsLeadByte(static_cast<unsigned char>(bytes[whole])) ? 2 : 1;
      if (whole + length > bytes.size()) break;
      whole += length;
    }
    pending_lead_ = bytes.substr(whole);
    std::wstring wide = WideFromProgram(std::string_view(bytes).substr(0, whole));
    std::wstring_view rest(wide);
    while (!rest.empty()) {
      DWORD chunk = rest.size() > 8192 ? 8192 : static_cast<DWORD>(rest.size());
      DWORD n = 0;
      if (!::WriteConsoleW(handle_, rest.data(), chunk, &n, nullptr)) {
        return WindowsError(::GetLastError());
      }
      if (n == 0) return WindowsError(ERROR_WRITE_FAULT);
      rest.remove_prefix(n);
    }
    return Status::Ok();
  }

 private:
  HANDLE handle_;
  bool console_ = false;
  std::string pending_lead_;
};

class WindowsReportFile final : public ReportFile {
 public:
  WindowsReportFile(HANDLE handle, bool regular, bool writable, std::uint64_t size)
      : handle_(handle), regular_(regular), writable_(writable), size_(size) {}
  ~WindowsReportFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }

  bool IsRegular() const override { return regular_; }
  bool Writable() const override { return writable_; }
  std::uint64_t Size() const override { return size_; }

  Status ReadAt(std::uint64_t offset, std::size_t n, std::string* out) override {
    out->assign(n, '\0');
    std::size_t done = 0;
    while (done < n) {
      OVERLAPPED at = {};
      const std::uint64_t position = offset + done;
      at.Offset = static_cast<DWORD>(position);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const std::size_t want = n - done;
      DWORD chunk = want > (1u << 30) ? (1u << 30) : static_cast<DWORD>(want);
      DWORD r = 0;
      if (!::ReadFile(handle_, out->data() + done, chunk, &r, regular_ ? &at : nullptr)) {
        DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) break;
        return WindowsError(error);
      }
      if (r == 0) break;
      done += r;
    }
    out->resize(done);
    return Status::Ok();
  }

  Status WriteAt(std::uint64_t offset, std::string_view data) override {
    if (!regular_) return WriteAllHandle(handle_, data);
    while (!data.empty()) {
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
      DWORD n = 0;
      if (!::WriteFile(handle_, data.data(), chunk, &n, &at)) return WindowsError(::GetLastError());
      if (n == 0) return WindowsError(ERROR_WRITE_FAULT);
      data.remove_prefix(n);
      offset += n;
    }
    return Status::Ok();
  }

  Status Truncate(std::uint64_t length) override {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(length);
    if (!::SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle_)) {
      return WindowsError(::GetLastError());
    }
    return Status::Ok();
  }

  Status Sync() override {
    if (!regular_) return Status::Ok();
    if (!::FlushFileBuffers(handle_)) return WindowsError(::GetLastError());
    return Status::Ok();
  }

  Status Close() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) return WindowsError(::GetLastError());
    return Status::Ok();
  }

 private:
  HANDLE handle_;
  bool regular_;
  bool writable_;
  std::uint64_t size_;
};

// The kind and length of an open file: a disk file is ordinary; a character
// device (NUL, CON, a printer port) or a pipe is written as it is.
Status Describe(HANDLE handle, bool* regular, std::uint64_t* size) {
  *regular = ::GetFileType(handle) == FILE_TYPE_DISK;
  *size = 0;
  if (!*regular) return Status::Ok();
  LARGE_INTEGER length;
  if (!::GetFileSizeEx(handle, &length)) return WindowsError(::GetLastError());
  *size = static_cast<std::uint64_t>(length.QuadPart);
  return Status::Ok();
}

HANDLE OpenExisting(const std::wstring& name, DWORD access) {
  return ::CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class WindowsEnv final : public Env {
 public:
  WindowsEnv()
      : stdin_(::GetStdHandle(STD_INPUT_HANDLE)),
        stdout_(STD_OUTPUT_HANDLE),
        stderr_(STD_ERROR_HANDLE) {
    DWORD mode = 0;
    stdin_tty_ = stdin_ != nullptr && stdin_ != INVALID_HANDLE_VALUE &&
                 ::GetConsoleMode(stdin_, &mode) != 0;
  }

  // The arguments as the system holds them, in UTF-16, converted to code
  // page 932: the C runtime's argv would carry the ANSI code page of the
  // machine, which need not be 932.
  void SetArguments(int argc, char** argv) {
    arguments_.clear();
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
      for (int i = 1; i < argc; ++i) arguments_.emplace_back(argv[i]);
      return;
    }
    for (int i = 1; i < count; ++i) arguments_.push_back(ProgramFromWide(wide[i]));
    ::LocalFree(wide);
  }

  bool StdinIsTerminal() override { return stdin_tty_; }
  bool StdoutIsTerminal() override { return stdout_.IsConsole(); }

  Status WriteStdout(std::string_view data) override { return stdout_.Write(data); }
  Status WriteStderr(std::string_view data) override { return stderr_.Write(data); }

  Status ReadStdin(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (capacity == 0) return Status::Ok();
    if (stdin_ == nullptr || stdin_ == INVALID_HANDLE_VALUE) return Status::Ok();
    if (stdin_tty_) return ReadConsole(buffer, capacity, got);
    DWORD chunk = capacity > (1u << 30) ? (1u << 30) : static_cast<DWORD>(capacity);
    DWORD n = 0;
    if (!::ReadFile(stdin_, buffer, chunk, &n, nullptr)) {
      DWORD error = ::GetLastError();
      // The writer of a pipe has closed it: the end of the input.
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return Status::Ok();
      return WindowsError(error);
    }
    *got = n;
    return Status::Ok();
  }

  const std::vector<std::string>& Arguments() override { return arguments_; }

  Status OpenReportFile(const std::string& name, std::unique_ptr<ReportFile>* file,
                        bool* created) override {
    *created = false;
    const std::wstring wide_name = WideFromProgram(name);
    for (;;) {
      DWORD attributes = ::GetFileAttributesW(wide_name.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return WindowsError(error);
        HANDLE handle = ::CreateFileW(wide_name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
          error = ::GetLastError();
          // appeared meanwhile: open it as existing
          if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
          return WindowsError(error);
        }
        bool regular = true;
        std::uint64_t size = 0;
        Status described = Describe(handle, &regular, &size);
        if (!described.ok()) {
          ::CloseHandle(handle);
          return described;
        }
        // A device name (NUL) is opened, not created.
        *created = regular;
        *file = std::make_unique<WindowsReportFile>(handle, regular, true, size);
        return Status::Ok();
      }
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Status::Error(Status::Code::kIsDirectory, "is a directory");
      }
      // An existing file is opened without changing it: for reading and
      // writing, else for reading only, else for writing only.
      bool writable = true;
      HANDLE handle = OpenExisting(wide_name, GENERIC_READ | GENERIC_WRITE);
      if (handle == INVALID_HANDLE_VALUE) {
        handle = OpenExisting(wide_name, GENERIC_READ);
        writable = false;
      }
      if (handle == INVALID_HANDLE_VALUE) {
        handle = OpenExisting(wide_name, GENERIC_WRITE);
        writable = true;
      }
      if (handle == INVALID_HANDLE_VALUE) return WindowsError(::GetLastError());
      bool regular = true;
      std::uint64_t size = 0;
      Status described = Describe(handle, &regular, &size);
      if (!described.ok()) {
        ::CloseHandle(handle);
        return described;
      }
      *file = std::make_unique<WindowsReportFile>(handle, regular, writable, size);
      return Status::Ok();
    }
  }

  Status RemoveFile(const std::string& name) override {
    if (!::DeleteFileW(WideFromProgram(name).c_str())) return WindowsError(::GetLastError());
    return Status::Ok();
  }

 private:
  // A typed line: read as UTF-16, handed on as code-page-932 bytes. What does
  // not fit into the caller's buffer waits for the next call. A line that
  // starts with Ctrl+Z is the end of the input, as at the system's own
  // prompt.
  Status ReadConsole(char* buffer, std::size_t capacity, std::size_t* got) {
    while (console_pending_.empty()) {
      wchar_t wide[1024];
      std::size_t have = 0;
      if (held_surrogate_ != 0) {
        wide[have++] = held_surrogate_;
        held_surrogate_ = 0;
      }
      DWORD n = 0;
      if (!::ReadConsoleW(stdin_, wide + have, static_cast<DWORD>(1024 - have), &n, nullptr)) {
        return WindowsError(::GetLastError());
      }
      if (n == 0) return Status::Ok();
      have += n;
      if (at_line_start_ && wide[0] == 0x1a) return Status::Ok();
      // A character outside the basic plane may come in two reads.
      if (wide[have - 1] >= 0xd800 && wide[have - 1] <= 0xdbff) {
        held_surrogate_ = wide[--have];
        if (have == 0) continue;
      }
      at_line_start_ = wide[have - 1] == L'\n';
      console_pending_ = ProgramFromWide(std::wstring_view(wide, have));
    }
    std::size_t n = console_pending_.size() < capacity ? console_pending_.size() : capacity;
    console_pending_.copy(buffer, n);
    console_pending_.erase(0, n);
    *got = n;
    return Status::Ok();
  }

  HANDLE stdin_;
  bool stdin_tty_ = false;
  OutputStream stdout_;
  OutputStream stderr_;
  std::string console_pending_;
  wchar_t held_surrogate_ = 0;
  bool at_line_start_ = true;
  std::vector<std::string> arguments_;
};

WindowsEnv* DefaultWindowsEnv() {
  static WindowsEnv* env = new WindowsEnv();
  return env;
}

}  // namespace

Env* Env::Default() { return DefaultWindowsEnv(); }

void InitDefaultEnv(int argc, char** argv) {
  // Nothing writes through the C runtime's streams; should anything ever do,
  // it too passes bytes unchanged.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  DefaultWindowsEnv()->SetArguments(argc, argv);
}

}  // namespace tevol
