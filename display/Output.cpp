#include "display/Output.h"

#include <cerrno>
#include <cstring>

#include "data/AtomicFile.h"
#include "data/DataFile.h"
#include "data/fields/NumberText.h"
#include "formula/Format.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

namespace zentrik {
namespace {

constexpr int kProgressEvery = 1000;

}  // namespace

std::string output_line(const PlotWindow& window, int32_t position, const OutputOptions& options) {
  const PlotDefinition& definition = window.definition;
  const FormulaList& formulas = definition.formulas;
  const auto index = static_cast<std::size_t>(position);
  const PointColumns& x_points = *formulas[0].points;
  std::string line;
  if (!x_points.valid(index)) return line;
  const std::string delimiter = options.field_delim.empty() ? " " : options.field_delim;
  if (options.inc_x_vals) {
    if (definition.log_x == 2)
      line += formatDateLabel(x_points.value(index), window.plot_x_min, window.plot_x_max, definition.date_format);
    else
      line += format_g(x_points.value(index), definition.x_tickprec, true);  // printf's "%.<p>G" in the "C" locale
  }
  for (std::size_t f = 1; f < formulas.size(); ++f) {
    const Formula& formula = formulas[f];
    if (!formula.enabled) continue;
    const PointColumns& points = *formula.points;
    const bool valid = points.valid(index), in_range = points.in_range(index);
    const std::string* place_holder = nullptr;
    if (!(valid && in_range)) {
      if (!in_range && window.zoomed && options.inc_off_plot)
        place_holder = &options.off_place_hold;
      else if (!valid && options.inc_ig_vals)
        place_holder = &options.ignore_place_hold;
      else
        continue;
    }
    if (!line.empty()) line += delimiter;
    if (place_holder)
      line += *place_holder;
    else
      line += format_g(points.value(index), definition.y_tickprec, true);
  }
  if (!line.empty()) line += '\n';
  return line;
}

bool write_plot_data(const PlotWindow& window, const OutputOptions& options, std::FILE* out, Ui& ui,
                     bool show_progress) {
  const DataFile& data = *window.data;
  if (show_progress) ui.progressShow("\nOutputing . . .", false);
  int countdown = kProgressEvery;
  bool written = true;
  for (const DataLine* line = data.first_included(); line && written; line = data.next_included(line)) {
    if (show_progress && --countdown == 0) {
      countdown = kProgressEvery;
      ui.progressSetText("\nOutputing . . .\n\nLine " + std::to_string(line->number) + " of " +
                         std::to_string(data.loaded_count()));
    }
    const std::string text = output_line(window, line->position(), options);
    written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  }
  if (show_progress) ui.progressHide();
  return written && std::fflush(out) == 0;
}

bool output_to_file(const PlotWindow& window, const OutputOptions& options, const std::string& path, Ui& ui) {
  // Written beside an older file and renamed over it once complete.
  ReplacingFile file(path);
  std::FILE* out = file.stream();
  if (!out) {
    ui.message("Can't open " + path, "File Open Error!", Buttons::Ok);
    return false;
  }
  const bool written = write_plot_data(window, options, out, ui, true);
  const int error = errno;
  // A disk that fills up is told, not passed over as a finished output.
  if (!file.commit() || !written) {
    ui.message("Error writing " + path + ":\n\n" + (file.error().empty() ? std::strerror(error) : file.error()),
               "File Write Error!", Buttons::Ok);
    return false;
  }
  return true;
}

}  // namespace zentrik
