// A plot following a data file that another program keeps writing. The update thread
// of the data set reloads it; a window stands in for the desktop's plot window and
// answers Start Update and End Update as that one does, by handing the work to the
// main thread and waiting for it, so that every plot and data access outside the
// reload itself happens on the main thread, as in the program.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/shell/PlotCommands.h"
#include "app/shell/Shell.h"
#include "data/TempDir.h"
#include "plot/Calculation.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Notice { Start, End };

// The main thread's queue of work handed over by other threads: a blocking call, as
// Qt's blocking queued connection makes it.
class MainThread {
 public:
  // From another thread: the main thread runs work; returns once it has. After stop()
  // the work is dropped and the call returns at once.
  void call(Notice notice, std::function<void()> work) {
    std::unique_lock lock(mutex_);
    if (stopped_) return;
    const long id = ++posted_;
    tasks_.push_back({notice, std::move(work)});
    changed_.notify_all();
    changed_.wait(lock, [&] { return stopped_ || finished_ >= id; });
  }

  // On the main thread: runs the handed work in order, each after `before` has seen
  // its notice, until done() holds. False when `limit` passed first.
  bool serve_until(const std::function<bool()>& done, Clock::duration limit = 30s,
                   const std::function<void(Notice)>& before = {}) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
      if (Clock::now() > deadline) return false;
      Task task;
      {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, 5ms, [&] { return !tasks_.empty(); })) continue;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      if (before) before(task.notice);
      task.work();
      {
        std::lock_guard lock(mutex_);
        ++finished_;
      }
      changed_.notify_all();
    }
    return true;
  }

  // The main thread serves no more: waiting calls return without their work.
  void stop() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
      tasks_.clear();
    }
    changed_.notify_all();
  }

 private:
  struct Task {
    Notice notice = Notice::Start;
    std::function<void()> work;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Task> tasks_;
  long posted_ = 0;
  long finished_ = 0;
  bool stopped_ = false;
};

// The plot window as its data set's reloads see it. Between Start Update and End
// Update it neither draws nor calculates and counts one busy operation; at End
// Update the formulas are computed again (for the new lines only, when the file just
// grew) and the plot rescaled when it is auto-scaled.
class FollowingWindow : public DataFileObserver {
 public:
  FollowingWindow(Shell& shell, MainThread& main) : shell_(shell), main_(main) {}

  void attach(Plot& plot) {
    plot_ = &plot;
    plot.window.data->subscribe(*this);
  }
  // The plot closes: the window lets go of it and of its data set.
  void detach() {
    if (!plot_) return;
    plot_->window.data->unsubscribe(*this);
    plot_ = nullptr;
    updating_ = false;
    busy_.reset();
  }
  Plot* plot() const { return plot_; }
  // Between its Start Update and its End Update (main thread).
  bool updating() const { return updating_; }

  void startUpdate(DataFile& data) override {
    main_.call(Notice::Start, [this, &data] {
      ++starts;
      EXPECT_TRUE(data.updating());
      if (!plot_) return;
      EXPECT_FALSE(updating_);
      busy_ = std::make_unique<Shell::BusyScope>(shell_);
      updating_ = true;
    });
  }

  void endUpdate(DataFile& data) override {
    main_.call(Notice::End, [this, &data] {
      ++ends;
      EXPECT_FALSE(data.updating());
      if (!plot_) return;
      EXPECT_TRUE(updating_);
      prepare_for_reload(plot_->window);
      updating_ = false;
      if (shell_.recalculate(*plot_, plot_->window.auto_scaled, true) != Recalculation::Closed) ++recalculated;
      busy_.reset();
    });
  }

  // The notices handled, and the recalculations they made.
  int starts = 0, ends = 0, recalculated = 0;

 private:
  Shell& shell_;
  MainThread& main_;
  Plot* plot_ = nullptr;
  std::unique_ptr<Shell::BusyScope> busy_;
  bool updating_ = false;
};

// The desktop's main window as far as following needs it: the window of the plot
// lets go when the plot closes, and every calculation checks that no reload is
// between its notices meanwhile.
class FollowingFace : public ShellFace {
 public:
  FollowingWindow* window = nullptr;
  int calculations = 0, reloads_during_calculation = 0;

  bool plotSetup(Plot&) override { throw std::logic_error("the plot setup dialog opened"); }
  DropChoice multiFileDropOptions() override { return DropChoice::Cancel; }
  ScreenSize screen() const override { return {1600, 1200}; }
  void plotReady(Plot&) override {}
  void plotClosing(Plot& plot) override {
    if (window && window->plot() == &plot) window->detach();
  }
  void busyChanged(bool) override {}
  // Asked as every calculation begins.
  std::function<void()> viewFile(Plot& plot) override {
    ++calculations;
    const DataFile& data = *plot.window.data;
    if (data.updating() || (window && window->updating())) ++reloads_during_calculation;
    return {};
  }
};

constexpr int kFirstLines = 20;
constexpr int kWrittenLines = 20;  // one each 100 ms: two seconds of writing

std::string data_line(int k) { return std::to_string(k) + " " + std::to_string(k * k) + "\n"; }

class Following : public ::testing::Test {
 protected:
  void SetUp() override {
    config.drop_prompt = 0;
    config.load_prompt = 0;
    config.use_obj = 0;
    config.objdir = dir.path("");
    std::string first;
    for (int k = 1; k <= kFirstLines; ++k) first += data_line(k);
    path = dir.write("log.dat", first);
    set_modified(path, 0);
    shell = std::make_unique<Shell>(config, ui, face);
    window = std::make_unique<FollowingWindow>(*shell, main);
    face.window = window.get();
    plot = shell->open_file(path);
    ASSERT_NE(plot, nullptr);
    data = plot->window.data;
    ASSERT_EQ(data->included_count(), kFirstLines);
    window->attach(*plot);
  }

  void TearDown() override {
    if (writer.joinable()) writer.join();
    // A failed case may leave a reload waiting for the main thread: it is let go, so
    // that the data sets can stop their threads.
    main.stop();
    shell.reset();
    window.reset();
  }

  // Sets the file's modification time in whole seconds after an epoch of the test's.
  void set_modified(const std::string& file, int seconds) {
    std::filesystem::last_write_time(file, epoch_ + std::chrono::seconds(seconds));
  }

  // The other program: appends a line every 100 ms and moves the modification time on
  // by a second each time, as the times compared are whole seconds.
  void start_writer() {
    writer = std::thread([this] {
      for (int k = kFirstLines + 1; k <= kFirstLines + kWrittenLines; ++k) {
        std::this_thread::sleep_for(100ms);
        std::ofstream(path, std::ios::app | std::ios::binary) << data_line(k) << std::flush;
        set_modified(path, k);
      }
      writing_done = true;
    });
  }

  void follow_every(const char* seconds) { ASSERT_TRUE(enter_update_interval(seconds, *plot, ui)); }

  const std::filesystem::file_time_type epoch_ = std::chrono::floor<std::chrono::seconds>(
      std::filesystem::file_time_type::clock::now() - std::chrono::seconds(100000));
  testing::TempDir dir;
  Configuration config;
  ScriptedUi ui;
  FollowingFace face;
  MainThread main;
  std::unique_ptr<Shell> shell;
  std::unique_ptr<FollowingWindow> window;
  std::string path;
  Plot* plot = nullptr;
  DataFile* data = nullptr;
  std::thread writer;
  std::atomic<bool> writing_done{false};
};

TEST_F(Following, ThePlotTakesInEveryLineWrittenAndRecalculatesOnlyBetweenReloads) {
  EXPECT_EQ(plot->window.plot_y_max, kFirstLines);
  follow_every("0.1");
  EXPECT_EQ(plot->window.update_interval, 0.1);
  EXPECT_TRUE(data->thread_alive());
  start_writer();
  constexpr int kLast = kFirstLines + kWrittenLines;
  // Like the window, the test reads the data only outside a reload's notices.
  ASSERT_TRUE(main.serve_until([&] {
    return writing_done && !window->updating() && data->included_count() == kLast &&
           plot->window.plot_y_max == kLast;
  })) << "the plot shows up to " << plot->window.plot_y_max << " after the writer ended";
  writer.join();

  EXPECT_EQ(data->loaded_count(), kLast);
  EXPECT_EQ(data->line(kLast).text(), "40 1600");
  EXPECT_EQ(plot->window.plot_y_min, 1);
  EXPECT_GE(window->recalculated, 2);  // a single reload would not be following
  EXPECT_EQ(window->recalculated, window->ends);
  EXPECT_EQ(face.reloads_during_calculation, 0);
  EXPECT_FALSE(shell->busy());  // every busy count of a reload was released
  EXPECT_TRUE(ui.messages().empty());

  // Turning updates off ends the thread at its next check.
  follow_every("0");
  ASSERT_TRUE(main.serve_until([&] { return !data->thread_alive(); }));
  EXPECT_TRUE(shell->close_plot(*plot));
  EXPECT_TRUE(shell->data_files().empty());
}

// The plot closes while a reload of its data set is under way and the other program
// still writes: at Start Update, while the lines are replaced; at End Update, once
// they are in and the windows are being told. The data set outlives the reload, and
// goes (stopping its thread) with a later closing.
TEST_F(Following, ClosingThePlotDuringAReloadFreesItsDataOnlyAfterTheReload) {
  for (Notice moment : {Notice::Start, Notice::End}) {
    SCOPED_TRACE(moment == Notice::Start ? "closed at Start Update" : "closed at End Update");
    if (moment == Notice::End) {  // a fresh plot of the same file, which the writer has left grown
      writer.join();
      writing_done = false;
      plot = shell->open_file(path);
      ASSERT_NE(plot, nullptr);
      data = plot->window.data;
      window->attach(*plot);
    }
    follow_every("0.1");
    start_writer();
    bool closed = false;
    bool kept = false;
    ASSERT_TRUE(main.serve_until([&] { return closed; }, 30s, [&](Notice notice) {
      if (closed || notice != moment) return;
      EXPECT_TRUE(shell->close_plot(*plot));
      closed = true;
      kept = shell->data_files().size() == 1;
    }));
    EXPECT_TRUE(kept);
    EXPECT_EQ(window->plot(), nullptr);
    // Every later collection frees the data set once no reload of it runs.
    ASSERT_TRUE(main.serve_until([&] {
      shell->close_all_plots();
      return shell->data_files().empty();
    }));
    EXPECT_TRUE(shell->plots().empty());
    EXPECT_FALSE(shell->busy());
  }
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Following, AFileThatShrinksToOneLineKeepsTheOldData) {
  // Replaces the file at once, already carrying its modification time.
  auto rewrite = [&](int lines, int modified) {
    std::string content;
    for (int k = 1; k <= lines; ++k) content += data_line(k);
    const std::string next = dir.write("log.next", content);
    set_modified(next, modified);
    std::filesystem::rename(next, path);
  };
  follow_every("0.1");
  rewrite(1, 100);
  ASSERT_TRUE(main.serve_until([&] { return window->ends >= 1 && window->starts == window->ends; }));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text,
            "There were fewer than 2 lines included in reloaded file.  The old data is being retained.");
  EXPECT_EQ(ui.lastMessage().caption, "Error!");
  EXPECT_EQ(data->loaded_count(), kFirstLines);
  EXPECT_EQ(data->included_count(), kFirstLines);
  EXPECT_EQ(data->line(kFirstLines).text(), "20 400");
  EXPECT_EQ(window->recalculated, 1);  // computed again, on the old data
  EXPECT_EQ(plot->window.plot_y_max, kFirstLines);

  // The file grows again: taken in, with no second message about the short one.
  rewrite(25, 200);
  ASSERT_TRUE(main.serve_until([&] { return plot->window.plot_y_max == 25 && window->starts == window->ends; }));
  EXPECT_EQ(data->included_count(), 25);
  EXPECT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(face.reloads_during_calculation, 0);
}

}  // namespace
}  // namespace zentrik
