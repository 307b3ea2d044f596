// A whole piped Tevol_2 session of 40 entries, from process start to exit,
// and the same for a minimal C++ program that prints one line. The ratio of
// the two wall times, and the session's peak resident memory, are reported as
// counters.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

std::string SessionInput() {
  std::string in = "\n100\n\n";
  for (int i = 0; i < 40; ++i) in += std::to_string(i % 34 + 1) + "\n1.0e-5\n\n";
  in += "99\nn\n";  // no save: the pass starts over
  in += "n\n\n";    // no at the opening, then Enter at the closing
  return in;
}

// Runs program with input on a pipe and output to /dev/null; returns the peak
// resident set in KiB.
long RunOnce(const std::string& path, const std::string& input) {
  int in[2];
  if (pipe(in) != 0) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    close(in[0]);
    close(in[1]);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  if (write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) std::abort();
  close(in[1]);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
  return usage.ru_maxrss;
}

void BM_SessionAgainstMinimal(benchmark::State& state) {
  const std::string dir = TEVOL_PROGRAM_DIR;
  const std::string input = SessionInput();
  double session_s = 0;
  double minimal_s = 0;
  long peak_kib = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    long rss = RunOnce(dir + "/Tevol_2", input);
    auto t1 = std::chrono::steady_clock::now();
    RunOnce(dir + "/tevol_minimal_program", "");
    auto t2 = std::chrono::steady_clock::now();
    session_s += std::chrono::duration<double>(t1 - t0).count();
    minimal_s += std::chrono::duration<double>(t2 - t1).count();
    if (rss > peak_kib) peak_kib = rss;
  }
  state.counters["session_us"] = 1e6 * session_s / static_cast<double>(state.iterations());
  state.counters["minimal_us"] = 1e6 * minimal_s / static_cast<double>(state.iterations());
  state.counters["ratio"] = session_s / minimal_s;
  state.counters["peak_rss_kib"] = static_cast<double>(peak_kib);
}
BENCHMARK(BM_SessionAgainstMinimal)->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace
