// The Windows program starter, run under wine (or on Windows) by
// scripts/test-windows.sh: no test framework is cross-built, so each check
// prints its outcome and the last line counts them.
//   starter_check <fake calculator .exe> <scratch directory>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "common/platform/program_starter.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  (ok ? passed : failed)++;
}

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// started.txt in `directory`, once the fake calculator has written it, or
// empty after ten seconds.
std::string WaitForStart(const std::string& directory) {
  const std::string path = directory + "\\started.txt";
  for (int i = 0; i < 100; ++i) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return ReadAll(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::string();
}

void MakeDirectory(const std::string& path) { ::CreateDirectoryA(path.c_str(), nullptr); }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: starter_check <fake calculator .exe> <scratch directory>\n");
    return 2;
  }
  const std::string fake = argv[1];
  const std::string scratch = argv[2];
  const std::string own = scratch + "\\own";
  const std::string on_path = scratch + "\\on_path";
  const std::string work = scratch + "\\work";
  MakeDirectory(scratch);
  MakeDirectory(own);
  MakeDirectory(on_path);
  MakeDirectory(work);
  ::CopyFileA(fake.c_str(), (own + "\\Tevol_8.exe").c_str(), FALSE);
  ::CopyFileA(fake.c_str(), (on_path + "\\Tevol_8.exe").c_str(), FALSE);
  ::CopyFileA(fake.c_str(), (on_path + "\\Tevol_7.exe").c_str(), FALSE);
  ::SetEnvironmentVariableA("PATH", (on_path + ";C:\\windows\\system32").c_str());
  ::SetCurrentDirectoryA(work.c_str());

  std::unique_ptr<tevol::ProgramStarter> starter =
      tevol::NewProgramStarter(tevol::StarterOptions{own});

  {
    // Beside the launcher first, without waiting, in a console of its own.
    const auto before = std::chrono::steady_clock::now();
    const tevol::StartStatus status = starter->StartInNewConsole("Tevol_8.exe");
    const auto took = std::chrono::steady_clock::now() - before;
    Check(status.ok(), "Tevol_8.exe starts: " + status.ToString());
    Check(took < std::chrono::milliseconds(900), "the start does not wait for the program");
    const std::string started = WaitForStart(work);
    Check(!started.empty(), "the program ran, in the caller's working directory");
    Check(Contains(started, "\\own\\Tevol_8.exe\n"),
          "the launcher's own directory comes before PATH: " + started);
    Check(Contains(started, "\n\"Tevol_8.exe\"\n"),
          "the command line is the bare name, without arguments: " + started);
    Check(Contains(started, "\nconsole\n"), "the program has a console of its own: " + started);
    ::DeleteFileA((work + "\\started.txt").c_str());
  }
  {
    const tevol::StartStatus status = starter->StartInNewConsole("Tevol_7.exe");
    Check(status.ok(), "Tevol_7.exe is found on PATH: " + status.ToString());
    const std::string started = WaitForStart(work);
    Check(Contains(started, "\\on_path\\Tevol_7.exe\n"), "it is the one on PATH: " + started);
    ::DeleteFileA((work + "\\started.txt").c_str());
  }
  {
    const tevol::StartStatus status = starter->StartInNewConsole("Tevol_9.exe");
    Check(!status.ok() && status.program() == "Tevol_9.exe" &&
              Contains(status.reason(), "not found"),
          "a missing program is a failure naming it: " + status.ToString());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    Check(::GetFileAttributesA((work + "\\started.txt").c_str()) == INVALID_FILE_ATTRIBUTES,
          "nothing was started for it");
  }
  {
    const tevol::StartStatus status = starter->StartInNewConsole("..\\own\\Tevol_8.exe");
    Check(!status.ok(), "a name with a path is refused: " + status.ToString());
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
