// A temporary folder for one test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace zentrik::testing {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zentrik-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }

  std::string path(std::string_view name) const { return (path_ / name).string(); }

  // Writes content to the file name in the folder and returns its path.
  std::string write(std::string_view name, std::string_view content) const {
    std::string file = path(name);
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

 private:
  std::filesystem::path path_;
};

// The lines "1" .. "n", each with its line feed.
inline std::string numbered_lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += std::to_string(i) + "\n";
  return text;
}

}  // namespace zentrik::testing
