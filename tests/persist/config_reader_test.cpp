#include <gtest/gtest.h>

#include <limits>

#include "persist/ConfigReader.h"

#include <array>
#include <cstdint>
#include <filesystem>

#include "data/TempDir.h"

namespace zentrik {
namespace {

TEST(ConfigReader, FindsKeysInAnyOrderAndWrapsOnce) {
  ConfigReader reader = ConfigReader::from_text(
      "version 3.4\r\nnumruns 7\ndef_x 5\ndef_x_grid 1\nname  two blanks\nrect 1 2 3 4\nrect5 1 2 3 4 5\n");
  EXPECT_EQ(reader.read_int("def_x_grid", 0), 1);
  EXPECT_EQ(reader.read_int("numruns", 0), 7);  // behind the last key found: the lookup wraps
  EXPECT_EQ(reader.read_int("def_x", 0), 5);    // the blank tells def_x from def_x_grid
  EXPECT_EQ(reader.read_string("version", ""), "3.4");  // the carriage return is dropped
  EXPECT_EQ(reader.read_string("name", ""), " two blanks");
  EXPECT_EQ(reader.read_int("missing", -4), -4);
  EXPECT_EQ(reader.read_double("numruns", 0), 7.0);

  std::array<int32_t, 4> rect{9, 9, 9, 9};
  reader.read_rect("rect5", rect);  // five numbers: unchanged
  EXPECT_EQ(rect, (std::array<int32_t, 4>{9, 9, 9, 9}));
  reader.read_rect("rect", rect);
  EXPECT_EQ(rect, (std::array<int32_t, 4>{1, 2, 3, 4}));
}

TEST(ConfigReader, ValuesAreScannedAsTheirFormatsScanThem) {
  ConfigReader reader = ConfigReader::from_text(
      "a 12abc\nb x\nc -3\nd 1.5e3 rest\ne \nf\ng 0x10\nh -1\n");
  EXPECT_EQ(reader.read_int("a", 0), 12);
  EXPECT_EQ(reader.read_int("b", 8), 8);
  EXPECT_EQ(reader.read_long("c", 0), -3);
  EXPECT_EQ(reader.read_double("d", 0), 1500);
  EXPECT_EQ(reader.read_string("e", "default"), "default");  // nothing after the blank
  EXPECT_EQ(reader.read_string("f", "default"), "default");  // no blank: not this key
  EXPECT_EQ(reader.read_double("g", 7), 0);
  EXPECT_EQ(reader.read_unsigned("h", 0), UINT64_MAX);
}

TEST(ConfigReader, ListsRunToTheirEndMarker) {
  ConfigReader reader = ConfigReader::from_text("file_mru\n/a.dat\n/b dat\n~file_mru~\nurl_mru\nhttp://x\n");
  EXPECT_EQ(reader.read_list("file_mru", "~file_mru~"), (std::vector<std::string>{"/a.dat", "/b dat"}));
  EXPECT_EQ(reader.read_list("url_mru", "~url_mru~"), (std::vector<std::string>{"http://x"}));
  EXPECT_TRUE(reader.read_list("obj_mru", "~obj_mru~").empty());
}

TEST(ConfigReader, AMissingFileGivesEveryDefault) {
  ConfigReader reader("/nonexistent/zentrik.ini");
  EXPECT_FALSE(reader.is_open());
  EXPECT_EQ(reader.read_int("numruns", 1), 1);
  EXPECT_EQ(reader.read_string("def_xlab", "x"), "x");
}

// Numbers beyond the 64-bit range stop at its end; a rectangle's numbers end at the
// first word that is none; files far larger than any of the program's are not read.
TEST(ConfigReader, HostileValuesStayInRange) {
  ConfigReader reader = ConfigReader::from_text(
      "big 9223372036854775809\nsmall -9223372036854775809\nmain_win_rect 1 2 3 4 x\nfive 1 2 3 4 5\n");
  EXPECT_EQ(reader.read_long("big", 0), INT64_MAX);
  EXPECT_EQ(reader.read_long("small", 0), -INT64_MAX);
  std::array<int32_t, 4> rect{60, 0, 360, 130};
  reader.read_rect("main_win_rect", rect);
  EXPECT_EQ(rect, (std::array<int32_t, 4>{1, 2, 3, 4}));
  std::array<int32_t, 4> kept{60, 0, 360, 130};
  reader.read_rect("five", kept);
  EXPECT_EQ(kept, (std::array<int32_t, 4>{60, 0, 360, 130}));

  testing::TempDir dir;
  const std::string huge = dir.write("huge.psu", "xlab big\n");
  std::filesystem::resize_file(huge, ConfigReader::kMaxFileSize + 1);  // sparse: nothing is written
  EXPECT_FALSE(ConfigReader(huge).is_open());
}

}  // namespace
}  // namespace zentrik

namespace zentrik {
namespace {

// Numbers beyond a double's range and list entries that begin like a key came back
// changed after a save; both survive now.
TEST(ConfigReader, OverflowingNumbersAndKeyLikeEntriesSurviveASave) {
  ConfigReader reader = ConfigReader::from_text(
      "x_from -1e400\ny_to 1e999\nbig -1.797693135e+308\n"
      "file_mru\ndefault_plot.dat\n~file_mru~\n");
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(reader.read_double("x_from", 0), -largest);
  EXPECT_EQ(reader.read_double("y_to", 0), largest);
  EXPECT_EQ(reader.read_double("big", 0), -largest);  // as "%.10lg" writes the largest double
  EXPECT_FALSE(reader.find_key("default_plot", false));
  EXPECT_EQ(reader.read_list("file_mru", "~file_mru~"), std::vector<std::string>{"default_plot.dat"});
}

}  // namespace
}  // namespace zentrik
