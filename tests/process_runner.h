// Runs a calculator as a real process for the whole-process tests: standard
// input fed from bytes through a pipe, standard output and standard error
// captured through pipes, in a working directory of the test's choosing.
// Also a readable view of Shift-JIS bytes for failure messages.
#ifndef TEVOL_TESTS_PROCESS_RUNNER_H_
#define TEVOL_TESTS_PROCESS_RUNNER_H_

#include <string>
#include <vector>

namespace tevol::testing {

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or 128 + signal
};

// The directory that holds the built programs.
std::string ProgramDir();

// Runs program (a name in ProgramDir()) with the arguments, in cwd.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& cwd);

// A fresh temporary directory; removed by RemoveTree.
std::string MakeTempDir();
void RemoveTree(const std::string& dir);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// UTF-8 text as Shift-JIS (CP932) bytes.
std::string Cp932(const std::string& utf8);

// Shift-JIS bytes as UTF-8 text with CR, LF, FF and other controls spelled out,
// one output line per input line, for diffs.
std::string Readable(const std::string& cp932);
// Empty when equal; else the first differing line of both, readable.
std::string Difference(const std::string& expected, const std::string& actual);

}  // namespace tevol::testing

#endif  // TEVOL_TESTS_PROCESS_RUNNER_H_
