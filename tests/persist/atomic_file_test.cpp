#include "persist/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/TempDir.h"

namespace zentrik {
namespace {

std::size_t files_in(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(AtomicFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
  testing::TempDir dir;
  const std::string path = dir.path("Zentrik.ini");
  std::string error;
  ASSERT_TRUE(write_file_atomically(path, "first version\n", error)) << error;
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(write_file_atomically(path, "second\n", error)) << error;
  EXPECT_EQ(testing::read_file(path), "second\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(files_in(dir.path("")), 1u);  // no temporary file left
}

TEST(AtomicFile, AWriteThatFailsHalfwayLeavesTheOldFile) {
  testing::TempDir dir;
  const std::string path = dir.path("plot.zko");
  std::string error;
  ASSERT_TRUE(write_file_atomically(path, "old plot\n", error));

  // A file size limit makes the disk "full" after 4 KB of a 64 KB save.
  bool written;
  {
    testing::FileSizeLimit full_disk(4096);
    written = write_file_atomically(path, std::string(65536, 'x'), error);
  }

  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(testing::read_file(path), "old plot\n");
  EXPECT_EQ(files_in(dir.path("")), 1u);
}

TEST(AtomicFile, ALinkStaysALinkAndItsFileIsReplaced) {
  testing::TempDir dir;
  const std::string file = dir.write("dotfiles-Zentrik.ini", "old\n");
  const std::string link = dir.path("Zentrik.ini");
  std::filesystem::create_symlink(file, link);
  std::string error;
  ASSERT_TRUE(write_file_atomically(link, "new\n", error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(testing::read_file(file), "new\n");
}

TEST(AtomicFile, AFolderThatCannotBeWrittenIsReported) {
  std::string error;
  EXPECT_FALSE(write_file_atomically("/nonexistent-folder/Zentrik.ini", "x", error));
  EXPECT_EQ(error, "No such file or directory");
}

}  // namespace
}  // namespace zentrik
