// The File Load Options dialog's behaviour on the file about to be loaded: the
// line shown, Show Next Line, Count Lines and the condition check of OK. The
// loader hands it to the Ui, which draws the controls.
#pragma once

#include <string>

#include "data/LineReader.h"
#include "ui/FileLoadOptions.h"
#include "ui/Ui.h"

namespace zentrik {

class LoadOptionsDialog : public FileLoadOptionsDialog {
 public:
  // fd is the open file (its position is the dialog's own until it closes);
  // drop_prompt is the setting that the check box updates on OK.
  LoadOptionsDialog(int fd, std::string path, LoadOptionValues initial, bool& drop_prompt, Ui& ui);

  const LoadOptionValues& values() const override { return values_; }
  std::string captionLine() const override;
  std::string lineText() const override { return line_; }
  bool showNextLine() override;
  void countLines() override;
  bool accept(const LoadOptionValues& entered) override;

 private:
  void show_first_line();

  LineReader reader_;
  std::string path_;
  LoadOptionValues values_;
  bool& drop_prompt_;
  Ui& ui_;
  std::string first_line_;
  std::string line_;
  long long shown_ = 0;  // number of the line shown
  long long total_ = -1;  // lines in the file, once counted
};

}  // namespace zentrik
