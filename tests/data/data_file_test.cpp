#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/DataFile.h"
#include "data/LineReader.h"
#include "data/LineTexts.h"

namespace zentrik {
namespace {

std::vector<std::string> split(std::string_view text) {
  DataFile data("x");
  data.store_text(text);
  return testing::line_texts(data);
}

// Every byte above 127 and every NUL is stored as "!", wherever it stands among the
// eight-byte words the arena checks at once; the stored text ends where it should.
TEST(StoredLines, OddBytesBecomeMarksAtEveryPlace) {
  TextArena arena;
  for (std::size_t size = 1; size <= 20; ++size) {
    for (std::size_t at = 0; at < size; ++at) {
      for (char odd : {'\0', '\x80', '\xff', '\xe9'}) {
        std::string text(size, 'a');
        for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('0' + (i * 7 + size) % 75);  // '0'..'z'
        text[at] = odd;
        std::string want = text;
        want[at] = '!';
        const std::string_view stored = arena.store(text);
        ASSERT_EQ(stored, want) << size << " " << at;
        EXPECT_EQ(stored.data()[size], '\0');
        EXPECT_EQ(std::string_view(stored.data()), want);  // its start alone gives it back
      }
    }
  }
  EXPECT_EQ(arena.store(""), "");
  EXPECT_EQ(arena.store("\x7f\x01 plain"), "\x7f\x01 plain");  // below 128 and not 0: kept
}

TEST(StoredLines, LongPhysicalLinesBecomeSeveralLines) {
  DataFile data("long.dat");
  data.store_text(std::string(10000, '7') + "\nnext\n");
  ASSERT_EQ(data.loaded_count(), 4);
  EXPECT_EQ(data.line(1).text().size(), 4095u);
  EXPECT_EQ(data.line(2).text().size(), 4095u);
  EXPECT_EQ(data.line(3).text().size(), 1810u);
  EXPECT_EQ(data.line(4).text(), "next");
  EXPECT_EQ(data.line(4).number, 4);
}

TEST(StoredLines, ALineOfExactlyTheLimitMakesNoEmptyLine) {
  EXPECT_EQ(split(std::string(4095, 'a') + "\nb").size(), 2u);
  EXPECT_EQ(split(std::string(4095, 'a') + "\r\nb").size(), 2u);
  EXPECT_EQ(split(std::string(8190, 'a') + "\n").size(), 2u);
  EXPECT_EQ(split(std::string(4096, 'a') + "\n"), (std::vector<std::string>{std::string(4095, 'a'), "a"}));
}

TEST(StoredLines, LineEndsAndBytesAboveAscii) {
  EXPECT_EQ(split("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(split("a\rb\r"), (std::vector<std::string>{"a\rb\r"}));  // a lone CR is a character
  EXPECT_EQ(split(""), (std::vector<std::string>{}));
  EXPECT_EQ(split("\n"), (std::vector<std::string>{""}));
  EXPECT_EQ(split("caf\xE9 1\n\xB0\xFF 2"), (std::vector<std::string>{"caf! 1", "!! 2"}));
}

// A file read in blocks cuts the same lines as a text in memory, wherever the
// blocks end (a CR LF may straddle two reads).
TEST(StoredLines, FileAndMemoryReadTheSameLines) {
  std::string text = "ab\r\ncd\r\r\n" + std::string(4095, 'x') + "\r\n" + std::string(4095, 'y') +
                     "\rz\n" + std::string(3 << 20, 'q') + "\n\r";
  std::vector<std::string> from_memory = split(text);
  char name[] = "/tmp/zentrik-lines-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ASSERT_EQ(lseek(fd, 0, SEEK_SET), 0);
  LineReader reader(fd);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<std::string> from_file;
    for (std::string_view line; reader.next(line);) from_file.emplace_back(line);
    EXPECT_EQ(from_file, from_memory);
    EXPECT_EQ(reader.bytes_consumed(), text.size());
    EXPECT_TRUE(reader.rewind());
  }
  close(fd);
  unlink(name);
  EXPECT_EQ(from_memory.back(), "\r");
  EXPECT_EQ(from_memory.size(), 5u + 769 + 1);  // 3 MiB of q: 768 full pieces and one of 768
}

TEST(Inclusion, LineNumbersCarryTheState) {
  DataFile data("d");
  data.store_text("1\n2\n3\n4\n");
  EXPECT_EQ(data.included_count(), 4);
  data.set_included(1, false);
  data.set_included(3, false);
  data.set_included(3, false);  // twice changes nothing
  EXPECT_EQ(data.included_count(), 2);
  EXPECT_EQ(data.line(3).number, -3);
  EXPECT_EQ(data.line(3).position(), 3);

  const DataLine* first = data.first_included();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->number, 2);
  const DataLine* second = data.next_included(first);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->number, 4);
  EXPECT_EQ(data.next_included(second), nullptr);

  data.set_included(3, true);
  EXPECT_EQ(data.line(3).number, 3);
  EXPECT_EQ(data.included_count(), 3);

  data.clear_lines();
  EXPECT_EQ(data.loaded_count(), 0);
  EXPECT_EQ(data.included_count(), 0);
  EXPECT_EQ(data.first_included(), nullptr);
}

// The included lines come in runs, forward and backward, for every pattern of
// excluded lines over eight (first, last, neighbours, none, all), and a visit that
// says stop ends the walk.
TEST(Inclusion, RunsOfIncludedLinesCoverEachIncludedLineOnce) {
  for (unsigned excluded = 0; excluded < 256; ++excluded) {
    DataFile data("x");
    data.store_text("a\nb\nc\nd\ne\nf\ng\nh\n");
    std::vector<std::size_t> want;
    for (int32_t position = 1; position <= 8; ++position) {
      const bool out = (excluded >> (position - 1)) & 1;
      data.set_included(position, !out);
      if (!out) want.push_back(static_cast<std::size_t>(position));
    }
    SCOPED_TRACE("excluded bits " + std::to_string(excluded));
    std::vector<std::size_t> forward, backward, runs_seen;
    data.for_each_included_run([&](std::size_t first, std::size_t end) {
      EXPECT_LT(first, end);
      for (std::size_t p = first; p < end; ++p) forward.push_back(p);
      runs_seen.push_back(first);
      return true;
    });
    data.for_each_included_run_backward([&](std::size_t first, std::size_t end) {
      EXPECT_LT(first, end);
      for (std::size_t p = end; p-- > first;) backward.push_back(p);
      return true;
    });
    EXPECT_EQ(forward, want);
    EXPECT_EQ(std::vector<std::size_t>(backward.rbegin(), backward.rend()), want);
    // runs are whole: no run starts right after another ends
    for (std::size_t start : runs_seen) {
      if (start == 1) continue;
      EXPECT_EQ((excluded >> (start - 2)) & 1, 1u) << "a run starting at " << start;
    }
    std::size_t visits = 0;
    data.for_each_included([&](std::size_t) { return ++visits < 2; });
    EXPECT_EQ(visits, std::min<std::size_t>(want.size(), 2));
  }
}

TEST(Sources, AreNumberedFromOne) {
  DataFile data("/tmp/a.dat");
  EXPECT_EQ(data.source(1), nullptr);
  DataSource& first = data.add_source("/home/u/data/run1.dat", kFirstFile);
  data.add_source("C:\\logs\\run2.log", kConcatenateFiles);
  data.add_source("plain", kConcatenateLines);
  EXPECT_EQ(first.name, "run1.dat");
  EXPECT_EQ(data.source_count(), 3);
  EXPECT_EQ(data.source(1), &first);
  EXPECT_EQ(data.source(2)->name, "run2.log");
  EXPECT_EQ(data.source(2)->how_added, kConcatenateFiles);
  EXPECT_EQ(data.source(3)->name, "plain");
  EXPECT_EQ(data.source(0), nullptr);
  EXPECT_EQ(data.source(4), nullptr);
  EXPECT_EQ(file_name_of("a/b\\c/d"), "d");
}

}  // namespace
}  // namespace zentrik
