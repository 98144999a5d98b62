#include "data/AtomicFile.h"

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

// Large outputs are printed into the file piece by piece; the old file stays until
// the last piece is on the disk, and stays for good when one fails.
TEST(AtomicFile, AStreamedFileReplacesTheOldOneOnlyWhenComplete) {
  testing::TempDir dir;
  const std::string path = dir.write("points.txt", "old points\n");
  {
    ReplacingFile file(path);
    ASSERT_TRUE(file.ok()) << file.error();
    for (int i = 0; i < 1000; ++i) std::fprintf(file.stream(), "%d %d\n", i, i * i);
    EXPECT_EQ(testing::read_file(path), "old points\n");
    ASSERT_TRUE(file.commit()) << file.error();
  }
  EXPECT_EQ(testing::read_file(path).substr(0, 12), "0 0\n1 1\n2 4\n");
  EXPECT_EQ(files_in(dir.path("")), 1u);

  const std::string before = testing::read_file(path);
  {
    testing::FileSizeLimit full_disk(4096);
    ReplacingFile file(path);
    for (int i = 0; i < 100000; ++i) std::fprintf(file.stream(), "%d\n", i);
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.error(), "File too large");
  }
  EXPECT_EQ(testing::read_file(path), before);
  {
    ReplacingFile abandoned(path);  // never committed: nothing changes, nothing is left
    abandoned.write("half");
  }
  EXPECT_EQ(testing::read_file(path), before);
  EXPECT_EQ(files_in(dir.path("")), 1u);
}

// A device is written where it is, never replaced by a file, and its failures count.
TEST(AtomicFile, ADeviceIsWrittenDirectlyWithEveryWriteChecked) {
  std::string error;
  EXPECT_TRUE(write_file_atomically("/dev/null", "gone\n", error)) << error;
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  EXPECT_FALSE(write_file_atomically("/dev/full", "lost\n", error));
  EXPECT_EQ(error, "No space left on device");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace zentrik
