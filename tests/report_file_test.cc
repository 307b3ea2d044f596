// The report file: created or replaced in place, and every failure leaves an
// old file as it was (a created one is removed) and throws its report.
#include "common/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/fake_env.h"

namespace tevol {
namespace {

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tevol_report_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(getcwd(old_cwd_, sizeof old_cwd_), old_cwd_);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(old_cwd_), 0);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  static std::string Slurp(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  static void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
  static bool Exists(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0;
  }

  // Opens name, writes two records and closes; returns the error, if any.
  std::optional<RunTimeError> Save(FakeEnv& env, const std::string& name) {
    Console con(&env);
    ReportFileWriter w(&con);
    try {
      w.Open(FixedText<20>(name));
      w.Write("(' ','* H = ',F5.0,'[hr]')", {160.0f});
      w.Write("(' ',34X,'Total',E10.3)", {0.0252f});
      w.Close();
      con.Flush();
    } catch (const RunTimeError& e) {
      con.Flush();
      return e;
    }
    return std::nullopt;
  }

  const std::string kReport =
      " * H =  160.[hr]\r\n                                   Total  .252E-01\r\n";
  const std::string kOld = std::string(5000, 'o') + "\r\nold report\r\n";
  std::string dir_;
  char old_cwd_[4096];
};

TEST_F(ReportFileTest, NewFileHoldsTheRecordsWithTheirFirstBytes) {
  FakeEnv env;
  mode_t old_mask = umask(022);
  EXPECT_FALSE(Save(env, "  out.txt  "));
  umask(old_mask);
  EXPECT_EQ(Slurp("out.txt"), kReport);
  struct stat st;
  ASSERT_EQ(stat("out.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(ReportFileTest, ExistingLongerFileIsReplacedInPlace) {
  Put("out.txt", kOld);
  ASSERT_EQ(chmod("out.txt", 0640), 0);
  ASSERT_EQ(link("out.txt", "second-link"), 0);
  struct stat before;
  ASSERT_EQ(stat("out.txt", &before), 0);
  FakeEnv env;
  EXPECT_FALSE(Save(env, "out.txt"));
  EXPECT_EQ(Slurp("out.txt"), kReport);
  struct stat after;
  ASSERT_EQ(stat("out.txt", &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_EQ(Slurp("second-link"), kReport);
}

TEST_F(ReportFileTest, FailuresKeepTheOldFile) {
  const struct {
    const char* what;
    FileFaults faults;
    const char* report;
  } cases[] = {
      {"first write", {.fail_write_call = 1},
       "\r\nrun-time error F6420: WRITE(out.txt)\r\n- disk full\r\n"},
      {"write, other", {.fail_write_call = 1, .code = Status::Code::kIoError},
       "\r\nrun-time error F6422: WRITE(out.txt)\r\n- cannot write file\r\n"},
      {"truncate", {.fail_truncate = true, .code = Status::Code::kIoError},
       "\r\nrun-time error F6422: WRITE(out.txt)\r\n- cannot write file\r\n"},
      {"sync", {.fail_sync = true},
       "\r\nrun-time error F6430: CLOSE(out.txt)\r\n- disk full\r\n"},
      {"close", {.fail_close = true, .code = Status::Code::kIoError},
       "\r\nrun-time error F6431: CLOSE(out.txt)\r\n- cannot close file\r\n"},
  };
  for (const auto& c : cases) {
    Put("out.txt", kOld);
    FakeEnv env;
    env.faults = c.faults;
    std::optional<RunTimeError> e = Save(env, "out.txt");
    ASSERT_TRUE(e) << c.what;
    EXPECT_EQ(e->Report(), c.report) << c.what;
    EXPECT_EQ(Slurp("out.txt"), kOld) << c.what;
  }
}

TEST_F(ReportFileTest, FailuresRemoveAFileTheRunCreated) {
  for (FileFaults f : {FileFaults{.fail_write_call = 1}, FileFaults{.fail_sync = true},
                       FileFaults{.fail_close = true}}) {
    FakeEnv env;
    env.faults = f;
    EXPECT_TRUE(Save(env, "new.txt"));
    EXPECT_FALSE(Exists("new.txt"));
  }
}

TEST_F(ReportFileTest, TargetsThatCannotBeOpened) {
  ASSERT_EQ(mkdir("folder", 0755), 0);
  Put("plain", "x");
  const struct {
    const char* name;
    const char* report;
  } cases[] = {
      {"missing/out.txt", "\r\nrun-time error F6410: OPEN(missing/out.txt)\r\n- file or folder not found\r\n"},
      {"plain/out.txt", "\r\nrun-time error F6410: OPEN(plain/out.txt)\r\n- file or folder not found\r\n"},
      {"folder", "\r\nrun-time error F6411: OPEN(folder)\r\n- name is a folder\r\n"},
  };
  for (const auto& c : cases) {
    FakeEnv env;
    std::optional<RunTimeError> e = Save(env, c.name);
    ASSERT_TRUE(e) << c.name;
    EXPECT_EQ(e->Report(), c.report);
  }
  EXPECT_EQ(Slurp("plain"), "x");
}

TEST_F(ReportFileTest, DevicesAreWrittenAsTheyAre) {
  FakeEnv env;
  EXPECT_FALSE(Save(env, "/dev/null"));
  std::optional<RunTimeError> e = Save(env, "/dev/full");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Report(), "\r\nrun-time error F6420: WRITE(/dev/full)\r\n- disk full\r\n");
}

TEST_F(ReportFileTest, BlankNameTakesTheNextArgumentThenAsks) {
  FakeEnv env;
  env.arguments = {"  first.txt ", "   "};
  env.input = "\n  typed.txt  \n";
  Console con(&env);
  ReportFileWriter w(&con);
  con.Prompt(" name ---> ");
  FixedText<20> blank;
  w.Open(blank);  // takes the first argument
  EXPECT_EQ(w.name(), "first.txt");
  w.Close();
  w.Open(blank);  // the second is blank too: ask, without a CR LF first
  EXPECT_EQ(w.name(), "typed.txt");
  w.Close();
  con.Flush();
  EXPECT_EQ(env.out,
            "name ---> "
            "File name missing or blank - please enter file name\r\nUNIT 1? "
            "File name missing or blank - please enter file name\r\nUNIT 1? ");
  EXPECT_TRUE(Exists("first.txt"));
  EXPECT_TRUE(Exists("typed.txt"));
}

TEST_F(ReportFileTest, BlankNameWithoutArgumentsEndsTheOpenLineFirst) {
  FakeEnv env;
  env.input = "x.txt\n";
  Console con(&env);
  ReportFileWriter w(&con);
  con.WriteFreeForm("prompt");
  w.Open(FixedText<20>());
  w.Close();
  con.Flush();
  EXPECT_EQ(env.out, "prompt\r\nFile name missing or blank - please enter file name\r\nUNIT 1? ");
  EXPECT_TRUE(Exists("x.txt"));
}

}  // namespace
}  // namespace tevol
