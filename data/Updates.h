// Following a data file that another program keeps writing: reload re-reads the
// first file in place with the load options (exclusions stay with their
// positions), and the update thread of a data set calls it whenever the file's
// modification time changes. Whatever shows the data set observes the reloads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "ui/Ui.h"

namespace zentrik {

class DataFile;

// A plot window showing a data set, as its reloads see it.
class DataFileObserver {
 public:
  virtual ~DataFileObserver() = default;
  // The lines are about to change: stop drawing and calculating until endUpdate.
  virtual void startUpdate(DataFile& data) = 0;
  // The lines have changed (or a failed reload kept them): recalculate.
  virtual void endUpdate(DataFile& data) = 0;
  // The pre-load command of the plot object the window belongs to; "" when none.
  virtual std::string preloadCommand() const { return {}; }
};

// Re-reads data's first file in place. Runs on whichever thread calls it; the
// observers are told before and after. Does nothing while a view window is open
// (after the error sound) or while the update hold is above 0.
void reload(DataFile& data, Ui& ui);

// The update thread of one data set and the event that wakes it.
class UpdateThread {
 public:
  UpdateThread(DataFile& data, Ui& ui);
  // Asks the thread to stop, wakes it and waits until it has ended.
  ~UpdateThread();

  bool alive() const { return alive_; }
  // Wakes a wait; the wait ends early only when the thread is asked to stop.
  void pulse();

 private:
  void run();
  void wait(long milliseconds);

  DataFile& data_;
  Ui& ui_;
  std::atomic<bool> keep_running_{true};
  std::atomic<bool> alive_{true};
  std::mutex mutex_;
  std::condition_variable event_;
  bool signalled_ = false;
  std::thread thread_;
};

}  // namespace zentrik
