// Starting another program from setup and waiting a limited time for its end while
// the windows stay live: tollund3 after an installation, the desktop's database tools.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zentrik {

// Lets the caller's windows work for the given milliseconds.
using WaitStep = std::function<void(int milliseconds)>;

// Runs program (found on PATH when it holds no "/") with arguments, without a shell,
// and waits at most wait_ms for its end, calling wait between looks. A program still
// running then is left to run. False when it could not be started.
bool run_and_wait(const std::string& program, const std::vector<std::string>& arguments, int wait_ms,
                  const WaitStep& wait);

}  // namespace zentrik
