#include "persist/ConfigLocation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "ScopedEnv.h"
#include "data/TempDir.h"
#include "persist/Configuration.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

using testing::ScopedEnv;

const std::string kCannotSave =
    "\n\nAny changes you make to program settings will not be saved on exit.  Is that Ok?";

// A home folder and a config folder of their own for each test.
class ConfigLocation : public ::testing::Test {
 protected:
  ConfigLocation() : home_env_("HOME", dir_.path("home")), config_env_("XDG_CONFIG_HOME", dir_.path("config")) {
    fs::create_directory(dir_.path("home"));
    fs::create_directory(dir_.path("elsewhere"));
  }

  std::string old_file() const { return dir_.path("home/zentrik.ini"); }
  std::string proposal() const { return dir_.path("config/Zentrik/Zentrik.ini"); }
  std::string elsewhere(const std::string& name) const { return dir_.path("elsewhere/" + name); }
  std::string store() const { return testing::read_file(dir_.path("config/Vantrell/Zentrik.conf")); }

  testing::TempDir dir_;
  ScopedEnv home_env_, config_env_;
  ScriptedUi ui_;
};

TEST_F(ConfigLocation, AFirstStartProposesTheConfigFolderAndRemembersTheChoice) {
  ui_.queueConfigurationFilename(proposal());
  EXPECT_EQ(locate_configuration(ui_), proposal());
  ASSERT_EQ(ui_.configurationFilenameRequests().size(), 1u);
  EXPECT_EQ(ui_.configurationFilenameRequests()[0].path, proposal());
  EXPECT_TRUE(ui_.existingConfigurationRequests().empty());
  EXPECT_TRUE(fs::is_regular_file(proposal()));  // its folder was made for it
  EXPECT_EQ(store(), "Configpath=" + proposal() + "\n");

  // the next start asks nothing
  EXPECT_EQ(locate_configuration(ui_), proposal());
  EXPECT_EQ(ui_.configurationFilenameRequests().size(), 1u);
  EXPECT_TRUE(ui_.messages().empty());
}

TEST_F(ConfigLocation, AStoredPathIsUsedOnlyWhenItNamesAFile) {
  const std::string file = dir_.write("elsewhere/mine.ini", "numruns 5\n");
  ASSERT_TRUE(store_configpath(file));
  EXPECT_EQ(locate_configuration(ui_), file);

  for (const std::string& stored : {dir_.path("elsewhere"), elsewhere("gone.ini"), std::string()}) {
    ui_.reset();
    ASSERT_TRUE(store_configpath(stored));
    ui_.queueConfigurationFilename(elsewhere("new.ini"));
    EXPECT_EQ(locate_configuration(ui_), elsewhere("new.ini")) << stored;
    EXPECT_EQ(ui_.configurationFilenameRequests().size(), 1u) << stored;
  }
  EXPECT_EQ(read_stored_configpath(), elsewhere("new.ini"));
}

TEST_F(ConfigLocation, TheStoreKeepsItsOtherLines) {
  fs::create_directories(dir_.path("config/Vantrell"));
  dir_.write("config/Vantrell/Zentrik.conf", "[General]\r\nConfigpath=/old/zentrik.ini\r\nOther=1\r\n");
  EXPECT_EQ(read_stored_configpath(), "/old/zentrik.ini");
  ASSERT_TRUE(store_configpath("/new/Zentrik.ini"));
  EXPECT_EQ(store(), "[General]\nConfigpath=/new/Zentrik.ini\nOther=1\n");
}

TEST_F(ConfigLocation, AFileAtTheOldPlaceIsMovedCopiedKeptOrDeleted) {
  struct Case {
    ExistingConfigurationChoice choice;
    bool filename_asked;
    bool old_kept;
    std::string chosen_content;
  };
  const Case cases[] = {
      {ExistingConfigurationChoice::MoveToNewLocation, true, false, "numruns 7\n"},
      {ExistingConfigurationChoice::CopyToNewLocation, true, true, "numruns 7\n"},
      {ExistingConfigurationChoice::UseInPlace, false, true, "numruns 7\n"},
      {ExistingConfigurationChoice::DeleteAndChooseNew, true, false, "a file already there\n"},  // appending changes nothing
  };
  for (const Case& c : cases) {
    const int index = static_cast<int>(c.choice);
    SCOPED_TRACE(kExistingConfigurationChoiceLabels[index]);
    ui_.reset();
    fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
    fs::remove(elsewhere("new.ini"));
    dir_.write("home/zentrik.ini", "numruns 7\n");
    dir_.write("elsewhere/new.ini", "a file already there\n");  // replaced by a move or copy
    ui_.queueExistingConfigurationChoice(c.choice);
    if (c.filename_asked) ui_.queueConfigurationFilename(elsewhere("new.ini"));

    const std::string chosen = c.filename_asked ? elsewhere("new.ini") : old_file();
    EXPECT_EQ(locate_configuration(ui_), chosen);
    ASSERT_EQ(ui_.existingConfigurationRequests().size(), 1u);
    EXPECT_EQ(ui_.existingConfigurationRequests()[0].old_path, old_file());
    EXPECT_EQ(ui_.configurationFilenameRequests().size(), c.filename_asked ? 1u : 0u);
    EXPECT_EQ(fs::exists(old_file()), c.old_kept);
    EXPECT_EQ(testing::read_file(chosen), c.chosen_content);
    EXPECT_EQ(read_stored_configpath(), chosen);
  }
}

TEST_F(ConfigLocation, MovingTheFileOntoItselfKeepsIt) {
  dir_.write("home/zentrik.ini", "numruns 7\n");
  for (auto choice : {ExistingConfigurationChoice::MoveToNewLocation, ExistingConfigurationChoice::CopyToNewLocation}) {
    ui_.queueExistingConfigurationChoice(choice);
    ui_.queueConfigurationFilename(dir_.path("home"));  // the folder of the old file: the same file
    EXPECT_EQ(locate_configuration(ui_), old_file());
    EXPECT_EQ(testing::read_file(old_file()), "numruns 7\n");
    fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
  }
}

TEST_F(ConfigLocation, CancelEndsTheProgramWithoutChangingAnything) {
  dir_.write("home/zentrik.ini", "numruns 7\n");
  ui_.queueExistingConfigurationCancel();
  EXPECT_EQ(locate_configuration(ui_), std::nullopt);

  ui_.queueExistingConfigurationChoice(ExistingConfigurationChoice::MoveToNewLocation);
  ui_.queueConfigurationFilenameCancel();
  EXPECT_EQ(locate_configuration(ui_), std::nullopt);

  EXPECT_EQ(testing::read_file(old_file()), "numruns 7\n");
  EXPECT_FALSE(fs::exists(dir_.path("config/Vantrell/Zentrik.conf")));
}

TEST_F(ConfigLocation, APathThatCannotBeWrittenIsAcceptedOnlyWithYes) {
  const std::string missing_folder = dir_.path("missing/zentrik.ini");
  const std::string file_as_folder = dir_.write("elsewhere/plain", "x") + "/zentrik.ini";

  ui_.queueConfigurationFilename(missing_folder);
  ui_.queueAnswer(Answer::Yes);
  EXPECT_EQ(locate_configuration(ui_), missing_folder);
  ASSERT_EQ(ui_.messages().size(), 1u);
  EXPECT_EQ(ui_.lastMessage().text, "Error writing to configuration file:\nNo such file or directory" + kCannotSave);
  EXPECT_EQ(ui_.lastMessage().caption, "Can not save settings!");
  EXPECT_EQ(ui_.lastMessage().buttons, Buttons::YesNo);
  EXPECT_EQ(read_stored_configpath(), missing_folder);

  // No asks again, showing what was entered
  ui_.reset();
  fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
  ui_.queueConfigurationFilename(file_as_folder);
  ui_.queueAnswer(Answer::No);
  ui_.queueConfigurationFilename(elsewhere("good.ini"));
  EXPECT_EQ(locate_configuration(ui_), elsewhere("good.ini"));
  ASSERT_EQ(ui_.configurationFilenameRequests().size(), 2u);
  EXPECT_EQ(ui_.configurationFilenameRequests()[1].path, file_as_folder);
  EXPECT_EQ(ui_.lastMessage().text, "Error writing to configuration file:\nNot a directory" + kCannotSave);
  EXPECT_TRUE(fs::is_regular_file(elsewhere("good.ini")));
}

TEST_F(ConfigLocation, AFolderOrARelativePathIsCompleted) {
  ui_.queueConfigurationFilename(dir_.path("elsewhere/"));
  EXPECT_EQ(locate_configuration(ui_), elsewhere("zentrik.ini"));

  fs::remove(dir_.path("config/Vantrell/Zentrik.conf"));
  const fs::path start = fs::current_path();
  fs::current_path(dir_.path("elsewhere"));
  ui_.queueConfigurationFilename("relative.ini");
  const std::optional<std::string> chosen = locate_configuration(ui_);
  fs::current_path(start);
  EXPECT_EQ(chosen, elsewhere("relative.ini"));
}

TEST_F(ConfigLocation, FoldersComeFromTheEnvironment) {
  ScopedEnv tmp("TMPDIR", "/var/tmp/zentrik");
  const Configuration c;
  EXPECT_EQ(c.plotfiledir, dir_.path("home"));
  EXPECT_EQ(c.objdir, dir_.path("home"));
  EXPECT_EQ(c.clipdir, "/var/tmp/zentrik");
  EXPECT_EQ(old_default_configuration_path(), old_file());

  ScopedEnv relative_config("XDG_CONFIG_HOME", "relative/config");  // not absolute: not used
  EXPECT_EQ(settings_store_path(), dir_.path("home/.config/Vantrell/Zentrik.conf"));
  ScopedEnv no_tmp("TMPDIR", "");
  EXPECT_EQ(temporary_folder(), "/tmp");
  ScopedEnv no_home("HOME", "");
  EXPECT_FALSE(home_folder().empty());
}

}  // namespace
}  // namespace zentrik
