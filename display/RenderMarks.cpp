// The scale marks of both axes with their grid lines, the crowding of their labels,
// and the two axis labels.
#include <cmath>

#include "data/fields/NumberText.h"
#include "display/RenderSteps.h"
#include "formula/Format.h"
#include "plot/ScaleMarks.h"

namespace zentrik::render_steps {
namespace {

constexpr int kTickLength = 4;

bool invalid_label(const std::string& text) { return text.starts_with("Invalid"); }

// The average width of a label's characters: what keeps neighbouring labels apart.
int average_character_width(const std::string& text, int width) {
  return text.empty() ? 4 : width / static_cast<int>(text.size());
}

// The X scale-mark interval: a number, or on a date axis an interval with a unit in
// seconds. What cannot be read counts as 0, which means automatic marks.
double x_interval(const PlotDefinition& definition) {
  if (definition.log_x == 2) {
    std::string message;
    double seconds = parseInterval(definition.x_bytick, message);
    return message.empty() && seconds > 0 ? seconds : 0;
  }
  const std::string& text = definition.x_bytick;
  std::size_t pos = text.find_first_not_of(" \t");
  double interval = 0;
  if (pos != std::string::npos && number_starts_at(text, pos)) read_number(text, pos, interval);
  return interval;
}

}  // namespace

std::string Renderer::vertical_label(double mark) const {
  double value = vertical_.logarithmic() ? std::pow(10.0, mark) : mark;
  return formatValue(value, definition_.y_tickprec, false, 0, 0, "");
}

std::string Renderer::horizontal_label(double mark) const {
  if (histogram()) return formatValue(mark, definition_.y_tickprec, false, 0, 0, "");
  double value = horizontal_.logarithmic() ? std::pow(10.0, mark) : mark;
  return formatValue(value, definition_.x_tickprec, definition_.log_x == 2, window_.plot_x_min,
                     window_.plot_x_max, definition_.date_format);
}

// Marks by increasing value, so upward. Each label stands centred on its mark in a
// column just left of the ticks; a label that would overlap the one below it (less
// than an average character apart) is left out, its tick stays.
void Renderer::draw_vertical_marks() {
  const RenderLayout& l = layout_;
  std::vector<double> marks;
  auto on_area = [&](double mark) {
    int y = vertical_.mark_position(mark);
    return y >= l.top && y <= l.bottom;
  };
  if (histogram())
    marks = scale_marks(0, vertical_.hi(), {}, true, on_area);
  else
    marks = scale_marks(vertical_.lo(), vertical_.hi(), {definition_.y_lotick, definition_.y_bytick},
                        definition_.y_automark != 0, on_area);
  const bool grid = !histogram() && definition_.y_grid;
  const int label_x = l.left - 5 - l.S;
  surface_.setTextColor(kBlack);
  surface_.setFont(options_.fonts.scale_marks);
  bool first = true;
  int end = 0;  // the upper edge of the last label drawn
  for (double mark : marks) {
    MarkLabel label{mark, vertical_.mark_position(mark), vertical_label(mark)};
    const int y = label.position;
    if (grid)
      surface_.line(l.left, y, l.width, y);
    else
      surface_.line(l.left, y, l.left - kTickLength, y);
    if (invalid_label(label.text)) {
      label.fate = MarkLabel::Fate::Invalid;
      result_.vertical_marks.push_back(std::move(label));
      continue;
    }
    const int w = surface_.textExtent(label.text).width;
    const int g = average_character_width(label.text, w);
    label.label_position = y;
    if (first) {
      if (y + w / 2 > l.bottom) keep_first_label_clear_ = true;
      first = false;
    } else if (y + w / 2 > end - g) {
      label.fate = MarkLabel::Fate::Crowded;
    } else if (screen() && y - w / 2 < 0 && w < end - g) {
      label.label_position = w / 2;  // moved down into the window
    }
    if (label.fate == MarkLabel::Fate::Drawn) {
      surface_.drawText(label_x, label.label_position, label.text, {HAlign::Centre, VAlign::Top}, true);
      end = label.label_position - w / 2;
    }
    result_.vertical_marks.push_back(std::move(label));
  }
}

// Marks from left to right, labels centred under their ticks. The first label of an
// X-Y plot is kept right of the vertical axis's labels when those reach down to it
// (else right of the window's edge); a later label that comes closer than an
// average character to the one before is left out, its tick stays.
void Renderer::draw_horizontal_marks() {
  const RenderLayout& l = layout_;
  auto on_area = [&](double mark) {
    int x = horizontal_.mark_position(mark);
    return x >= l.left && x <= l.width;
  };
  std::vector<double> marks;
  if (histogram())
    marks = scale_marks(horizontal_.lo(), horizontal_.hi(), {definition_.y_lotick, definition_.y_bytick},
                        definition_.y_automark != 0, on_area);
  else
    marks = scale_marks(horizontal_.lo(), horizontal_.hi(), {definition_.x_lotick, x_interval(definition_)},
                        definition_.x_automark != 0, on_area);
  const bool grid = !histogram() && definition_.x_grid;
  const int label_bottom = l.bottom + 5 + l.S;
  const int limit = keep_first_label_clear_ ? l.left : 0;
  surface_.setTextColor(kBlack);
  surface_.setFont(options_.fonts.scale_marks);
  bool first = true;
  int end = 0;  // the right edge of the last label drawn
  for (double mark : marks) {
    MarkLabel label{mark, horizontal_.mark_position(mark), horizontal_label(mark)};
    const int x = label.position;
    if (grid)
      surface_.line(x, l.bottom, x, l.top);
    else
      surface_.line(x, l.bottom, x, l.bottom + kTickLength);
    if (invalid_label(label.text)) {
      label.fate = MarkLabel::Fate::Invalid;
      result_.horizontal_marks.push_back(std::move(label));
      continue;
    }
    const int w = surface_.textExtent(label.text).width;
    const int g = average_character_width(label.text, w);
    label.label_position = x;
    if (first) {
      if (!histogram() && x - w / 2 < limit) label.label_position = l.left + w / 2;
      first = false;
    } else if (x - w / 2 < end + g) {
      label.fate = MarkLabel::Fate::Crowded;
    } else if (screen() && x + w / 2 > l.width && end + g < l.width - w) {
      label.label_position = l.width - w / 2;  // moved back into the window
    }
    if (label.fate == MarkLabel::Fate::Drawn) {
      surface_.drawText(label.label_position, label_bottom, label.text, {HAlign::Centre, VAlign::Bottom});
      end = label.label_position + w / 2;
    }
    result_.horizontal_marks.push_back(std::move(label));
  }
}

void Renderer::draw_axis_labels() {
  const RenderLayout& l = layout_;
  surface_.setTextColor(kBlack);
  surface_.setFont(options_.fonts.axis_labels);
  surface_.drawText(l.left + (l.width - l.left) / 2, l.bottom + l.A + 4 + l.S, horizontal_axis_label(),
                    {HAlign::Centre, VAlign::Bottom});
  const int middle = drawable_ ? vertical_.mark_position((vertical_.lo() + vertical_.hi()) / 2)
                               : l.top + (l.bottom - l.top) / 2;
  surface_.drawText(l.left - 6 - l.S - l.A, middle, vertical_axis_label(), {HAlign::Centre, VAlign::Top}, true);
}

}  // namespace zentrik::render_steps
