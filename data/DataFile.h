// A loaded data set: its lines in file order, each included or excluded by the
// sign of its number, and the physical files they came from. Filled by loading,
// added files, reloads and downloads; walked by the point calculation and the
// view window.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/Loader.h"
#include "data/ReadCheckpoint.h"
#include "data/TextArena.h"
#include "data/Updates.h"

namespace zentrik {

// One stored line. number is its 1-based position among the data set's lines,
// positive while included and negative (minus the position) while excluded. Its
// text ends at a NUL byte in the arena (a stored text has none of its own), so a
// line costs twelve bytes: ten million lines 120 MB besides their texts.
struct [[gnu::packed, gnu::aligned(4)]] DataLine {
  const char* chars = "";  // without line end; bytes above 127 stored as "!"
  int32_t number = 0;

  std::string_view text() const { return chars; }
  bool included() const { return number > 0; }
  int32_t position() const { return number > 0 ? number : -number; }
};
static_assert(sizeof(DataLine) == 12);

// The lines of a data set with their texts and the count of included lines.
struct LineStore {
  std::vector<DataLine> lines;
  TextArena texts;
  int32_t included = 0;

  // Appends text (as several lines when it is longer than a stored line may be),
  // included or excluded. False, storing nothing, once line numbers are used up.
  bool append(std::string_view text, bool include);
};

// How a file joined the data set.
enum HowAdded : int32_t {
  kFirstFile = 0,
  kConcatenateFiles = 5,
  kConcatenateLines = 6,
};

struct FileStatus {
  int64_t size = 0;
  int64_t modified = 0;  // whole seconds since 1970
};

// One physical file that contributed lines.
struct DataSource {
  std::string path;
  std::string name;  // path after its last "/" or "\"
  std::string load_condition;
  int32_t initial_skip = 0;
  int32_t how_added = kFirstFile;
  int32_t first_line = 0;  // first data-set line this file supplied
  int32_t last_line = 0;
  int32_t lines_read = 0;
  FileStatus status;
};

// The part of a path after its last "/" or "\", else the whole path.
std::string file_name_of(std::string_view path);

class DataFile {
 public:
  // An empty data set named path.
  explicit DataFile(std::string path);
  // Loads path (a data file, or a URL that is downloaded first); afterwards
  // included_count() is 0 when nothing usable was loaded.
  DataFile(std::string path, LoadEnvironment& env);
  virtual ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // The name the data set is shown by: its file, or "x.dat (1st of 2)" with added files.
  const std::string& path() const { return path_; }
  void set_path(std::string path) { path_ = std::move(path); }

  // --- lines ---
  int32_t loaded_count() const { return static_cast<int32_t>(store_.lines.size()); }
  int32_t included_count() const { return store_.included; }
  // The stored lines in order; line(k) is the line at position k (1-based).
  // Storing a line may move them: keep positions, not pointers, across stores.
  std::span<const DataLine> lines() const { return store_.lines; }
  const DataLine& line(int32_t position) const { return store_.lines[static_cast<std::size_t>(position - 1)]; }

  // The first included line, the next included line after `after`; null at the end.
  const DataLine* first_included() const;
  const DataLine* next_included(const DataLine* after) const;
  // Calls visit(first, end) for each run of included lines, positions first to
  // end - 1, in line order, while it returns true. With every line included there is
  // one run and the passes over millions of points do not read the lines at all;
  // a caller's loop over a run is its own, which the compiler keeps tight.
  template <typename Visit>
  void for_each_included_run(Visit visit) const {
    const auto count = static_cast<std::size_t>(loaded_count());
    if (included_count() == loaded_count()) {
      if (count > 0) visit(std::size_t{1}, count + 1);
      return;
    }
    std::size_t first = 0;  // the run's first position; 0 outside a run
    for (const DataLine& line : store_.lines) {
      const auto position = static_cast<std::size_t>(line.position());
      if (line.included()) {
        if (first == 0) first = position;
      } else if (first != 0) {
        if (!visit(first, position)) return;
        first = 0;
      }
    }
    if (first != 0) visit(first, count + 1);
  }
  // Calls visit(position) for each included line, in line order, while it returns true.
  template <typename Visit>
  void for_each_included(Visit visit) const {
    for_each_included_run([&](std::size_t first, std::size_t end) {
      for (std::size_t position = first; position < end; ++position)
        if (!visit(position)) return false;
      return true;
    });
  }
  // The runs from the last back to the first; each still named by its first
  // position and the one after its last.
  template <typename Visit>
  void for_each_included_run_backward(Visit visit) const {
    const auto count = static_cast<std::size_t>(loaded_count());
    if (included_count() == loaded_count()) {
      if (count > 0) visit(std::size_t{1}, count + 1);
      return;
    }
    std::size_t end = 0;  // the position after the run's last; 0 outside a run
    for (auto line = store_.lines.rbegin(); line != store_.lines.rend(); ++line) {
      const auto position = static_cast<std::size_t>(line->position());
      if (line->included()) {
        if (end == 0) end = position + 1;
      } else if (end != 0) {
        if (!visit(position + 1, end)) return;
        end = 0;
      }
    }
    if (end != 0) visit(std::size_t{1}, end);
  }

  // Stores one line read from a file, included. A text longer than the stored-line
  // limit becomes several lines. False (nothing stored) once the line numbers are used up.
  bool store_line(std::string_view text);
  // Stores every line of a file's text, cut as a file read cuts it.
  void store_text(std::string_view text);
  void set_included(int32_t position, bool included);
  // Includes every line again.
  void include_all();
  // Concatenate Lines: line position's text becomes its text, joint and added;
  // returns the old text, which stays stored until the lines are cleared.
  std::string_view join_line(int32_t position, std::string_view joint, std::string_view added);
  // Puts back a text that join_line returned.
  void restore_line_text(int32_t position, std::string_view old_text);
  // Frees the lines after the first count.
  void truncate_lines(int32_t count);
  // Room for this many lines in all (a hint for large loads).
  // Room for `count` lines, the first `present` of them made present in memory at once.
  void reserve_lines(std::size_t count, std::size_t present);
  // Frees every line; the counts become 0.
  void clear_lines();
  // Exchanges the lines for those of store (a reload's new content).
  void swap_lines(LineStore& store) {
    std::swap(store_, store);
    ++changes_;
  }
  // A reload of a file that only grew: keeps the first `keep` lines and adds those of
  // `added`, each included or excluded as there, in one change.
  void append_lines(int32_t keep, const LineStore& added);

  // --- changes of the lines ---
  // Counts the changes of the lines' texts and places (their inclusion aside): what
  // was computed from the lines holds for them as long as the count stays.
  uint64_t line_changes() const { return changes_; }
  // True when the last change of the lines was an append made to them as they were
  // at change count `seen`; `from` is then the first new position: the lines before
  // it are those of then.
  bool appended_since(uint64_t seen, int32_t& from) const;
  // Where the last read of the first file stopped; null once the lines have changed
  // otherwise since (an added file, a failed load).
  const ReadCheckpoint* checkpoint() const { return checkpoint_changes_ == changes_ ? &checkpoint_ : nullptr; }
  void set_checkpoint(const ReadCheckpoint& checkpoint) {
    checkpoint_ = checkpoint;
    checkpoint_changes_ = changes_;
  }

  // --- sources ---
  // Appends a source with its path, name and how_added.
  DataSource& add_source(std::string path, int32_t how_added);
  // The i-th source (from 1), or null outside 1 .. source_count().
  DataSource* source(int i);
  const DataSource* source(int i) const;
  int source_count() const { return static_cast<int>(sources_.size()); }

  // --- reloads and automatic updates ---
  // Observers are told before and after every reload; they stay the caller's.
  void subscribe(DataFileObserver& observer);
  void unsubscribe(DataFileObserver& observer);
  template <typename Visit>
  void for_each_observer(Visit visit);
  // Seconds between checks of the first file; 0 ends automatic updates.
  void set_update_interval(double seconds, Ui& ui);
  double update_interval() const { return update_interval_; }
  bool thread_alive() const { return update_thread_ && update_thread_->alive(); }
  // The lines are being replaced: from before Start Update until the new ones are in.
  bool updating() const { return updating_; }
  // A reload runs, from before Start Update until every observer has handled End
  // Update: the data set must outlive it, since its thread may be waiting for a window.
  bool reloading() const { return reloading_; }
  // Marks a reload as running; false when one already runs.
  bool begin_update() {
    if (reloading_.exchange(true)) return false;
    updating_ = true;
    return true;
  }
  void end_update() { updating_ = false; }
  // The observers have handled End Update.
  void end_reload() { reloading_ = false; }
  // Guards the first source's recorded file status between a reload and the update thread.
  std::mutex& status_mutex() { return status_mutex_; }
  std::atomic<int32_t> update_hold{0};       // while above 0, reloads are not done
  std::atomic<bool> view_window_open{false};  // reloads wait until the view window closes

  // --- load state ---
  int32_t read_count = 0;         // lines read after the initial skip
  int32_t first_line_fields = 0;  // fields in the first stored line after a load
  int32_t plot_count = 0;         // plot windows showing this data set
  int32_t read_every = 1;         // at least 1
  int32_t initial_skip = 0;       // at least 0
  int32_t loadnum = 1;
  std::string load_condition;     // empty: no condition
  std::atomic<double> load_time{0};  // seconds since 1970 of the last load or reload
  std::string url;                // set when the data set was named by a URL
  bool download_cancelled = false;
  bool plot_object_signature = false;  // the file named was a plot object, not data

 private:
  std::string path_;
  LineStore store_;
  uint64_t changes_ = 1;
  struct Append {
    uint64_t before = 0, after = 0;  // the change counts around it
    int32_t from = 0;                // the first new position
  } last_append_;
  ReadCheckpoint checkpoint_;
  uint64_t checkpoint_changes_ = 0;  // the change count it belongs to
  std::atomic<double> update_interval_{0};
  std::atomic<bool> updating_{false};
  std::atomic<bool> reloading_{false};
  std::unique_ptr<UpdateThread> update_thread_;
  std::mutex observers_mutex_;
  std::vector<DataFileObserver*> observers_;
  std::mutex status_mutex_;
  std::vector<std::unique_ptr<DataSource>> sources_;
};

template <typename Visit>
void DataFile::for_each_observer(Visit visit) {
  std::vector<DataFileObserver*> observers;
  {
    std::lock_guard lock(observers_mutex_);
    observers = observers_;
  }
  for (DataFileObserver* observer : observers) visit(*observer);
}

}  // namespace zentrik
