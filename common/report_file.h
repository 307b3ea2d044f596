// ReportFileWriter is the report file of a calculator run: opened under the
// 20-byte name the user typed, filled with formatted records, closed.
//
// The report is safe before the old file is touched: Open only checks the
// target (an existing file is opened without change; a new one is created);
// the records are formed in memory; Close writes them from the file's start
// in one go, cuts the file to the new length, syncs and closes it, checking
// each step. When a step fails, an existing file gets its old bytes back and
// a file this run created is removed, then the failure is thrown as
// RunTimeError (OPEN, WRITE or CLOSE, naming the file). A device or a pipe
// (/dev/null, /dev/stdout) is written as it is, without cutting.
//
// The writer lives for the whole run, so that each blank name takes the next
// command-line argument that no earlier blank name has taken.
#ifndef TEVOL_COMMON_REPORT_FILE_H_
#define TEVOL_COMMON_REPORT_FILE_H_

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/fixed_text.h"
#include "common/platform/env.h"
#include "common/record_format.h"

namespace tevol {

class ReportFileWriter {
 public:
  explicit ReportFileWriter(Console* console) : console_(console) {}

  // Opens the report file: blanks at both ends of the name are removed; an
  // empty name takes the next command-line argument, else asks for a name on
  // the console until one is given.
  void Open(const FixedText<20>& name);
  // One record, kept whole with its first byte and followed by CR LF.
  void Write(std::string_view format, std::initializer_list<FormatArg> args);
  // Puts the records on the disk and closes the file.
  void Close();

  // The name the file was opened under (for reports).
  const std::string& name() const { return name_; }

 private:
  void Restore(ReportFile* file);
  void RemoveCreated();

  Console* console_;
  std::size_t arguments_taken_ = 0;
  std::string name_;
  std::unique_ptr<ReportFile> file_;
  bool created_ = false;
  std::string records_;
  std::string old_bytes_;  // an existing file's contents, for putting back
  std::uint64_t old_size_ = 0;
  bool old_complete_ = false;
};

}  // namespace tevol

#endif  // TEVOL_COMMON_REPORT_FILE_H_
