// The installation through its logic: the folder, the log, the copy loop with its
// overwrite modes, questions and Cancel, and what stops it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/setup/SetupSandbox.h"

namespace zentrik::testing {
namespace {

using Button = FileExistsAnswer::Button;

constexpr std::string_view kCanceled =
    "Installation canceled!  Remove the destination folder to remove the partial installation.";

class Install : public SetupSandbox {
 protected:
  Install() { write_package(usual_package()); }

  // The log's lines after the start line (which holds the time).
  std::vector<std::string> logged(const std::string& folder) const {
    std::vector<std::string> lines;
    std::istringstream in(log_of(folder));
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.rfind("Installation Started ", 0), 0u) << line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }
};

TEST_F(Install, AFreshInstallationCopiesEveryFileLogsItAndStartsTheConfigurationMaker) {
  const std::string d = dir_.path("opt/Zentrik 3");
  EXPECT_TRUE(run_install(choices("opt/Zentrik 3")));

  const std::vector<std::string> lines = logged(d);
  const std::vector<std::string> head = {"Title: Zentrik Version 3.4 For Linux",
                                         "Made Dir: " + dir_.path("opt"),
                                         "Made Dir: " + d,
                                         "File Create: " + d + "/INSTALL.LOG",
                                         "File Copy: " + d + "/zentrik3",
                                         "File Copy: " + d + "/tollund3",
                                         "File Copy: " + d + "/setup",
                                         "Made Dir: " + d + "/help",
                                         "File Copy: " + d + "/help/guide.md"};
  ASSERT_GE(lines.size(), head.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
  EXPECT_EQ(lines.back(), "File Create: " + d + "/zentrik.ini");  // the configuration maker's line

  EXPECT_EQ(read(d + "/plotdata/weather.dat"), "1 2\n3 4\n");
  EXPECT_EQ(read(d + "/share/zentrik3.desktop"), kShippedEntry);
  EXPECT_TRUE((fs::status(d + "/zentrik3").permissions() & fs::perms::owner_exec) != fs::perms::none);
  EXPECT_EQ(read(d + "/zentrik.ini"), d + "\n");  // the maker's one argument: the folder

  EXPECT_EQ(ui_.status.front(), "\nCopying Files . . .");
  EXPECT_TRUE(ui_.status_cancel_button);
  EXPECT_TRUE(std::find(ui_.status.begin(), ui_.status.end(), "\nCopying guide.md . . .") != ui_.status.end());
  ASSERT_FALSE(ui_.messages.empty());
  EXPECT_EQ(ui_.messages.back().caption, "Installation Complete!");
  EXPECT_EQ(ui_.messages.back().text,
            "Zentrik version 3.4 is installed and ready to use.  If you wish to uninstall Zentrik, use \"Uninstall "
            "Zentrik\" in the applications menu.");
  EXPECT_EQ(ui_.messages.size(), 1u);
  EXPECT_TRUE(ui_.file_exists.empty());
}

TEST_F(Install, WithoutTheMenuTheClosingMessageNamesTheCommand) {
  InstallChoices chosen = choices();
  chosen.start_menu = false;
  EXPECT_TRUE(run_install(chosen));
  const std::string d = chosen.destination;
  EXPECT_EQ(ui_.messages.back().text,
            "Zentrik version 3.4 is installed and ready to use.  If you wish to uninstall Zentrik, run \"'" + d +
                "/setup' '" + d + "/INSTALL.LOG'\".");
}

// A second installation over the first: the data and help files exist.
TEST_F(Install, ExistingFilesFollowTheOverwriteMode) {
  struct Case {
    const char* name;
    std::vector<FileExistsAnswer> answers;  // in the order of the questions
    std::vector<std::string> asked;         // destinations, relative
    std::vector<std::string> replaced;      // of the four existing files
  };
  const Case cases[] = {
      {"overwrite, then skip, keep asking",
       {{Button::Overwrite, OverwriteMode::Ask}, {Button::SkipFile, OverwriteMode::Ask},
        {Button::Overwrite, OverwriteMode::Ask}, {Button::SkipFile, OverwriteMode::Ask}},
       {"help/guide.md", "plotdata/weather.dat", "objects/SAMPLE_1.zko", "share/zentrik-object.xml"},
       {"help/guide.md", "objects/SAMPLE_1.zko"}},
      {"always from the first",
       {{Button::SkipFile, OverwriteMode::Always}},
       {"help/guide.md"},
       {"plotdata/weather.dat", "objects/SAMPLE_1.zko", "share/zentrik-object.xml"}},
      {"never from the second",
       {{Button::Overwrite, OverwriteMode::Never}},
       {"help/guide.md"},
       {"help/guide.md"}},
  };
  const std::vector<std::string> existing = {"help/guide.md", "plotdata/weather.dat", "objects/SAMPLE_1.zko",
                                             "share/zentrik-object.xml"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string d = dir_.path(c.name);
    for (const std::string& file : existing) {
      fs::create_directories(fs::path(d + "/" + file).parent_path());
      dir_.write(std::string(c.name) + "/" + file, "mine\n");
    }
    dir_.write(std::string(c.name) + "/zentrik3", "old program\n");  // replaced without asking
    ui_ = ScriptedSetupUi();
    for (const FileExistsAnswer& answer : c.answers) ui_.queueFileExists(answer.button, answer.future);

    EXPECT_TRUE(run_install(choices(c.name)));
    std::vector<std::string> asked;
    for (const std::string& path : ui_.file_exists) asked.push_back(path.substr(d.size() + 1));
    EXPECT_EQ(asked, c.asked);
    EXPECT_TRUE(ui_.allAnswered());
    const std::string log = log_of(d);
    for (const std::string& file : existing) {
      const bool replaced = std::find(c.replaced.begin(), c.replaced.end(), file) != c.replaced.end();
      EXPECT_EQ(read(d + "/" + file) != "mine\n", replaced) << file;
      EXPECT_EQ(has_line(log, "File Overwrite: " + d + "/" + file), replaced) << file;
    }
    EXPECT_EQ(read(d + "/zentrik3"), "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(has_line(log, "File Overwrite: " + d + "/zentrik3"));
  }
}

TEST_F(Install, NeverOverwritingStillCopiesNewFilesAndProgramsAreNotAskedAbout) {
  write_package({{"SETUP.TXT", "setup.txt", "new\n"},
                 {"Tollund3.cfg", "tollund3.cfg", "new\n"},
                 {"old.dat", "old.dat", "new\n"},
                 {"fresh.dat", "fresh.dat", "new\n"}});
  const std::string d = dir_.path("Zentrik 3");
  fs::create_directories(d);
  for (const char* name : {"setup.txt", "tollund3.cfg", "old.dat"}) dir_.write("Zentrik 3/" + std::string(name), "mine\n");
  ui_.queueFileExists(Button::SkipFile, OverwriteMode::Never);
  options_.configuration_maker_wait_ms = 0;
  run_install(choices());
  EXPECT_EQ(ui_.file_exists, std::vector<std::string>{d + "/old.dat"});
  EXPECT_EQ(read(d + "/setup.txt"), "new\n");
  EXPECT_EQ(read(d + "/tollund3.cfg"), "new\n");
  EXPECT_EQ(read(d + "/old.dat"), "mine\n");
  EXPECT_EQ(read(d + "/fresh.dat"), "new\n");
  EXPECT_EQ(ui_.messages.back().caption, "Command Execution Error!");
  EXPECT_EQ(ui_.messages.back().text, "Could not execute the following command:\n\n" + d + "/tollund3 " + d);
}

TEST_F(Install, CancelInstallationAsksUntilTheAnswerIsYes) {
  const std::string d = dir_.path("Zentrik 3");
  fs::create_directories(d + "/help");
  dir_.write("Zentrik 3/help/guide.md", "mine\n");
  ui_.queueFileExists(Button::CancelInstallation);
  ui_.queueAnswer(Answer::No);
  ui_.queueFileExists(Button::CancelInstallation, OverwriteMode::Always);
  ui_.queueAnswer(Answer::Yes);

  EXPECT_FALSE(run_install(choices()));
  EXPECT_TRUE(ui_.allAnswered());
  EXPECT_EQ(ui_.file_exists.size(), 2u);
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_EQ(ui_.messages[0].text, "Are you sure you want to cancel the installation?");
  EXPECT_EQ(ui_.messages[0].caption, "Really cancel?");
  EXPECT_EQ(ui_.messages[2].text, kCanceled);
  EXPECT_EQ(ui_.messages[2].caption, "Canceled!");
  EXPECT_EQ(read(d + "/help/guide.md"), "mine\n");
  EXPECT_FALSE(fs::exists(d + "/plotdata"));  // nothing after the cancel
  EXPECT_FALSE(fs::exists(d + "/zentrik.ini"));
  EXPECT_FALSE(fs::exists(home(".local/bin/zentrik3")));  // no registration either
}

TEST_F(Install, CancelDuringACopyEndsOnceTheCopyIsOver) {
  const std::string d = dir_.path("Zentrik 3");
  ui_.pressCancelDuring("\nCopying tollund3 . . .");
  ui_.queueAnswer(Answer::No);  // the installation goes on
  ui_.pressCancelDuring("\nCopying guide.md . . .");
  ui_.queueAnswer(Answer::Yes);

  EXPECT_FALSE(run_install(choices()));
  EXPECT_TRUE(ui_.allAnswered());
  EXPECT_EQ(ui_.messages.back().text, kCanceled);
  EXPECT_TRUE(std::find(ui_.status.begin(), ui_.status.end(), "\nCanceling . . .") != ui_.status.end());
  // The file being copied is complete and logged; nothing follows it.
  EXPECT_EQ(read(d + "/help/guide.md"), "# Guide\n");
  EXPECT_TRUE(has_line(log_of(d), "File Copy: " + d + "/help/guide.md"));
  EXPECT_FALSE(fs::exists(d + "/plotdata"));

  // Cancel before the first file: nothing is copied.
  ui_ = ScriptedSetupUi();
  ui_.pressCancelDuring("\nCopying Files . . .");
  ui_.queueAnswer(Answer::Yes);
  EXPECT_FALSE(run_install(choices("second")));
  EXPECT_EQ(logged(dir_.path("second")).size(), 3u);  // title, made folder, the log itself
}

TEST_F(Install, AMissingSourceIsToldAndTheRestInstalled) {
  fs::remove(dir_.path("package/guide.md"));
  EXPECT_TRUE(run_install(choices()));
  ASSERT_GE(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[0].caption, "Missing File!");
  EXPECT_EQ(ui_.messages[0].text,
            "The source file " + dir_.path("package/guide.md") +
                " is missing.  The installation will continue but will not be complete and may not function "
                "correctly.  Please download a new package from our web site and re-install.");
  EXPECT_TRUE(fs::exists(dir_.path("Zentrik 3/plotdata/weather.dat")));
  EXPECT_EQ(ui_.messages.back().caption, "Installation Complete!");
}

TEST_F(Install, WhatIsInTheWayStopsTheInstallation) {
  struct Case {
    const char* name;
    std::function<void(const std::string& d)> prepare;
    std::string (*expected)(const std::string& d, const std::string& root);
  };
  const Case cases[] = {
      {"a folder where a file goes", [](const std::string& d) { fs::create_directories(d + "/plotdata/weather.dat"); },
       [](const std::string& d, const std::string&) {
         return "Could not copy file:\n\n" + d + "/plotdata/weather.dat\n\nIt exists and is a folder!";
       }},
      {"a file where a folder goes",
       [](const std::string& d) {
         fs::create_directories(d);
         std::ofstream(d + "/help") << "x";
       },
       [](const std::string& d, const std::string&) {
         return "Could not copy file:\n\n" + d + "/help\n\nIt exists and is not a folder!";
       }},
      {"a file where the installation folder goes",
       [](const std::string& d) { std::ofstream(fs::path(d).parent_path().string()) << "x"; },
       [](const std::string& d, const std::string&) {
         return fs::path(d).parent_path().string() + " exists and is not a folder!";
       }},
      {"no package list", [](const std::string&) {},
       [](const std::string&, const std::string& package) {
         return "Could not open " + package + "/Zentrik3.INF:\n\nNo such file or directory";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string d = dir_.path(std::string(c.name) + "/Zentrik3");
    c.prepare(d);
    if (std::string(c.name) == "no package list") fs::rename(dir_.path("package/Zentrik3.INF"), dir_.path("list"));
    ui_ = ScriptedSetupUi();
    EXPECT_FALSE(run_install(choices(std::string(c.name) + "/Zentrik3")));
    ASSERT_FALSE(ui_.messages.empty());
    EXPECT_EQ(ui_.messages.back().caption, "Error!");
    EXPECT_EQ(ui_.messages.back().text, c.expected(d, dir_.path("package")) + "\n\nZentrik installation failed!");
    EXPECT_FALSE(fs::exists(d + "/zentrik.ini"));
    EXPECT_FALSE(fs::exists(home(".local/bin/zentrik3")));
  }
}

TEST_F(Install, APackageListNamesNothingOutsideItsFolders) {
  dir_.write("secret", "secret\n");
  write_package({{"zentrik3", "zentrik3", "#!/bin/sh\n", true}, {"data.dat", "sub\\data.dat", "1\n"}},
                "../secret, secret\n"
                "data.dat, ../outside.dat\n"
                "data.dat, /tmp/absolute.dat\n"
                "data.dat,\n"
                "no comma on this line\n"
                "data.dat, crlf.dat\r\n");
  options_.configuration_maker_wait_ms = 0;
  run_install(choices());
  const std::string d = dir_.path("Zentrik 3");
  EXPECT_EQ(read(d + "/sub/data.dat"), "1\n");
  EXPECT_EQ(read(d + "/crlf.dat"), "1\n");
  EXPECT_FALSE(fs::exists(d + "/secret"));
  EXPECT_FALSE(fs::exists(dir_.path("outside.dat")));
  std::vector<std::string> skipped;
  for (const auto& shown : ui_.messages)
    if (shown.text.ends_with("  The file is skipped.")) skipped.push_back(shown.text);
  ASSERT_EQ(skipped.size(), 4u);
  EXPECT_EQ(skipped[0],
            "The package list names the source file \"../secret\", which is not a file in the package folder.  The "
            "file is skipped.");
  EXPECT_EQ(skipped[1],
            "The package list names the destination \"../outside.dat\" for data.dat, which is not a file inside the "
            "installation folder.  The file is skipped.");
}

TEST_F(Install, TheConfigurationMakerIsWaitedForAtMostTheGivenTime) {
  std::vector<PackageFile> files = usual_package();
  files[1].content = "#!/bin/sh\n/bin/sleep 3\necho late > \"$1/late\"\n";
  write_package(files);
  options_.configuration_maker_wait_ms = 300;
  EXPECT_TRUE(run_install(choices()));
  EXPECT_GE(ui_.waited_ms, 300);
  EXPECT_FALSE(fs::exists(dir_.path("Zentrik 3/late")));
  // It runs on and ends on its own.
  for (int i = 0; i < 200 && !fs::exists(dir_.path("Zentrik 3/late")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(fs::exists(dir_.path("Zentrik 3/late")));
}

}  // namespace
}  // namespace zentrik::testing
