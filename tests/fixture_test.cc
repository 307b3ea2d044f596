// Whole-process runs of the calculators against the fixtures under
// tests/fixtures/<program>/<case>/: standard input through a pipe, then
// standard output, standard error, the exit status and every report file
// compared byte for byte. The fixtures come from an independent model of the
// calculators (tests/reference), not from this program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/process_runner.h"

namespace tevol::testing {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FixtureCases() {
  std::vector<std::string> cases;
  for (const auto& program : fs::directory_iterator(TEVOL_FIXTURE_DIR)) {
    if (!program.is_directory()) continue;
    for (const auto& c : fs::directory_iterator(program.path())) {
      if (fs::exists(c.path() / "argv")) {
        cases.push_back(program.path().filename().string() + "/" + c.path().filename().string());
      }
    }
  }
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::set<std::string> FilesUnder(const fs::path& dir) {
  std::set<std::string> names;
  if (!fs::exists(dir)) return names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir).string());
  }
  return names;
}

class FixtureTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureTest, BytesMatch) {
  fs::path dir = fs::path(TEVOL_FIXTURE_DIR) / GetParam();
  std::istringstream argv_lines(ReadFileBytes((dir / "argv").string()));
  std::string program;
  std::getline(argv_lines, program);
  std::vector<std::string> args;
  for (std::string a; std::getline(argv_lines, a);) args.push_back(a);

  std::string cwd = MakeTempDir();
  for (const std::string& name : FilesUnder(dir / "before")) {
    fs::create_directories((fs::path(cwd) / name).parent_path());
    WriteFileBytes(cwd + "/" + name, ReadFileBytes((dir / "before" / name).string()));
  }
  ProcessResult r = RunProgram(program, args, ReadFileBytes((dir / "stdin").string()), cwd);

  EXPECT_EQ(Difference(ReadFileBytes((dir / "stdout").string()), r.out), "") << "standard output";
  EXPECT_EQ(Difference(ReadFileBytes((dir / "stderr").string()), r.err), "") << "standard error";
  EXPECT_EQ(std::to_string(r.status) + "\n", ReadFileBytes((dir / "status").string()));
  std::set<std::string> expected_files = FilesUnder(dir / "before");
  for (const std::string& name : FilesUnder(dir / "after")) {
    expected_files.insert(name);
    EXPECT_EQ(Difference(ReadFileBytes((dir / "after" / name).string()),
                         ReadFileBytes(cwd + "/" + name)),
              "")
        << "report file " << name;
  }
  EXPECT_EQ(FilesUnder(cwd), expected_files) << "files in the working directory";
  RemoveTree(cwd);
}

std::string CaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string n = info.param;
  std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return n;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTest, ::testing::ValuesIn(FixtureCases()), CaseName);

}  // namespace
}  // namespace tevol::testing
