#include "app/shell/Calculator.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace zentrik {

namespace {

bool is_executable_file(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Starts path with no arguments but its name; the child's pid, or -1.
pid_t spawn_detached(const std::string& path) {
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return -1;
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
  flags |= POSIX_SPAWN_SETSID;  // Ctrl+C in the program's terminal leaves the calculator alone
#endif
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  posix_spawnattr_setflags(&attributes, flags);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);

  std::string name = path.substr(path.rfind('/') + 1);
  char* arguments[] = {name.data(), nullptr};
  pid_t pid = -1;
  int error = posix_spawnp(&pid, path.c_str(), nullptr, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  return error == 0 ? pid : -1;
}

}  // namespace

std::optional<std::string> find_calculator(std::string_view path_text) {
  for (const char* calculator : kCalculators) {
    std::size_t at = 0;
    while (at <= path_text.size()) {
      std::size_t end = path_text.find(':', at);
      if (end == std::string_view::npos) end = path_text.size();
      std::string_view folder = path_text.substr(at, end - at);
      at = end + 1;
      if (folder.empty() || folder.front() != '/') continue;
      std::string candidate(folder);
      if (candidate.back() != '/') candidate += '/';
      candidate += calculator;
      if (is_executable_file(candidate)) return candidate;
    }
  }
  return std::nullopt;
}

std::optional<std::string> find_calculator() {
  const char* path = std::getenv("PATH");
  return find_calculator(path ? path : "");
}

bool run_calculator(Ui& ui) {
  std::optional<std::string> calculator = find_calculator();
  pid_t pid = calculator ? spawn_detached(*calculator) : -1;
  if (pid <= 0) {
    ui.showError("Can't find a calculator.", "No calculator!");
    return false;
  }
  std::thread([pid] {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace zentrik
