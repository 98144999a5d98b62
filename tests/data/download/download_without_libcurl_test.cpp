// Run with LD_LIBRARY_PATH naming the folder of not_libcurl.cpp's libcurl.so.4 (see
// tests/CMakeLists.txt): the download finds a libcurl without its functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data/DataFile.h"
#include "data/TempDir.h"
#include "data/download/Download.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

TEST(DownloadWithoutLibcurl, FailsWithTheLoadersReasonAndLeavesNothing) {
  testing::TempDir cache;
  download_settings().cache_dir = cache.path("downloads");
  const std::string url = "http://127.0.0.1:9/run.dat";
  for (int attempt = 0; attempt < 2; ++attempt) {  // the second one is told the same
    DataFile data(url);
    std::string path = url;
    ScriptedUi ui;
    EXPECT_FALSE(download(data, path, ui));
    EXPECT_EQ(path, url);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text,
              "Error downloading run.dat:  libcurl.so.4 could not be loaded: it has no function curl_global_init");
    EXPECT_EQ(ui.lastMessage().caption, "File Not Downloaded!");
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(cache.path("downloads")))
    EXPECT_FALSE(entry.is_regular_file()) << "a failed download left " << entry.path();
}

}  // namespace
}  // namespace zentrik
