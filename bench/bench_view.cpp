// The view window's model on a large logger file: opening it, paging through it
// with the texts of every page built as they are drawn, a Find & Select All that
// matches one line in ten, and excluding those lines.
//   build/bench/bench_view [lines]     (default 10,000,000 lines)
// Aims: under 50 ms a page, under 1 s for the search and for the exclusion.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "LoggerFile.h"
#include "data/DataFile.h"
#include "display/ViewModel.h"
#include "ui/ScriptedUi.h"

using namespace zentrik;
using Clock = std::chrono::steady_clock;
using bench::logger_file;
using bench::seconds_since;

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  const std::string path = logger_file(lines);
  ScriptedUi ui;
  LoadEnvironment env{ui};
  auto start = Clock::now();
  DataFile data(path, env);
  std::printf("file: %s, %d lines loaded in %.3f s\n", path.c_str(), data.loaded_count(), seconds_since(start));

  start = Clock::now();
  ViewModel view(data, ui);
  view.set_rows(50);
  std::printf("open: %.3f ms\n", seconds_since(start) * 1e3);

  // Each page: the caret moves a page down and every line on screen is formatted.
  constexpr int kPages = 1000;
  std::size_t drawn = 0;
  double slowest = 0;
  start = Clock::now();
  for (int page = 0; page < kPages; ++page) {
    const auto page_start = Clock::now();
    view.move_current(view.page_size(), false);
    for (int32_t line = view.first_visible(); line <= view.last_visible(); ++line)
      drawn += view.number_text(line).size() + view.line_text(line).size() + view.marked(line);
    slowest = std::max(slowest, seconds_since(page_start));
  }
  const double paging = seconds_since(start);
  std::printf("page down x %d: %.4f ms a page (slowest %.4f ms), now at line %d (%zu characters drawn)\n", kPages,
              paging / kPages * 1e3, slowest * 1e3, view.current_line(), drawn);

  // The first field ends in the line's last digit: "5 10." is in one line in ten.
  start = Clock::now();
  const int32_t found = view.find_select_all("5 10.", ViewMatch::With);
  const double searching = seconds_since(start);
  std::printf("find & select all: %.3f s, %d lines selected\n", searching, found);

  start = Clock::now();
  const int32_t excluded = view.exclude_selected();
  const double excluding = seconds_since(start);
  std::printf("exclude: %.3f s, %d lines excluded, %d of %d included; status \"%s\"\n", excluding, excluded,
              data.included_count(), data.loaded_count(), view.status().c_str());

  start = Clock::now();
  const bool next = view.search("5 10.", ViewMatch::Without);
  std::printf("search: %.6f s (%s line %d)\n", seconds_since(start), next ? "found" : "not found", view.found_line());

  const bool met = paging / kPages < 0.05 && searching < 1 && excluding < 1;
  std::printf("%s\n", met ? "all within their aims" : "SLOWER than the aims");
  return met && found == lines / 10 ? 0 : 1;
}
