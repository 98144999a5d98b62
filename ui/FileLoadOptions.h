// The File Load Options dialog as the loader offers it to a Ui: what it shows
// (a line of the file, the options) and what its buttons do on the open file.
#pragma once

#include <cstdint>
#include <string>

namespace zentrik {

struct LoadOptionValues {
  int32_t initial_skip = 0;  // "Initially skip" ... "Lines"
  int32_t loadnum = 1;       // "Load" M ...
  int32_t read_every = 1;    // ... "out of every" K "lines"
  std::string load_condition;  // "Only load lines where the following conditions are TRUE"
  bool dont_show_again = false;  // "Don't show this dialog box before &File Load"
};

class FileLoadOptionsDialog {
 public:
  virtual ~FileLoadOptionsDialog() = default;

  // The options the fields show when the dialog opens.
  virtual const LoadOptionValues& values() const = 0;
  // "Line 3 from /d/a.dat", or "Line 3 out of 10 in /d/a.dat" once the total is known.
  virtual std::string captionLine() const = 0;
  // The text of the line shown.
  virtual std::string lineText() const = 0;
  // "&Show Next Line": false at the end of the file (it has beeped; disable the button).
  virtual bool showNextLine() = 0;
  // "Cou&nt Lines": counts the lines, shows line 1 again and reports the total.
  virtual void countLines() = 0;
  // "&OK": checks the entered condition on the line shown; false keeps the dialog open.
  virtual bool accept(const LoadOptionValues& entered) = 0;
};

}  // namespace zentrik
