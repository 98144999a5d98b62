#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

TEST(ScriptedUi, AnswersQuestionsFromItsQueueAndRecordsEveryMessage) {
  ScriptedUi ui;
  ui.queueAnswer(Answer::No);
  EXPECT_EQ(ui.message("Really cancel?", "Cancel?", Buttons::YesNo), Answer::No);
  EXPECT_EQ(ui.message("Done.", "Note"), Answer::Ok);
  EXPECT_THROW(ui.message("Again?", "Cancel?", Buttons::YesNo), std::logic_error);
  ASSERT_EQ(ui.messages().size(), 3u);
  EXPECT_EQ(ui.messages()[0].caption, "Cancel?");
  EXPECT_EQ(ui.messages()[1].text, "Done.");
}

TEST(ScriptedUi, ErrorsSoundOnlyWhenTheSettingIsOn) {
  ScriptedUi ui;
  ui.showError("Non-ASCII file!", "Error!");
  ui.setErrorBeep(false);
  ui.showError("Non-ASCII file!", "Error!");
  EXPECT_EQ(ui.sounds(), 1);
  EXPECT_EQ(ui.messages().size(), 2u);
}

TEST(ScriptedUi, CancelStaysPressedUntilTheProgressWindowHides) {
  ScriptedUi ui;
  ui.cancelAtCheck(2);
  ui.progressShow("\nLoading", true);
  EXPECT_FALSE(ui.progressCancelled());
  EXPECT_TRUE(ui.progressCancelled());
  EXPECT_TRUE(ui.progressCancelled());
  ui.progressHide();
  EXPECT_FALSE(ui.progressCancelled());
  EXPECT_EQ(ui.progressLog(), (std::vector<std::string>{"show: \nLoading", "hide"}));
}

TEST(ScriptedUi, ConfigurationDialogsTakeTheirQueuedAnswersInOrder) {
  ScriptedUi ui;
  ui.queueExistingConfigurationChoice(ExistingConfigurationChoice::UseInPlace);
  ui.queueExistingConfigurationCancel();
  ExistingConfigurationRequest existing{"/home/u/zentrik.ini"};
  EXPECT_TRUE(ui.useExistingConfiguration(existing));
  EXPECT_EQ(existing.choice, ExistingConfigurationChoice::UseInPlace);
  EXPECT_FALSE(ui.useExistingConfiguration(existing));
  EXPECT_THROW(ui.useExistingConfiguration(existing), std::logic_error);

  ui.queueConfigurationFilename("/home/u/z.ini");
  ui.queueConfigurationFilenameCancel();
  ConfigurationFilenameRequest filename{"/proposed/Zentrik.ini"};
  EXPECT_TRUE(ui.enterConfigurationFilename(filename));
  EXPECT_EQ(filename.path, "/home/u/z.ini");
  EXPECT_FALSE(ui.enterConfigurationFilename(filename));
  ASSERT_EQ(ui.configurationFilenameRequests().size(), 2u);
  EXPECT_EQ(ui.configurationFilenameRequests()[0].path, "/proposed/Zentrik.ini");  // as it was shown

  ui.queueConfigurationFilename("/left/over.ini");
  ui.reset();
  EXPECT_TRUE(ui.existingConfigurationRequests().empty());
  EXPECT_THROW(ui.enterConfigurationFilename(filename), std::logic_error);
}

}  // namespace
}  // namespace zentrik
