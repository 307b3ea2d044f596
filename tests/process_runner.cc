#include "tests/process_runner.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tevol::testing {

namespace {

// An environment variable's value, or empty.
std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

// The same tests run against another build of the programs (the Windows
// build under wine) when these are set: TEVOL_PROGRAM_DIR_OVERRIDE names the
// directory of the programs, TEVOL_PROGRAM_SUFFIX is put after each program's
// name (".exe"), and TEVOL_PROGRAM_WRAPPER is a program that runs each of them
// with the program's path as its first argument (wine).
std::string ProgramDir() {
  const std::string dir = Setting("TEVOL_PROGRAM_DIR_OVERRIDE");
  return dir.empty() ? std::string(TEVOL_PROGRAM_DIR) : dir;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::string& cwd) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) std::abort();
  std::string path = ProgramDir() + "/" + program + Setting("TEVOL_PROGRAM_SUFFIX");
  const std::string wrapper = Setting("TEVOL_PROGRAM_WRAPPER");
  std::vector<char*> argv;
  if (!wrapper.empty()) argv.push_back(const_cast<char*>(wrapper.c_str()));
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  ProcessResult result;
  std::size_t written = 0;
  int in_fd = in[1];
  if (input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  bool out_open = true, err_open = true;
  while (out_open || err_open) {
    pollfd fds[3];
    int n = 0;
    if (out_open) fds[n++] = {out[0], POLLIN, 0};
    if (err_open) fds[n++] = {err[0], POLLIN, 0};
    if (in_fd >= 0) fds[n++] = {in_fd, POLLOUT, 0};
    int ready = poll(fds, static_cast<nfds_t>(n), 20000);
    if (ready <= 0) {  // a hung program
      kill(pid, SIGKILL);
      break;
    }
    for (int i = 0; i < n; ++i) {
      if (fds[i].revents == 0) continue;
      if (fds[i].fd == in_fd) {
        ssize_t w = write(in_fd, input.data() + written, input.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if (w < 0 && errno != EAGAIN) written = input.size();
        if (written == input.size()) {
          close(in_fd);
          in_fd = -1;
        }
        continue;
      }
      char buf[65536];
      ssize_t r = read(fds[i].fd, buf, sizeof buf);
      if (r <= 0) {
        if (fds[i].fd == out[0]) out_open = false; else err_open = false;
        continue;
      }
      (fds[i].fd == out[0] ? result.out : result.err).append(buf, static_cast<std::size_t>(r));
    }
  }
  if (in_fd >= 0) close(in_fd);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::string MakeTempDir() {
  char pattern[] = "/tmp/tevol_run_XXXXXX";
  if (mkdtemp(pattern) == nullptr) std::abort();
  return pattern;
}

void RemoveTree(const std::string& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Cp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
  std::string out(utf8.size() * 2 + 4, '\0');
  char* ip = const_cast<char*>(utf8.data());
  char* op = out.data();
  std::size_t il = utf8.size(), ol = out.size();
  if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) std::abort();
  iconv_close(cd);
  out.resize(out.size() - ol);
  return out;
}

std::string Readable(const std::string& cp932) {
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::size_t i = 0;
  while (i < cp932.size()) {
    unsigned char c = static_cast<unsigned char>(cp932[i]);
    if (c == '\r') { out += "<CR>"; ++i; continue; }
    if (c == '\n') { out += "<LF>\n"; ++i; continue; }
    if (c < 0x20 || c == 0x7f) {
      char b[8];
      std::snprintf(b, sizeof b, "<%02X>", c);
      out += b;
      ++i;
      continue;
    }
    std::size_t len = ((c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc)) ? 2 : 1;
    if (i + len > cp932.size()) len = 1;
    char in_buf[2] = {cp932[i], len == 2 ? cp932[i + 1] : '\0'};
    char out_buf[8];
    char* ip = in_buf;
    char* op = out_buf;
    std::size_t il = len, ol = sizeof out_buf;
    if (cd != reinterpret_cast<iconv_t>(-1) && iconv(cd, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1)) {
      out.append(out_buf, static_cast<std::size_t>(op - out_buf));
    } else {
      char b[8];
      std::snprintf(b, sizeof b, "<%02X>", c);
      out += b;
      len = 1;
    }
    i += len;
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return out;
}

std::string Difference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return "";
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::size_t line_start = expected.rfind('\n', at == 0 ? 0 : at - 1);
  line_start = (line_start == std::string::npos || at == 0) ? 0 : line_start + 1;
  auto window = [&](const std::string& s) {
    std::size_t end = s.find('\n', at);
    end = end == std::string::npos ? s.size() : end + 1;
    std::size_t next = s.find('\n', end);
    end = next == std::string::npos ? s.size() : next + 1;
    return Readable(s.substr(line_start, end - line_start));
  };
  std::ostringstream m;
  m << "first difference at byte " << at << " (expected " << expected.size() << " bytes, got "
    << actual.size() << ")\n--- expected:\n" << window(expected) << "\n--- actual:\n" << window(actual)
    << "\n";
  return m.str();
}

}  // namespace tevol::testing
