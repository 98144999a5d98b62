// Any text as a plot object file, loaded as the program loads one: the data file it
// names, its further files, load options and excluded lines, then its window part.
// A load that fails says why; a loaded object keeps its bounds; writing it and
// loading that again gives the same object, lines and excluded lines included.
// Data files are named by their paths in /tmp/zentrik-fuzz-data (see the corpus);
// pre-load commands never run, and URLs and device files are not followed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/DataFile.h"
#include "fuzz/FuzzSupport.h"
#include "persist/CommandApproval.h"
#include "persist/PlotObject.h"

using namespace zentrik;
using zentrik::fuzz::expect;

namespace {

constexpr ScreenSize kScreen{1920, 1080};

// The data files the corpus names, made once; written beside and renamed into place,
// so that runs side by side never read half a file.
void make_data_files() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zentrik-fuzz-data";
  std::filesystem::create_directories(folder);
  auto place = [&](const char* name, const std::string& text) {
    const std::filesystem::path part = folder / (std::string(name) + "." + std::to_string(getpid()));
    std::ofstream(part, std::ios::binary) << text;
    std::filesystem::rename(part, folder / name);
  };
  std::string data;
  for (int i = 1; i <= 30; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "%02d/01/2026 %02d:%02d:00 %d %d.5 %d\n", 1 + i % 28, i % 24, i % 60, i,
                  i * i, 100 - 3 * i);
    data += line;
  }
  place("data.dat", data);
  place("more.dat", "7 70\n8 80\n9 90\n10 100\n");
}

const zentrik::fuzz::ScratchFolder& scratch() {
  static const zentrik::fuzz::ScratchFolder folder("object");
  return folder;
}

// Device files never end and URLs reach the network: such inputs are passed over.
bool names_outside_files(std::string_view text) {
  for (std::string_view outside : {"://", "/dev", "/proc", "/sys"})
    if (text.find(outside) != std::string_view::npos) return true;
  return false;
}

struct LoadedObject {
  std::unique_ptr<DataFile> data;
  std::optional<ObjectRecord> record;
  PlotWindow window;
  std::string text;  // what writing it gives; empty when no object was loaded
};

LoadedObject load_object(const std::string& path) {
  LoadedObject loaded;
  zentrik::fuzz::DecliningUi ui;
  std::vector<std::string> approved;
  CommandApproval approval(approved, CommandPolicy::Never, ui);
  ObjectEnvironment env{{0, scratch().path("")}, approval, ui};
  ObjectLoading objects(env);
  LoadEnvironment load_env{ui, nullptr, nullptr, &objects};
  loaded.data = std::make_unique<DataFile>(path, load_env);
  DataFile& data = *loaded.data;
  if (data.included_count() == 0) {
    expect(!ui.messages().empty(), "a load that fails says why");
    return loaded;
  }
  expect(data.included_count() >= 2 && data.loaded_count() >= data.included_count(), "a load keeps two lines or more");
  expect(data.read_every >= 1 && data.initial_skip >= 0, "load options within their bounds");
  if (!objects.owner()) return loaded;  // plain data

  loaded.record = objects.owner();
  const std::vector<std::string> psu_files;
  const DefaultPlot defaults;
  loaded.window = new_plot_window(&data, defaults, {});
  ReadPlotObjectWindow(loaded.window, *loaded.record, kScreen, {true, psu_files, defaults}, ui);
  const WindowRect& r = loaded.window.rect;
  expect(r.left >= 0 && r.top >= 0, "the window starts on the screen");
  const PlotDefinition& d = loaded.window.definition;
  expect(!d.formulas.empty(), "an opened object has formulas");
  expect(d.x_margin >= -kMaxMargin && d.x_margin <= kMaxMargin && d.y_margin >= -kMaxMargin &&
             d.y_margin <= kMaxMargin,
         "margins within their bound");
  loaded.text = plot_object_text(loaded.window, &*loaded.record);
  return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  make_data_files();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(bytes), size);
  if (names_outside_files(input)) return 0;
  const LoadedObject first = load_object(scratch().write("plot.zko", input));
  if (first.text.empty()) return 0;

  const LoadedObject second = load_object(scratch().write("again.zko", first.text));
  expect(!second.text.empty(), "a written object loads again");
  zentrik::fuzz::expect_same_text(first.text, second.text, "object loaded back as written");
  expect(first.data->loaded_count() == second.data->loaded_count() &&
             first.data->included_count() == second.data->included_count(),
         "the same lines load again");
  for (int32_t n = 1; n <= first.data->loaded_count(); ++n)
    expect(first.data->line(n).text() == second.data->line(n).text(), "the same lines load again");
  return 0;
}
