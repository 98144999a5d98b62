// The wizard's checks and texts: the destination folder, the shortcut page and the
// review.
#include <gtest/gtest.h>

#include <cctype>

#include "setup/WizardChecks.h"
#include "tests/setup/SetupSandbox.h"
#include "tollund/Installer.h"

namespace zentrik::testing {
namespace {

TEST(WizardChecks, TheDestinationMustBeAnAbsoluteFolderBelowTheRoot) {
  struct Case {
    std::string entered;
    std::string problem;  // empty: accepted
    std::string cleaned;
  };
  const std::string not_absolute = "You must specify an absolute destination path name (one beginning with \"/\").";
  const std::string root = "Zentrik may not be installed in the root folder.  You must specify a subfolder";
  const Case cases[] = {
      {"", "You must specify a destination folder.", ""},
      {"Zentrik3", not_absolute, ""},
      {"~/opt/Zentrik3", not_absolute, ""},
      {" /opt/Zentrik3", not_absolute, ""},
      {"/", root, ""},
      {"///", root, ""},
      {"/opt/..", root, ""},
      {"/opt/a\nb", "You may not use control characters (such as line breaks) in the destination folder name.", ""},
      {"/opt/Zentrik3", "", "/opt/Zentrik3"},
      {"/opt/Zentrik3//", "", "/opt/Zentrik3"},
      {"/opt/./x/../Zentrik 3", "", "/opt/Zentrik 3"},
      {"/opt/x/..", "", "/opt"},
  };
  for (const Case& c : cases) {
    std::string cleaned = "unchanged";
    const auto problem = destination_problem(c.entered, cleaned);
    EXPECT_EQ(problem.value_or(""), c.problem) << c.entered;
    if (c.problem.empty()) {
      EXPECT_EQ(cleaned, c.cleaned) << c.entered;
    }
  }
}

TEST(WizardChecks, DefaultsAndTheBrowsedFolder) {
  ScopedEnv home("HOME", "/home/ann");
  EXPECT_EQ(default_destination(false), "/home/ann/.local/opt/Zentrik3");
  // root's default is the folder the sample objects are written for
  std::string root = default_destination(true);
  for (char& c : root) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(root, kShippedInstallationPrefix);
  EXPECT_EQ(browse_start_folder(true), "/opt");
  EXPECT_EQ(browse_start_folder(false), "/home/ann");  // no ~/.local/opt yet

  EXPECT_EQ(with_zentrik_folder("/data/apps"), "/data/apps/Zentrik3");
  EXPECT_EQ(with_zentrik_folder("/data/apps/"), "/data/apps/Zentrik3");
  EXPECT_EQ(with_zentrik_folder("/data/my-zentrik"), "/data/my-zentrik");
}

class ShortcutPage : public SetupSandbox {};

TEST_F(ShortcutPage, LeavingItChecksTheChoices) {
  const IntegrationPaths paths = user_integration_paths();
  InstallChoices none;
  none.start_menu = none.send_to = none.desktop = false;
  ui_.queueAnswer(Answer::No);
  EXPECT_FALSE(accept_shortcut_choices(none, paths, ui_));
  ui_.queueAnswer(Answer::Yes);
  EXPECT_TRUE(accept_shortcut_choices(none, paths, ui_));
  EXPECT_EQ(ui_.beeps, 2);
  EXPECT_EQ(ui_.messages[0].text,
            "You have elected not to install any shortcuts to the program.  Are you sure this is correct?");
  EXPECT_EQ(ui_.messages[0].caption, "Warning!");

  ui_ = ScriptedSetupUi();
  InstallChoices deep;
  deep.submenu = "Tools/Zentrik";
  EXPECT_FALSE(accept_shortcut_choices(deep, paths, ui_));
  EXPECT_EQ(ui_.messages.back().caption, "Illegal program submenu!");
  EXPECT_EQ(ui_.messages.back().text,
            "Sorry, this program does not support submenus deeper than one level below the \"Applications\" menu.  "
            "Please enter a program group that appears on, or can be created on, the \"Applications\" menu.");
  deep.start_menu = false;  // no menu: the name doesn't matter
  EXPECT_TRUE(accept_shortcut_choices(deep, paths, ui_));

  ui_ = ScriptedSetupUi();
  InstallChoices blocked;
  blocked.submenu = "Lab Tools";
  EXPECT_TRUE(accept_shortcut_choices(blocked, paths, ui_));
  fs::create_directories(paths.submenu_menu_file("Lab Tools"));
  EXPECT_FALSE(accept_shortcut_choices(blocked, paths, ui_));
  EXPECT_EQ(ui_.messages.back().text,
            "The applications menu submenu you specified exists but is not a submenu (folder).");
  EXPECT_EQ(ui_.messages.size(), 1u);
}

TEST(WizardChecks, TheReviewSaysWhatWillBeDone) {
  InstallChoices choices;
  choices.destination = "/opt/Zentrik3";
  choices.send_to = false;
  choices.submenu = "science";
  EXPECT_EQ(review_text(choices),
            "Destination folder:\n    /opt/Zentrik3\n\n"
            "Applications menu folder:\n    Science\n\n"
            "A shortcut will be added to the desktop\n"
            "A shortcut will NOT be added to the Open With menu\n");
  choices.submenu = "";
  EXPECT_EQ(menu_folder_text(choices), "Applications");
  choices.submenu = "Lab";
  EXPECT_EQ(menu_folder_text(choices), "Lab");
  choices.start_menu = false;
  EXPECT_EQ(menu_folder_text(choices), "none");
}

}  // namespace
}  // namespace zentrik::testing
