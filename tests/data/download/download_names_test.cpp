#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "data/download/Download.h"
#include "data/download/LocalCopy.h"

namespace zentrik {
namespace {

TEST(IsUrl, OnlyHttpAndHttpsInAnyCase) {
  struct Case {
    const char* path;
    bool url;
  } cases[] = {
      {"http://h/x.dat", true},   {"HTTP://H/X.DAT", true},  {"https://h/x", true},
      {"HtTpS://h", true},        {"http://", true},         {"httpx://h/x", false},
      {"http:/h/x", false},       {"https:/", false},        {"file:///x", false},
      {"ftp://h/x", false},       {"/home/u/http://x", false}, {"", false},
      {" http://h/x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(is_url(c.path), c.url) << c.path;
}

TEST(DisplayName, LastPartWithoutQuery) {
  struct Case {
    const char* url;
    const char* name;
  } cases[] = {
      {"http://h/a/data.txt?day=3", "data.txt"},
      {"HTTP://H/X.DAT", "X.DAT"},
      {"http://h/dir/", ""},
      {"http://h/dir/?q=1", ""},
      {"http://h/x.csv?a=1?b=2", "x.csv"},
      {"https://h", "h"},
      {"http://h/a\\b.txt", "a\\b.txt"},  // a "/" is there: backslashes stay
      {"c:\\data\\run.dat", "run.dat"},
      {"\\run.dat", "run.dat"},
      {"run.dat", "run.dat"},
      {"run.dat?x", "run.dat"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(download_display_name(c.url), c.name) << c.url;
}

TEST(LocalFileName, NeverLeavesTheFolder) {
  struct Case {
    std::string display;
    std::string file;
  } cases[] = {
      {"data.txt", "data.txt"},
      {"", "download"},
      {"..", "download"},
      {"...", "download"},
      {"../../etc/passwd", "etcpasswd"},
      {"..\\..\\boot.ini", "boot.ini"},
      {"a..b.csv", "ab.csv"},
      {"a\x01\n\x7f" "b.dat", "ab.dat"},
      {std::string("x\0y", 3), "xy"},
      {".hidden", ".hidden"},
      {"r\xc3\xa9sum\xc3\xa9.txt", "r\xc3\xa9sum\xc3\xa9.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(local_file_name(c.display), c.file) << c.display;
}

TEST(LocalFileName, LongNamesAreCutWithoutSplittingACharacter) {
  std::string accents;
  for (int i = 0; i < 100; ++i) accents += "\xc3\xa9";
  std::string name = local_file_name("a" + accents);
  EXPECT_LE(name.size(), kMaxLocalName);
  EXPECT_EQ(name.size() % 2, 1u) << "a half character was left at the end";
}

TEST(LocalCopyPath, OneStableFolderPerUrl) {
  std::filesystem::path cache = "/c";
  auto a = local_copy_path(cache, "http://h/a/data.txt", "data.txt");
  EXPECT_EQ(a, local_copy_path(cache, "http://h/a/data.txt", "data.txt"));
  EXPECT_EQ(a.filename(), "data.txt");
  EXPECT_EQ(a.parent_path().parent_path(), cache);
  EXPECT_EQ(a.parent_path().filename().string().size(), 16u);
  auto b = local_copy_path(cache, "http://h/b/data.txt", "data.txt");
  EXPECT_NE(a.parent_path(), b.parent_path());
  EXPECT_EQ(local_copy_path(cache, "http://h/", "").filename(), "download");
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(CacheFolder, SettingThenXdgThenHome) {
  struct Case {
    const char* cache_dir;
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/mine", "/xdg", "/home/u", "/mine"},
      {"", "/xdg", "/home/u", "/xdg/zentrik/downloads"},
      {"", nullptr, "/home/u", "/home/u/.cache/zentrik/downloads"},
      {"", "", "/home/u", "/home/u/.cache/zentrik/downloads"},
      {"", "relative", "/home/u", "/home/u/.cache/zentrik/downloads"},
  };
  for (const Case& c : cases) {
    ScopedEnv xdg("XDG_CACHE_HOME", c.xdg);
    ScopedEnv home("HOME", c.home);
    DownloadSettings settings;
    settings.cache_dir = c.cache_dir;
    EXPECT_EQ(download_cache_folder(settings), c.folder) << c.cache_dir << " " << (c.xdg ? c.xdg : "(unset)");
  }
}

}  // namespace
}  // namespace zentrik
