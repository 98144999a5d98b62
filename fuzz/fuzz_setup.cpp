// Any text as a plot setup file: what is read keeps its bounds, reading what was
// written gives the same setup, the file read by path through the extensions table
// gives what the text gave, and the formulas' check speaks exactly when it refuses.
// The same text's "filters" and "psu_files" make an extensions table that survives
// being written and read again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "persist/ConfigReader.h"
#include "persist/SetupFile.h"
#include "persist/SetupFileTable.h"

using namespace zentrik;
using zentrik::fuzz::expect;
using zentrik::fuzz::expect_same_text;
using zentrik::fuzz::one_line;

namespace {

const zentrik::fuzz::ScratchFolder& scratch() {
  static const zentrik::fuzz::ScratchFolder folder("setup");
  return folder;
}

void check_bounds(const PlotDefinition& d) {
  expect(d.x_margin >= -kMaxMargin && d.x_margin <= kMaxMargin, "x_margin within its bound");
  expect(d.y_margin >= -kMaxMargin && d.y_margin <= kMaxMargin, "y_margin within its bound");
  for (const std::string* text : {&d.xlab, &d.ylab, &d.x_bytick, &d.date_format})
    expect(one_line(*text), "a text value stays one line");
  for (const Formula& f : d.formulas) {
    expect(one_line(f.text()) && one_line(f.description), "a formula text stays one line");
    expect(static_cast<uint32_t>(f.line_type) <= 4, "line type 0 to 4");
  }
}

PlotDefinition read_text(std::string_view text, bool& had_formulas) {
  ConfigReader reader = ConfigReader::from_text(text);
  PlotDefinition definition;
  had_formulas = read_plot_setup(reader, definition);
  return definition;
}

void check_setup(std::string_view input) {
  bool had_formulas = false;
  const PlotDefinition first = read_text(input, had_formulas);
  check_bounds(first);
  const std::string text = setup_file_text(first);

  bool again_had_formulas = false;
  const PlotDefinition second = read_text(text, again_had_formulas);
  expect(again_had_formulas == had_formulas, "the formula list is written back");
  expect_same_text(text, setup_file_text(second), "setup read back as written");

  // The file itself, found through the extension of a data file.
  const std::string path = scratch().write("plot.psu", input);
  const std::vector<std::string> psu_files = {".dat " + path};
  PlotDefinition by_path;
  zentrik::fuzz::DecliningUi ui;
  expect(FindSetupFileForDataFile("/data/run.DAT", true, psu_files, by_path, ui), "the bound setup file is read");
  expect_same_text(text, setup_file_text(by_path), "the file gives what its text gives");

  ui.reset();
  const bool passed = CheckLoadedSetup(first, {"1 2 3 4 5 6 7 8", 1}, ui);
  expect(passed == ui.messages().empty(), "a refused setup is reported, an accepted one is not");
}

void check_table(std::string_view input) {
  ConfigReader reader = ConfigReader::from_text(input);
  const std::string filters = reader.read_string("filters", "All Files|*.*||");
  const std::vector<std::string> psu_files = reader.read_list("psu_files", "~end_psu_files~");
  const SetupFileTable first = SetupFileTable::from_settings(filters, psu_files);
  const SetupFileTable second = SetupFileTable::from_settings(first.filters(), first.psu_files());
  expect_same_text(first.filters(), second.filters(), "the filters read back as written");
  expect(first.psu_files() == second.psu_files(), "the setup files read back as written");
  const auto& a = first.rows();
  const auto& b = second.rows();
  // A lone "All Files" row without a setup file is what the empty table means and
  // writes: the file dialogs offer all files either way.
  const bool lone_all_files = a.size() == 1 && b.empty() && a[0].description == "All Files" &&
                              a[0].filter == "*.*" && a[0].setup_file.empty();
  if (lone_all_files) return;
  expect(a.size() == b.size(), "the table keeps its rows");
  for (std::size_t i = 0; i < a.size(); ++i)
    expect(a[i].description == b[i].description && a[i].filter == b[i].filter && a[i].setup_file == b[i].setup_file,
           "a row reads back as written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  check_setup(input);
  check_table(input);
  return 0;
}
