#include "app/dialogs/PlotSetupDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/AxisSetupDialog.h"
#include "app/dialogs/FileDialogs.h"
#include "app/dialogs/LineAttributesDialog.h"
#include "data/DataFile.h"

namespace zentrik {
namespace {

// Formulas are checked on the data set's first included line.
SampleLine sample_line(const PlotWindow& window) {
  const DataLine* line = window.data ? window.data->first_included() : nullptr;
  if (!line) return {};
  return {line->text(), line->number};
}

QString to_qstring(const std::string& text) { return QString::fromStdString(text); }

// Sets a field's text only when it differs, so that the cursor stays where the user left it.
void show_text(QLineEdit* edit, const std::string& text) {
  const QString qtext = to_qstring(text);
  if (edit->text() != qtext) edit->setText(qtext);
}

QPushButton* button(const char* text, const char* name) {
  auto* push = new QPushButton(text);
  push->setObjectName(name);
  push->setAutoDefault(false);
  return push;
}

}  // namespace

PlotSetupDialog::PlotSetupDialog(PlotSetupContext& context, QWidget* parent)
    : QDialog(parent), context_(context),
      setup_(context.window.definition, context.window.setup_from, context.defaults, sample_line(context.window),
             context.ui),
      files_(setup_, context.settingsdir, context.freeze_dirs, context.ui),
      run_nested_([](QDialog& dialog) { return dialog.exec(); }) {
  setWindowTitle("Plot Setup");
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);

  auto* fields = new QGridLayout;
  auto* x_label = new QLabel("X Axis Formula:");
  x_formula_ = new QLineEdit;
  x_formula_->setObjectName("x_formula");
  x_label->setBuddy(x_formula_);
  entry_label_ = new QLabel;
  entry_label_->setObjectName("entry_label");
  entry_ = new QLineEdit;
  entry_->setObjectName("entry");
  entry_label_->setBuddy(entry_);
  entry_->installEventFilter(this);
  add_ = button("&Add", "add");
  fields->addWidget(x_label, 0, 0);
  fields->addWidget(x_formula_, 0, 1);
  fields->addWidget(entry_label_, 1, 0);
  fields->addWidget(entry_, 1, 1);
  fields->addWidget(add_, 1, 2);
  fields->setColumnStretch(1, 1);
  layout->addLayout(fields);

  auto* middle = new QHBoxLayout;
  auto* list_column = new QVBoxLayout;
  list_ = new QListWidget;
  list_->setObjectName("formulas");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setMinimumWidth(320);
  list_column->addWidget(list_, 1);
  description_ = new QLabel;
  description_->setObjectName("description");
  description_->setTextFormat(Qt::PlainText);
  list_column->addWidget(description_);
  middle->addLayout(list_column, 1);

  auto* list_buttons = new QVBoxLayout;
  edit_ = button("&Edit", "edit");
  cancel_edit_ = button("Ca&ncel Edit", "cancel_edit");
  duplicate_ = button("Du&plicate", "duplicate");
  delete_ = button("&Delete", "delete");
  move_up_ = button("&Move Up", "move_up");
  move_down_ = button("Move Do&wn", "move_down");
  enable_ = button("Disa&ble", "enable");
  attributes_ = button("A&ttributes", "attributes");
  for (QPushButton* push : {edit_, cancel_edit_, duplicate_, delete_, move_up_, move_down_, enable_, attributes_})
    list_buttons->addWidget(push);
  list_buttons->addStretch();
  middle->addLayout(list_buttons);
  layout->addLayout(middle, 1);

  auto* kind = new QHBoxLayout;
  auto* kind_group = new QButtonGroup(this);
  xy_plots_ = new QRadioButton("X-Y Plots");
  histograms_ = new QRadioButton("Histograms");
  xy_plots_->setObjectName("xy_plots");
  histograms_->setObjectName("histograms");
  kind_group->addButton(xy_plots_);
  kind_group->addButton(histograms_);
  binscale_ = new QCheckBox("Bin On Scale Marks");
  binscale_->setObjectName("binscale");
  kind->addWidget(xy_plots_);
  kind->addWidget(histograms_);
  kind->addSpacing(16);
  kind->addWidget(binscale_);
  kind->addStretch();
  layout->addLayout(kind);

  setup_from_ = new QLabel;
  setup_from_->setObjectName("setup_from");
  setup_from_->setTextFormat(Qt::PlainText);
  layout->addWidget(setup_from_);

  auto* bottom = new QHBoxLayout;
  auto* set_defaults = button("Set De&faults", "set_defaults");
  auto* load_defaults = button("&Load Defaults", "load_defaults");
  auto* axes = button("A&xes", "axes");
  auto* save_as = button("&Save As...", "save_as");
  auto* load_from = button("Load F&rom...", "load_from");
  auto* view_file = button("&View File", "view_file");
  view_file->setEnabled(static_cast<bool>(context.view_file));
  auto* ok = new QPushButton("&OK");
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto* cancel = button("&Cancel", "cancel");
  for (QPushButton* push : {set_defaults, load_defaults, axes, save_as, load_from, view_file})
    bottom->addWidget(push);
  bottom->addStretch();
  bottom->addWidget(ok);
  bottom->addWidget(cancel);
  layout->addLayout(bottom);

  connect(x_formula_, &QLineEdit::textChanged, this, [this](const QString& text) { setup_.x_formula = text.toStdString(); });
  connect(entry_, &QLineEdit::textChanged, this, [this](const QString& text) { setup_.entry = text.toStdString(); });
  connect(list_, &QListWidget::itemSelectionChanged, this, &PlotSetupDialog::selection_changed);
  connect(list_, &QListWidget::itemDoubleClicked, this, &PlotSetupDialog::edit);
  connect(add_, &QPushButton::clicked, this, &PlotSetupDialog::add);
  connect(edit_, &QPushButton::clicked, this, &PlotSetupDialog::edit);
  connect(cancel_edit_, &QPushButton::clicked, this, &PlotSetupDialog::cancel_edit);
  connect(duplicate_, &QPushButton::clicked, this, &PlotSetupDialog::duplicate);
  connect(delete_, &QPushButton::clicked, this, &PlotSetupDialog::remove);
  connect(move_up_, &QPushButton::clicked, this, [this] { move(-1); });
  connect(move_down_, &QPushButton::clicked, this, [this] { move(1); });
  connect(enable_, &QPushButton::clicked, this, &PlotSetupDialog::toggle_enabled);
  connect(attributes_, &QPushButton::clicked, this, &PlotSetupDialog::attributes);
  connect(set_defaults, &QPushButton::clicked, this, &PlotSetupDialog::set_defaults);
  connect(load_defaults, &QPushButton::clicked, this, &PlotSetupDialog::load_defaults);
  connect(axes, &QPushButton::clicked, this, &PlotSetupDialog::axes);
  connect(save_as, &QPushButton::clicked, this, &PlotSetupDialog::save_as);
  connect(load_from, &QPushButton::clicked, this, &PlotSetupDialog::load_from);
  connect(view_file, &QPushButton::clicked, this, [this] {
    if (context_.view_file) context_.view_file();
  });
  connect(ok, &QPushButton::clicked, this, &PlotSetupDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &PlotSetupDialog::reject);
  connect(histograms_, &QRadioButton::toggled, this, [this](bool on) {
    if (refreshing_) return;
    setup_.working().xy_or_histo = on ? 1 : 0;
  });
  connect(binscale_, &QCheckBox::toggled, this, [this](bool on) {
    if (refreshing_) return;
    setup_.working().binscale = on ? 1 : 0;
  });

  refresh();
  x_formula_->setFocus();
}

PlotSetupDialog::~PlotSetupDialog() = default;

// Enter in the "New Y Formula:" field adds the formula instead of pressing OK.
bool PlotSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == entry_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      add();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

int PlotSetupDialog::single_selection() const {
  return setup_.selected.size() == 1 ? setup_.selected.front() : -1;
}

void PlotSetupDialog::refresh() {
  refreshing_ = true;
  show_text(x_formula_, setup_.x_formula);
  show_text(entry_, setup_.entry);
  entry_label_->setText(to_qstring(setup_.entry_label()));

  const std::vector<std::string> items = setup_.list_items();
  {
    QSignalBlocker blocker(list_);
    if (list_->count() != static_cast<int>(items.size())) {
      list_->clear();
      for (const std::string& item : items) list_->addItem(to_qstring(item));
    } else {
      for (int row = 0; row < list_->count(); ++row) list_->item(row)->setText(to_qstring(items[static_cast<std::size_t>(row)]));
    }
    list_->clearSelection();
    for (int index : setup_.selected)
      if (QListWidgetItem* item = list_->item(index)) item->setSelected(true);
    if (!setup_.selected.empty()) list_->setCurrentRow(setup_.selected.back(), QItemSelectionModel::NoUpdate);
  }

  const PlotDefinition& working = setup_.working();
  (working.xy_or_histo ? histograms_ : xy_plots_)->setChecked(true);
  binscale_->setChecked(working.binscale != 0);
  description_->setText(to_qstring(setup_.description_label()));
  setup_from_->setText(to_qstring(files_.setup_from()));

  const bool editing = setup_.editing();
  const int single = single_selection();
  const int count = static_cast<int>(items.size());
  add_->setText(editing ? "&Enter Edits" : "&Add");
  edit_->setEnabled(single >= 0);
  cancel_edit_->setEnabled(editing);
  duplicate_->setEnabled(single >= 0);
  delete_->setEnabled(!setup_.selected.empty());
  // moving would shift the formula being edited under its edit
  move_up_->setEnabled(single >= 0 && !editing);
  move_down_->setEnabled(single >= 0 && single + 1 < count && !editing);
  enable_->setText(to_qstring(setup_.enable_button_label()));
  enable_->setEnabled(!setup_.selected.empty());
  refreshing_ = false;
}

void PlotSetupDialog::selection_changed() {
  std::vector<int> selected;
  for (int row = 0; row < list_->count(); ++row)
    if (list_->item(row)->isSelected()) selected.push_back(row);
  setup_.selected = std::move(selected);
  refresh();
}

void PlotSetupDialog::add() {
  const bool added = setup_.add();
  refresh();
  if (added) list_->scrollToBottom();
  entry_->setFocus();
}

void PlotSetupDialog::edit() {
  const int index = single_selection();
  if (index < 0) return;
  setup_.edit(index);
  refresh();
  entry_->setFocus();
  entry_->selectAll();
}

void PlotSetupDialog::cancel_edit() {
  setup_.cancel_edit();
  refresh();
}

void PlotSetupDialog::duplicate() {
  const int index = single_selection();
  if (index < 0) return;
  setup_.duplicate(index);
  refresh();
  entry_->setFocus();
}

void PlotSetupDialog::remove() {
  // the rows below a deleted one move up, so an edit in progress ends with it
  if (setup_.editing()) setup_.cancel_edit();
  setup_.remove_selected();
  refresh();
}

void PlotSetupDialog::move(int step) {
  const int index = single_selection();
  if (index < 0) return;
  const bool moved = step < 0 ? setup_.move_up(index) : setup_.move_down(index);
  if (moved) setup_.selected = {index + step};
  refresh();
}

void PlotSetupDialog::toggle_enabled() {
  setup_.toggle_enabled();
  refresh();
}

void PlotSetupDialog::attributes() {
  if (single_selection() < 0) {
    setup_.set_attributes({});  // refused for the selection, with its message
    return;
  }
  LineAttributesDialog dialog(setup_, this);
  run_nested_(dialog);
  refresh();
}

void PlotSetupDialog::set_defaults() { setup_.set_defaults(); }

void PlotSetupDialog::load_defaults() {
  if (setup_.editing()) setup_.cancel_edit();
  files_.load_defaults();
  refresh();
}

void PlotSetupDialog::axes() {
  AxisSetupDialog dialog(setup_.working(), 0, context_.ui, this);
  run_nested_(dialog);
  refresh();
}

void PlotSetupDialog::save_as() {
  if (std::optional<std::string> path = choose_file(this, files_.save_dialog(), FileDialogKind::Save)) files_.save_as(*path);
  refresh();
}

void PlotSetupDialog::load_from() {
  if (std::optional<std::string> path = choose_file(this, files_.load_dialog(), FileDialogKind::Open)) files_.load_from(*path);
  refresh();
}

void PlotSetupDialog::accept() {
  if (!setup_.ok(context_.window.definition)) {
    refresh();
    // back to the field that was refused: the X formula, else the entry
    const bool x_empty = x_formula_->text().trimmed().isEmpty();
    const bool entry_refused = !entry_->text().trimmed().isEmpty() || list_->count() == 0;
    (x_empty || !entry_refused ? x_formula_ : entry_)->setFocus();
    return;
  }
  context_.window.setup_from = files_.setup_from();
  QDialog::accept();
}

bool exec_plot_setup(PlotSetupContext& context, QWidget* parent) {
  PlotSetupDialog dialog(context, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace zentrik
