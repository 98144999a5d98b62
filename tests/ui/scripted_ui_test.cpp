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

}  // namespace
}  // namespace zentrik
