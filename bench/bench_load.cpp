// Loading a large logger file with default options: MB/s, peak resident memory
// against the file size, and the time of a reload of the unchanged file.
//   build/bench/bench_load [lines]     (default 10,000,000 lines, about 240 MB)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "LoggerFile.h"
#include "data/DataFile.h"
#include "data/Updates.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;
using bench::logger_file;
using bench::seconds_since;

namespace {

long peak_resident_kb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  std::string path = logger_file(lines);
  double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  long before_kb = peak_resident_kb();

  ScriptedUi ui;
  LoadEnvironment env{ui};
  auto start = Clock::now();
  DataFile data(path, env);
  double load_seconds = seconds_since(start);
  long peak_kb = peak_resident_kb();

  start = Clock::now();
  reload(data, ui);
  double reload_seconds = seconds_since(start);

  std::printf("file: %s, %.1f MB, %d lines loaded\n", path.c_str(), megabytes, data.loaded_count());
  std::printf("load: %.3f s, %.0f MB/s\n", load_seconds, megabytes / load_seconds);
  std::printf("peak resident: %.1f MB (%.2f x the file; %.1f MB before the load)\n",
              peak_kb / 1024.0, peak_kb / 1024.0 / (megabytes / 1.048576), before_kb / 1024.0);
  std::printf("reload of the unchanged file: %.3f s\n", reload_seconds);
  return data.loaded_count() == lines ? 0 : 1;
}
