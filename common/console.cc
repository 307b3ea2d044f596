#include "common/console.h"

#include "common/free_form.h"

namespace tevol {
namespace {

constexpr std::size_t kFreeFormChunk = 79;  // text bytes of one free-form record
constexpr std::size_t kTypedLineLimit = 130;  // a 132-byte buffer holds the line and CR LF
constexpr char kCtrlZ = 26;
constexpr std::size_t kOutputFlushAt = 1 << 16;

constexpr std::string_view kAskAgain = "     *** 入力が正しくありません。もう一度入力してください。";
constexpr std::string_view kLineTooLong =
    "     *** 入力が長すぎます（130バイトまで）。もう一度入力してください。";
constexpr std::string_view kNameTooLong = "     ファイル名は20バイト以内で入力してください。";

// The extra answers that mean no at a terminal.
bool TypedNo(std::string_view line) {
  for (std::string_view no : {"no", "No", "NO", "\x82\x6d", "\x82\x8e"}) {  // Ｎ, ｎ
    if (line == no || (line.size() > no.size() && line.substr(0, no.size()) == no &&
                       line[no.size()] == ' ')) {
      return true;
    }
  }
  return false;
}

}  // namespace

Console::Console(Env* env)
    : env_(env),
      flags_follow_reads_(env->StdinIsTerminal() && env->StdoutIsTerminal()),
      stdin_terminal_(env->StdinIsTerminal()) {}

void Console::WriteRecord(const Record& record) {
  const std::string& r = record.bytes;
  if (open_prompt_) {
    out_ += r;  // continues the prompt's line, first byte included
  } else {
    char control = r.empty() ? ' ' : r[0];
    switch (control) {
      case '+':
        out_ += '\r';
        break;
      case '0':
        out_ += open_line_ ? "\r\n\r\n" : "\r\n";
        break;
      case '1':
        out_ += "\r\n\f\r \r";
        break;
      default:
        if (open_line_) out_ += "\r\n";
        break;
    }
    if (!r.empty()) out_.append(r, 1);
  }
  open_line_ = true;
  open_prompt_ = record.prompt;
  has_prompt_ = record.prompt;
  if (record.prompt) last_prompt_ = record;
  if (out_.size() >= kOutputFlushAt) Flush();
}

void Console::WriteFreeForm(std::string_view text) {
  Record record;
  do {
    std::string_view part = text.substr(0, kFreeFormChunk);
    text.remove_prefix(part.size());
    record.bytes.assign(1, ' ');
    record.bytes += part;
    WriteRecord(record);
    // A text that ends exactly at the end of a record is followed by one more
    // record holding only the blank.
    if (text.empty() && part.size() == kFreeFormChunk) {
      record.bytes.assign(1, ' ');
      WriteRecord(record);
    }
  } while (!text.empty());
}

void Console::Write(std::string_view format, std::initializer_list<FormatArg> args) {
  WriteRecord(BuildRecord(format, args));
}

void Console::Prompt(std::string_view text) {
  Record record;
  record.bytes.assign(text);
  record.prompt = true;
  WriteRecord(record);
}

void Console::BeginRead() {
  if (!flags_follow_reads_) return;
  if (open_line_ && !open_prompt_) out_ += "\r\n";
  open_prompt_ = false;
}

void Console::EndRead() {
  if (flags_follow_reads_) open_line_ = false;
}

std::string Console::ReadLine() {
  std::size_t scan = in_pos_;
  std::string line;
  for (;;) {
    std::size_t lf = in_.find('\n', scan);
    if (lf != std::string::npos) {
      line.assign(in_, in_pos_, lf - in_pos_);
      in_pos_ = lf + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      break;
    }
    if (in_ended_) {
      if (in_pos_ == in_.size()) throw RunTimeError(IoCondition::kEndOfInput, "CON");
      line.assign(in_, in_pos_, std::string::npos);  // a last line without a line end
      in_pos_ = in_.size();
      break;
    }
    // Nothing more is buffered: what was written must be seen before waiting.
    Flush();
    if (in_pos_ > 0) {
      in_.erase(0, in_pos_);
      in_pos_ = 0;
    }
    scan = in_.size();
    char chunk[4096];
    std::size_t got = 0;
    Status s = env_->ReadStdin(chunk, sizeof chunk, &got);
    if (!s.ok() || got == 0) {
      in_ended_ = true;
    } else {
      in_.append(chunk, got);
    }
  }
  if (!line.empty() && line.back() == kCtrlZ) throw RunTimeError(IoCondition::kEndOfInput, "CON");
  if (stdin_terminal_ && line.size() > kTypedLineLimit) {
    throw RunTimeError(IoCondition::kLineTooLong, "CON");
  }
  last_line_ = line;
  return line;
}

bool Console::CanAskAgain(const RunTimeError& e) const {
  if (!interactive() || e.is_math()) return false;
  switch (e.condition()) {
    case IoCondition::kLineTooLong:
    case IoCondition::kInvalidInteger:
    case IoCondition::kIntegerRange:
    case IoCondition::kInvalidReal:
    case IoCondition::kRealRange:
    case IoCondition::kTextForNumber:
    case IoCondition::kRepeatCount:
    case IoCondition::kExtraValue:
    case IoCondition::kNameTooLong:
      return true;
    default:
      return false;
  }
}

void Console::AskAgain(IoCondition why) {
  bool had_prompt = has_prompt_;
  Record prompt = last_prompt_;
  EndRead();  // the user's Enter ended the line
  switch (why) {
    case IoCondition::kLineTooLong: WriteFreeForm(kLineTooLong); break;
    case IoCondition::kNameTooLong: WriteFreeForm(kNameTooLong); break;
    default: WriteFreeForm(kAskAgain); break;
  }
  if (had_prompt) WriteRecord(prompt);
  BeginRead();
}

template <typename Parse>
void Console::ReadOneValue(Parse parse) {
  WithRetry([&] {
    for (;;) {
      std::string line = ReadLine();
      std::optional<IoCondition> error;
      FreeFormField field = FirstField(line, &error);
      if (error) throw RunTimeError(*error, "CON");
      if (field.kind == FreeFormField::Kind::kEmptyLine) continue;
      // At a terminal a line holds the one value only: "1,5e-5" is refused
      // rather than read as 1.
      if (interactive() && !HoldsOneValue(field)) throw RunTimeError(IoCondition::kExtraValue, "CON");
      if (field.kind == FreeFormField::Kind::kToken) {
        error = parse(field.token);
        if (error) throw RunTimeError(*error, "CON");
      }
      return;
    }
  });
}

void Console::ReadInteger(std::int32_t* value) {
  ReadOneValue([&](std::string_view token) {
    std::int32_t v = 0;
    std::optional<IoCondition> error = ParseInteger(token, &v);
    if (!error) *value = v;
    return error;
  });
}

void Console::ReadReal(float* value) {
  ReadOneValue([&](std::string_view token) {
    float v = 0;
    std::optional<IoCondition> error = ParseReal(token, &v);
    if (!error) *value = v;
    return error;
  });
}

void Console::ReadAndIgnoreLine() {
  WithRetry([&] { ReadLine(); });
}

bool Console::Confirm(std::string_view prompt) {
  Prompt(prompt);
  FixedText<2> answer;
  ReadFixedText(2, false, [&](std::string_view s) { answer.Assign(s); });
  if (answer.Equals("N") || answer.Equals("n")) return false;
  return !(interactive() && TypedNo(last_line_));
}

void Console::WriteDirect(std::string_view bytes) { out_ += bytes; }

std::string Console::ReadDirectLine() { return ReadLine(); }

void Console::Flush() {
  if (out_.empty() || stdout_failed_) {
    out_.clear();
    return;
  }
  Status s = env_->WriteStdout(out_);
  out_.clear();
  if (!s.ok()) {
    stdout_failed_ = true;
    throw RunTimeError(IoCondition::kConsoleWrite, "CON");
  }
}

int Console::Stop() {
  if (open_line_) out_ += "\r\n";
  out_ += "Stop - Program terminated.\r\n";
  if (open_line_) out_ += "\r\n";  // the end of the run ends the still open line
  Flush();
  return 0;
}

int Console::ReportError(const RunTimeError& error) {
  try {
    Flush();
  } catch (const RunTimeError&) {
    // The console is gone; the report still goes to standard error.
  }
  env_->WriteStderr(error.Report());
  if (open_line_ && !stdout_failed_) env_->WriteStdout("\r\n");
  return 1;
}

}  // namespace tevol
