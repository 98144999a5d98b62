#include "app/dialogs/LineAttributesDialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/ColorChoice.h"
#include "display/qt/QtSurface.h"
#include "plot/Histogram.h"

namespace zentrik {
namespace {

enum PlotTypeId { kLines = 1, kPoints = 2, kLinesAndPoints = 3 };

// The longest description that may be typed; a longer one from a file is kept as it is.
constexpr int kTypedDescriptionLength = 40;

std::optional<uint32_t> choose_color_with_dialog(uint32_t current, QWidget* parent) {
  if (!zentrik::choose_color(current, parent)) return std::nullopt;
  return current;
}

// The line width as the sample draws it: the field's leading number, within 1..10.
int sample_width(const QString& text) {
  bool ok = false;
  int width = text.trimmed().toInt(&ok);
  return ok ? std::clamp(width, 1, 10) : 1;
}

}  // namespace

LineAppearanceSample::LineAppearanceSample(QWidget* parent) : QWidget(parent) {
  setObjectName("sample");
  setMinimumSize(120, 28);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LineAppearanceSample::set_look(const LineLook& look) {
  look_ = look;
  update();
}

QSize LineAppearanceSample::sizeHint() const { return QSize(200, std::max(28, fontMetrics().height() + 14)); }

void LineAppearanceSample::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  QtSurface surface(painter);
  const int y = height() / 2;
  const int left = 16, right = width() - 16;
  if (look_.draw_lines) {
    surface.setPen({static_cast<PenStyle>(look_.line_type), look_.line_width, look_.color});
    surface.moveTo(left, y);
    surface.lineTo(right, y);
  }
  const std::string point(1, look_.point_char);
  surface.setBackgroundOpaque(false);
  surface.setTextColor(look_.black_points ? kBlack : look_.color);
  const int half = fontMetrics().height() / 2;
  // like a plot, the ends always show their characters; between them only with points
  surface.drawText(left, y + half, point, {HAlign::Centre, VAlign::Bottom}, false);
  if (look_.draw_points) surface.drawText((left + right) / 2, y + half, point, {HAlign::Centre, VAlign::Bottom}, false);
  surface.drawText(right, y + half, point, {HAlign::Centre, VAlign::Bottom}, false);
}

LineAttributesDialog::LineAttributesDialog(PlotSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup), choose_color_(choose_color_with_dialog) {
  setWindowTitle("Plot Line Attributes");
  const int index = setup.selected.empty() ? 0 : setup.selected.front() + 1;
  const Formula& formula = setup.working().formulas.at(static_cast<std::size_t>(index));
  color_ = formula.color;
  shown_point_char_ = formula.point_char;

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Formula (can not be edited here):"));
  auto* text = new QLineEdit(QString::fromStdString(formula.text()));
  text->setObjectName("formula");
  text->setReadOnly(true);
  text->setFocusPolicy(Qt::ClickFocus);
  layout->addWidget(text);

  auto* types = new QHBoxLayout;
  auto* plot_box = new QGroupBox("Plot Type");
  auto* plot_layout = new QVBoxLayout(plot_box);
  plot_type_ = new QButtonGroup(this);
  for (auto [label, id] : {std::pair{"&Lines", kLines}, {"&Points", kPoints}, {"Lines &And Points", kLinesAndPoints}}) {
    auto* radio = new QRadioButton(label);
    plot_type_->addButton(radio, id);
    plot_layout->addWidget(radio);
  }
  plot_layout->addStretch();
  int plot_type = (formula.draw_lines ? kLines : 0) | (formula.draw_points ? kPoints : 0);
  if (plot_type != 0) plot_type_->button(plot_type)->setChecked(true);
  types->addWidget(plot_box);

  auto* line_box = new QGroupBox("Line Type");
  auto* line_layout = new QVBoxLayout(line_box);
  line_type_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < kLineTypeLabels.size(); ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(kLineTypeLabels[i].data(),
                                                     static_cast<qsizetype>(kLineTypeLabels[i].size())));
    line_type_->addButton(radio, static_cast<int>(i));
    line_layout->addWidget(radio);
  }
  if (auto* current = line_type_->button(static_cast<int>(formula.line_type))) current->setChecked(true);
  types->addWidget(line_box);

  auto* look_box = new QGroupBox("Appearance");
  auto* look_layout = new QFormLayout(look_box);
  auto* color = new QPushButton("Co&lor...");
  color->setObjectName("color");
  color->setAutoDefault(false);
  look_layout->addRow(color);
  black_points_ = new QCheckBox("&Black Points");
  black_points_->setObjectName("black_points");
  black_points_->setChecked(formula.black_points != 0);
  look_layout->addRow(black_points_);
  point_char_ = new QLineEdit(QString::fromLatin1(&formula.point_char, 1));
  point_char_->setObjectName("point_char");
  // a point character is one printable ASCII character: a blank would not survive the files
  point_char_->setValidator(new QRegularExpressionValidator(QRegularExpression("[!-~]*"), point_char_));
  point_char_->setMaximumWidth(point_char_->fontMetrics().horizontalAdvance("MMMM") + 12);
  look_layout->addRow("Point Character", point_char_);
  line_width_ = new QLineEdit(QString::number(formula.line_width));
  line_width_->setObjectName("line_width");
  line_width_->setMaximumWidth(point_char_->maximumWidth());
  look_layout->addRow("Line Width", line_width_);
  types->addWidget(look_box);
  layout->addLayout(types);

  auto* bins_box = new QGroupBox("Histograms");
  auto* bins_layout = new QGridLayout(bins_box);
  bin_range_ = new QButtonGroup(this);
  auto* this_formula = new QRadioButton("Bin On &This Formula");
  auto* entire_plot = new QRadioButton("Bin On &Entire Plot");
  bin_range_->addButton(this_formula, 0);
  bin_range_->addButton(entire_plot, 1);
  (formula.bin_all ? entire_plot : this_formula)->setChecked(true);
  bins_layout->addWidget(this_formula, 0, 0);
  bins_layout->addWidget(entire_plot, 1, 0);
  bin_count_ = new QSpinBox;
  bin_count_->setObjectName("bin_count");
  bin_count_->setRange(std::min(1, formula.bin_count), std::max(kMaxBins, formula.bin_count));
  bin_count_->setValue(formula.bin_count);
  auto* bins_label = new QLabel("Number of Bins");
  bins_label->setBuddy(bin_count_);
  bins_layout->addWidget(bins_label, 0, 1);
  bins_layout->addWidget(bin_count_, 0, 2);
  bins_layout->setColumnStretch(3, 1);
  layout->addWidget(bins_box);

  auto* description_row = new QHBoxLayout;
  description_row->addWidget(new QLabel("Description"));
  description_ = new QLineEdit;
  description_->setObjectName("description");
  const QString description = QString::fromStdString(formula.description);
  description_->setMaxLength(std::max<int>(kTypedDescriptionLength, static_cast<int>(description.size())));
  description_->setText(description);
  // the limit follows a longer description down as it is shortened
  connect(description_, &QLineEdit::textChanged, this, [this](const QString& text) {
    description_->setMaxLength(std::max<int>(kTypedDescriptionLength, static_cast<int>(text.size())));
  });
  description_row->addWidget(description_, 1);
  layout->addLayout(description_row);

  auto* sample_row = new QHBoxLayout;
  sample_row->addWidget(new QLabel("Line Appearance -> "));
  sample_ = new LineAppearanceSample;
  sample_row->addWidget(sample_, 1);
  layout->addLayout(sample_row);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &LineAttributesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LineAttributesDialog::reject);
  connect(color, &QPushButton::clicked, this, &LineAttributesDialog::choose_color);
  for (QButtonGroup* group : {plot_type_, line_type_})
    connect(group, &QButtonGroup::idToggled, this, [this] { update_sample(); });
  connect(black_points_, &QCheckBox::toggled, this, &LineAttributesDialog::update_sample);
  connect(point_char_, &QLineEdit::textChanged, this, &LineAttributesDialog::update_sample);
  connect(line_width_, &QLineEdit::textChanged, this, &LineAttributesDialog::update_sample);

  update_sample();
  QAbstractButton* first = plot_type_->checkedButton();
  (first ? first : plot_type_->buttons().front())->setFocus();
}

AttributesEntry LineAttributesDialog::entry() const {
  AttributesEntry entry;
  const QString point = point_char_->text();
  entry.fields.point_char = point == QString::fromLatin1(&shown_point_char_, 1) ? std::string(1, shown_point_char_)
                                                                                 : point.toStdString();
  entry.fields.line_width = line_width_->text().toStdString();
  entry.fields.line_type = static_cast<LineType>(std::max(0, line_type_->checkedId()));
  entry.fields.description = description_->text().toStdString();
  const int plot_type = std::max(0, plot_type_->checkedId());
  entry.draw_lines = (plot_type & kLines) ? 1 : 0;
  entry.draw_points = (plot_type & kPoints) ? 1 : 0;
  entry.color = color_;
  entry.black_points = black_points_->isChecked() ? 1 : 0;
  entry.bin_count = bin_count_->value();
  entry.bin_all = bin_range_->checkedId() == 1 ? 1 : 0;
  return entry;
}

void LineAttributesDialog::accept() {
  const AttributesEntry values = entry();
  if (setup_.set_attributes(values)) {
    QDialog::accept();
    return;
  }
  switch (check_line_attributes(values.fields).field) {
    case AttributeRefusal::LineWidth:
      line_width_->setFocus();
      line_width_->selectAll();
      break;
    case AttributeRefusal::PointChar:
      point_char_->setFocus();
      point_char_->selectAll();
      break;
    case AttributeRefusal::Description:
      description_->setFocus();
      break;
    case AttributeRefusal::None:
      break;
  }
}

void LineAttributesDialog::choose_color() {
  if (std::optional<uint32_t> chosen = choose_color_(color_, this)) {
    color_ = *chosen;
    update_sample();
  }
}

void LineAttributesDialog::update_sample() {
  const AttributesEntry values = entry();
  LineLook look;
  look.draw_lines = values.draw_lines != 0;
  look.draw_points = values.draw_points != 0;
  look.black_points = values.black_points != 0;
  look.point_char = values.fields.point_char.size() == 1 ? values.fields.point_char[0] : ' ';
  look.line_type = values.fields.line_type;
  look.line_width = sample_width(line_width_->text());
  look.color = values.color;
  sample_->set_look(look);
}

}  // namespace zentrik
