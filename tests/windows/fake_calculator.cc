// Stands in for a calculator in the starter check: after a second (so that a
// starter that waits for it shows), it writes started.txt in its working
// directory with its own path, its command line and whether its standard
// output is a console, one a line, in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* wide) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
  return text;
}

// Standard output is a console (a new one: the starter's own is a pipe in
// the check).
bool HasConsole() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace

int main() {
  ::Sleep(1000);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string text = Utf8(path) + "\n" + Utf8(::GetCommandLineW()) + "\n" +
                           (HasConsole() ? "console" : "no console") + "\n";
  std::FILE* file = std::fopen("started.tmp", "wb");
  if (file == nullptr) return 1;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  // Whole, or not there: the check may look at any moment.
  return ::MoveFileW(L"started.tmp", L"started.txt") ? 0 : 1;
}
