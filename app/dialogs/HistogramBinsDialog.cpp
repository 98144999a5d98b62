#include "app/dialogs/HistogramBinsDialog.h"

#include <QLineEdit>

#include "plot/Histogram.h"

namespace zentrik {
namespace {

QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

HistogramBinsDialog::HistogramBinsDialog(int bins, Ui& ui, QWidget* parent)
    : PromptDialog(parent, qstring(kDefaultBinsCaption), qstring(kDefaultBinsPrompt),
                   QString::number(default_bins_shown(bins))),
      bins_(default_bins_shown(bins)),
      ui_(ui) {}

void HistogramBinsDialog::accept() {
  int entered = bins_;
  if (!enter_default_bins(text().toStdString(), entered, ui_)) {
    field()->selectAll();
    field()->setFocus();
    return;
  }
  bins_ = entered;
  PromptDialog::accept();
}

bool exec_histogram_bins(int& bins, Ui& ui, QWidget* parent) {
  HistogramBinsDialog dialog(bins, ui, parent);
  if (dialog.exec() != QDialog::Accepted || dialog.bins() == bins) return false;
  bins = dialog.bins();
  return true;
}

}  // namespace zentrik
