#include "tollund/Installer.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ScopedEnv.h"
#include "data/TempDir.h"
#include "persist/ConfigLocation.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::ScopedEnv;

std::string nine_lines(const std::string& d) {
  return "filters All Files|*.*|Frequency|*.frq||\n"
         "psu_files\n"
         ".frq freqency\n"
         "~end_psu_files~\n"
         "freeze_dirs 1\n"
         "plotfiledir " + d + "/plotdata\n"
         "settingsdir " + d + "/psu\n"
         "outputdir " + d + "/plotdata\n"
         "objdir " + d + "/objects\n";
}

constexpr std::string_view kSetupLog = "Installation Started Mon Jan  1 00:00:00 2024\n";

// A home folder, a config folder and an installation folder (with a log the setup
// program began) for each test; the dialog answers from a queue and counts its calls.
class Installer : public ::testing::Test {
 protected:
  Installer() : home_env_("HOME", dir_.path("home")), config_env_("XDG_CONFIG_HOME", dir_.path("config")) {
    fs::create_directory(dir_.path("home"));
    fs::create_directories(dir_.path("install/objects"));
    dir_.write("install/INSTALL.LOG", kSetupLog);
  }

  std::string install() const { return dir_.path("install"); }
  std::string old_file() const { return dir_.path("home/zentrik.ini"); }
  std::string new_file() const { return dir_.path("install/zentrik.ini"); }
  std::string log() const { return read_file(dir_.path("install/INSTALL.LOG")); }
  std::string logged(std::string_view what, const std::string& path) const {
    return std::string(kSetupLog) + std::string(what) + ": " + path + "\n";
  }

  AskOldConfiguration dialog() {
    return [this](const std::string& old_path) {
      asked_.push_back(old_path);
      return answer_;
    };
  }

  testing::TempDir dir_;
  ScopedEnv home_env_, config_env_;
  std::optional<OldConfigurationChoice> answer_;
  std::vector<std::string> asked_;
};

TEST_F(Installer, AFirstInstallationWritesTheNineLinesAndLogsTheCreation) {
  run_installer(install(), dialog());
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(read_stored_configpath(), new_file());
  EXPECT_EQ(read_file(new_file()), nine_lines(install()));
  EXPECT_EQ(log(), logged("File Create", new_file()));

  // The next installation finds the file and leaves it as it is.
  dir_.write("install/zentrik.ini", "numruns 7\n");
  dir_.write("install/INSTALL.LOG", kSetupLog);
  run_installer(install(), dialog());
  EXPECT_EQ(read_file(new_file()), "numruns 7\n");
  EXPECT_EQ(log(), logged("File Overwrite", new_file()));
}

TEST_F(Installer, AStoredPathStaysOnlyWhileItNamesAFile) {
  const std::string mine = dir_.write("mine.ini", "numruns 5\n");
  dir_.write("home/zentrik.ini", "old\n");
  ASSERT_TRUE(store_configpath(mine));
  run_installer(install(), dialog());
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(read_stored_configpath(), mine);
  EXPECT_EQ(read_file(mine), "numruns 5\n");
  EXPECT_EQ(log(), logged("File Overwrite", mine));

  // A folder or a missing file is no configuration: the old file is found and asked about.
  for (const std::string& stored : {dir_.path("home"), dir_.path("gone.ini")}) {
    asked_.clear();
    answer_ = OldConfigurationChoice::UseInPlace;
    ASSERT_TRUE(store_configpath(stored));
    EXPECT_EQ(settle_configuration_path(install(), dialog()), old_file());
    EXPECT_EQ(asked_, std::vector<std::string>{old_file()});
    EXPECT_EQ(read_stored_configpath(), old_file());
  }
}

TEST_F(Installer, EveryAnswerToTheOldFileQuestion) {
  struct Case {
    std::optional<OldConfigurationChoice> answer;
    bool old_kept;
    bool in_installation;  // else the old file is used
    std::string content;   // of the file in use; "" for the nine lines
    std::string_view logged;
  };
  const Case cases[] = {
      {OldConfigurationChoice::MoveToInstallation, false, true, "old\n", "File Overwrite"},
      {OldConfigurationChoice::CopyToInstallation, true, true, "old\n", "File Overwrite"},
      {std::nullopt, true, true, "old\n", "File Overwrite"},  // closed without OK: a copy
      {OldConfigurationChoice::UseInPlace, true, false, "old\n", "File Overwrite"},
      {OldConfigurationChoice::DeleteAndCreateNew, false, true, "", "File Create"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer ? kOldConfigurationChoiceLabels[static_cast<int>(*c.answer)] : "closed");
    fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
    dir_.write("home/zentrik.ini", "old\n");
    dir_.write("install/INSTALL.LOG", kSetupLog);
    // what a move or a copy replaces and using the old file keeps; none for a new one
    dir_.write("install/zentrik.ini", "earlier\n");
    if (c.answer == OldConfigurationChoice::DeleteAndCreateNew) fs::remove(new_file());
    asked_.clear();
    answer_ = c.answer;

    run_installer(install(), dialog());
    EXPECT_EQ(asked_, std::vector<std::string>{old_file()});
    const std::string in_use = c.in_installation ? new_file() : old_file();
    EXPECT_EQ(read_stored_configpath(), in_use);
    EXPECT_EQ(fs::exists(old_file()), c.old_kept);
    EXPECT_EQ(read_file(in_use), c.content.empty() ? nine_lines(install()) : c.content);
    if (!c.in_installation) EXPECT_EQ(read_file(new_file()), "earlier\n");
    EXPECT_EQ(log(), logged(c.logged, in_use));
  }
}

TEST_F(Installer, MovingOrCopyingTheOldFileOntoItselfKeepsIt) {
  // an installation into the home folder
  dir_.write("home/zentrik.ini", "old\n");
  answer_ = OldConfigurationChoice::MoveToInstallation;
  EXPECT_EQ(settle_configuration_path(dir_.path("home"), dialog()), old_file());
  EXPECT_EQ(read_file(old_file()), "old\n");

  // the old place links to the file in the installation folder
  fs::remove(old_file());
  dir_.write("install/zentrik.ini", "kept\n");
  fs::create_symlink(new_file(), old_file());
  for (OldConfigurationChoice choice : {OldConfigurationChoice::MoveToInstallation,
                                        OldConfigurationChoice::CopyToInstallation}) {
    answer_ = choice;
    fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
    EXPECT_EQ(settle_configuration_path(install(), dialog()), new_file());
    EXPECT_EQ(read_file(new_file()), "kept\n");
    EXPECT_FALSE(fs::is_symlink(new_file()));
  }
}

TEST_F(Installer, TheOldLocationIsTheAccountsHomeWhenHomeIsEmptyOrTheRoot) {
  EXPECT_EQ(old_location_configuration_path(), old_file());
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const std::string expected = std::string(account->pw_dir) + (std::string(account->pw_dir) == "/" ? "" : "/") +
                               "zentrik.ini";
  for (const char* home : {"", "/"}) {
    ScopedEnv env("HOME", home);
    EXPECT_EQ(old_location_configuration_path(), expected) << "HOME=" << home;
  }
  // a folder named like the file is not a configuration file: nothing is asked
  fs::create_directory(old_file());
  EXPECT_EQ(settle_configuration_path(install(), dialog()), new_file());
  EXPECT_TRUE(asked_.empty());
}

TEST_F(Installer, NothingIsWrittenOrLoggedWhereTheFileCannotBeCreated) {
  // a folder in the way
  fs::create_directory(new_file());
  run_installer(install(), dialog());
  EXPECT_TRUE(fs::is_directory(new_file()));
  EXPECT_EQ(log(), kSetupLog);

  // an installation folder that isn't there: the path is still recorded
  const std::string missing = dir_.path("missing");
  run_installer(missing, dialog());
  EXPECT_EQ(read_stored_configpath(), missing + "/zentrik.ini");
  EXPECT_FALSE(fs::exists(missing));
}

// The objects ship naming the default prefix; every other installation gets its own
// folder in their place.
TEST_F(Installer, SampleObjectsNameTheInstallationFolder) {
  const std::string d = install();
  const std::string long_head(380, 'x');  // the prefix straddles the first piece's end
  const std::string long_tail(400, 'y');  // the prefix begins the second piece
  dir_.write("install/objects/sample_1.zko",
             "#!zentrik\n"
             "file /opt/zentrik3/plotdata/sample_1.dat\n"
             "two /OPT/Zentrik3/a /opt/zentrik3/b\n"
             "near /opt/zentrik3-extra/c\n"
             "none /opt/zentrik/d\r\n" +
                 long_head + "/opt/zentrik3/e\n" + std::string(387, 'z') + "/opt/zentrik3/f " + long_tail +
                 "\nlast /opt/zentrik3");
  dir_.write("install/objects/SAMPLE_4.ZKO", "command /opt/Zentrik3/tollund3\n");
  dir_.write("install/objects/notes.txt", "/opt/zentrik3/g\n");
  dir_.write("install/objects/sample_1.zko.bak", "/opt/zentrik3/h\n");
  fs::create_directory(dir_.path("install/objects/folder.zko"));

  run_installer(d, dialog());
  EXPECT_EQ(read_file(dir_.path("install/objects/sample_1.zko")),
            "#!zentrik\n"
            "file " + d + "/plotdata/sample_1.dat\n"
            "two " + d + "/a /opt/zentrik3/b\n"
            "near " + d + "-extra/c\n"
            "none /opt/zentrik/d\r\n" +
                long_head + "/opt/zentrik3/e\n" + std::string(387, 'z') + d + "/f " + long_tail + "\nlast " + d);
  EXPECT_EQ(read_file(dir_.path("install/objects/SAMPLE_4.ZKO")), "command " + d + "/tollund3\n");
  EXPECT_EQ(read_file(dir_.path("install/objects/notes.txt")), "/opt/zentrik3/g\n");
  EXPECT_EQ(read_file(dir_.path("install/objects/sample_1.zko.bak")), "/opt/zentrik3/h\n");
  EXPECT_TRUE(fs::is_directory(dir_.path("install/objects/folder.zko")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path("install/objects")), fs::directory_iterator()), 5)
      << "no temporary file is left behind";
}

TEST_F(Installer, AnInstallationIntoTheShippedFolderInAnyCaseLeavesTheObjects) {
  // The installation folder is named in mixed case; the objects name it in lower case.
  const std::string d = dir_.path("Install");
  fs::rename(install(), d);
  std::string prefix = d;
  for (char& c : prefix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string object = "file " + prefix + "/plotdata/a.dat\n";
  dir_.write("Install/objects/a.zko", object);
  rewrite_sample_objects(d, prefix);
  EXPECT_EQ(read_file(d + "/objects/a.zko"), object);
}

TEST_F(Installer, AnObjectThatCannotBeWrittenWholeIsLeftAsItWas) {
  const std::string object = dir_.write("install/objects/a.zko", "file /opt/zentrik3/a.dat\n");
  {
    testing::FileSizeLimit full_disk(16);
    rewrite_sample_objects(install());
  }
  EXPECT_EQ(read_file(object), "file /opt/zentrik3/a.dat\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path("install/objects")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace zentrik
