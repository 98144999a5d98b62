#include "data/MultiFile.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "data/LineReader.h"
#include "data/Loader.h"
#include "data/fields/Fields.h"

extern char** environ;

namespace zentrik {
namespace {

constexpr int kProgressEvery = 10000;
constexpr int kCancelEvery = 1024;

// "x.dat (1st of 3)": the name before an earlier " (1st of ...)" with the new count.
std::string first_of_name(const std::string& path, int sources) {
  std::size_t paren = path.find('(');
  std::string base = paren != std::string::npos && paren > 0 ? path.substr(0, paren - 1) : path;
  return base + " (1st of " + std::to_string(sources) + ")";
}

class FileAdder {
 public:
  FileAdder(DataFile& data, const std::string& path, int32_t how_added, Ui& ui)
      : data_(data), path_(path), how_added_(how_added), ui_(ui),
        old_count_(data.loaded_count()) {}

  bool run() {
    ui_.setWaitCursor(true);
    ui_.progressShow("\n\nLoading file:\n" + path_, true);
    bool ok = read();
    ui_.setWaitCursor(false);
    if (!ok) {
      ui_.progressSetText("Aborting drop\noperation...");
      ui_.progressHide();
      roll_back();
      return false;
    }
    ui_.progressHide();
    record_source();
    return true;
  }

 private:
  bool read() {
    OpenFile file(path_);
    if (!file.ok()) {
      ui_.showError("Can't open " + path_ + ":\n\n" + file.error(), "Open Error!");
      return false;
    }
    LineReader reader(file.fd());
    std::string_view line;
    if (reader.next(line) && has_plot_object_signature(line)) {
      ui_.showError(path_ + " is an object and can not be added to a plot.", "Error!");
      return false;
    }
    reader.rewind();
    int32_t current = how_added_ == kConcatenateFiles ? old_count_ : 1;
    while (reader.next(line)) {
      if (!line.empty() && line[0] == '\0') {
        ui_.showError("Non-ASCII file!", "Error!");
        return false;
      }
      if (count_ % kCancelEvery == 0 && count_ > 0 && ui_.progressCancelled()) return false;
      if (count_ > 0 && count_ % kProgressEvery == 0)
        ui_.progressSetText("\n\nLoading file:\n" + path_ + "\nLine " + std::to_string(count_));
      ++count_;
      if (how_added_ == kConcatenateFiles) {
        if (!data_.store_line(line)) return false;
        continue;
      }
      if (current > data_.loaded_count()) break;  // D had no lines at all
      old_texts_.push_back(data_.join_line(current, kLineJoint, line));
      if (current == data_.loaded_count()) {
        if (!reader.at_end())
          ui_.showError("Truncating " + file_name_of(path_) + " at " + std::to_string(count_) + " lines.",
                        "Shorter File!");
        break;
      }
      ++current;
    }
    return true;
  }

  void roll_back() {
    if (how_added_ == kConcatenateFiles) {
      data_.truncate_lines(old_count_);
      return;
    }
    for (std::size_t i = 0; i < old_texts_.size(); ++i)
      data_.restore_line_text(static_cast<int32_t>(i + 1), old_texts_[i]);
  }

  void record_source() {
    const DataSource* previous = data_.source(data_.source_count());
    int32_t previous_last = previous ? previous->last_line : old_count_;
    DataSource& source = data_.add_source(path_, how_added_);
    if (how_added_ == kConcatenateFiles) {
      source.first_line = previous_last + 1;
      source.last_line = data_.loaded_count();
    } else {
      source.first_line = 1;
      source.last_line = previous_last;
    }
    source.lines_read = count_;
    file_status(path_, source.status);
    data_.set_path(first_of_name(data_.path(), data_.source_count()));
    if (data_.loaded_count() > 0) data_.first_line_fields = count_fields(data_.line(1).text());
  }

  DataFile& data_;
  const std::string& path_;
  int32_t how_added_;
  Ui& ui_;
  int32_t old_count_;
  int32_t count_ = 0;
  std::vector<std::string_view> old_texts_;  // texts of the lines joined so far
};

}  // namespace

bool add_file(DataFile& data, const std::string& path, int32_t how_added, Ui& ui) {
  return FileAdder(data, path, how_added, ui).run();
}

std::vector<std::string> split_command_line(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    char c = command[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      std::size_t close = command.find('\'', i + 1);
      if (close == std::string_view::npos) close = command.size();
      word.append(command.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '"') {
      for (++i; i < command.size() && command[i] != '"'; ++i) {
        if (command[i] == '\\' && i + 1 < command.size() &&
            std::string_view("\"\\$`").find(command[i + 1]) != std::string_view::npos)
          ++i;
        word += command[i];
      }
    } else if (c == '\\' && i + 1 < command.size()) {
      word += command[++i];
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

bool run_preload_command(const std::string& command, Ui& ui) {
  std::vector<std::string> words = split_command_line(command);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (words.empty() || posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    ui.showError("Could not execute pre-object-load command:  " + command, "Command Execution Error!");
    return false;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace zentrik
