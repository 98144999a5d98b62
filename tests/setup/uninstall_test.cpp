// The uninstaller on the logs real installations write, and on logs someone edited to
// reach further: nothing outside the installation and its desktop files is touched.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <set>

#include "setup/CommandLine.h"
#include "setup/InstallLog.h"
#include "tests/setup/SetupSandbox.h"

namespace zentrik::testing {
namespace {

class Uninstall : public SetupSandbox {
 protected:
  Uninstall() {
    write_package(usual_package());
    options_.configuration_maker_wait_ms = 5000;
  }

  // Every entry below folder, relative, folders ending in "/".
  std::set<std::string> tree(const std::string& folder) const {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      entries.insert(entry.path().lexically_relative(folder).string() + (entry.is_directory() ? "/" : ""));
    return entries;
  }
};

TEST_F(Uninstall, AnInstallationGoesCompletely) {
  fs::create_directories(home(".config"));
  dir_.write("home/.config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop;\n");
  const std::set<std::string> before = tree(dir_.path("home"));
  InstallChoices chosen = choices("opt/Zentrik 3");
  chosen.submenu = "My Tools";
  ASSERT_TRUE(run_install(chosen));
  ASSERT_TRUE(fs::exists(home(".local/bin/zentrik3")));

  ui_ = ScriptedSetupUi();
  ui_.queueAnswer(Answer::Yes);
  EXPECT_TRUE(run_uninstall(chosen.destination + "/INSTALL.LOG"));
  EXPECT_TRUE(ui_.allAnswered());
  ASSERT_EQ(ui_.captions(), (std::vector<std::string>{"Really uninstall Zentrik?", "Uninstall complete."}))
      << ui_.messages[1].text;
  EXPECT_EQ(ui_.messages[0].text,
            "This program will remove Zentrik from your system.  Are you sure you wish to proceed?");
  EXPECT_EQ(ui_.messages[0].caption, "Really uninstall Zentrik?");
  EXPECT_EQ(ui_.messages[1].text, "Zentrik has been removed from the system.");
  EXPECT_EQ(ui_.messages[1].caption, "Uninstall complete.");
  EXPECT_EQ(ui_.status.front(), "\nRemoving Zentrik...");
  EXPECT_FALSE(ui_.status_cancel_button);  // nothing stops a removal half way

  EXPECT_FALSE(fs::exists(dir_.path("opt")));  // made for the installation, now empty
  EXPECT_EQ(tree(dir_.path("home")), before);
  EXPECT_EQ(read(home(".config/mimeapps.list")), "[Default Applications]\ntext/plain=editor.desktop;\n");
}

TEST_F(Uninstall, OverwrittenFilesAreAskedAboutAndSharedFoldersStay) {
  InstallChoices chosen = choices();
  ASSERT_TRUE(run_install(chosen));
  const std::string d = chosen.destination;
  // Since the installation: a plot of the user's in a folder the installation made,
  // a file of another program beside the desktop entries, and a changed default.
  dir_.write("Zentrik 3/plotdata/mine.dat", "5 6\n");
  dir_.write("home/.local/share/applications/other.desktop", "[Desktop Entry]\n");
  dir_.write("home/.config/mimeapps.list", "[Default Applications]\napplication/x-zentrik-object=viewer.desktop;\n");
  InstallLog(d + "/INSTALL.LOG").record(kFileOverwrite, d + "/objects/SAMPLE_1.zko");

  ui_ = ScriptedSetupUi();
  ui_.queueAnswer(Answer::Yes);
  ui_.queueAnswer(Answer::No);  // keep the overwritten object
  EXPECT_TRUE(run_uninstall(d + "/INSTALL.LOG"));
  EXPECT_TRUE(ui_.allAnswered());
  // The folders holding what stays can't go: each is told, the desktop's are not.
  const std::vector<std::string> captions = {"Really uninstall Zentrik?", "Remove file?", "Error!", "Error!", "Error!",
                                             "Uninstall complete."};
  EXPECT_EQ(ui_.captions(), captions);
  EXPECT_EQ(ui_.messages[1].text, "The file " + d + "/objects/SAMPLE_1.zko was overwritten during the installation "
                                  "process.  Do you want to remove it now?");
  const auto not_empty = [](const std::string& folder) {
    return "Error removing " + folder + ":\n\nDirectory not empty\n\nThere may have been files added to this folder "
           "since Zentrik was installed.  You will have to remove this folder and any files it contains manually.";
  };
  EXPECT_EQ(ui_.messages[2].text, not_empty(d + "/objects"));
  EXPECT_EQ(ui_.messages[3].text, not_empty(d + "/plotdata"));
  EXPECT_EQ(ui_.messages[4].text, not_empty(d));
  EXPECT_EQ(read(d + "/plotdata/mine.dat"), "5 6\n");
  EXPECT_TRUE(fs::exists(d + "/objects/SAMPLE_1.zko"));
  EXPECT_FALSE(fs::exists(d + "/zentrik3"));
  EXPECT_TRUE(fs::exists(home(".local/share/applications/other.desktop")));
  EXPECT_FALSE(fs::exists(home(".local/share/applications/zentrik3.desktop")));
  EXPECT_EQ(read(home(".config/mimeapps.list")),
            "[Default Applications]\napplication/x-zentrik-object=viewer.desktop;\n");
}

TEST_F(Uninstall, AnEditedLogReachesNothingOutside) {
  const std::string d = dir_.path("Zentrik3");
  fs::create_directories(d + "/kept");
  fs::create_directories(dir_.path("outside/folder"));
  const std::string victim = dir_.write("outside/victim.txt", "precious\n");
  dir_.write("outside/folder/inner.txt", "precious\n");
  dir_.write("Zentrik3/kept/file.txt", "x\n");
  fs::create_symlink(victim, d + "/link-to-file");
  fs::create_symlink(dir_.path("outside"), d + "/link-to-folder");
  fs::create_symlink(dir_.path("outside/folder"), d + "/linked-folder");
  fs::create_directories(home(".config"));
  const std::string others = "[Default Applications]\napplication/x-zentrik-object=zentrik3.desktop;\n";
  dir_.write("outside/mimeapps.list", others);
  const std::vector<std::string> refused = {
      "File Copy: " + victim,
      "File Create: /",
      "Made Dir: /",
      "File Copy: " + d + "/../outside/victim.txt",
      "Made Dir: " + d + "/..",
      "File Copy: " + d + "/link-to-folder/victim.txt",
      "Made Dir: " + d + "/link-to-folder/folder",
      "File Overwrite: relative/victim.txt",
      "Made Dir: " + dir_.path("home"),
      "Made Dir: " + dir_.path("outside"),
      "File Create: " + home(".bashrc"),
      "Association: application/x-zentrik-object=zentrik3.desktop in " + dir_.path("outside/mimeapps.list"),
      "Association: text/plain=zentrik3.desktop in " + home(".config/mimeapps.list"),
  };
  std::string log = "Installation Started Mon Jan  1 00:00:00 2024\nTitle: Zentrik Version 3.4 For Linux\n";
  log += "Made Dir: " + d + "\n";
  log += "Made Dir: " + d + "/kept\n";
  for (const std::string& line : refused) log += line + "\n";
  log += "RegDB Key: HKEY_CLASSES_ROOT\\.zko\n";
  log += "File Copy: " + d + "/link-to-file\n";  // the link goes, not what it names
  log += "Made Dir: " + d + "/linked-folder\n";
  log += "File Create: " + d + "/INSTALL.LOG\n";
  dir_.write("Zentrik3/INSTALL.LOG", log);

  ui_.queueAnswer(Answer::Yes);
  EXPECT_TRUE(run_uninstall(d + "/INSTALL.LOG"));
  EXPECT_EQ(read(victim), "precious\n");
  EXPECT_EQ(read(dir_.path("outside/folder/inner.txt")), "precious\n");
  EXPECT_EQ(read(dir_.path("outside/mimeapps.list")), others);
  EXPECT_TRUE(fs::exists(dir_.path("home")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(d + "/link-to-file")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(d + "/linked-folder")));
  EXPECT_TRUE(fs::exists(fs::symlink_status(d + "/link-to-folder")));
  EXPECT_FALSE(fs::exists(d + "/INSTALL.LOG"));
  EXPECT_EQ(read(d + "/kept/file.txt"), "x\n");

  // One warning names every refused line, in the order they were undone.
  const auto warning = std::find_if(ui_.messages.begin(), ui_.messages.end(),
                                    [](const auto& shown) { return shown.caption == "Warning!"; });
  ASSERT_NE(warning, ui_.messages.end());
  std::string expected = "These lines of " + d + "/INSTALL.LOG name things that a Zentrik installation does not "
                         "make there.  They were left alone:\n";
  for (auto line = refused.rbegin(); line != refused.rend(); ++line) expected += "\n" + *line;
  EXPECT_EQ(warning->text, expected);
  EXPECT_EQ(ui_.messages.back().caption, "Uninstall complete.");
}

TEST_F(Uninstall, TheDesktopsDatabasesForgetZentrik) {
  ScopedEnv path("PATH", "/usr/bin:/bin");
  if (::access("/usr/bin/update-mime-database", X_OK) != 0 || ::access("/usr/bin/update-desktop-database", X_OK) != 0)
    GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
  InstallChoices chosen = choices();
  ASSERT_TRUE(run_install(chosen));
  ASSERT_NE(read(home(".local/share/mime/globs2")).find("application/x-zentrik-object:*.zko"), std::string::npos);
  ui_.queueAnswer(Answer::Yes);
  EXPECT_TRUE(run_uninstall(chosen.destination + "/INSTALL.LOG"));
  // What stays are the tools' own files, made again without Zentrik.
  EXPECT_EQ(read(home(".local/share/mime/globs2")).find("zentrik"), std::string::npos);
  EXPECT_FALSE(fs::exists(home(".local/share/mime/packages")));
  EXPECT_EQ(read(home(".local/share/applications/mimeinfo.cache")).find("zentrik"), std::string::npos);
  EXPECT_FALSE(fs::exists(home(".config/mimeapps.list")));  // it held only Zentrik's default
  EXPECT_FALSE(fs::exists(home(".local/bin")));
}

TEST_F(Uninstall, ALogThatCannotBeUsedEndsIt) {
  EXPECT_FALSE(run_uninstall(dir_.path("missing/INSTALL.LOG")));
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text, "Could not open " + dir_.path("missing/INSTALL.LOG") + "\n\nNo such file or directory");
  EXPECT_EQ(ui_.messages[0].caption, "Error!");

  const std::string empty = dir_.write("INSTALL.LOG", "\n \n");
  ui_ = ScriptedSetupUi();
  ui_.queueAnswer(Answer::Yes);
  EXPECT_FALSE(run_uninstall(empty));
  EXPECT_EQ(ui_.messages.back().text, empty + " is corrupt.  This program can not proceed.");

  // No to the question: nothing is removed.
  ASSERT_TRUE(run_install(choices()));
  ui_ = ScriptedSetupUi();
  ui_.queueAnswer(Answer::No);
  EXPECT_FALSE(run_uninstall(dir_.path("Zentrik 3/INSTALL.LOG")));
  EXPECT_TRUE(fs::exists(dir_.path("Zentrik 3/zentrik3")));
  EXPECT_TRUE(fs::exists(home(".local/bin/zentrik3")));
}

TEST(SetupCommandLine, ShortArgumentsInstallLogsUninstallAndTheRestIsRefused) {
  struct Case {
    std::vector<const char*> arguments;
    SetupCommand::Kind kind;
    std::string detail;
  };
  const Case cases[] = {
      {{}, SetupCommand::Kind::Install, ""},
      {{"-x"}, SetupCommand::Kind::Install, ""},
      {{"INSTALL.LOG"}, SetupCommand::Kind::Install, ""},  // 11 characters
      {{"/opt/Z/install.log"}, SetupCommand::Kind::Uninstall, "/opt/Z/install.log"},
      {{"/home/a", "b/INSTALL.LOG"}, SetupCommand::Kind::Uninstall, "/home/a b/INSTALL.LOG"},
      {{"/opt/Z/INSTALL.TXT"}, SetupCommand::Kind::Unknown, "Unknown command line argument: \"/opt/Z/INSTALL.TXT\""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = {"setup"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const SetupCommand command = parse_setup_command(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(command.kind, c.kind) << c.detail;
    EXPECT_EQ(c.kind == SetupCommand::Kind::Unknown ? command.message : command.log_path, c.detail);
  }
}

}  // namespace
}  // namespace zentrik::testing
