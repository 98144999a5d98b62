#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "data/DataFile.h"
#include "data/LineTexts.h"
#include "data/TempDir.h"
#include "data/Updates.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using namespace std::chrono_literals;
using testing::numbered_lines;

// A plot window as reloads see it: counts the notifications and checks that they pair.
class Window : public DataFileObserver {
 public:
  void startUpdate(DataFile& data) override {
    std::lock_guard lock(mutex_);
    EXPECT_TRUE(data.updating());
    EXPECT_EQ(starts_, ends_);
    ++starts_;
  }
  void endUpdate(DataFile& data) override {
    {
      std::lock_guard lock(mutex_);
      EXPECT_FALSE(data.updating());
      ++ends_;
    }
    ended_.notify_all();
  }
  std::string preloadCommand() const override { return command; }

  int ends() {
    std::lock_guard lock(mutex_);
    return ends_;
  }
  // Waits for the n-th end of an update; false after the timeout.
  bool wait_for_end(int n, std::chrono::milliseconds timeout = 5s) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, timeout, [&] { return ends_ >= n; });
  }

  std::string command;

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  int starts_ = 0;
  int ends_ = 0;
};

class Reloading : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.write("log.dat", numbered_lines(100));
    set_modified(path, 1000);
    LoadEnvironment env{ui};
    data = std::make_unique<DataFile>(path, env);
    ASSERT_EQ(data->included_count(), 100);
    data->subscribe(window);
  }
  void TearDown() override {
    if (data) data->unsubscribe(window);
  }

  // Replaces the file, already carrying the given modification time (seconds after
  // an epoch of the test's), so that the update thread never sees it half made.
  void rewrite(const std::string& content, int modified) {
    std::string next = dir.write("log.next", content);
    set_modified(next, modified);
    std::filesystem::rename(next, path);
  }
  void set_modified(const std::string& file, int seconds) {
    std::filesystem::last_write_time(file, epoch_ + std::chrono::seconds(seconds));
  }
  // Whole seconds, so that equal offsets make equal modification times.
  const std::filesystem::file_time_type epoch_ = std::chrono::floor<std::chrono::seconds>(
      std::filesystem::file_time_type::clock::now() - std::chrono::seconds(100000));

  testing::TempDir dir;
  ScriptedUi ui;
  Window window;
  std::string path;
  std::unique_ptr<DataFile> data;
};

TEST_F(Reloading, ExclusionsStayWithTheirPositionsWhenTheFileGrows) {
  data->set_included(7, false);
  double loaded_at = data->load_time;
  rewrite(numbered_lines(150), 2000);
  reload(*data, ui);
  EXPECT_EQ(data->loaded_count(), 150);
  EXPECT_EQ(data->included_count(), 149);
  EXPECT_EQ(data->line(7).number, -7);
  EXPECT_EQ(data->line(150).text(), "150");
  EXPECT_EQ(data->read_count, 150);
  EXPECT_EQ(window.ends(), 1);
  EXPECT_GE(data->load_time.load(), loaded_at);
  EXPECT_TRUE(ui.messages().empty());
}

// A file of many read blocks that a logger appends to: each reload reads on from the
// end of the last complete line and stores what a fresh load of the file stores, also
// when the last line was cut over several blocks. A last line too long to hold back
// for the fingerprint leaves no place to read on from: the next reload reads it all.
TEST_F(Reloading, AGrowingFileOfManyBlocksIsReadOnWhereTheLastReadStopped) {
  auto lines = [](int first, int last) {
    std::string text;
    for (int k = first; k <= last; ++k) text += std::to_string(k) + " " + std::to_string(k % 977) + "\n";
    return text;
  };
  rewrite(lines(1, 150000), 2000);  // 1.6 MB: read in two blocks and more
  reload(*data, ui);
  const struct Step {
    const char* what;
    std::string text;
    bool read_on;  // read from where the last read stopped
  } steps[] = {
      {"complete lines", lines(150001, 160000), true},
      {"a last line of 20000 characters without its end", std::string(20000, '3'), true},
      {"its end", "4\n5 6\n", true},
      {"a last line longer than half a block", std::string(600000, '7'), true},
      {"its end", "\n8 9\n", false},
      {"more lines", lines(1, 5000), true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    std::ofstream(path, std::ios::app | std::ios::binary) << step.text;
    const uint64_t before = data->line_changes();
    reload(*data, ui);
    int32_t from = 0;
    EXPECT_EQ(data->appended_since(before, from), step.read_on);
    LoadEnvironment env{ui};
    DataFile fresh(path, env);
    EXPECT_EQ(testing::line_texts(*data), testing::line_texts(fresh));
    EXPECT_EQ(data->included_count(), fresh.included_count());
    EXPECT_EQ(data->read_count, fresh.read_count);
  }
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Reloading, FailedReloadsKeepTheOldData) {
  struct Case {
    std::string content;  // empty: the file is deleted
    std::string message;
  } cases[] = {
      {"1\n", "There were fewer than 2 lines included in reloaded file.  The old data is being retained."},
      {"", "Error opening file for update:  No such file or directory"},
  };
  for (const auto& c : cases) {
    ui.reset();
    if (c.content.empty())
      std::filesystem::remove(path);
    else
      rewrite(c.content, 3000);
    reload(*data, ui);
    EXPECT_EQ(data->loaded_count(), 100);
    EXPECT_EQ(data->included_count(), 100);
    EXPECT_EQ(data->line(100).text(), "100");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, c.message);
    EXPECT_EQ(ui.lastMessage().caption, "Error!");
  }
  EXPECT_EQ(window.ends(), 2);  // the windows recalculate on the old data
}

// A pipe gave its lines once; a reload would wait for another writer, perhaps for
// ever, so it keeps the lines and says why.
TEST_F(Reloading, APipeIsNotReadAgain) {
  data->unsubscribe(window);
  const std::string fifo = dir.path("live.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo) << "1 2\n3 4\n5 6\n"; });
  LoadEnvironment env{ui};
  data = std::make_unique<DataFile>(fifo, env);
  writer.join();
  ASSERT_EQ(data->included_count(), 3);
  data->subscribe(window);
  reload(*data, ui);
  EXPECT_EQ(data->included_count(), 3);
  EXPECT_EQ(ui.lastMessage().text, "Error opening file for update:  " + fifo + " is a pipe, read once when loaded.");
  EXPECT_EQ(window.ends(), 1);
}

TEST_F(Reloading, NothingLeftAfterTheSkipKeepsTheOldData) {
  data->initial_skip = 5;
  rewrite(numbered_lines(5), 2000);
  reload(*data, ui);
  EXPECT_EQ(data->loaded_count(), 100);
  EXPECT_EQ(ui.lastMessage().text, "All lines initially discarded during reload!  Re-plotting old data.");
}

TEST_F(Reloading, AnOpenViewWindowOrAHoldPreventsIt) {
  rewrite(numbered_lines(3), 2000);
  data->view_window_open = true;
  reload(*data, ui);
  EXPECT_EQ(ui.sounds(), 1);
  data->view_window_open = false;
  data->update_hold = 1;
  reload(*data, ui);
  EXPECT_EQ(window.ends(), 0);
  EXPECT_EQ(data->loaded_count(), 100);
  data->update_hold = -3;  // a negative hold counts as none
  reload(*data, ui);
  EXPECT_EQ(data->loaded_count(), 3);
  EXPECT_EQ(data->update_hold, 0);
}

TEST_F(Reloading, ThePlotObjectsCommandRunsFirst) {
  window.command = "sh -c 'seq 1 20 > \"$0\"' " + path;
  reload(*data, ui);
  EXPECT_EQ(data->loaded_count(), 20);
}

TEST_F(Reloading, TheUpdateThreadReloadsWhenTheFileChanges) {
  data->set_update_interval(0.1, ui);
  EXPECT_TRUE(data->thread_alive());
  rewrite(numbered_lines(120), 2000);
  ASSERT_TRUE(window.wait_for_end(1));
  EXPECT_EQ(data->loaded_count(), 120);
  rewrite(numbered_lines(130), 2000);  // the same modification time: no reload
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(window.ends(), 1);
  rewrite(numbered_lines(130), 2500);
  ASSERT_TRUE(window.wait_for_end(2));
  EXPECT_EQ(data->loaded_count(), 130);
}

TEST_F(Reloading, AVanishedFileIsReportedOnce) {
  data->set_update_interval(0.05, ui);
  std::filesystem::remove(path);
  ASSERT_TRUE(window.wait_for_end(1));
  std::this_thread::sleep_for(400ms);
  EXPECT_EQ(window.ends(), 1);
  EXPECT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(data->loaded_count(), 100);
}

TEST_F(Reloading, IntervalZeroEndsTheThreadAndANewIntervalStartsAnother) {
  data->set_update_interval(0.1, ui);
  data->set_update_interval(0, ui);
  auto until = std::chrono::steady_clock::now() + 2s;
  while (data->thread_alive() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(data->thread_alive());
  rewrite(numbered_lines(110), 2000);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(window.ends(), 0);
  data->set_update_interval(0.1, ui);
  EXPECT_TRUE(data->thread_alive());
  ASSERT_TRUE(window.wait_for_end(1));
  EXPECT_EQ(data->loaded_count(), 110);
}

TEST_F(Reloading, UpdatesTurnedOffDuringAWaitReloadNoMore) {
  data->set_update_interval(0.3, ui);
  std::this_thread::sleep_for(50ms);
  data->set_update_interval(0, ui);
  rewrite(numbered_lines(120), 2000);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(window.ends(), 0);
  EXPECT_FALSE(data->thread_alive());
}

TEST_F(Reloading, HugeIntervalsWaitWithoutSpinning) {
  for (double interval : {1e10, HUGE_VAL}) {
    data->set_update_interval(interval, ui);
    std::clock_t start = std::clock();
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 0.1) << interval;
    data->set_update_interval(0, ui);
  }
}

TEST(ReloadingWithoutAFile, ADataSetBuiltInMemoryIsLeftAlone) {
  ScriptedUi ui;
  DataFile data("memory");
  data.store_text("1\n2\n3\n");
  reload(data, ui);
  EXPECT_EQ(data.loaded_count(), 3);
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Reloading, DestroyingAWaitingDataSetReturnsPromptly) {
  data->set_update_interval(3600, ui);
  std::this_thread::sleep_for(50ms);  // the thread is waiting now
  auto start = std::chrono::steady_clock::now();
  data->unsubscribe(window);
  data.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

}  // namespace
}  // namespace zentrik
