#include "common/report_file.h"

#include "common/run_time_error.h"

namespace tevol {
namespace {

// An existing file larger than this is not kept in memory whole; only the part
// the new report overwrites can be put back.
constexpr std::uint64_t kKeepOldLimit = 64u << 20;

IoCondition OpenCondition(const Status& s) {
  switch (s.code()) {
    case Status::Code::kNotFound: return IoCondition::kOpenNotFound;
    case Status::Code::kIsDirectory: return IoCondition::kOpenIsFolder;
    case Status::Code::kAccessDenied: return IoCondition::kOpenAccessDenied;
    default: return IoCondition::kOpenFailed;
  }
}

IoCondition WriteCondition(const Status& s) {
  return s.code() == Status::Code::kNoSpace ? IoCondition::kWriteDiskFull
                                             : IoCondition::kWriteFailed;
}

IoCondition CloseCondition(const Status& s) {
  return s.code() == Status::Code::kNoSpace ? IoCondition::kCloseDiskFull
                                             : IoCondition::kCloseFailed;
}

}  // namespace

void ReportFileWriter::Open(const FixedText<20>& typed) {
  Env* env = console_->env();
  name_.assign(typed.Trimmed());
  if (name_.empty()) {
    const auto& args = env->Arguments();
    if (arguments_taken_ < args.size()) {
      name_.assign(FixedText<20>::Trim(args[arguments_taken_++]));
    } else if (console_->open_line()) {
      console_->WriteDirect("\r\n");
    }
    while (name_.empty()) {
      console_->WriteDirect("File name missing or blank - please enter file name\r\nUNIT 1? ");
      name_.assign(FixedText<20>::Trim(console_->ReadDirectLine()));
    }
  }
  records_.clear();
  Status s = env->OpenReportFile(name_, &file_, &created_);
  if (!s.ok()) throw RunTimeError(OpenCondition(s), name_);
  old_size_ = file_->Size();
  old_bytes_.clear();
  old_complete_ = false;
  if (!created_ && file_->IsRegular() && file_->Writable()) {
    std::size_t keep = static_cast<std::size_t>(old_size_ < kKeepOldLimit ? old_size_ : 0);
    if (file_->ReadAt(0, keep, &old_bytes_).ok()) old_complete_ = old_bytes_.size() == old_size_;
  }
}

void ReportFileWriter::Write(std::string_view format, std::initializer_list<FormatArg> args) {
  records_ += BuildRecord(format, args).bytes;
  records_ += "\r\n";
}

void ReportFileWriter::Close() {
  std::unique_ptr<ReportFile> file = std::move(file_);
  if (!file->Writable()) {
    file->Close();
    throw RunTimeError(IoCondition::kWriteReadOnly, name_);
  }
  if (!created_ && file->IsRegular() && !old_complete_ && old_size_ < kKeepOldLimit) {
    // The old contents could not be kept (a file opened for writing only):
    // at least the part the report overwrites is read now, if it can be.
    file->ReadAt(0, records_.size(), &old_bytes_);
  }
  Status s = file->WriteAt(0, records_);
  if (!s.ok()) {
    Restore(file.get());
    file->Close();
    RemoveCreated();
    throw RunTimeError(WriteCondition(s), name_);
  }
  if (file->IsRegular() && records_.size() < old_size_) {
    s = file->Truncate(records_.size());
    if (!s.ok()) {
      Restore(file.get());
      file->Close();
      throw RunTimeError(WriteCondition(s), name_);
    }
  }
  s = file->Sync();
  if (!s.ok()) {
    Restore(file.get());
    file->Close();
    RemoveCreated();
    throw RunTimeError(CloseCondition(s), name_);
  }
  s = file->Close();
  if (!s.ok()) {
    if (created_) {
      RemoveCreated();
    } else if (!old_bytes_.empty() || old_size_ == 0) {
      std::unique_ptr<ReportFile> again;
      bool created_again = false;
      if (console_->env()->OpenReportFile(name_, &again, &created_again).ok()) {
        Restore(again.get());
        again->Close();
      }
    }
    throw RunTimeError(CloseCondition(s), name_);
  }
}

void ReportFileWriter::Restore(ReportFile* file) {
  if (created_ || !file->IsRegular()) return;
  if (!old_bytes_.empty()) file->WriteAt(0, old_bytes_);
  file->Truncate(old_size_);
  file->Sync();
}

void ReportFileWriter::RemoveCreated() {
  if (created_) console_->env()->RemoveFile(name_);
}

}  // namespace tevol
