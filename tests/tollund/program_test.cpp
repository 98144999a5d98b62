// tollund3 as the setup program and a plot object start it, without a display.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>

#include "data/TempDir.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;
using testing::read_file;

class Tollund3 : public ::testing::Test {
 protected:
  Tollund3() {
    fs::create_directory(dir_.path("home"));
    fs::create_directories(dir_.path("Zentrik 3/objects"));
  }

  // The exit status; what the program wrote to standard error goes to err().
  int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> environment = {"HOME=" + dir_.path("home"), "XDG_CONFIG_HOME=" + dir_.path("config"),
                                            "PATH=/usr/bin:/bin"};
    std::vector<char*> argv{const_cast<char*>(TOLLUND3)}, envp;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, dir_.path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, TOLLUND3, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string err() const { return read_file(dir_.path("stderr")); }

  testing::TempDir dir_;
};

TEST_F(Tollund3, InstallerModeTakesTheWholeCommandLineAsTheFolder) {
  // A folder with a blank, given unquoted, and an old file that can't be asked about
  // without a display: it is copied, as when the question is closed.
  const std::string d = dir_.path("Zentrik 3");
  dir_.write("home/zentrik.ini", "old\n");
  EXPECT_EQ(run({dir_.path("Zentrik"), "3"}), 0);
  EXPECT_EQ(read_file(d + "/zentrik.ini"), "old\n");
  EXPECT_EQ(read_file(dir_.path("home/zentrik.ini")), "old\n");
  EXPECT_EQ(read_file(d + "/INSTALL.LOG"), "File Overwrite: " + d + "/zentrik.ini\n");
  EXPECT_EQ(read_file(dir_.path("config/Vantrell/Zentrik.conf")), "Configpath=" + d + "/zentrik.ini\n");
}

TEST_F(Tollund3, EveryRunEndsWithStatusZero) {
  EXPECT_EQ(run({dir_.path("no such folder")}), 0);
  EXPECT_FALSE(fs::exists(dir_.path("no such folder")));

  const std::string store = read_file(dir_.path("config/Vantrell/Zentrik.conf"));
  EXPECT_EQ(run({}), 0);  // the sample message, told on standard error without a display
  EXPECT_NE(err().find("Sample Program (tollund3): This message is displayed by a sample program"),
            std::string::npos)
      << err();
  EXPECT_EQ(read_file(dir_.path("config/Vantrell/Zentrik.conf")), store);  // and nothing else is done
}

}  // namespace
}  // namespace zentrik
