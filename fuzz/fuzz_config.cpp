// Any text as Zentrik.ini: the configuration read from it keeps its values within
// their bounds, and writing it and reading that back gives the same configuration
// (the run counter one higher).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/fields/NumberText.h"
#include "fuzz/FuzzSupport.h"
#include "persist/ConfigReader.h"
#include "persist/Configuration.h"

using namespace zentrik;
using zentrik::fuzz::expect;
using zentrik::fuzz::one_line;

namespace {

void check_formulas(const FormulaList& formulas) {
  for (const Formula& f : formulas) {
    expect(one_line(f.text()) && one_line(f.description), "a formula text stays one line");
    expect(f.text().find('~') == std::string::npos, "a formula text holds no \"~\"");
    expect(static_cast<uint32_t>(f.line_type) <= 4, "line type 0 to 4");
    expect(f.enabled == 1, "formulas read back are enabled");
  }
}

void check_list(const std::vector<std::string>& entries, std::string_view end_marker) {
  for (const std::string& entry : entries)
    expect(one_line(entry) && !entry.starts_with(end_marker), "a list entry is one line before its end marker");
}

void check_bounds(const Configuration& c) {
  const PlotDefinition& d = c.default_plot.definition;
  expect(d.x_margin >= -kMaxMargin && d.x_margin <= kMaxMargin, "XMargin within its bound");
  expect(d.y_margin >= -kMaxMargin && d.y_margin <= kMaxMargin, "YMargin within its bound");
  check_formulas(d.formulas);
  for (const std::string* text :
       {&d.xlab, &d.ylab, &d.x_bytick, &d.date_format, &c.def_field_delim, &c.def_ignore_place_hold,
        &c.def_off_place_hold, &c.plotfiledir, &c.settingsdir, &c.outputdir, &c.objdir, &c.clipdir, &c.filters,
        &c.ppf.face, &c.tpf.face, &c.vwf.face, &c.lpf.face, &c.mpf.face})
    expect(one_line(*text), "a text value stays one line");
  check_list(c.url_mru, "~url_mru~");
  check_list(c.file_mru, "~file_mru~");
  check_list(c.obj_mru, "~obj_mru~");
  check_list(c.psu_files, "~end_psu_files~");
  check_list(c.approved_commands, "~end_approved_commands~");
}

Configuration read_text(std::string_view text) {
  ConfigReader reader = ConfigReader::from_text(text);
  return read_configuration(reader);
}

std::string written(const Configuration& c) { return configuration_text(c, c, c.main_win_rect); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Configuration first = read_text(std::string_view(reinterpret_cast<const char*>(data), size));
  check_bounds(first);
  const std::string text = written(first);

  Configuration second = read_text(text);
  check_bounds(second);
  // the run counter is written one higher, with six digits
  expect(format_g(second.numruns, 6) == format_g(first.numruns + 1, 6), "numruns is written plus one");
  second.numruns = first.numruns;
  zentrik::fuzz::expect_same_text(text, written(second), "configuration read back as written");

  // Settings not saved: the start-up options are written, the rest as it is now.
  Configuration live = second;
  live.savesets = 0;
  live.loadflags = first.loadflags ^ 1;
  Configuration kept = read_text(configuration_text(live, first, {1, 2, 3, 4}));
  expect(kept.loadflags == first.loadflags && kept.main_win_rect == first.main_win_rect,
         "the start-up options are written when settings are not saved");
  expect(kept.savesets == 0, "savesets is written from the live settings");
  return 0;
}
