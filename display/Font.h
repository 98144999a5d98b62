// The fonts the renderer draws with: one font description as the configuration
// keeps it (the fields that matter for drawing), and the set of the five program
// fonts with their defaults. The configuration's full font records map onto these;
// the surfaces turn them into their own fonts.
#pragma once

#include <string>

namespace zentrik {

struct Font {
  int height = -12;  // negative: the pixel size of the characters; positive: the cell height
  int weight = 400;  // 100 thin .. 400 normal .. 700 bold .. 900 black; 0 counts as normal
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::string face;  // empty: the desktop's default face

  friend bool operator==(const Font&, const Font&) = default;
};

// The five fonts of the program, each chosen by its own menu command.
struct PlotFonts {
  Font plot_points{-10, 100, false, false, false, ""};
  Font title{-18, 700, false, false, false, ""};
  Font view_window{-14, 100, false, false, false, "Courier New"};
  Font axis_labels{-14, 700, false, false, false, "Arial"};
  Font scale_marks{-12, 400, false, false, false, "Arial"};
};

}  // namespace zentrik
