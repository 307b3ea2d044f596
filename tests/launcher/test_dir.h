// A temporary directory for one test, removed with everything in it when the
// test is over, and the small files the launcher's tests put into it.
#ifndef TEVOL_TESTS_LAUNCHER_TEST_DIR_H_
#define TEVOL_TESTS_LAUNCHER_TEST_DIR_H_

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace tevol::testing {

class TestDir {
 public:
  TestDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tevol-launcher-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;
  ~TestDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }

  // Makes the directory `relative` (and its parents) and returns its path.
  std::string MakeDir(const std::string& relative) const {
    std::filesystem::create_directories(path_ / relative);
    return (path_ / relative).string();
  }

  // Writes `text` to the file `relative` with the permission bits `mode`.
  std::string WriteFile(const std::string& relative, const std::string& text,
                        mode_t mode = 0644) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    ::chmod(file.c_str(), mode);
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

// The contents of `path`, or nothing when it cannot be read.
inline std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Waits up to `timeout` for `path` to exist.
inline bool WaitForFile(const std::filesystem::path& path,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Sets an environment variable for the life of the object, then puts the
// old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace tevol::testing

#endif  // TEVOL_TESTS_LAUNCHER_TEST_DIR_H_
