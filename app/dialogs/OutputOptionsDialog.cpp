#include "app/dialogs/OutputOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogButtons.h"
#include "app/shell/RenderSettings.h"

namespace zentrik {
namespace {

QLineEdit* text_field(const std::string& text, QWidget* parent) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  field->setMinimumWidth(160);
  return field;
}

std::string text_of(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

OutputOptionsDialog::OutputOptionsDialog(Configuration& config, bool zoomed, QWidget* parent)
    : QDialog(parent), config_(config) {
  setWindowTitle(tr("Output Options"));
  const OutputOptions initial = output_options(config);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  delimiter_ = text_field(initial.field_delim, this);
  auto* delimiter_label = new QLabel(tr("&Field Delimiter"), this);
  delimiter_label->setBuddy(delimiter_);
  form->addRow(delimiter_label, delimiter_);

  include_x_ = new QCheckBox(tr("Include &X Values"), this);
  include_x_->setChecked(initial.inc_x_vals != 0);
  form->addRow(include_x_);

  ignored_ = new QCheckBox(tr("Output Place Holder For &Ignored Points"), this);
  ignored_->setChecked(initial.inc_ig_vals != 0);
  form->addRow(ignored_);
  ignored_text_ = text_field(initial.ignore_place_hold, this);
  ignored_label_ = new QLabel(tr("Place Ho&lder"), this);
  ignored_label_->setBuddy(ignored_text_);
  form->addRow(ignored_label_, ignored_text_);

  off_plot_ = new QCheckBox(tr("Output Place Holder For &Points Off The Plot"), this);
  off_plot_->setChecked(initial.inc_off_plot != 0);
  form->addRow(off_plot_);
  off_plot_text_ = text_field(initial.off_place_hold, this);
  off_plot_label_ = new QLabel(tr("Place Holder For Points O&ff The Plot"), this);
  off_plot_label_->setBuddy(off_plot_text_);
  form->addRow(off_plot_label_, off_plot_text_);
  for (QWidget* widget : {static_cast<QWidget*>(off_plot_), static_cast<QWidget*>(off_plot_label_),
                          static_cast<QWidget*>(off_plot_text_)})
    widget->setVisible(zoomed);
  layout->addLayout(form);

  // A place holder's text is only edited while it is to be written.
  const auto follow = [](QCheckBox* box, QLabel* label, QLineEdit* field) {
    const auto apply = [box, label, field] {
      label->setEnabled(box->isChecked());
      field->setEnabled(box->isChecked());
    };
    connect(box, &QCheckBox::toggled, box, apply);
    apply();
  };
  follow(ignored_, ignored_label_, ignored_text_);
  follow(off_plot_, off_plot_label_, off_plot_text_);

  const OkCancel buttons = add_ok_cancel(*this);
  ok_ = buttons.ok;
  cancel_ = buttons.cancel;
  set_defaults_ = buttons.box->addButton(tr("&Set Defaults"), QDialogButtonBox::ActionRole);
  connect(set_defaults_, &QPushButton::clicked, this, [this] { store_defaults(); });
  layout->addWidget(buttons.box);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // the zoomed rows come and go with the window's size
  delimiter_->setFocus();
  delimiter_->selectAll();
}

OutputOptions OutputOptionsDialog::options() const {
  OutputOptions options;
  options.field_delim = text_of(delimiter_);
  if (options.field_delim.empty()) options.field_delim.push_back(' ');  // one blank
  options.inc_x_vals = include_x_->isChecked() ? 1 : 0;
  options.inc_ig_vals = ignored_->isChecked() ? 1 : 0;
  options.ignore_place_hold = text_of(ignored_text_);
  options.inc_off_plot = off_plot_->isChecked() ? 1 : 0;
  options.off_place_hold = text_of(off_plot_text_);
  return options;
}

void OutputOptionsDialog::store_defaults() {
  const OutputOptions chosen = options();
  config_.def_field_delim = chosen.field_delim;
  config_.def_inc_x_vals = chosen.inc_x_vals;
  config_.def_inc_ig_vals = chosen.inc_ig_vals;
  config_.def_ignore_place_hold = chosen.ignore_place_hold;
  config_.def_inc_off_plot = chosen.inc_off_plot;
  config_.def_off_place_hold = chosen.off_place_hold;
}

std::optional<OutputOptions> exec_output_options(Configuration& config, bool zoomed, QWidget* parent) {
  OutputOptionsDialog dialog(config, zoomed, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.options();
}

}  // namespace zentrik
