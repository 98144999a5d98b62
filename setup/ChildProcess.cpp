#include "setup/ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace zentrik {

bool run_and_wait(const std::string& program, const std::vector<std::string>& arguments, int wait_ms,
                  const WaitStep& wait) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  // The clock is the monotonic one: a change of the date or midnight don't matter.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      // Its end is still collected, so it doesn't linger as a zombie while setup runs on.
      std::thread([pid] {
        int end_status = 0;
        ::waitpid(pid, &end_status, 0);
      }).detach();
      return true;
    }
    wait(20);
  }
  return true;
}

}  // namespace zentrik
