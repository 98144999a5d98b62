#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestHttpServer.h"
#include "data/DataFile.h"
#include "data/Updates.h"
#include "data/download/Download.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;
using testing::Route;
using testing::TestHttpServer;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kCaption = "File Not Downloaded!";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool logged(const ScriptedUi& ui, const std::string& line) {
  auto log = ui.progressLog();
  return std::find(log.begin(), log.end(), line) != log.end();
}

long logged_count(const ScriptedUi& ui, const std::string& line) {
  auto log = ui.progressLog();
  return std::count(log.begin(), log.end(), line);
}

struct Outcome {
  bool ok = false;
  std::string path;
  bool cancelled = false;
  double seconds = 0;
};

class Download : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = download_settings();
    static int serial = 0;
    cache_ = fs::temp_directory_path() /
             ("zentrik-download-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    DownloadSettings& settings = download_settings();
    settings.cache_dir = cache_.string();
    settings.connect_timeout_seconds = 5;
    settings.stall_seconds = 2;
    settings.max_bytes = 256 * 1024;
  }

  void TearDown() override {
    server_.stop();
    download_settings() = saved_;
    std::error_code ignored;
    fs::remove_all(cache_, ignored);
  }

  Outcome fetch(const std::string& url, ScriptedUi& ui, bool cancelled_before = false) {
    DataFile data(url);
    data.download_cancelled = cancelled_before;
    Outcome outcome;
    outcome.path = url;
    auto start = Clock::now();
    outcome.ok = download(data, outcome.path, ui);
    outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.cancelled = data.download_cancelled;
    return outcome;
  }

  // Every file in the cache, partial ones included.
  std::vector<fs::path> cached_files() const {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(cache_, ignored); it != fs::recursive_directory_iterator();
         ++it)
      if (it->is_regular_file()) files.push_back(it->path());
    return files;
  }

  void expect_failure(const Outcome& outcome, const ScriptedUi& ui, const std::string& text) {
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.cancelled);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, text);
    EXPECT_EQ(ui.lastMessage().caption, kCaption);
    EXPECT_EQ(ui.lastMessage().buttons, Buttons::Ok);
    EXPECT_EQ(ui.sounds(), 0);
    EXPECT_EQ(ui.progressLog().back(), "hide");
    for (const fs::path& file : cached_files())  // an earlier complete copy may stay
      EXPECT_NE(file.filename().string().rfind(".part-", 0), 0u) << "a failed download left " << file;
  }

  TestHttpServer server_;
  fs::path cache_;
  DownloadSettings saved_;
};

TEST_F(Download, SavesTheBodyAndReplacesThePath) {
  struct Case {
    std::size_t bytes;
    const char* done_text;
  } cases[] = {{9, "text: \nDownloaded 0K"}, {5000, "text: \nDownloaded 5K"}, {250000, "text: \nDownloaded 250K"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::string body;
    for (std::size_t i = 0; body.size() < c.bytes; ++i) body += std::to_string(i % 10);
    std::string target = "/sets/data" + std::to_string(c.bytes) + ".txt";
    server_.route(target, Route::text(body));
    ScriptedUi ui;
    Outcome outcome = fetch(server_.url(target + "?day=3"), ui, true);
    ASSERT_TRUE(outcome.ok);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(fs::path(outcome.path).filename(), "data" + std::to_string(c.bytes) + ".txt");
    EXPECT_EQ(fs::path(outcome.path).parent_path().parent_path(), cache_);
    EXPECT_EQ(read_file(outcome.path), body);
    auto log = ui.progressLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "show: \nDownloading...");
    EXPECT_EQ(log.back(), "hide");
    EXPECT_TRUE(logged(ui, c.done_text));
    EXPECT_FALSE(logged(ui, "cancel: off"));
  }
}

TEST_F(Download, ASecondDownloadReplacesTheFirstAndAFailedOneKeepsIt) {
  server_.route("/run.dat", Route::text("first\n"));
  ScriptedUi first_ui;
  Outcome first = fetch(server_.url("/run.dat"), first_ui);
  ASSERT_TRUE(first.ok);

  server_.route("/run.dat", Route::text("second\n"));
  ScriptedUi second_ui;
  Outcome second = fetch(server_.url("/run.dat"), second_ui);
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(second.path, first.path);
  EXPECT_EQ(read_file(second.path), "second\n");
  EXPECT_EQ(cached_files().size(), 1u);

  server_.route("/run.dat", Route::error(404));
  ScriptedUi third_ui;
  Outcome third = fetch(server_.url("/run.dat"), third_ui);
  expect_failure(third, third_ui, "Error downloading run.dat:  URL not found or server not responding");
  EXPECT_EQ(read_file(first.path), "second\n");
  EXPECT_EQ(cached_files().size(), 1u);
}

TEST_F(Download, FailuresNameTheirReason) {
  struct Case {
    const char* target;
    Route route;
    const char* text;
  } cases[] = {
      {"/missing.txt", Route::error(404), "Error downloading missing.txt:  URL not found or server not responding"},
      {"/gone.txt", Route::error(410), "Error downloading gone.txt:  URL not found or server not responding"},
      {"/login.txt", Route::error(401), "Error downloading login.txt:  authentication required"},
      {"/proxy.txt", Route::error(407), "Error downloading proxy.txt:  authentication required"},
      {"/forbidden.txt", Route::error(403), "Error downloading forbidden.txt:  security problem"},
      {"/bad.txt", Route::error(400), "Error downloading bad.txt:  invalid request"},
      {"/teapot.txt", Route::error(418), "Error downloading teapot.txt:  invalid request"},
      {"/broken.txt", Route::error(500), "Error downloading broken.txt:  data not available"},
      {"/busy.txt", Route::error(503), "Error downloading busy.txt:  data not available"},
      {"/to-file.txt", Route::redirect("file:///etc/passwd"), "Error downloading to-file.txt:  unknown protocol"},
      {"/to-ftp.txt", Route::redirect("ftp://127.0.0.1/x"), "Error downloading to-ftp.txt:  unknown protocol"},
      {"/loop.txt", Route::redirect("/loop.txt"), "Error downloading loop.txt:  invalid request"},
      {"/to-missing.txt", Route::redirect("/nothing-here"),
       "Error downloading to-missing.txt:  URL not found or server not responding"},
      {"/endless.txt", Route::endless(), "Error downloading endless.txt:  the download exceeds 256 KB"},
      {"/big.txt", Route::text(std::string(300 * 1024, 'b')),
       "Error downloading big.txt:  the download exceeds 256 KB"},
      {"/silent.txt", Route::silent(), "Error downloading silent.txt:  connection failure (is the computer offline?)"},
      {"/cut.txt", Route::cut(1000, 100), "Error downloading cut.txt:  connection failure (is the computer offline?)"},
      {"/garbage.txt", Route::garbage(), "Error downloading garbage.txt:  unknown protocol"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    server_.route(c.target, c.route);
    ScriptedUi ui;
    Outcome outcome = fetch(server_.url(c.target), ui);
    expect_failure(outcome, ui, c.text);
    EXPECT_LT(outcome.seconds, 3.0) << "an endless or oversized body must stop at the size limit";
    EXPECT_EQ(outcome.path, server_.url(c.target)) << "a failure must not replace the path";
  }
}

TEST_F(Download, FollowsARedirectToAnotherServedPath) {
  server_.route("/old/data.csv", Route::redirect("/new/data.csv"));
  server_.route("/new/data.csv", Route::text("a,b\n1,2\n"));
  ScriptedUi ui;
  Outcome outcome = fetch(server_.url("/old/data.csv"), ui);
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(read_file(outcome.path), "a,b\n1,2\n");
  EXPECT_EQ(server_.requested(), (std::vector<std::string>{"/old/data.csv", "/new/data.csv"}));
  EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Download, RefusesWhatIsNotHttp) {
  struct Case {
    std::string url;
    const char* text;
  } cases[] = {
      {"file:///etc/passwd", "Error downloading passwd:  unknown protocol"},
      {"ftp://127.0.0.1:" + std::to_string(TestHttpServer::closed_port()) + "/x.dat",
       "Error downloading x.dat:  unknown protocol"},
      {"http://", "Error downloading :  invalid URL"},
      {"http://[::1/x.dat", "Error downloading x.dat:  invalid URL"},
      {"http://127.0.0.1:" + std::to_string(TestHttpServer::closed_port()) + "/closed.dat",
       "Error downloading closed.dat:  could not connect"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    ScriptedUi ui;
    expect_failure(fetch(c.url, ui), ui, c.text);
  }
}

TEST_F(Download, AStalledOrCrawlingServerTimesOut) {
  DownloadSettings& settings = download_settings();
  settings.stall_seconds = 1;
  settings.total_seconds = 10;  // should the stall rule miss, the test still ends
  struct Case {
    const char* target;
    Route route;
  } cases[] = {
      {"/stall.txt", Route::stall(10000, 1)},
      {"/trickle.txt", Route::trickle(milliseconds(150))},  // a few bytes a second, without end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    server_.route(c.target, c.route);
    ScriptedUi ui;
    Outcome outcome = fetch(server_.url(c.target), ui);
    expect_failure(outcome, ui, "Error downloading " + std::string(c.target + 1) + ":  connection timeout");
    EXPECT_LT(outcome.seconds, 3.5);
    EXPECT_FALSE(logged(ui, "cancel: off"));
    EXPECT_TRUE(cached_files().empty());
  }
}

// The stall rule counts the average over a stretch: bytes that keep arriving fast
// enough pass it, however long the download takes.
TEST_F(Download, ATimeLimitEndsWhatTheStallRuleLetsThrough) {
  DownloadSettings& settings = download_settings();
  settings.stall_seconds = 1;
  settings.min_bytes_per_second = 2;
  settings.total_seconds = 2;
  server_.route("/crawl.txt", Route::trickle(milliseconds(100)));
  ScriptedUi ui;
  Outcome crawled = fetch(server_.url("/crawl.txt"), ui);
  expect_failure(crawled, ui, "Error downloading crawl.txt:  the download took longer than 2 seconds");
  EXPECT_GE(crawled.seconds, 1.9);  // libcurl may end a hair early
  EXPECT_LT(crawled.seconds, 3.5);
  EXPECT_TRUE(cached_files().empty());

  settings.total_seconds = 1;
  server_.route("/quick.txt", Route::text("1 2\n3 4\n"));
  ScriptedUi quick_ui;
  EXPECT_TRUE(fetch(server_.url("/quick.txt"), quick_ui).ok);
  ScriptedUi stalled_ui;
  server_.route("/stall.txt", Route::stall(10000, 10));
  settings.stall_seconds = 30;
  expect_failure(fetch(server_.url("/stall.txt"), stalled_ui), stalled_ui,
                 "Error downloading stall.txt:  the download took longer than 1 second");
}

// Announced or found while it arrives, a body over the limit is refused in the
// limit's own unit, and nothing of it stays in the cache.
TEST_F(Download, TheSizeLimitNamesItself) {
  struct Case {
    long long max_bytes;
    Route route;
    const char* text;
  } cases[] = {
      {4LL << 30, Route::stall(std::size_t{5} << 30, 0), "Error downloading body.txt:  the download exceeds 4 GB"},
      {1 << 20, Route::endless(), "Error downloading body.txt:  the download exceeds 1 MB"},
      {3 << 19, Route::endless(), "Error downloading body.txt:  the download exceeds 1.5 MB"},
      {1000, Route::text(std::string(1001, '7')), "Error downloading body.txt:  the download exceeds 1000 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    download_settings().max_bytes = c.max_bytes;
    server_.route("/body.txt", c.route);
    ScriptedUi ui;
    Outcome outcome = fetch(server_.url("/body.txt"), ui);
    expect_failure(outcome, ui, c.text);
    EXPECT_LT(outcome.seconds, 3.0);
    EXPECT_TRUE(cached_files().empty());
  }
}

// A cache folder that cannot be made is no size problem.
TEST_F(Download, ACacheThatCannotBeWrittenCanNotLoadData) {
  std::ofstream(cache_) << "a file where the cache folder should be";
  download_settings().cache_dir = (cache_ / "downloads").string();
  server_.route("/run.dat", Route::text("1 2\n"));
  ScriptedUi ui;
  expect_failure(fetch(server_.url("/run.dat"), ui), ui, "Error downloading run.dat:  can not load data");
}

TEST_F(Download, CancelStopsAStalledDownloadWithoutAMessage) {
  download_settings().stall_seconds = 30;
  server_.route("/stall.txt", Route::stall(10000, 2000));
  ScriptedUi ui;
  ui.cancelAtCheck(5);
  Outcome outcome = fetch(server_.url("/stall.txt"), ui);
  EXPECT_FALSE(outcome.ok);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_LT(outcome.seconds, 5.0);
  EXPECT_EQ(outcome.path, server_.url("/stall.txt"));
  EXPECT_TRUE(cached_files().empty());

  // what arrived was shown once each, however often it was polled
  EXPECT_EQ(logged_count(ui, "text: \nDownloading \nstall.txt"), 1);
  EXPECT_EQ(logged_count(ui, "size: 10K"), 1);
  EXPECT_EQ(logged_count(ui, "fraction: 0.200000"), 1);
  EXPECT_FALSE(logged(ui, "text: \nDownloaded 10K"));
  EXPECT_EQ(logged_count(ui, "cancel: off"), 1);
  EXPECT_EQ(ui.progressLog().back(), "hide");
}

TEST_F(Download, CancelEndsAnEndlessBodyBeforeTheSizeLimit) {
  download_settings().max_bytes = 1LL << 40;
  server_.route("/endless.txt", Route::endless());
  ScriptedUi ui;
  ui.cancelAtCheck(2);
  Outcome outcome = fetch(server_.url("/endless.txt"), ui);
  EXPECT_FALSE(outcome.ok);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_TRUE(cached_files().empty());
}

// A data set named by a URL is downloaded, then loaded from the local copy; a
// reload downloads it again.
TEST_F(Download, LoadingAndReloadingAUrl) {
  server_.route("/logger/run.dat", Route::text("1 2\n3 4\n5 6\n"));
  ScriptedUi ui;
  LoadEnvironment env{ui};
  std::string url = server_.url("/logger/run.dat");
  url.replace(0, 4, "HTTP");  // the scheme in capitals is a URL too
  DataFile data(url, env);
  ASSERT_EQ(data.included_count(), 3);
  EXPECT_EQ(data.url, url);
  EXPECT_NE(data.path(), url);
  EXPECT_EQ(read_file(data.path()), "1 2\n3 4\n5 6\n");
  EXPECT_EQ(fs::path(data.path()).filename(), "run.dat");

  server_.route("/logger/run.dat", Route::text("1 2\n3 4\n5 6\n7 8\n"));
  reload(data, ui);
  EXPECT_EQ(data.included_count(), 4);

  server_.route("/logger/run.dat", Route::error(500));  // the last copy is read again
  reload(data, ui);
  EXPECT_EQ(data.included_count(), 4);
  auto shown = ui.messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Error downloading run.dat:  data not available");
  EXPECT_EQ(shown[1].text, "Can't download data file:  " + data.path());
  EXPECT_EQ(shown[1].caption, "Error!");
}

}  // namespace
}  // namespace zentrik
