// What the fuzz targets share: a scratch folder of this process for the readers that
// take files by path, a Ui that answers No to every question, and the check that
// stops a run with both sides of a broken round trip printed.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "ui/ScriptedUi.h"

namespace zentrik::fuzz {

// /tmp/zentrik-fuzz-<target>-<pid>, made on first use and removed at a normal exit.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string_view target)
      : path_(std::filesystem::temp_directory_path() /
              ("zentrik-fuzz-" + std::string(target) + "-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  std::string path(std::string_view name) const { return (path_ / name).string(); }

  // Replaces the file name in the folder by text; returns its path. The old file is
  // removed first: a file cut short and rewritten costs the file system a flush.
  std::string write(std::string_view name, std::string_view text) const {
    std::string file = path(name);
    std::remove(file.c_str());
    std::ofstream(file, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

// Every question is answered No (or Cancel where No is no choice); messages are kept
// as ScriptedUi keeps them.
class DecliningUi : public ScriptedUi {
 public:
  Answer message(const std::string& text, const std::string& caption, Buttons buttons) override {
    if (buttons != Buttons::Ok && pendingAnswers() == 0)
      queueAnswer(buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::Cancel);
    return ScriptedUi::message(text, caption, buttons);
  }
};

[[noreturn]] inline void fail(std::string_view what) {
  std::fprintf(stderr, "fuzz property broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

inline void expect(bool holds, std::string_view what) {
  if (!holds) fail(what);
}

// Stops the run when the two texts differ, printing the first line where they part.
inline void expect_same_text(std::string_view first, std::string_view second, std::string_view what) {
  if (first == second) return;
  std::size_t at = 0;
  while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
  std::size_t line_start = first.rfind('\n', at == 0 ? 0 : at - 1);
  line_start = line_start == std::string_view::npos || at == 0 ? 0 : line_start + 1;
  auto line_of = [&](std::string_view text) {
    return text.substr(line_start, text.find('\n', line_start) - line_start);
  };
  std::fprintf(stderr, "first:  \"%.*s\"\nsecond: \"%.*s\"\n", static_cast<int>(line_of(first).size()),
               line_of(first).data(), static_cast<int>(line_of(second).size()), line_of(second).data());
  fail(what);
}

// A value kept on one line of a file: no line feed and no carriage return in it.
inline bool one_line(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace zentrik::fuzz
