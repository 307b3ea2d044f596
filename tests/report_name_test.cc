// Japanese report-file names, run as whole processes like the fixtures: the
// user types the name as Shift-JIS bytes, and the file that appears is the
// one of that name in the system's own file names (UTF-8 on Linux, also on
// the Linux side of wine), with the report's Shift-JIS bytes. The run is the
// fixture Tevol_2/c11_and_f18 with only the typed name changed, so its
// standard output and report are the fixture's.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/process_runner.h"

namespace tevol::testing {
namespace {

namespace fs = std::filesystem;

struct JapaneseName {
  const char* test_name;
  std::string typed;      // Shift-JIS bytes, as typed
  std::string file_name;  // the file's name on this system, UTF-8
};

std::vector<JapaneseName> Names() {
  return {
      // 結果.txt
      {"Kekka", "\x8c\x8b\x89\xca.txt", "\xe7\xb5\x90\xe6\x9e\x9c.txt"},
      // 表.txt: the trail byte is 0x5C, the backslash of ASCII, which must not
      // split the name into a folder and a file.
      {"TrailByteBackslash", "\x95\x5c.txt", "\xe8\xa1\xa8.txt"},
  };
}

std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

class ReportNameTest : public ::testing::TestWithParam<JapaneseName> {};

TEST_P(ReportNameTest, TypedNameGivesThatFile) {
  const JapaneseName& name = GetParam();
  const fs::path fixture = fs::path(TEVOL_FIXTURE_DIR) / "Tevol_2" / "c11_and_f18";
  std::string input = ReadFileBytes((fixture / "stdin").string());
  const std::string typed_line = "\nr.txt\n";
  const std::size_t at = input.find(typed_line);
  ASSERT_NE(at, std::string::npos) << "the fixture no longer types r.txt";
  input.replace(at, typed_line.size(), "\n" + name.typed + "\n");

  const std::string cwd = MakeTempDir();
  ProcessResult r = RunProgram("Tevol_2", {}, input, cwd);

  EXPECT_EQ(Difference(ReadFileBytes((fixture / "stdout").string()), r.out), "") << "standard output";
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(FilesIn(cwd), std::set<std::string>{name.file_name}) << "files in the working directory";
  EXPECT_EQ(Difference(ReadFileBytes((fixture / "after" / "r.txt").string()),
                       ReadFileBytes(cwd + "/" + name.file_name)),
            "")
      << "report file";
  RemoveTree(cwd);
}

// A Japanese command-line argument (the name taken when a blank name is
// typed) reaches the program as Shift-JIS and gives the same file.
TEST(ReportNameArgument, JapaneseArgumentGivesThatFile) {
  const fs::path fixture = fs::path(TEVOL_FIXTURE_DIR) / "Tevol_2" / "c11_and_f18";
  std::string input = ReadFileBytes((fixture / "stdin").string());
  const std::string typed_line = "\nr.txt\n";
  const std::size_t at = input.find(typed_line);
  ASSERT_NE(at, std::string::npos) << "the fixture no longer types r.txt";
  input.replace(at, typed_line.size(), "\n\n");

  const std::string cwd = MakeTempDir();
  const std::string utf8_name = "\xe7\xb5\x90\xe6\x9e\x9c.txt";  // 結果.txt
  ProcessResult r = RunProgram("Tevol_2", {utf8_name}, input, cwd);

  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(FilesIn(cwd), std::set<std::string>{utf8_name}) << "files in the working directory";
  EXPECT_EQ(Difference(ReadFileBytes((fixture / "after" / "r.txt").string()),
                       ReadFileBytes(cwd + "/" + utf8_name)),
            "")
      << "report file";
  RemoveTree(cwd);
}

INSTANTIATE_TEST_SUITE_P(Japanese, ReportNameTest, ::testing::ValuesIn(Names()),
                         [](const ::testing::TestParamInfo<JapaneseName>& info) {
                           return std::string(info.param.test_name);
                         });

}  // namespace
}  // namespace tevol::testing
