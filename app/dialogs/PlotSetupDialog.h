// The "Plot Setup" dialog: a plot's X formula, its list of Y formulas with the
// buttons that add, edit, duplicate, delete, move, disable and dress them, the plot
// kind, the defaults, the axis sheet and the setup files. The widgets only show
// and drive PlotSetup (the working copy with every refusal) and PlotSetupFiles;
// OK commits the working copy into the plot window's definition. Used by the plot
// windows' "Plot S&etup . . ." command and whenever a plot needs its formulas mended.
#pragma once

#include <functional>
#include <string>

#include <QDialog>

#include "persist/SetupFile.h"
#include "plot/PlotDefinition.h"
#include "plot/PlotSetup.h"
#include "plot/PlotWindow.h"
#include "ui/Ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zentrik {

struct PlotSetupContext {
  PlotWindow& window;        // window.definition is committed on OK; window.setup_from follows loads and saves
  DefaultPlot& defaults;     // changed by "Set De&faults"
  std::string& settingsdir;  // follows the files chosen by Save As / Load From unless freeze_dirs
  bool freeze_dirs = false;
  Ui& ui;                    // every message and the progress text of OK go through it
  std::function<void()> view_file = {};  // "&View File"; empty: the button is disabled (the view window comes later)
};

// Shows the "Plot Setup" dialog modally; true when OK committed the working copy
// into context.window.definition, false on Cancel (nothing changed).
bool exec_plot_setup(PlotSetupContext& context, QWidget* parent);

class PlotSetupDialog : public QDialog {
 public:
  PlotSetupDialog(PlotSetupContext& context, QWidget* parent = nullptr);
  ~PlotSetupDialog() override;

  // How the nested dialogs ("A&ttributes", "A&xes") are run: exec() unless replaced;
  // tests drive them instead. Returns the dialog's result code.
  using NestedDialogRunner = std::function<int(QDialog&)>;
  void set_nested_dialog_runner(NestedDialogRunner runner) { run_nested_ = std::move(runner); }

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void add();
  void edit();
  void cancel_edit();
  void duplicate();
  void remove();
  void move(int step);
  void toggle_enabled();
  void attributes();
  void set_defaults();
  void load_defaults();
  void axes();
  void save_as();
  void load_from();
  void selection_changed();
  // Shows the model's state in every control.
  void refresh();
  int single_selection() const;

  PlotSetupContext& context_;
  PlotSetup setup_;
  PlotSetupFiles files_;
  NestedDialogRunner run_nested_;
  bool refreshing_ = false;

  QLineEdit* x_formula_ = nullptr;
  QLabel* entry_label_ = nullptr;
  QLineEdit* entry_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* description_ = nullptr;
  QLabel* setup_from_ = nullptr;
  QRadioButton* xy_plots_ = nullptr;
  QRadioButton* histograms_ = nullptr;
  QCheckBox* binscale_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* cancel_edit_ = nullptr;
  QPushButton* duplicate_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* move_up_ = nullptr;
  QPushButton* move_down_ = nullptr;
  QPushButton* enable_ = nullptr;
  QPushButton* attributes_ = nullptr;
};

}  // namespace zentrik
