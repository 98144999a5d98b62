#include "data/Updates.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "data/LineReader.h"
#include "data/LoadFilter.h"
#include "data/MultiFile.h"
#include "data/ReadCheckpoint.h"
#include "data/download/Download.h"

namespace zentrik {
namespace {

// The new content of a reload, read with the first load's options. The k-th new
// line takes the place of the k-th old one and keeps its inclusion.
class Rereader {
 public:
  Rereader(DataFile& data, Ui& ui) : data_(data), ui_(ui) {}

  // may_append: nothing but the other program can have changed the file since the
  // last read (no download, no pre-load command).
  void run(bool may_append) {
    const std::string path = data_.source(1)->path;
    if (is_stream(path)) return refuse_stream(path);
    OpenFile file(path);
    if (!file.ok()) {
      ui_.showError("Error opening file for update:  " + file.error(), "Error!");
      return;  // the recorded status stays, so the next check tries again
    }
    // The status is taken before reading: lines the other program writes meanwhile
    // change the file's time after it, so that the next check reloads them.
    FileStatus status;
    const bool known = file_status(path, status);
    if (!may_append || !read_appended(file)) read(file);
    if (known) {
      std::lock_guard lock(data_.status_mutex());
      data_.source(1)->status = status;
    }
  }

 private:
  // A pipe gave its lines to the load; opening it again would wait for another writer,
  // perhaps for ever. Its status is taken so that only a new write asks again.
  void refuse_stream(const std::string& path) {
    ui_.showError("Error opening file for update:  " + path + " is a pipe, read once when loaded.", "Error!");
    FileStatus status;
    if (!file_status(path, status)) return;
    std::lock_guard lock(data_.status_mutex());
    data_.source(1)->status = status;
  }

  // A file that only grew since the last read: the lines read from its unchanged
  // start stand, and only what follows is read, as a whole reload would read it. A
  // last line that had no line feed then is read again: its writer may have been in
  // the middle of it. False, having changed nothing, when the file is another one or
  // its start changed: the whole file is read.
  bool read_appended(const OpenFile& file) {
    const ReadCheckpoint* checkpoint = data_.checkpoint();
    FileIdentity identity;
    if (!checkpoint || data_.source_count() != 1 || !file_identity(file.fd(), identity) ||
        identity != checkpoint->file || static_cast<uint64_t>(file.size()) < checkpoint->bytes)
      return false;
    const ReadCheckpoint from = *checkpoint;  // the append replaces it
    LineReader reader(file.fd());
    reader.take_fingerprint();
    std::string first_line = first_line_of(reader);
    uint64_t fingerprint = 0;
    if (!reader.pass_over(from.bytes) || !reader.fingerprint(fingerprint) || fingerprint != from.fingerprint)
      return false;
    LoadFilter filter(data_.read_every, data_.loadnum, data_.load_condition, first_line);
    filter.resume(from.filter);
    CheckpointTaker taker(reader);
    LineStore added;
    int32_t read_count = from.read_count;
    const int32_t old_count = data_.loaded_count();
    bool at_end = false;
    for (std::string_view line;;) {
      const int64_t number = int64_t{from.stored} + static_cast<int64_t>(added.lines.size()) + 1;
      taker.line_done(static_cast<int32_t>(number - 1), read_count, filter);
      if (number > INT32_MAX) break;  // line numbers used up
      if (!reader.next(line)) {
        at_end = true;
        break;
      }
      ++read_count;
      if (!filter.keep(line, static_cast<int32_t>(number))) continue;
      bool include = number > old_count || data_.line(static_cast<int32_t>(number)).included();
      added.append(line, include);
    }
    if (reader.read_failed()) return keep_old_data_after_read_error(reader);
    int32_t included = data_.included_count() - included_after(from.stored) + added.included;
    if (included < 2 && included < data_.included_count()) return keep_old_data_with_too_few_lines();
    data_.append_lines(from.stored, added);
    finish_read(read_count);
    ReadCheckpoint taken;
    if (at_end && taker.take(file.fd(), taken)) data_.set_checkpoint(taken);
    return true;
  }

  // The first line of the file (which the load condition's F and N read); the reader
  // is back at the start afterwards.
  static std::string first_line_of(LineReader& reader) {
    std::string_view line;
    reader.next(line);
    std::string first_line(line);
    reader.rewind();
    return first_line;
  }

  // Included lines after the first `count`.
  int32_t included_after(int32_t count) const {
    int32_t included = 0;
    for (const DataLine& line : data_.lines().subspan(static_cast<std::size_t>(count))) included += line.included();
    return included;
  }

  // A part of the file is no reason to drop the rest.
  bool keep_old_data_after_read_error(const LineReader& reader) {
    ui_.showError("Error reading file for update:  " + reader.read_error() + "\n\nThe old data is being retained.",
                  "Error!");
    return true;
  }

  bool keep_old_data_with_too_few_lines() {
    ui_.showError("There were fewer than 2 lines included in reloaded file.  The old data is being retained.",
                  "Error!");
    return true;
  }

  void finish_read(int32_t read_count) {
    data_.read_count = read_count;
    data_.source(1)->last_line = data_.loaded_count();
    data_.source(1)->lines_read = data_.loaded_count();
  }

  void read(const OpenFile& file) {
    LineReader reader(file.fd());
    reader.take_fingerprint();
    std::string first_line = first_line_of(reader);
    std::string_view line;
    for (int32_t skipped = 0; skipped < data_.initial_skip && reader.next(line);) ++skipped;
    if (reader.at_end()) {
      ui_.showError("All lines initially discarded during reload!  Re-plotting old data.", "Error!");
      return;
    }
    LoadFilter filter(data_.read_every, data_.loadnum, data_.load_condition, first_line);
    CheckpointTaker taker(reader);
    LineStore fresh;
    fresh.lines.reserve(static_cast<std::size_t>(data_.loaded_count()));
    int32_t read_count = 0;
    bool at_end = false;
    for (;;) {
      taker.line_done(static_cast<int32_t>(fresh.lines.size()), read_count, filter);
      if (!reader.next(line)) {
        at_end = true;
        break;
      }
      ++read_count;
      int32_t number = static_cast<int32_t>(fresh.lines.size()) + 1;
      if (!filter.keep(line, number)) continue;
      bool include = number > data_.loaded_count() || data_.line(number).included();
      if (!fresh.append(line, include)) break;
    }
    if (reader.read_failed()) {
      keep_old_data_after_read_error(reader);
      return;
    }
    if (fresh.included < 2 && fresh.included < data_.included_count()) {
      keep_old_data_with_too_few_lines();
      return;
    }
    data_.swap_lines(fresh);
    finish_read(read_count);
    ReadCheckpoint taken;
    if (at_end && taker.take(file.fd(), taken)) data_.set_checkpoint(taken);
  }

  DataFile& data_;
  Ui& ui_;
};

using Clock = std::chrono::steady_clock;

// A wait is cut into pieces of at most a day, so that huge intervals (or an infinite
// one) cannot overflow the clock's arithmetic.
constexpr double kLongestWait = 86400;

double seconds_since(double then) { return now_seconds() - then; }

}  // namespace

void reload(DataFile& data, Ui& ui) {
  if (data.view_window_open) {
    if (ui.errorBeep()) ui.errorSound();
    return;
  }
  if (!data.source(1)) return;  // a data set that never came from a file
  if (data.update_hold < 0) data.update_hold = 0;
  if (data.update_hold > 0) return;
  if (!data.begin_update()) return;  // a reload is running on another thread
  std::vector<std::string> commands;
  data.for_each_observer([&](DataFileObserver& observer) {
    observer.startUpdate(data);
    std::string command = observer.preloadCommand();
    if (!command.empty()) commands.push_back(std::move(command));
  });
  for (const std::string& command : commands) run_preload_command(command, ui);
  if (!data.url.empty()) {
    std::string local = data.url;  // a failed download leaves the last copy to read
    if (!download(data, local, ui) && !data.download_cancelled)
      ui.showError("Can't download data file:  " + data.source(1)->path, "Error!");
  }
  Rereader(data, ui).run(commands.empty() && data.url.empty());
  data.end_update();
  data.for_each_observer([&](DataFileObserver& observer) { observer.endUpdate(data); });
  data.load_time = now_seconds();
  data.end_reload();
}

UpdateThread::UpdateThread(DataFile& data, Ui& ui) : data_(data), ui_(ui) {
  thread_ = std::thread([this] { run(); });
}

UpdateThread::~UpdateThread() {
  keep_running_ = false;
  pulse();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  pulse();
  thread_.join();
}

void UpdateThread::pulse() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  event_.notify_all();
}

void UpdateThread::run() {
  double last_check = data_.load_time;
  bool missing_reported = false;  // a vanished file is reported once, not at every check
  for (double interval; keep_running_ && (interval = data_.update_interval()) > 0;) {
    double remaining = std::clamp(interval - seconds_since(last_check), 0.0, kLongestWait);
    wait(static_cast<long>(remaining * 1000));
    // updates turned off during the wait end here, before another reload can start
    double now_interval = data_.update_interval();
    if (!keep_running_ || !(now_interval > 0)) break;
    if (seconds_since(data_.load_time) >= now_interval && data_.source(1)) {
      FileStatus now;
      bool readable = file_status(data_.source(1)->path, now);
      bool changed;
      {
        std::lock_guard lock(data_.status_mutex());
        changed = readable ? now.modified != data_.source(1)->status.modified : !missing_reported;
      }
      missing_reported = !readable;
      if (changed) reload(data_, ui_);
    }
    last_check = now_seconds();
  }
  alive_ = false;
}

// Waits the given time; a pulse ends the wait early only when the thread is asked to stop.
void UpdateThread::wait(long milliseconds) {
  auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  std::unique_lock lock(mutex_);
  signalled_ = false;
  while (keep_running_ && Clock::now() < end) {
    event_.wait_until(lock, end, [this] { return signalled_; });
    signalled_ = false;
  }
}

}  // namespace zentrik
