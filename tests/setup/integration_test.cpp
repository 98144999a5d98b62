// What an installation adds to the desktop, in a sandboxed home folder: the launcher,
// the desktop entries, the object type and its default application, the desktop
// shortcut, a submenu, and the refresh of the desktop's databases.
#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "setup/DesktopFiles.h"
#include "tests/setup/SetupSandbox.h"

namespace zentrik::testing {
namespace {

class Integration : public SetupSandbox {
 protected:
  Integration() {
    write_package(usual_package());
  }
  std::string apps(std::string_view name) const { return home(".local/share/applications/" + std::string(name)); }
};

TEST_F(Integration, EveryChoiceMakesItsFilesAndLogsThem) {
  InstallChoices chosen = choices();
  chosen.submenu = "My Tools";
  ASSERT_TRUE(run_install(chosen));
  const std::string d = chosen.destination;  // has a blank: the Exec lines quote it

  EXPECT_EQ(fs::read_symlink(home(".local/bin/zentrik3")), d + "/zentrik3");
  EXPECT_EQ(read(apps("zentrik3.desktop")),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Zentrik\n"
            "GenericName=Data Plotter\n"
            "Comment=Plot the numbers of text data files\n"
            "Terminal=false\n"
            "Keywords=plot;graph;\n"
            "Exec=\"" + d + "/zentrik3\" %F\n"
            "TryExec=" + d + "/zentrik3\n"
            "Icon=" + d + "/share/zentrik3.svg\n"
            "Categories=X-Zentrik3;\n"
            "MimeType=application/x-zentrik-object;text/plain;\n"
            "NoDisplay=false\n");
  const std::string uninstall_entry = read(apps("zentrik3-uninstall.desktop"));
  EXPECT_TRUE(has_line(uninstall_entry, "Name=Uninstall Zentrik"));
  EXPECT_TRUE(has_line(uninstall_entry, "Exec=\"" + d + "/setup\" \"" + d + "/INSTALL.LOG\""));
  EXPECT_EQ(read(home(".local/share/mime/packages/zentrik-object.xml")), kMimePackage);
  EXPECT_EQ(read(home(".config/mimeapps.list")),
            "[Default Applications]\napplication/x-zentrik-object=zentrik3.desktop;\n");

  const std::string menu = read(home(".config/menus/applications-merged/zentrik3-my-tools.menu"));
  EXPECT_NE(menu.find("<Name>My Tools</Name>"), std::string::npos) << menu;
  EXPECT_NE(menu.find("<Directory>zentrik3-my-tools.directory</Directory>"), std::string::npos);
  EXPECT_NE(menu.find("<Filename>zentrik3.desktop</Filename>"), std::string::npos);
  EXPECT_NE(menu.find("<Filename>zentrik3-uninstall.desktop</Filename>"), std::string::npos);
  EXPECT_TRUE(has_line(read(home(".local/share/desktop-directories/zentrik3-my-tools.directory")), "Name=My Tools"));

  const std::string shortcut = home("Desktop/Zentrik.desktop");
  EXPECT_TRUE(has_line(read(shortcut), "Comment=Shortcut To Zentrik"));
  EXPECT_TRUE(has_line(read(shortcut), "Categories=Science;DataVisualization;Education;"));
  EXPECT_EQ(fs::status(shortcut).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);

  const std::string log = log_of(d);
  for (const std::string& line :
       {"File Create: " + home(".local/bin/zentrik3"), "Made Dir: " + home(".local/bin"),
        "Made Dir: " + home(".local/share/applications"), "File Create: " + apps("zentrik3.desktop"),
        "File Create: " + apps("zentrik3-uninstall.desktop"),
        "File Create: " + home(".local/share/mime/packages/zentrik-object.xml"),
        "Association: application/x-zentrik-object=zentrik3.desktop in " + home(".config/mimeapps.list"),
        "File Create: " + shortcut,
        "File Create: " + home(".config/menus/applications-merged/zentrik3-my-tools.menu")})
    EXPECT_TRUE(has_line(log, line)) << line << "\n" << log;
  EXPECT_EQ(ui_.captions(), std::vector<std::string>{"Installation Complete!"});
}

TEST_F(Integration, TheChoicesDecideVisibilityTypesAndCategories) {
  struct Case {
    const char* name;
    bool start_menu, send_to, desktop;
    std::string submenu;
    std::string categories;
    std::string mime_types;
    bool no_display;
  };
  const Case cases[] = {
      {"own categories", true, false, false, "", "Science;DataVisualization;Education;",
       "application/x-zentrik-object;", false},
      {"a main category typed in any case", true, true, false, "office", "Office;",
       "application/x-zentrik-object;text/plain;", false},
      {"no menu", false, true, true, "Ignored", "Science;DataVisualization;Education;",
       "application/x-zentrik-object;text/plain;", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(home(".local"));
    fs::remove_all(home(".config"));
    fs::remove(home("Desktop/Zentrik.desktop"));
    InstallChoices chosen = choices(c.name);
    chosen.start_menu = c.start_menu;
    chosen.send_to = c.send_to;
    chosen.desktop = c.desktop;
    chosen.submenu = c.submenu;
    ASSERT_TRUE(run_install(chosen));
    for (const char* entry : {"zentrik3.desktop", "zentrik3-uninstall.desktop"}) {
      const std::string text = read(apps(entry));
      EXPECT_TRUE(has_line(text, "Categories=" + c.categories)) << text;
      EXPECT_TRUE(has_line(text, std::string("NoDisplay=") + (c.no_display ? "true" : "false"))) << text;
    }
    EXPECT_TRUE(has_line(read(apps("zentrik3.desktop")), "MimeType=" + c.mime_types));
    EXPECT_EQ(fs::exists(home("Desktop/Zentrik.desktop")), c.desktop);
    EXPECT_FALSE(fs::exists(home(".config/menus")));
  }
}

TEST_F(Integration, AnotherProgramsDefaultIsReplacedOnlyWhenTheUserAgrees) {
  dir_.write("system-share/applications/viewer.desktop", "[Desktop Entry]\nName=Object Viewer\nExec=viewer\n");
  fs::create_directories(home(".config"));
  const std::string others = "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n"
                             "application/x-zentrik-object=viewer.desktop;\ntext/plain=editor.desktop\n";
  dir_.write("home/.config/mimeapps.list", others);

  ui_.queueAnswer(Answer::No);
  ASSERT_TRUE(run_install(choices()));
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_EQ(ui_.messages[0].caption, "Overwrite file association?");
  EXPECT_EQ(ui_.messages[0].text,
            "The filename extension \".ZKO\" is already associated with the program \"Object Viewer\".  Do you want "
            "Setup to overwrite this association and associate the \".ZKO\" extension with Zentrik?");
  EXPECT_EQ(ui_.messages[1].caption, "Error!");
  EXPECT_EQ(ui_.messages[1].text,
            "The Zentrik Object type or file extension \".ZKO\" was not registered with the operating system.  You "
            "will not be able to double-click on a Zentrik object in a file manager window to open it.");
  EXPECT_EQ(read(home(".config/mimeapps.list")), others);
  EXPECT_FALSE(has_line(log_of(dir_.path("Zentrik 3")), "Association: application/x-zentrik-object=zentrik3.desktop in " +
                                                         home(".config/mimeapps.list")));

  ui_ = ScriptedSetupUi();
  ui_.queueAnswer(Answer::Yes);
  ASSERT_TRUE(run_install(choices("second")));
  EXPECT_EQ(read(home(".config/mimeapps.list")),
            "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n"
            "application/x-zentrik-object=zentrik3.desktop;\ntext/plain=editor.desktop\n");

  // Zentrik's own default is renewed without a question.
  ui_ = ScriptedSetupUi();
  ASSERT_TRUE(run_install(choices("third")));
  EXPECT_EQ(ui_.captions(), std::vector<std::string>{"Installation Complete!"});
}

TEST_F(Integration, ALauncherThatIsSomebodyElsesStaysAndIsToldAbout) {
  fs::create_directories(home(".local/bin"));
  dir_.write("home/.local/bin/zentrik3", "my own script\n");
  fs::remove_all(home("Desktop"));
  ASSERT_TRUE(run_install(choices()));
  EXPECT_EQ(read(home(".local/bin/zentrik3")), "my own script\n");
  ASSERT_EQ(ui_.messages.size(), 3u);
  EXPECT_EQ(ui_.messages[0].text,
            "An error occured while attempting to register the application with the operating system.  The "
            "installation will proceed but may not be complete.");
  EXPECT_EQ(ui_.messages[1].text, "Could not find the desktop folder " + home("Desktop") +
                                      "!  No shortcut will be placed on the desktop!");
  // A link from an earlier installation is replaced.
  fs::remove(home(".local/bin/zentrik3"));
  fs::create_symlink("/nowhere/zentrik3", home(".local/bin/zentrik3"));
  ASSERT_TRUE(run_install(choices("second")));
  EXPECT_EQ(fs::read_symlink(home(".local/bin/zentrik3")), dir_.path("second/zentrik3"));
}

TEST_F(Integration, TheDesktopFolderComesFromUserDirs) {
  fs::create_directories(home(".config"));
  fs::create_directories(home("Bureau"));
  dir_.write("home/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
  EXPECT_EQ(user_integration_paths().desktop_folder, home("Bureau"));
  ASSERT_TRUE(run_install(choices()));
  EXPECT_TRUE(fs::exists(home("Bureau/Zentrik.desktop")));
  EXPECT_FALSE(fs::exists(home("Desktop/Zentrik.desktop")));
}

TEST_F(Integration, TheDatabasesAreRefreshedWhenTheToolsAreThere) {
  ScopedEnv path("PATH", "/usr/bin:/bin");
  if (::access("/usr/bin/update-mime-database", X_OK) != 0 || ::access("/usr/bin/update-desktop-database", X_OK) != 0)
    GTEST_SKIP() << "update-mime-database or update-desktop-database is not installed";
  ASSERT_TRUE(run_install(choices()));
  EXPECT_TRUE(fs::exists(home(".local/share/mime/mime.cache")));
  EXPECT_NE(read(home(".local/share/mime/application/x-zentrik-object.xml")).find("Zentrik plot object"),
            std::string::npos);
  EXPECT_NE(read(apps("mimeinfo.cache")).find("application/x-zentrik-object=zentrik3.desktop;"), std::string::npos);
}

TEST(DesktopFiles, ExecArgumentsAndValuesAreQuotedAsTheDesktopEntryFormatWants) {
  const std::pair<std::string, std::string> cases[] = {
      {"/opt/Zentrik3/zentrik3", "/opt/Zentrik3/zentrik3"},
      {"/home/a b/z", "\"/home/a b/z\""},
      {"/x/100%/z", "\"/x/100%%/z\""},
      {"/x/$HOME/`q`/\"d\"/\\", "\"/x/\\$HOME/\\`q\\`/\\\"d\\\"/\\\\\""},
  };
  for (const auto& [argument, quoted] : cases) EXPECT_EQ(exec_argument(argument), quoted) << argument;
  EXPECT_EQ(desktop_entry_value("a\\b\nc\td"), "a\\\\b\\nc\\td");
  EXPECT_EQ(submenu_file_stem("  Data & Plots / 2024 "), "data-plots-2024");
  EXPECT_EQ(submenu_file_stem("+++"), "submenu");
}

TEST(DesktopFiles, DefaultApplicationsAreEditedWithoutDisturbingOtherLines) {
  EXPECT_EQ(with_default_application("", "a/b", "z.desktop"), "[Default Applications]\na/b=z.desktop;\n");
  EXPECT_EQ(with_default_application("[Added Associations]\nx/y=q.desktop;", "a/b", "z.desktop"),
            "[Added Associations]\nx/y=q.desktop;\n\n[Default Applications]\na/b=z.desktop;\n");
  const std::string list = "# mine\n[Default Applications]\nx/y=q.desktop\na/b = other.desktop;z.desktop;\n";
  EXPECT_EQ(default_application(list, "a/b"), "other.desktop;z.desktop;");
  EXPECT_EQ(without_default_application(list, "a/b", "z.desktop"),
            "# mine\n[Default Applications]\nx/y=q.desktop\na/b=other.desktop;\n");
  EXPECT_EQ(without_default_application("[Default Applications]\na/b=z.desktop;\n[Other]\na/b=z.desktop;\n", "a/b",
                                        "z.desktop"),
            "[Other]\na/b=z.desktop;\n");
}

}  // namespace
}  // namespace zentrik::testing
