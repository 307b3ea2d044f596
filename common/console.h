// Console is the calculators' only way to the user: the record writer's
// console side with its line rule, and the record reader. One lives for the
// whole run (RunCalculator makes it); the frame and the calculator profiles
// write and read every record through it.
//
// The line rule: a record's first byte is its control byte, and a line is
// ended before the next record, not after a record. When standard input and
// standard output are both terminals, a read first ends an open line that is
// not a prompt's and, when it is over, clears the open line (the user's Enter
// ended the screen line); otherwise reads leave the flags alone.
//
// Every read statement starts on a new input line and throws away what is
// left of it. Failures (the end of the input, a number that cannot be read, a
// console that cannot be written) throw RunTimeError.
//
// Interactive runs (standard input a terminal) forgive typing mistakes, in
// one place, WithRetry: a line that cannot be read (a bad number, more than
// the one value, a line of more than 130 bytes, a file name of more than 20
// bytes) is answered with one line saying so and the read's prompt again,
// and the read is repeated; nothing read before changes. The end of the
// input still ends the run. A batch run keeps every failure as it is.
#ifndef TEVOL_COMMON_CONSOLE_H_
#define TEVOL_COMMON_CONSOLE_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/fixed_text.h"
#include "common/platform/env.h"
#include "common/record_format.h"
#include "common/run_time_error.h"

namespace tevol {

class Console {
 public:
  explicit Console(Env* env);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  Env* env() const { return env_; }
  // Standard input is a terminal: a user types the answers.
  bool interactive() const { return stdin_terminal_; }

  // --- Writing records.
  // A free-form record: a blank and the text (a text of 79 bytes or more is
  // spread over several records).
  void WriteFreeForm(std::string_view text);
  // A blank line: the free-form record of the one-blank text.
  void WriteBlankLine() { WriteFreeForm(" "); }
  // A formatted record.
  void Write(std::string_view format, std::initializer_list<FormatArg> args);
  void WriteRecord(const Record& record);
  // The text under "(A\)": left open for the answer.
  void Prompt(std::string_view text);

  // --- Reading.
  // Free-form reads of one variable; a null value leaves it as it was.
  void ReadInteger(std::int32_t* value);
  void ReadReal(float* value);
  // A free-form read with no variable: one line, ignored.
  void ReadAndIgnoreLine();
  // Text reads under "(A2)" and "(A20)".
  void ReadText(FixedText<2>* text) {
    ReadFixedText(2, false, [&](std::string_view s) { text->Assign(s); });
  }
  // A file name: at a terminal, a name of more than 20 bytes is asked again.
  void ReadText(FixedText<20>* text) {
    ReadFixedText(20, interactive(), [&](std::string_view s) { text->Assign(s); });
  }

  // --- Dialogue steps.
  // Prompt, answer under "(A2)"; false (no) when the answer is "N" or "n"
  // (at a terminal also "no", "No", "NO" and a full-width N or n, each alone
  // or followed by a blank).
  bool Confirm(std::string_view prompt);
  // After a free-form record: waits for one line and ignores it.
  void PauseForEnter() { ReadAndIgnoreLine(); }

  // --- Straight to the console, leaving the flags as they are (the dialogue
  // for a blank report-file name).
  bool open_line() const { return open_line_; }
  void WriteDirect(std::string_view bytes);
  // One whole line, without its line end.
  std::string ReadDirectLine();

  // --- Ending the run.
  // The stop: stop message, then the end of the run. Returns the exit status 0.
  int Stop();
  // The run-time error report on standard error, then the end of the run.
  // Never throws. Returns the exit status 1.
  int ReportError(const RunTimeError& error);

  // Writes out what is buffered for standard output.
  void Flush();

 private:
  template <typename Assign>
  void ReadFixedText(std::size_t width, bool refuse_longer, Assign assign) {
    WithRetry([&] {
      std::string line = ReadLine();
      if (refuse_longer && line.size() > width) throw RunTimeError(IoCondition::kNameTooLong, "CON");
      assign(std::string_view(line).substr(0, width));
    });
  }
  // Runs one read statement: attempt reads its line(s) and throws what it
  // cannot use; at a terminal the user is asked again.
  template <typename Attempt>
  void WithRetry(Attempt attempt) {
    BeginRead();
    for (;;) {
      try {
        attempt();
        break;
      } catch (const RunTimeError& e) {
        if (!CanAskAgain(e)) throw;
        AskAgain(e.condition());
      }
    }
    EndRead();
  }
  bool CanAskAgain(const RunTimeError& e) const;
  void AskAgain(IoCondition why);
  void BeginRead();
  void EndRead();
  // One input line without its line end; throws at the end of the input.
  std::string ReadLine();
  template <typename Parse>
  void ReadOneValue(Parse parse);

  Env* env_;
  const bool flags_follow_reads_;  // standard input and output are terminals
  const bool stdin_terminal_;
  bool open_line_ = false;
  bool open_prompt_ = false;
  Record last_prompt_;        // the prompt the coming read answers, if any
  bool has_prompt_ = false;
  std::string last_line_;     // the last line a text read took
  bool stdout_failed_ = false;
  std::string out_;
  std::string in_;
  std::size_t in_pos_ = 0;
  bool in_ended_ = false;
};

}  // namespace tevol

#endif  // TEVOL_COMMON_CONSOLE_H_
