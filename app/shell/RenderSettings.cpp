#include "app/shell/RenderSettings.h"

namespace zentrik {

Font font_of(const FontRecord& record) {
  Font font;
  font.height = record.height;
  font.weight = record.weight;
  font.italic = record.italic != 0;
  font.underline = record.underline != 0;
  font.strike = record.strike != 0;
  font.face = record.face;
  return font;
}

RenderOptions render_options(const Configuration& config, OutputMode mode) {
  RenderOptions options;
  options.mode = mode;
  options.fonts.plot_points = font_of(config.ppf);
  options.fonts.title = font_of(config.tpf);
  options.fonts.view_window = font_of(config.vwf);
  options.fonts.axis_labels = font_of(config.lpf);
  options.fonts.scale_marks = font_of(config.mpf);
  options.gray_margins = config.gray_margins != 0;
  options.histogram_quantities = config.histoqtys != 0;
  return options;
}

OutputOptions output_options(const Configuration& config) {
  OutputOptions options;
  options.field_delim = config.def_field_delim;
  options.inc_x_vals = config.def_inc_x_vals;
  options.inc_ig_vals = config.def_inc_ig_vals;
  options.ignore_place_hold = config.def_ignore_place_hold;
  options.inc_off_plot = config.def_inc_off_plot;
  options.off_place_hold = config.def_off_place_hold;
  return options;
}

}  // namespace zentrik
