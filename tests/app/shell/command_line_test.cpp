// Names out of a command-line text, the length rule, the text a second start hands
// over, and the recent lists.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/shell/CommandLine.h"
#include "app/shell/RecentList.h"
#include "ui/ScriptedUi.h"

namespace zentrik {
namespace {

using Names = std::vector<std::string>;

TEST(CommandLine, WalksQuotedAndPlainNames) {
  const std::pair<const char*, Names> cases[] = {
      {"  ", {}},
      {"a.dat   \t b.dat  ", {"a.dat", "b.dat"}},
      {"\"/data/my run.dat\" b.dat", {"/data/my run.dat", "b.dat"}},
      {"/data/my run.dat", {"/data/my", "run.dat"}},  // unquoted: ends at the first space
      {"\"unclosed name", {"unclosed name"}},
      {"\"\" \"q 1\"\"q 2\"tail", {"q 1", "q 2", "tail"}},
      {"mid\"quote.dat tab\tinside", {"mid\"quote.dat", "tab\tinside"}},
  };
  for (const auto& [text, names] : cases) EXPECT_EQ(command_line_names(text), names) << text;
}

TEST(CommandLine, NamesOf260CharactersAreRefused) {
  ScriptedUi ui;
  EXPECT_TRUE(file_name_fits(std::string(259, 'a'), ui));
  const std::string long_name(260, 'b');
  EXPECT_FALSE(file_name_fits(long_name, ui));
  ASSERT_EQ(ui.messages().size(), 1u);
  EXPECT_EQ(ui.lastMessage().text, "The filename\n\n" + long_name + "\n\nis too long (259 characters max).");
  EXPECT_EQ(ui.lastMessage().caption, "Filename too long!");
}

TEST(CommandLine, SecondStartQuotesBlanksAndMakesNamesAbsolute) {
  const std::string cwd = std::filesystem::current_path().string();
  const char* argv[] = {"zentrik3", "/data/run.dat", "my run.dat", "", "http://example.com/a b.dat",
                        "HTTPS://example.com/x", "sub/../x.dat"};
  const std::string text = command_line_text(7, argv);
  EXPECT_EQ(text, "/data/run.dat \"" + cwd + "/my run.dat\" \"http://example.com/a b.dat\" HTTPS://example.com/x " +
                      cwd + "/x.dat");
  // The running instance finds the same names again.
  EXPECT_EQ(command_line_names(text), (Names{"/data/run.dat", cwd + "/my run.dat", "http://example.com/a b.dat",
                                             "HTTPS://example.com/x", cwd + "/x.dat"}));
}

TEST(RecentList, NewestFirstWithoutDuplicatesAtMostTen) {
  Names list;
  for (const char* name : {"a", "b", "c", "a", "", "a"}) add_recent(list, name);
  EXPECT_EQ(list, (Names{"a", "c", "b"}));  // a name already present moves to the head
  add_recent(list, list[2]);                // a chosen entry is passed as itself
  EXPECT_EQ(list, (Names{"b", "a", "c"}));

  list.clear();
  for (int i = 1; i <= 11; ++i) add_recent(list, "f" + std::to_string(i));
  EXPECT_EQ(list, (Names{"f11", "f10", "f9", "f8", "f7", "f6", "f5", "f4", "f3", "f2"}));

  // A hand-edited configuration may hold duplicates and more than ten names.
  Names edited{"x", "y", "x", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  add_recent(edited, "x");
  EXPECT_EQ(edited, (Names{"x", "y", "1", "2", "3", "4", "5", "6", "7", "8"}));
}

}  // namespace
}  // namespace zentrik
