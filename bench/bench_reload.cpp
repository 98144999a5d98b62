// Following a growing logger file: a ten-million-line file to which 1% more lines are
// appended, then the reload and the recalculation of a plot of it (X = C1, Y = C2 and
// C3*2+1, with scaling), against a whole reload and recalculation of the same file.
// Also the share of a load that the fingerprint of the file's bytes takes. The points
// arrays grow with room for an eighth more at the first append, which copies them.
//   build/bench/bench_reload [lines]     (processor time, best of 3 for the whole reload)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LoggerFile.h"
#include "data/DataFile.h"
#include "data/Fingerprint.h"
#include "data/Updates.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using bench::logger_file;

namespace {

double processor_seconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Lines as the logger writes them, numbered on from `first`.
void append_logger_lines(const std::string& path, long first, long count) {
  std::FILE* out = std::fopen(path.c_str(), "a");
  for (long i = first; i < first + count; ++i)
    std::fprintf(out, "%06ld %.4f %.5f\n", 100000 + i % 900000, 10 + (i % 10000) * 0.0001,
                 -0.5 + (i % 77777) * 0.00001);
  std::fclose(out);
}

// The same bytes under a new inode, as a logger that starts a new file writes them.
void replace_with_copy(const std::string& path) {
  const std::string next = path + ".next";
  std::filesystem::copy_file(path, next, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::rename(next, path);
}

struct FollowedPlot {
  explicit FollowedPlot(DataFile& data) {
    window.data = &data;
    window.definition.formulas = {Formula("C1"), Formula("C2"), Formula("C3*2+1")};
    window.showstats = 0;
  }
  bool recalculate(ScriptedUi& ui) {
    CalculationEnvironment calc{ui};
    calc.show_progress = false;
    DefaultPlot defaults;
    ScalingEnvironment scaling{ui, defaults, false};
    double start = processor_seconds();
    prepare_calculation(window);
    const bool done = calculatePoints(window, calc) == CalculationOutcome::Done;
    calculate_seconds = processor_seconds() - start;
    start = processor_seconds();
    const bool scaled = scale(window, true, scaling) == ScaleResult::Done;
    scale_seconds = processor_seconds() - start;
    return done && scaled;
  }
  // The reload as the plot window takes it: processor seconds of reload and recalculation.
  double follow(ScriptedUi& ui) {
    const double start = processor_seconds();
    reload(*window.data, ui);
    reload_seconds = processor_seconds() - start;
    prepare_for_reload(window);
    ok = recalculate(ui) && ok;
    return processor_seconds() - start;
  }
  void print(const char* what, double seconds) const {
    std::printf("%s: %.3f s (reload %.3f, calculation %.3f, scaling %.3f)\n", what, seconds, reload_seconds,
                calculate_seconds, scale_seconds);
  }
  PlotWindow window;
  bool ok = true;
  double reload_seconds = 0, calculate_seconds = 0, scale_seconds = 0;
};

// Processor seconds to fingerprint the file's bytes in the pieces a load reads them
// in (its reading aside: the load reads them anyway).
double fingerprint_seconds(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> block(1 << 20);
  double seconds = 0;
  Fingerprint fingerprint;
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
    const double start = processor_seconds();
    fingerprint.add(block.data(), static_cast<std::size_t>(in.gcount()));
    seconds += processor_seconds() - start;
  }
  std::printf("(fingerprint %016llx)\n", static_cast<unsigned long long>(fingerprint.value()));
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  const long step = std::max(1L, lines / 100);
  const std::string path = (std::filesystem::temp_directory_path() / "zentrik-bench-reload.dat").string();
  std::filesystem::copy_file(logger_file(lines), path, std::filesystem::copy_options::overwrite_existing);

  ScriptedUi ui;
  LoadEnvironment env{ui};
  double start = processor_seconds();
  DataFile data(path, env);
  const double load_seconds = processor_seconds() - start;
  const double hash_seconds = fingerprint_seconds(path);
  FollowedPlot plot(data);
  plot.ok = plot.recalculate(ui);

  std::printf("%d lines loaded in %.3f s; fingerprinting the file takes %.3f s (%.1f%% of the load)\n",
              data.loaded_count(), load_seconds, hash_seconds, 100 * hash_seconds / load_seconds);
  long written = lines;
  std::vector<double> appends, append_work;  // all of it; the reload and calculation
  for (int round = 0; round < 3; ++round) {
    append_logger_lines(path, written, step);
    written += step;
    appends.push_back(plot.follow(ui));
    append_work.push_back(plot.reload_seconds + plot.calculate_seconds);
    plot.print(("append of " + std::to_string(step) + " lines").c_str(), appends.back());
  }
  double whole = 1e300, whole_work = 1e300;
  for (int round = 0; round < 3; ++round) {
    replace_with_copy(path);
    const double seconds = plot.follow(ui);
    plot.print(("whole reload of " + std::to_string(data.loaded_count()) + " lines").c_str(), seconds);
    whole = std::min(whole, seconds);
    whole_work = std::min(whole_work, plot.reload_seconds + plot.calculate_seconds);
  }
  std::printf("append against whole, all of it: first %.1f%%, best %.1f%%\n", 100 * appends.front() / whole,
              100 * *std::min_element(appends.begin(), appends.end()) / whole);
  const double best_work = *std::min_element(append_work.begin(), append_work.end());
  std::printf("append against whole, reload and calculation (scaling passes over every point in both): "
              "first %.1f%%, best %.1f%%\n",
              100 * append_work.front() / whole_work, 100 * best_work / whole_work);
  std::filesystem::remove(path);
  const bool complete = data.loaded_count() == written && plot.ok;
  if (!complete) std::printf("FAILED: %d lines after the reloads, %ld written\n", data.loaded_count(), written);
  return complete ? 0 : 1;
}
