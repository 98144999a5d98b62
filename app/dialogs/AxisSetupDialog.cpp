#include "app/dialogs/AxisSetupDialog.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <tuple>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "formula/Format.h"
#include "plot/AxisPage.h"

namespace zentrik {
namespace {

enum ScaleType { kLinear = 0, kLog = 1, kDate = 2 };

constexpr int kLargestPrecision = 17;  // digits a double holds
constexpr int kLargestMargin = 1000;

// The shortest text that reads back as the same double.
QString number_text(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString to_qstring(const std::string& text) { return QString::fromStdString(text); }

double now() { return static_cast<double>(std::time(nullptr)); }

// A spin box over range that also takes a value outside it, so that nothing read
// from a file is changed by showing it.
void set_spin(QSpinBox* spin, int low, int high, int value) {
  spin->setRange(std::min(low, value), std::max(high, value));
  spin->setValue(value);
}

// Whether the Y page's check would take text as a number.
bool y_number(const std::string& text) {
  AxisPageFields fields{text, "0", "0", "0", false, true, false};
  return check_y_axis_page(fields).refused != AxisField::From;
}

}  // namespace

// A field holding a value: a range end or a first scale mark. An untouched field
// gives back exactly the value it was shown with, even where its text rounds it (a
// date to whole seconds); an unset range end is shown empty.
struct ValueField {
  QLineEdit* edit = nullptr;
  QString shown;
  double value = 0;

  void show(double v, bool as_date, bool unset) {
    value = v;
    shown = unset ? QString() : as_date ? to_qstring(formatDate(v)) : number_text(v);
    edit->setText(shown);
  }
  bool untouched() const { return edit->text() == shown && !shown.isEmpty(); }
  std::string text() const { return edit->text().trimmed().toStdString(); }
};

// One page of the sheet; the X page has the date scale type and the date format group.
class AxisSetupPage : public QWidget {
 public:
  AxisSetupPage(bool x_axis, const PlotDefinition& definition, QWidget* parent);

  void load(const PlotDefinition& definition);
  // The page's check on the fields as they stand.
  AxisPageValues check() const;
  void store(const AxisPageValues& values, PlotDefinition& definition) const;
  // Puts the focus on the field a refusal names, or on the control that enables it.
  void focus(AxisField field);

 private:
  bool fixed() const { return fixed_->isChecked(); }
  bool automatic_marks() const { return automatic_->isChecked(); }
  int scale_type() const { return std::max(0, scale_type_->checkedId()); }
  bool date_axis() const { return x_axis_ && scale_type() == kDate; }
  bool range_locked() const { return !x_axis_ && histogram_; }  // a histogram's Y range is not set here
  // A From or To field whose value is ignored: the axis is automatic.
  bool range_ignored() const { return !fixed() || range_locked(); }
  std::string range_text(const ValueField& field, double unset) const;
  double range_value(const ValueField& field, double checked, double unset) const;
  void scale_type_changed();
  void update_enabled();
  void update_labels();

  const bool x_axis_;
  const bool histogram_;
  const bool binscale_;
  int shown_type_ = kLinear;  // the scale type the fields are written for
  QLineEdit* label_ = nullptr;
  QGroupBox* scaling_ = nullptr;
  QRadioButton* fixed_ = nullptr;
  QRadioButton* auto_ = nullptr;
  QLabel* from_label_ = nullptr;
  QLabel* to_label_ = nullptr;
  ValueField from_, to_, start_;
  QGroupBox* scale_type_box_ = nullptr;
  QButtonGroup* scale_type_ = nullptr;
  QSpinBox* margin_ = nullptr;
  QSpinBox* precision_ = nullptr;
  QCheckBox* grid_ = nullptr;
  QGroupBox* marks_ = nullptr;
  QCheckBox* automatic_ = nullptr;
  QLabel* start_label_ = nullptr;
  QLabel* interval_label_ = nullptr;
  QLineEdit* interval_ = nullptr;
  QString interval_shown_;
  double interval_value_ = 0;  // Y page: the value the interval was shown with
  QGroupBox* date_box_ = nullptr;
  QLineEdit* format_ = nullptr;
  QLineEdit* format_sample_ = nullptr;
  QComboBox* samples_ = nullptr;
};

AxisSetupPage::AxisSetupPage(bool x_axis, const PlotDefinition& definition, QWidget* parent)
    : QWidget(parent), x_axis_(x_axis), histogram_(definition.xy_or_histo != 0), binscale_(definition.binscale != 0) {
  const QString prefix = x_axis ? "x_" : "y_";
  auto named = [&](QWidget* widget, const char* name) {
    widget->setObjectName(prefix + name);
    return widget;
  };
  auto* layout = new QVBoxLayout(this);

  auto* label_row = new QHBoxLayout;
  label_row->addWidget(new QLabel("Axis Label"));
  label_ = new QLineEdit;
  named(label_, "label");
  label_row->addWidget(label_, 1);
  layout->addLayout(label_row);

  auto* middle = new QHBoxLayout;
  scaling_ = new QGroupBox("Scaling");
  named(scaling_, "scaling");
  auto* scaling_layout = new QGridLayout(scaling_);
  fixed_ = new QRadioButton("F&ixed");
  auto_ = new QRadioButton("&Auto");
  named(fixed_, "fixed");
  named(auto_, "auto");
  scaling_layout->addWidget(fixed_, 0, 0);
  scaling_layout->addWidget(auto_, 0, 1);
  from_label_ = new QLabel("From");
  to_label_ = new QLabel("To");
  from_.edit = new QLineEdit;
  to_.edit = new QLineEdit;
  named(from_.edit, "from");
  named(to_.edit, "to");
  from_label_->setBuddy(from_.edit);
  to_label_->setBuddy(to_.edit);
  scaling_layout->addWidget(from_label_, 1, 0);
  scaling_layout->addWidget(from_.edit, 1, 1);
  scaling_layout->addWidget(to_label_, 2, 0);
  scaling_layout->addWidget(to_.edit, 2, 1);
  scaling_layout->setColumnStretch(1, 1);
  middle->addWidget(scaling_, 2);

  scale_type_box_ = new QGroupBox("Scale Type");
  named(scale_type_box_, "scale_type");
  auto* type_layout = new QVBoxLayout(scale_type_box_);
  scale_type_ = new QButtonGroup(this);
  const char* names[] = {"linear", "log", "date"};
  const char* labels[] = {"Li&near", "&Log", "&Date"};
  for (int type = kLinear; type <= (x_axis ? kDate : kLog); ++type) {
    auto* radio = new QRadioButton(labels[type]);
    named(radio, names[type]);
    scale_type_->addButton(radio, type);
    type_layout->addWidget(radio);
  }
  type_layout->addStretch();
  middle->addWidget(scale_type_box_, 1);
  layout->addLayout(middle);

  auto* numbers = new QHBoxLayout;
  margin_ = new QSpinBox;
  precision_ = new QSpinBox;
  named(margin_, "margin");
  named(precision_, "precision");
  auto* margin_label = new QLabel("Margin");
  margin_label->setBuddy(margin_);
  auto* precision_label = new QLabel("Scale Precision");
  precision_label->setBuddy(precision_);
  numbers->addWidget(margin_label);
  numbers->addWidget(margin_);
  numbers->addSpacing(12);
  numbers->addWidget(precision_label);
  numbers->addWidget(precision_);
  numbers->addSpacing(12);
  grid_ = new QCheckBox("&Grid Lines");
  named(grid_, "grid");
  numbers->addWidget(grid_);
  numbers->addStretch();
  layout->addLayout(numbers);

  marks_ = new QGroupBox;
  named(marks_, "marks");
  auto* marks_layout = new QGridLayout(marks_);
  automatic_ = new QCheckBox("&Automatic");
  named(automatic_, "automatic");
  marks_layout->addWidget(automatic_, 0, 0, 1, 2);
  start_label_ = new QLabel;
  interval_label_ = new QLabel;
  named(start_label_, "start_label");
  named(interval_label_, "interval_label");
  start_.edit = new QLineEdit;
  interval_ = new QLineEdit;
  named(start_.edit, "start");
  named(interval_, "interval");
  start_label_->setBuddy(start_.edit);
  interval_label_->setBuddy(interval_);
  marks_layout->addWidget(start_label_, 1, 0);
  marks_layout->addWidget(start_.edit, 1, 1);
  marks_layout->addWidget(interval_label_, 2, 0);
  marks_layout->addWidget(interval_, 2, 1);
  marks_layout->setColumnStretch(1, 1);
  layout->addWidget(marks_);

  if (x_axis) {
    date_box_ = new QGroupBox("Date Format");
    named(date_box_, "date_format");
    auto* date_layout = new QGridLayout(date_box_);
    format_ = new QLineEdit;
    format_sample_ = new QLineEdit;
    samples_ = new QComboBox;
    format_->setObjectName("format");
    format_sample_->setObjectName("format_sample");
    samples_->setObjectName("format_samples");
    format_sample_->setReadOnly(true);
    format_sample_->setFocusPolicy(Qt::NoFocus);
    auto* format_label = new QLabel("Format String");
    format_label->setBuddy(format_);
    auto* samples_label = new QLabel("Format Samples");
    samples_label->setBuddy(samples_);
    date_layout->addWidget(format_label, 0, 0);
    date_layout->addWidget(format_, 0, 1);
    date_layout->addWidget(format_sample_, 0, 2);
    date_layout->addWidget(samples_label, 1, 0);
    date_layout->addWidget(samples_, 1, 1, 1, 2);
    date_layout->setColumnStretch(1, 1);
    date_layout->setColumnStretch(2, 1);
    const double time = now();
    for (std::string_view sample : kDateFormatSamples)
      samples_->addItem(to_qstring(formatTime(time, sample)), to_qstring(std::string(sample)));
    samples_->setPlaceholderText("Choose a format");
    samples_->setCurrentIndex(-1);
    layout->addWidget(date_box_);
    connect(format_, &QLineEdit::textChanged, this,
            [this](const QString& text) { format_sample_->setText(to_qstring(formatTime(now(), text.toStdString()))); });
    connect(samples_, &QComboBox::activated, this,
            [this](int index) { format_->setText(samples_->itemData(index).toString()); });
  }
  layout->addStretch();

  connect(fixed_, &QRadioButton::toggled, this, &AxisSetupPage::update_enabled);
  connect(automatic_, &QCheckBox::toggled, this, &AxisSetupPage::update_enabled);
  connect(scale_type_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) scale_type_changed();
  });
  load(definition);
}

void AxisSetupPage::load(const PlotDefinition& d) {
  const bool x = x_axis_;
  label_->setText(to_qstring(x ? d.xlab : d.ylab));
  const bool automatic_range = (x ? d.auto_x : d.auto_y) != 0;
  (automatic_range ? auto_ : fixed_)->setChecked(true);
  const int type = std::clamp(x ? d.log_x : d.log_y, 0, x ? int{kDate} : int{kLog});
  shown_type_ = type;
  {
    QSignalBlocker blocker(scale_type_);
    scale_type_->button(type)->setChecked(true);
  }
  const bool as_date = x && type == kDate;
  const double from = x ? d.x_from : d.y_from, to = x ? d.x_to : d.y_to;
  from_.show(from, as_date, from <= RANGE_UNSET_LOW);
  to_.show(to, as_date, to >= RANGE_UNSET_HIGH);
  start_.show(x ? d.x_lotick : d.y_lotick, as_date, false);
  interval_value_ = d.y_bytick;
  interval_shown_ = x ? to_qstring(d.x_bytick) : number_text(d.y_bytick);
  interval_->setText(interval_shown_);
  set_spin(margin_, 0, kLargestMargin, x ? d.x_margin : d.y_margin);
  set_spin(precision_, 1, kLargestPrecision, x ? d.x_tickprec : d.y_tickprec);
  grid_->setChecked((x ? d.x_grid : d.y_grid) != 0);
  automatic_->setChecked((x ? d.x_automark : d.y_automark) != 0);
  if (format_) {
    format_->setText(to_qstring(d.date_format));
    format_sample_->setText(to_qstring(formatTime(now(), d.date_format)));
  }
  update_enabled();
  update_labels();
}

void AxisSetupPage::update_enabled() {
  const bool range_open = !range_locked();
  for (QWidget* widget : {static_cast<QWidget*>(scaling_), static_cast<QWidget*>(scale_type_box_),
                          static_cast<QWidget*>(grid_)})
    widget->setEnabled(range_open);
  const bool ends = range_open && fixed();
  for (QWidget* widget : {static_cast<QWidget*>(from_label_), static_cast<QWidget*>(to_label_),
                          static_cast<QWidget*>(from_.edit), static_cast<QWidget*>(to_.edit)})
    widget->setEnabled(ends);
  const bool marks = !automatic_marks();
  for (QWidget* widget : {static_cast<QWidget*>(start_label_), static_cast<QWidget*>(start_.edit),
                          static_cast<QWidget*>(interval_label_), static_cast<QWidget*>(interval_)})
    widget->setEnabled(marks);
}

void AxisSetupPage::update_labels() {
  const int type = scale_type();
  if (!x_axis_ && histogram_ && binscale_)
    marks_->setTitle("Scale Marks && Bin Parameters");
  else
    marks_->setTitle(type == kLog ? "Log Scale Marks (Pwrs of 10)" : "Scale Marks");
  start_label_->setText(type == kLog ? "Start Log Value" : "Start Value");
  interval_label_->setText(type == kLog ? "Log Interval" : type == kDate ? "Interval (needs unit)" : "Interval");
  if (date_box_) date_box_->setVisible(type == kDate);
}

// Between a date axis and a numeric one the fields are written again in the new
// form, each from the value it holds (a field that cannot be read is left as typed).
void AxisSetupPage::scale_type_changed() {
  const bool was_date = x_axis_ && shown_type_ == kDate;
  shown_type_ = scale_type();
  const bool is_date = date_axis();
  if (was_date != is_date) {
    for (ValueField* field : {&from_, &to_, &start_}) {
      if (field->edit->text().trimmed().isEmpty()) continue;
      double value = field->value;
      if (!field->untouched()) {
        std::string error;
        value = readField(field->text(), was_date ? FieldMode::Date : FieldMode::Plain, error);
        if (!error.empty()) continue;
      }
      field->show(value, is_date, false);
    }
    std::string error;
    const std::string interval = interval_->text().trimmed().toStdString();
    double seconds = readField(interval, was_date ? FieldMode::Interval : FieldMode::Plain, error);
    if (error.empty() && seconds > 0)
      interval_->setText(is_date ? to_qstring(formatInterval(seconds)) : number_text(seconds));
  }
  update_labels();
}

std::string AxisSetupPage::range_text(const ValueField& field, double unset) const {
  const std::string text = field.text();
  // an ignored end that is empty or no number stands for "not set"
  if (range_ignored() && (text.empty() || (!x_axis_ && !y_number(text)))) return number_text(unset).toStdString();
  return text;
}

double AxisSetupPage::range_value(const ValueField& field, double checked, double unset) const {
  if (field.untouched()) return field.value;
  if (range_ignored() && field.text().empty()) return unset;
  return checked;
}

AxisPageValues AxisSetupPage::check() const {
  AxisPageFields fields;
  fields.from = range_text(from_, RANGE_UNSET_LOW);
  fields.to = range_text(to_, RANGE_UNSET_HIGH);
  fields.start = start_.text();
  fields.interval = interval_->text().trimmed().toStdString();
  fields.fixed = fixed() && !range_locked();
  fields.automatic_marks = automatic_marks();
  fields.date_axis = date_axis();
  return x_axis_ ? check_x_axis_page(fields) : check_y_axis_page(fields);
}

void AxisSetupPage::store(const AxisPageValues& values, PlotDefinition& d) const {
  const std::string label = label_->text().toStdString();
  const double from = range_value(from_, values.from, RANGE_UNSET_LOW);
  const double to = range_value(to_, values.to, RANGE_UNSET_HIGH);
  const double start = start_.untouched() ? start_.value : values.start;
  const int automark = automatic_marks() ? 1 : 0;
  if (x_axis_) {
    d.xlab = label;
    d.auto_x = fixed() ? 0 : 1;
    d.x_from = from;
    d.x_to = to;
    d.log_x = scale_type();
    d.x_grid = grid_->isChecked() ? 1 : 0;
    d.x_margin = margin_->value();
    d.x_tickprec = precision_->value();
    d.x_automark = automark;
    d.x_lotick = start;
    const std::string interval = interval_->text().trimmed().toStdString();
    d.x_bytick = interval.empty() ? "0" : interval;
    d.date_format = format_->text().toStdString();
    return;
  }
  d.ylab = label;
  if (!range_locked()) {
    d.auto_y = fixed() ? 0 : 1;
    d.y_from = from;
    d.y_to = to;
    d.log_y = scale_type();
    d.y_grid = grid_->isChecked() ? 1 : 0;
  }
  d.y_margin = margin_->value();
  d.y_tickprec = precision_->value();
  d.y_automark = automark;
  d.y_lotick = start;
  d.y_bytick = interval_->text() == interval_shown_ ? interval_value_ : values.interval;
}

void AxisSetupPage::focus(AxisField field) {
  QLineEdit* edit = nullptr;
  switch (field) {
    case AxisField::From: edit = from_.edit; break;
    case AxisField::To: edit = to_.edit; break;
    case AxisField::Start: edit = start_.edit; break;
    case AxisField::Interval: edit = interval_; break;
    case AxisField::None: return;
  }
  if (edit->isEnabled()) {
    edit->setFocus();
    edit->selectAll();
  } else if (field == AxisField::From || field == AxisField::To) {
    (range_locked() ? static_cast<QWidget*>(label_) : fixed_)->setFocus();
  } else {
    automatic_->setFocus();  // clearing it opens the field
  }
}

bool axis_settings_differ(const PlotDefinition& a, const PlotDefinition& b) {
  auto axis = [](const PlotDefinition& d) {
    return std::tie(d.xlab, d.ylab, d.x_grid, d.y_grid, d.log_x, d.log_y, d.auto_x, d.auto_y, d.x_from, d.y_from,
                    d.x_to, d.y_to, d.x_automark, d.y_automark, d.x_lotick, d.y_lotick, d.x_bytick, d.y_bytick,
                    d.x_tickprec, d.y_tickprec, d.x_margin, d.y_margin, d.date_format);
  };
  return axis(a) != axis(b);
}

AxisSetupDialog::AxisSetupDialog(PlotDefinition& definition, int first_page, Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      definition_(definition), opened_with_(definition), ui_(ui) {
  opened_with_.formulas.clear();  // only the axis settings are kept
  setWindowTitle("Axis Setup");
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget;
  tabs_->setObjectName("pages");
  pages_[0] = new AxisSetupPage(true, definition, tabs_);
  pages_[1] = new AxisSetupPage(false, definition, tabs_);
  tabs_->addTab(pages_[0], "X Axis");
  tabs_->addTab(pages_[1], "Y Axis");
  current_ = std::clamp(first_page, 0, 1);
  tabs_->setCurrentIndex(current_);
  layout->addWidget(tabs_);

  auto* buttons = new QHBoxLayout;
  auto* reset = new QPushButton("&Reset");
  reset->setObjectName("reset");
  reset->setAutoDefault(false);
  reset->setVisible(definition.xy_or_histo == 0);
  auto* ok = new QPushButton("&OK");
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto* cancel = new QPushButton("&Cancel");
  cancel->setObjectName("cancel");
  buttons->addWidget(reset);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  connect(tabs_, &QTabWidget::currentChanged, this, &AxisSetupDialog::page_changed);
  connect(reset, &QPushButton::clicked, this, &AxisSetupDialog::reset);
  connect(ok, &QPushButton::clicked, this, &AxisSetupDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &AxisSetupDialog::reject);
}

AxisSetupDialog::~AxisSetupDialog() = default;

bool AxisSetupDialog::check_page(int index) {
  AxisPageValues values = pages_[static_cast<std::size_t>(index)]->check();
  if (values.refused == AxisField::None) return true;
  if (tabs_->currentIndex() != index) {
    turning_back_ = true;
    tabs_->setCurrentIndex(index);
    current_ = index;
    turning_back_ = false;
  }
  ui_.showError(values.message, "Error!");
  pages_[static_cast<std::size_t>(index)]->focus(values.refused);
  return false;
}

void AxisSetupDialog::page_changed(int index) {
  if (turning_back_) return;
  const int left = current_;
  current_ = index;
  check_page(left);
}

bool AxisSetupDialog::apply() {
  const int shown = tabs_->currentIndex();
  if (!check_page(shown) || !check_page(1 - shown)) return false;
  PlotDefinition before = definition_;
  pages_[0]->store(pages_[0]->check(), definition_);
  pages_[1]->store(pages_[1]->check(), definition_);
  changed_ = axis_settings_differ(before, definition_);
  return true;
}

void AxisSetupDialog::reset() {
  for (AxisSetupPage* page : pages_) page->load(opened_with_);
}

void AxisSetupDialog::accept() {
  if (apply()) QDialog::accept();
}

bool exec_axis_setup(PlotDefinition& definition, int first_page, Ui& ui, QWidget* parent, bool* changed) {
  AxisSetupDialog dialog(definition, first_page, ui, parent);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (changed) *changed = accepted && dialog.changed();
  return accepted;
}

}  // namespace zentrik
