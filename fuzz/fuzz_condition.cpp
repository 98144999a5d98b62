// Any load condition against any file text, through the File Load Options dialog and
// the load: the dialog accepts what it can evaluate on the line it shows and says
// why otherwise, and the load keeps exactly the lines that the skip, the cycle and
// the condition choose.
// Input: four bytes of options (read every, load, skip, lines stepped in the dialog),
// the condition, a line feed, the file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "data/LineReader.h"
#include "data/LoadFilter.h"
#include "data/LoadOptionsDialog.h"
#include "formula/FormulaCheck.h"
#include "fuzz/FuzzSupport.h"

using namespace zentrik;
using zentrik::fuzz::expect;

namespace {

// The file lives in memory; the loader opens it by its /proc name like any path.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("zentrik-fuzz-condition", 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {}

  void replace(std::string_view text) {
    if (ftruncate(fd_, 0) != 0 || pwrite(fd_, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()))
      zentrik::fuzz::fail("the memory file cannot be written");
    lseek(fd_, 0, SEEK_SET);
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

MemoryFile& memory_file() {
  static MemoryFile file;
  return file;
}

// The lines the loader should keep, found by reading the text the way a load does.
std::vector<std::string> expected_lines(std::string_view text, const LoadOptionValues& options) {
  LineReader reader(text);
  std::string_view line;
  const std::string first_line = reader.next(line) ? std::string(line) : std::string();
  reader.rewind();
  for (int32_t skipped = 0; skipped < options.initial_skip; ++skipped) reader.next(line);
  LoadFilter filter(options.read_every, options.loadnum, options.load_condition, first_line);
  std::vector<std::string> kept;
  while (reader.next(line))
    if (filter.keep(line, static_cast<int32_t>(kept.size()) + 1)) kept.emplace_back(line);
  return kept;
}

bool stored_unchanged(const std::string& line) {
  if (line.size() > kMaxStoredLine) return false;
  for (char c : line)
    if (c == '\0' || static_cast<unsigned char>(c) > 127) return false;  // stored as "!"
  return true;
}

void check_dialog(const LoadOptionValues& entered, int steps) {
  MemoryFile& file = memory_file();
  zentrik::fuzz::DecliningUi ui;
  bool drop_prompt = true;
  LoadOptionsDialog dialog(file.fd(), file.path(), {}, drop_prompt, ui);
  for (int i = 0; i < steps; ++i) dialog.showNextLine();
  if (steps == 3) dialog.countLines();
  ui.reset();
  const bool accepted = dialog.accept(entered);
  expect(accepted == ui.messages().empty(), "the dialog says why it refuses, and only then");
  if (!accepted) return;
  const std::string& stored = dialog.values().load_condition;
  expect(stored == normalizeFormulaText(entered.load_condition) && normalizeFormulaText(stored) == stored,
         "the dialog keeps the condition normalised");
  expect(drop_prompt == !entered.dont_show_again, "the check box sets the prompt");
}

void check_load(const LoadOptionValues& entered, const std::string& text) {
  MemoryFile& file = memory_file();
  zentrik::fuzz::DecliningUi ui;
  bool accepted = false;
  ui.queueLoadOptions([&](FileLoadOptionsDialog& dialog) { return accepted = dialog.accept(entered); });
  bool drop_prompt = true;
  LoadEnvironment env{ui, nullptr, &drop_prompt, nullptr};
  DataFile data(file.path(), env);
  if (!accepted || data.plot_object_signature) return;

  LoadOptionValues used = entered;
  used.load_condition = normalizeFormulaText(entered.load_condition);
  const std::vector<std::string> kept = expected_lines(text, used);
  bool plain = true;  // each line stored as one line, as it was read
  for (const std::string& line : kept) plain = plain && stored_unchanged(line);
  if (!plain) return;
  if (kept.size() < 2) {
    expect(data.loaded_count() == 0, "fewer than two lines load nothing");
    return;
  }
  expect(data.loaded_count() == static_cast<int32_t>(kept.size()), "the load keeps the lines chosen");
  for (std::size_t i = 0; i < kept.size(); ++i)
    expect(data.line(static_cast<int32_t>(i) + 1).text() == kept[i], "the load keeps the lines chosen");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 4) return 0;
  LoadOptionValues entered;
  entered.read_every = 1 + bytes[0] % 4;
  entered.loadnum = bytes[1] % 5 - 1;
  entered.initial_skip = bytes[2] % 4;
  entered.dont_show_again = bytes[3] & 4;
  const int steps = bytes[3] % 4;
  const std::string_view rest(reinterpret_cast<const char*>(bytes) + 4, size - 4);
  const std::size_t cut = rest.find('\n');
  entered.load_condition = std::string(rest.substr(0, cut));
  const std::string text(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));

  memory_file().replace(text);
  check_dialog(entered, steps);
  check_load(entered, text);
  return 0;
}
