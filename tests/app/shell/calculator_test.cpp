// Finding the desktop's calculator on PATH and starting it without leaving a zombie.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/shell/Calculator.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

class Calculator : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zentrik-calc-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    fs::remove_all(root_);
  }
  fs::path program(const std::string& folder, const std::string& name, const std::string& text, bool executable = true) {
    fs::create_directories(root_ / folder);
    std::ofstream(root_ / folder / name) << text;
    fs::permissions(root_ / folder / name, executable ? fs::perms::owner_all : fs::perms::owner_read);
    return root_ / folder / name;
  }
  // Waits until no child of this process is left, collected or not.
  static bool all_children_collected() {
    siginfo_t info{};
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
      if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD) return true;
    return false;
  }
  fs::path root_;
  std::string saved_path_;
};

TEST_F(Calculator, FindsThePreferredExecutableAcrossThePath) {
  const fs::path xcalc = program("a", "xcalc", "#!/bin/sh\n");
  program("a", "gnome-calculator", "not executable", false);
  const fs::path kcalc = program("b", "kcalc", "#!/bin/sh\n");
  fs::create_directories(root_ / "b" / "galculator");  // a folder, not a program
  program("rel", "gnome-calculator", "#!/bin/sh\n");
  const std::string a = (root_ / "a").string(), b = (root_ / "b").string();
  const std::string relative = fs::relative(root_ / "rel", fs::current_path()).string();

  EXPECT_EQ(find_calculator(a + ":" + b), kcalc.string());  // kcalc before xcalc, whatever the folders' order
  EXPECT_EQ(find_calculator(a + "/"), xcalc.string());
  // Relative and empty folders (the current directory) are never searched.
  EXPECT_EQ(find_calculator(relative + "::" + a), xcalc.string());
  EXPECT_EQ(find_calculator(relative + ":"), std::nullopt);
}

TEST_F(Calculator, StartsDetachedAndIsCollected) {
  const fs::path marker = root_ / "started";
  const fs::path galculator = program("bin", "galculator", "#!/bin/sh\necho \"$0\" > '" + marker.string() + "'\n");
  setenv("PATH", (root_ / "bin").c_str(), 1);
  ScriptedUi ui;
  EXPECT_TRUE(run_calculator(ui));
  EXPECT_TRUE(ui.messages().empty());
  auto started = [&] {
    std::string line;
    std::getline(std::ifstream(marker), line);
    return line;
  };
  for (int i = 0; i < 500 && started().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(started(), galculator.string());
  EXPECT_TRUE(all_children_collected());
}

TEST_F(Calculator, NoneFoundOrOneThatCannotStartIsReported) {
  ScriptedUi ui;
  setenv("PATH", (root_ / "nothing").c_str(), 1);
  EXPECT_FALSE(run_calculator(ui));
  program("broken", "xcalc", std::string("\x7f" "ELF garbage", 12));
  setenv("PATH", (root_ / "broken").c_str(), 1);
  EXPECT_FALSE(run_calculator(ui));

  ASSERT_EQ(ui.messages().size(), 2u);
  for (const ScriptedUi::Shown& shown : ui.messages()) {
    EXPECT_EQ(shown.text, "Can't find a calculator.");
    EXPECT_EQ(shown.caption, "No calculator!");
  }
  EXPECT_TRUE(all_children_collected());
}

}  // namespace
}  // namespace zentrik
