// "&Margins . . ." of the main window: the "Plot Margins" dialog with the pixel
// margins new plots start with ("XMargin", "YMargin" of the configuration).
#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

namespace zentrik {

class MarginsDialog : public QDialog {
 public:
  // Each field takes whole numbers of pixels from 0 to kMaxMargin; a value outside
  // shows as the nearest end.
  MarginsDialog(int x_margin, int y_margin, QWidget* parent = nullptr);

  int xMargin() const;
  int yMargin() const;
  QSpinBox* xField() const { return x_; }
  QSpinBox* yField() const { return y_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QSpinBox* x_ = nullptr;
  QSpinBox* y_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// The dialog; on OK the two margins take its values and true is returned.
bool exec_plot_margins(int& x_margin, int& y_margin, QWidget* parent);

}  // namespace zentrik
