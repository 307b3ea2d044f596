// FakeEnv: an Env for tests. Standard input is a string, standard output and
// standard error are captured, the terminal flags are set by the test, and the
// report file goes to the real file system through Env::Default(), wrapped so
// that one chosen call can fail.
#ifndef TEVOL_TESTS_FAKE_ENV_H_
#define TEVOL_TESTS_FAKE_ENV_H_

#include <memory>
#include <string>
#include <vector>

#include "common/platform/env.h"

namespace tevol {

// Which report-file call fails, and how.
struct FileFaults {
  int fail_write_call = 0;  // the n-th WriteAt fails (0: none)
  bool fail_truncate = false;
  bool fail_sync = false;
  bool fail_close = false;
  Status::Code code = Status::Code::kNoSpace;
};

class FaultyReportFile final : public ReportFile {
 public:
  FaultyReportFile(std::unique_ptr<ReportFile> real, FileFaults* faults, int* writes)
      : real_(std::move(real)), faults_(faults), writes_(writes) {}
  bool IsRegular() const override { return real_->IsRegular(); }
  bool Writable() const override { return real_->Writable(); }
  std::uint64_t Size() const override { return real_->Size(); }
  Status ReadAt(std::uint64_t offset, std::size_t n, std::string* out) override {
    return real_->ReadAt(offset, n, out);
  }
  Status WriteAt(std::uint64_t offset, std::string_view data) override {
    if (++*writes_ == faults_->fail_write_call) {
      // Half of the bytes reach the file before the failure.
      real_->WriteAt(offset, data.substr(0, data.size() / 2));
      return Status::Error(faults_->code, "injected write failure");
    }
    return real_->WriteAt(offset, data);
  }
  Status Truncate(std::uint64_t length) override {
    if (faults_->fail_truncate) return Status::Error(faults_->code, "injected truncate failure");
    return real_->Truncate(length);
  }
  Status Sync() override {
    if (faults_->fail_sync) return Status::Error(faults_->code, "injected sync failure");
    return real_->Sync();
  }
  Status Close() override {
    Status s = real_->Close();
    if (faults_->fail_close) {
      faults_->fail_close = false;  // the one failing close
      return Status::Error(faults_->code, "injected close failure");
    }
    return s;
  }

 private:
  std::unique_ptr<ReportFile> real_;
  FileFaults* faults_;
  int* writes_;
};

class FakeEnv final : public Env {
 public:
  std::string input;
  std::size_t chunk = 1 << 20;  // bytes handed out per ReadStdin call
  bool stdin_terminal = false;
  bool stdout_terminal = false;
  std::string out;
  std::string err;
  int stdout_writes_before_failure = -1;  // -1: never fails
  std::vector<std::string> arguments;
  FileFaults faults;
  int file_writes = 0;

  bool StdinIsTerminal() override { return stdin_terminal; }
  bool StdoutIsTerminal() override { return stdout_terminal; }
  Status WriteStdout(std::string_view data) override {
    if (stdout_writes_before_failure == 0) return Status::Error(Status::Code::kNoSpace, "full");
    if (stdout_writes_before_failure > 0) --stdout_writes_before_failure;
    out += data;
    return Status::Ok();
  }
  Status WriteStderr(std::string_view data) override {
    err += data;
    return Status::Ok();
  }
  Status ReadStdin(char* buffer, std::size_t capacity, std::size_t* got) override {
    std::size_t n = input.size() - pos_;
    if (n > capacity) n = capacity;
    if (n > chunk) n = chunk;
    input.copy(buffer, n, pos_);
    pos_ += n;
    *got = n;
    return Status::Ok();
  }
  const std::vector<std::string>& Arguments() override { return arguments; }
  Status OpenReportFile(const std::string& name, std::unique_ptr<ReportFile>* file,
                        bool* created) override {
    std::unique_ptr<ReportFile> real;
    Status s = Env::Default()->OpenReportFile(name, &real, created);
    if (!s.ok()) return s;
    *file = std::make_unique<FaultyReportFile>(std::move(real), &faults, &file_writes);
    return s;
  }
  Status RemoveFile(const std::string& name) override { return Env::Default()->RemoveFile(name); }

 private:
  std::size_t pos_ = 0;
};

}  // namespace tevol

#endif  // TEVOL_TESTS_FAKE_ENV_H_
