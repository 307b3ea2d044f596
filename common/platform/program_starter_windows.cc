// The program starter on Windows.
//
// A calculator shipped as "Tevol_3.exe" is the file Tevol_3.exe. It is looked
// for in the launcher's own directory, then in the directories of PATH, as
// Windows looks for a program named without a path, and the first file (not
// a folder) there is taken. A new console is a console window of its own
// (CREATE_NEW_CONSOLE), shown in its normal size; the launcher lets it take
// the foreground. Nothing waits for the calculator.
//
// Names and reasons are UTF-8 like the launcher's other texts; the system is
// called through its wide-character interface.

#include "common/platform/program_starter.h"
#include "common/platform/utf16_windows.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tevol {

namespace {

std::string ErrorText(DWORD error) {
  wchar_t* message = nullptr;
  DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text = length > 0 && message != nullptr ? std::wstring(message, length) : L"";
  if (message != nullptr) ::LocalFree(message);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  std::string reason = Utf8(text);
  return reason.empty() ? "Windows error " + std::to_string(error)
                        : reason + " (Windows error " + std::to_string(error) + ")";
}

// "Tevol_3.exe" stays as it is; a name without a suffix gets ".exe".
std::string PlatformFileName(std::string_view file_name) {
  std::string name(file_name);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) name += ".exe";
  return name;
}

// The directory of the running program, or empty when it cannot be told.
std::wstring RunningProgramDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      const std::size_t slash = path.find_last_of(L"\\/");
      return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// `directory` made absolute against the working directory.
std::wstring Absolute(const std::wstring& directory) {
  if (directory.empty()) return directory;
  DWORD n = ::GetFullPathNameW(directory.c_str(), 0, nullptr, nullptr);
  if (n == 0) return directory;
  std::wstring full(n, L'\0');
  n = ::GetFullPathNameW(directory.c_str(), n, full.data(), nullptr);
  full.resize(n);
  return full;
}

// The non-empty entries of PATH, in order; quotes around an entry removed.
std::vector<std::wstring> SearchPath() {
  std::vector<std::wstring> directories;
  DWORD n = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (n == 0) return directories;
  std::wstring path(n, L'\0');
  n = ::GetEnvironmentVariableW(L"PATH", path.data(), n);
  path.resize(n);
  std::wstring_view rest(path);
  while (true) {
    const std::size_t semicolon = rest.find(L';');
    std::wstring_view entry = rest.substr(0, semicolon);
    if (entry.size() >= 2 && entry.front() == L'"' && entry.back() == L'"') {
      entry = entry.substr(1, entry.size() - 2);
    }
    if (!entry.empty()) directories.emplace_back(entry);
    if (semicolon == std::wstring_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return directories;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring Join(const std::wstring& directory, const std::wstring& name) {
  if (!directory.empty() && (directory.back() == L'\\' || directory.back() == L'/')) {
    return directory + name;
  }
  return directory + L"\\" + name;
}

class WindowsProgramStarter final : public ProgramStarter {
 public:
  explicit WindowsProgramStarter(std::wstring own_directory)
      : own_directory_(std::move(own_directory)) {}

  StartStatus StartInNewConsole(std::string_view file_name) override {
    const std::string name = PlatformFileName(file_name);
    std::wstring program;
    StartStatus status = FindProgram(name, &program);
    if (!status.ok()) return status;

    // The calculator's console window may come to the front over ours.
    ::AllowSetForegroundWindow(ASFW_ANY);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    return Create(name, program, CREATE_NEW_CONSOLE, &startup, nullptr);
  }

  StartStatus RunInPlace(std::string_view file_name) override {
    const std::string name = PlatformFileName(file_name);
    std::wstring program;
    StartStatus status = FindProgram(name, &program);
    if (!status.ok()) return status;

    // Windows cannot replace a process by another: the calculator runs in
    // this console with our standard handles, and its end is ours.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    status = Create(name, program, 0, &startup, &process);
    if (!status.ok()) return status;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exit_code = 1;
    ::GetExitCodeProcess(process.hProcess, &exit_code);
    ::ExitProcess(exit_code);
  }

 private:
  // The calculator `name` beside the launcher, else on PATH, as a full path.
  // On failure *path is unchanged.
  StartStatus FindProgram(const std::string& name, std::wstring* path) const {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
      return StartStatus::Error(name, "not a bare file name");
    }
    const std::wstring wide_name = Wide(name);
    std::vector<std::wstring> directories;
    if (!own_directory_.empty()) directories.push_back(own_directory_);
    for (std::wstring& directory : SearchPath()) directories.push_back(std::move(directory));
    for (const std::wstring& directory : directories) {
      const std::wstring candidate = Join(Absolute(directory), wide_name);
      if (IsFile(candidate)) {
        *path = candidate;
        return StartStatus::Ok();
      }
    }
    const std::string where = own_directory_.empty()
                                  ? std::string("on PATH")
                                  : "in " + Utf8(own_directory_) + " or on PATH";
    return StartStatus::Error(name, "not found " + where);
  }

  // Starts `program`, whose command line is its bare name, without
  // arguments, in the caller's working directory and environment. When
  // `process` is null the handles are closed at once: nothing waits.
  static StartStatus Create(const std::string& name, const std::wstring& program, DWORD flags,
                            STARTUPINFOW* startup, PROCESS_INFORMATION* process) {
    std::wstring command_line = L"\"" + Wide(name) + L"\"";
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr,
                          /*bInheritHandles=*/flags == 0 ? TRUE : FALSE, flags, nullptr, nullptr,
                          startup, &started)) {
      return StartStatus::Error(name,
                                "cannot start " + Utf8(program) + ": " + ErrorText(::GetLastError()));
    }
    ::CloseHandle(started.hThread);
    if (process == nullptr) {
      ::CloseHandle(started.hProcess);
    } else {
      *process = started;
    }
    return StartStatus::Ok();
  }

  const std::wstring own_directory_;
};

}  // namespace

std::unique_ptr<ProgramStarter> NewProgramStarter(StarterOptions options) {
  std::wstring own_directory = options.own_directory.empty()
                                   ? RunningProgramDirectory()
                                   : Absolute(Wide(options.own_directory));
  return std::make_unique<WindowsProgramStarter>(std::move(own_directory));
}

}  // namespace tevol
