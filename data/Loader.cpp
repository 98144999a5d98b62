#include "data/Loader.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "data/LineReader.h"
#include "data/LoadOptionsDialog.h"
#include "data/download/Download.h"
#include "data/LoadFilter.h"
#include "data/MultiFile.h"
#include "data/fields/Chars.h"
#include "data/fields/Fields.h"

namespace zentrik {
namespace {

constexpr int kProgressEvery = 10000;  // lines between progress texts
constexpr int kCancelEvery = 1024;     // lines between cancel checks
constexpr std::size_t kFirstLineCheck = 323;

std::string count_text(long long n) { return std::to_string(n); }

// The whole number at the start of text clamped to the range of int32_t; 0 when
// there is none.
int32_t leading_int32(std::string_view text) {
  return static_cast<int32_t>(std::clamp<int64_t>(leading_integer(text).value_or(0), INT32_MIN, INT32_MAX));
}

// Counts a running load on the main window for as long as it lives.
class BusyCount {
 public:
  explicit BusyCount(int* count) : count_(count) {
    if (count_) ++*count_;
  }
  ~BusyCount() {
    if (count_) --*count_;
  }

 private:
  int* count_;
};

class Loader {
 public:
  Loader(DataFile& data, std::string path, LoadEnvironment& env)
      : data_(data), path_(std::move(path)), env_(env), ui_(env.ui) {}

  bool run() {
    StreamScope streams;  // a pipe's first line, object and lines come from one read
    if (is_url(path_)) {
      data_.url = path_;
      if (!download(data_, path_, ui_)) return false;
    }
    if (!name_fits()) return false;
    ui_.setWaitCursor(true);
    bool loaded = precheck() && read_file() && read_owner_object();
    ui_.setWaitCursor(false);
    return loaded && finish();
  }

 private:
  // The file opens and its first line is ASCII. A plot object, or a data file with a
  // companion object, is opened through the hooks and names the file to load.
  bool precheck() {
    std::string first;
    if (!read_first_line(path_, first, ui_)) return false;
    if (!env_.objects) {
      if (!has_plot_object_signature(first)) return true;
      data_.plot_object_signature = true;  // the caller opens it as a plot object
      return false;
    }
    ObjectOpening opening = env_.objects->open(path_, data_);
    if (opening.result == OpenStop) return false;
    if (opening.result == OpenPlainData) return true;
    path_ = opening.data_file;
    owner_object_ = opening.object_file;
    data_.initial_skip = opening.initial_skip;
    data_.read_every = opening.read_every;
    data_.loadnum = opening.loadnum;
    data_.load_condition = opening.load_condition;
    return name_fits();
  }

  bool name_fits() {
    if (path_.size() <= kMaxFileName) return true;
    ui_.showError("The filename\n\n" + path_ + "\n\nis too long (" + count_text(kMaxFileName) +
                      " characters max).",
                  "Filename too long!");
    return false;
  }

  bool read_file() {
    data_.set_path(path_);
    data_.add_source(path_, kFirstFile);
    for (;;) {
      OpenFile file(path_);
      if (!file.ok()) {
        ui_.showError("Can't open " + path_ + ":\n\n" + file.error(), "Open Error!");
        return false;
      }
      file_size_ = file.size();
      memory_budget_ = env_.memory_limit > 0 ? env_.memory_limit : available_memory() / 10 * 9;
      data_.read_count = 0;
      if (owner_object_.empty()) {  // an object's options stay as its file gives them
        data_.initial_skip = 0;
        data_.read_every = 1;
        data_.loadnum = 1;
      }
      if (env_.drop_prompt && *env_.drop_prompt && !ask_options(file.fd())) return false;
      ui_.progressShow("\n\nLoading file:\n" + path_, true);
      BusyCount busy(env_.busy_count);
      LineReader reader(file.fd());
      reader.take_fingerprint();
      if (!reader.rewind()) return open_failed(file);
      std::string_view first;
      reader.next(first);
      first_line_ = std::string(first);
      reader.rewind();
      bool skipped = skip_lines(reader);
      if (reader.read_failed()) return read_failed(reader);
      if (skipped || cancelled_) {
        read_lines(reader, file.fd());
        if (reader.read_failed()) return read_failed(reader);
        if (out_of_memory_) return memory_exhausted();
        break;
      }
      ui_.progressHide();
      std::string question = "You asked to skip " + count_text(data_.initial_skip) +
                             " lines but there were only " + count_text(lines_read_) +
                             " lines in the file.  Would you like to start over?";
      if (ui_.message(question, "Skipped whole file!", Buttons::YesNo) == Answer::No) {
        ui_.progressShow("\n\nLoading file:\n" + path_, true);
        break;
      }
      lines_read_ = 0;
    }
    record_first_source();
    return true;
  }

  // A file that cannot be read to its end loads nothing rather than a part of it.
  bool read_failed(const LineReader& reader) {
    ui_.progressHide();
    data_.clear_lines();
    ui_.showError("Error reading " + path_ + ":\n\n" + reader.read_error(), "Read Error!");
    return false;
  }

  bool open_failed(const OpenFile& file) {
    ui_.progressHide();
    ui_.showError("Can't open " + path_ + ":\n\n" + file.error(), "Open Error!");
    return false;
  }

  bool ask_options(int fd) {
    LoadOptionValues initial;
    initial.initial_skip = data_.initial_skip;
    initial.loadnum = data_.loadnum;
    initial.read_every = data_.read_every;
    initial.load_condition = data_.load_condition;
    LoadOptionsDialog dialog(fd, path_, initial, *env_.drop_prompt, ui_);
    if (!ui_.fileLoadOptions(dialog)) return false;
    const LoadOptionValues& chosen = dialog.values();
    if (!owner_object_.empty() &&
        (chosen.initial_skip != initial.initial_skip || chosen.loadnum != initial.loadnum ||
         chosen.read_every != initial.read_every || chosen.load_condition != initial.load_condition))
      env_.objects->load_options_changed();
    data_.read_every = std::max(1, chosen.read_every);
    data_.initial_skip = std::max(0, chosen.initial_skip);
    data_.loadnum = chosen.loadnum;
    data_.load_condition = chosen.load_condition;
    return true;
  }

  // True when initial_skip lines were skipped and a line is left (or Cancel was pressed).
  bool skip_lines(LineReader& reader) {
    std::string_view line;
    while (lines_read_ < data_.initial_skip) {
      if (!reader.next(line)) return false;
      ++lines_read_;
      if (lines_read_ % kCancelEvery == 0 && (cancelled_ = ui_.progressCancelled())) return true;
      if (lines_read_ % kProgressEvery == 0)
        show_progress("\nReading file:\n" + path_ + "\nSkipped " + count_text(lines_read_) + " lines",
                      reader);
    }
    return data_.initial_skip == 0 || !reader.at_end();
  }

  // The kept lines, and where the reading stopped once it reached the end of the file.
  void read_lines(LineReader& reader, int fd) {
    LoadFilter filter(data_.read_every, data_.loadnum, data_.load_condition, first_line_);
    CheckpointTaker checkpoint(reader);
    for (std::string_view line; !cancelled_;) {
      checkpoint.line_done(data_.loaded_count(), data_.read_count, filter);
      if (!reader.next(line)) {
        ReadCheckpoint taken;
        if (checkpoint.take(fd, taken)) data_.set_checkpoint(taken);
        break;
      }
      ++lines_read_;
      ++data_.read_count;
      if (lines_read_ % kCancelEvery == 0 && (cancelled_ = ui_.progressCancelled())) break;
      if (lines_read_ % kProgressEvery == 0) show_loading_progress(reader);
      if (data_.read_count == 4096) reserve_for_file(reader);
      if (!filter.keep(line, data_.loaded_count() + 1)) continue;
      if (!data_.store_line(line)) break;  // line numbers used up
      stored_bytes_ += line.size() + 1 + sizeof(DataLine);  // the text, its end and its entry
      if (memory_budget_ > 0 && stored_bytes_ > memory_budget_) {
        out_of_memory_ = true;
        break;
      }
    }
  }

  // A file larger than the memory the system has left stops loading with a message
  // rather than pushing the machine into swapping.
  bool memory_exhausted() {
    ui_.progressHide();
    data_.clear_lines();
    ui_.showError("Not enough memory to load " + path_ + ":\n\nIts lines need more than the " +
                      count_text(static_cast<long long>(memory_budget_ >> 20)) + " MB of memory available.",
                  "Error!");
    return false;
  }

  // Room for the lines the file will bring, judged by its first lines, so that a
  // large file does not pass through the doubling of the line table; the expected
  // lines' part of it is made present at once, the margin of a twentieth as used.
  void reserve_for_file(const LineReader& reader) {
    double per_line = static_cast<double>(reader.bytes_consumed()) / data_.read_count;
    double expected = static_cast<double>(file_size_) / per_line;
    if (memory_budget_ > 0) expected = std::min(expected, static_cast<double>(memory_budget_ / sizeof(DataLine)));
    auto lines = [](double count) { return static_cast<std::size_t>(std::min(count, double{INT32_MAX})); };
    data_.reserve_lines(lines(expected * 1.05), lines(expected));
  }

  void show_loading_progress(const LineReader& reader) {
    std::string text = "\nLoading file:\n" + path_ + "\nRead " + count_text(lines_read_) + " lines";
    if (data_.loaded_count() > 0) text += "\nLoaded " + count_text(data_.loaded_count() + 1) + " lines";
    show_progress(text, reader);
  }

  void show_progress(const std::string& text, const LineReader& reader) {
    ui_.progressSetText(text);
    if (file_size_ > 0)
      ui_.progressSetFraction(static_cast<double>(reader.bytes_consumed()) / static_cast<double>(file_size_));
  }

  void record_first_source() {
    DataSource& source = *data_.source(1);
    source.first_line = 1;
    source.last_line = data_.loaded_count();
    source.lines_read = data_.loaded_count();
    file_status(path_, source.status);
    source.load_condition = data_.load_condition;
    source.initial_skip = data_.initial_skip;
  }

  // The owner object's further files and excluded lines, read in one pass over its
  // file after the first file's lines. False, with every line cleared, when a
  // further file cannot be added.
  bool read_owner_object() {
    if (owner_object_.empty() || cancelled_) return true;
    OpenFile file(owner_object_);
    if (!file.ok()) return true;
    BusyCount busy(env_.busy_count);
    LineReader reader(file.fd());
    int32_t exclude_lines = 1;
    for (std::string_view line; reader.next(line);) {
      if (line.starts_with("exclude_lines ")) {
        exclude_lines = leading_int32(line.substr(14));
        env_.objects->set_exclude_lines(exclude_lines);
      } else if (line.starts_with("file ")) {
        if (!add_listed_file(line.substr(5))) {
          data_.clear_lines();
          return false;
        }
      } else if (line == "excludes:") {
        if (exclude_lines != 0) exclude_listed_lines(reader);
        break;
      }
    }
    return true;
  }

  // "<how added> <path>": the path is the rest of the line, so that it may hold blanks.
  bool add_listed_file(std::string_view rest) {
    std::size_t pos = skip_blanks(rest, 0);
    int32_t how_added = leading_int32(rest.substr(pos));
    while (pos < rest.size() && !is_blank(rest[pos])) ++pos;
    std::string path(rest.substr(skip_blanks(rest, pos)));
    return add_file(data_, path, how_added, ui_);
  }

  // The excluded line numbers stand in ascending order, and each is looked for from
  // the line where the one before was found: once a number is not found there or
  // after it, no later number can be.
  void exclude_listed_lines(LineReader& reader) {
    int64_t from = 1;
    for (std::string_view line; reader.next(line) && line != "end_excludes:";) {
      int64_t n = leading_int32(line);
      if (n < from || n > data_.loaded_count() || !data_.line(static_cast<int32_t>(n)).included()) return;
      data_.set_included(static_cast<int32_t>(n), false);
      from = n;
    }
  }

  bool finish() {
    if (cancelled_) {
      ui_.progressHide();
      data_.clear_lines();
      return false;
    }
    ui_.progressHide();
    if (data_.included_count() < 2) {
      ui_.showError("There are fewer than 2 lines of data loaded.  No plotting will be done.",
                    "File Format Error!");
      data_.clear_lines();
      return false;
    }
    if (data_.loaded_count() != lines_read_)
      ui_.message(count_text(data_.loaded_count()) + " lines loaded out of " + count_text(lines_read_) +
                      " lines in file.",
                  "Load complete.");
    data_.first_line_fields = count_fields(data_.line(1).text());
    data_.load_time = now_seconds();
    return true;
  }

  DataFile& data_;
  std::string path_;
  LoadEnvironment& env_;
  Ui& ui_;
  int64_t file_size_ = 0;
  uint64_t memory_budget_ = 0;  // 0: unknown, not checked
  uint64_t stored_bytes_ = 0;   // the stored lines' texts and entries
  bool out_of_memory_ = false;
  std::string first_line_;
  std::string owner_object_;  // the plot object file the data set is opened through
  long long lines_read_ = 0;  // lines read in this pass, the skipped ones included
  bool cancelled_ = false;
};

}  // namespace

bool has_plot_object_signature(std::string_view first_line) {
  return first_line.substr(0, 10) == "#!zentrik ";
}

bool read_first_line(const std::string& path, std::string& first_line, Ui& ui) {
  OpenFile file(path);
  if (!file.ok()) {
    ui.showError("Can't open file:  " + path + ":\n\n" + file.error(), "Error!");
    return false;
  }
  LineReader reader(file.fd());
  std::string_view first;
  reader.next(first);
  first_line = std::string(first);
  if (has_plot_object_signature(first)) return true;
  // The first read takes at most 323 characters, its line feed included, and its
  // last character is dropped: the line feed, or a character of a longer line.
  bool ended = reader.bytes_consumed() > first.size();
  std::size_t checked_length = ended && first.size() < kFirstLineCheck
                                   ? first.size()
                                   : std::min(first.size(), kFirstLineCheck) - (first.empty() ? 0 : 1);
  std::string_view checked = first.substr(0, checked_length);
  // A NUL byte marks a binary file as surely as a byte above 127 does.
  if (std::any_of(checked.begin(), checked.end(),
                  [](char c) { return c == '\0' || static_cast<unsigned char>(c) > 127; })) {
    ui.showError("Non-ASCII file!", "Error!");
    return false;
  }
  return true;
}

bool load_data_file(DataFile& data, std::string path, LoadEnvironment& env) {
  return Loader(data, std::move(path), env).run();
}

}  // namespace zentrik
