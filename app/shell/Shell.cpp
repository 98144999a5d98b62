#include "app/shell/Shell.h"

#include <algorithm>

#include "app/shell/CommandLine.h"
#include "app/shell/WindowArrangement.h"
#include "data/Loader.h"
#include "data/MultiFile.h"
#include "display/Drag.h"
#include "display/ZoomWindow.h"
#include "persist/SetupFile.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"

namespace zentrik {
namespace {

constexpr const char* kNoValuesQuestion =
    "The boolean conditions resulted in no values to plot.  Return to plot setup window?";

SampleLine sample_line(const DataFile& data) {
  const DataLine* first = data.first_included();
  return first ? SampleLine{first->text(), first->number} : SampleLine{};
}

// A copy of a plot definition for another data set: settings and formulas without
// their computed points.
PlotDefinition without_points(const PlotDefinition& definition) {
  PlotDefinition copy = definition;
  for (Formula& formula : copy.formulas) {
    formula.points.reset();
    formula.bins.clear();
    formula.needs_recalc = formula.changed = 1;
  }
  return copy;
}

}  // namespace

std::string plot_window_title(const Plot& plot) {
  const PlotWindow& window = plot.window;
  std::string title = window.title;
  if (title.empty()) {
    title = window.data ? file_name_of(window.data->path()) : std::string();
    if (window.is_zoom_window) title += window.unzoomed ? " (Un-Zoomed)" : " (Zoom)";
  }
  if (plot.object) title += " (Object " + file_name_of(plot.object->object_file) + ")";
  return title;
}

Shell::Shell(Configuration& config, Ui& ui, ShellFace& face, CommandPolicy commands)
    : config_(config),
      ui_(ui),
      face_(face),
      approval_(config.approved_commands, commands, ui),
      object_env_{{config.use_obj, config.objdir}, approval_, ui} {}

Shell::~Shell() {
  // Plots go before the data sets they point to.
  plots_.clear();
  data_files_.clear();
}

// --- busy ---

Shell::BusyScope::BusyScope(Shell& shell) : shell_(shell) { shell_.add_busy(); }
Shell::BusyScope::~BusyScope() { shell_.release_busy(); }

void Shell::add_busy() {
  if (busy_++ == 0) face_.busyChanged(true);
}

void Shell::release_busy() {
  if (busy_ == 0) return;  // reset by the user meanwhile
  if (--busy_ == 0) face_.busyChanged(false);
}

void Shell::reset_busy() {
  if (busy_ == 0) return;
  busy_ = 0;
  face_.busyChanged(false);
}

Shell::Operation::~Operation() {
  if (--shell_.depth_ == 0) shell_.collect();
}

// --- opening data ---

void Shell::process_command_line(std::string_view text) {
  Operation operation(*this);
  BusyScope busy(*this);
  for (const std::string& name : command_line_names(text))
    if (file_name_fits(name, ui_)) open_file(name);
}

void Shell::pass_file(std::string_view text) {
  if (busy()) {
    ui_.beep();
    return;
  }
  process_command_line(text);
}

Plot* Shell::open_file(const std::string& path) {
  Operation operation(*this);
  BusyScope busy(*this);
  return plot_data_file(load(path));
}

Shell::Loaded Shell::load(const std::string& path) {
  object_env_.settings = {config_.use_obj, config_.objdir};
  ObjectLoading objects(object_env_);
  bool drop_prompt = config_.drop_prompt != 0;
  LoadEnvironment env{ui_};
  env.busy_count = &busy_;
  env.drop_prompt = &drop_prompt;
  env.objects = &objects;
  Loaded loaded;
  loaded.data = std::make_unique<DataFile>(path, env);
  config_.drop_prompt = drop_prompt ? 1 : 0;
  if (loaded.data->included_count() == 0) return {};
  loaded.owner = std::move(objects.owner());
  return loaded;
}

Plot* Shell::plot_data_file(Loaded loaded) {
  if (!loaded.data) return nullptr;
  Operation operation(*this);
  bool ask_setup = false;
  Plot* plot = create_plot(std::move(loaded), &ask_setup);
  return plot ? finish_plot(*plot, ask_setup) : nullptr;
}

bool Shell::prompt_for_setup(bool found_setup) const {
  switch (config_.load_prompt) {
    case 1:
      return true;  // "&Always"
    case 3:
      return !found_setup;  // "If &No Setup File"
    default:
      return false;
  }
}

int Shell::next_window_number() const {
  std::vector<int> used;
  for (const auto& plot : plots_)
    if (!plot->closed) used.push_back(plot->number);
  return lowest_free_window_number(used);
}

Plot* Shell::create_plot(Loaded loaded, bool* ask_setup, const Adjustment& adjust) {
  if (!loaded.data || loaded.data->included_count() == 0) return nullptr;
  DataFile* data = loaded.data.get();
  data_files_.push_back(std::move(loaded.data));

  const ScreenSize screen = face_.screen();
  const DefaultPlot& defaults = config_.default_plot;
  auto plot = std::make_unique<Plot>();
  plot->number = next_window_number();
  plot->window = new_plot_window(
      data, defaults, cascade_.next(defaults.def_win_x_siz, defaults.def_win_y_siz, screen.width, screen.height));
  ++data->plot_count;

  bool sound = true;
  bool found_setup = true;
  if (loaded.owner) {
    plot->object = std::move(loaded.owner);
    SetupSources setups{config_.use_psu != 0, config_.psu_files, defaults};
    sound = ReadPlotObjectWindow(plot->window, *plot->object, screen, setups, ui_);
    if (adjust && adjust(plot->window)) sound = CheckLoadedSetup(plot->window.definition, sample_line(*data), ui_);
  } else {
    std::string setup_file;
    found_setup = FindSetupFileForDataFile(file_name_of(data->path()), config_.use_psu != 0, config_.psu_files,
                                           plot->window.definition, ui_, &setup_file);
    if (found_setup) plot->window.setup_from = "Setup From:  " + file_name_of(setup_file);
    if (adjust) adjust(plot->window);
    sound = CheckLoadedSetup(plot->window.definition, sample_line(*data), ui_);
  }
  *ask_setup = !sound || prompt_for_setup(found_setup);
  plots_.push_back(std::move(plot));
  return plots_.back().get();
}

Plot* Shell::finish_plot(Plot& plot, bool ask_setup) {
  Operation operation(*this);
  if (ask_setup && !face_.plotSetup(plot)) {
    close_now(plot);
    return nullptr;
  }
  for (;;) {
    switch (recalculate(plot, true)) {
      case Recalculation::Done:
        plot.shown = true;
        face_.plotReady(plot);
        return &plot;
      case Recalculation::Closed:
        return nullptr;
      case Recalculation::NoPoints:
        if (ui_.message(kNoValuesQuestion, "Error!", Buttons::YesNo) == Answer::Yes && face_.plotSetup(plot))
          continue;
        close_now(plot);
        return nullptr;
    }
  }
}

// --- drops ---

void Shell::drop_files(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (busy()) {
    ui_.beep();
    return;
  }
  Operation operation(*this);
  BusyScope busy(*this);
  if (paths.size() < 2) {
    open_file(paths.front());
    return;
  }
  const DropChoice choice = face_.multiFileDropOptions();
  if (choice == DropChoice::SeparatePlots)
    drop_separately(paths, nullptr);
  else if (choice == DropChoice::ConcatenateFiles || choice == DropChoice::ConcatenateLines)
    drop_concatenated(paths, choice);
}

void Shell::drop_separately(const std::vector<std::string>& paths, const Plot* template_plot) {
  // Dropped on a plot window, every new window takes that window's setup; dropped on
  // the main window, the later windows take the first one's.
  const Plot* model = template_plot;
  for (const std::string& path : paths) {
    Loaded loaded = load(path);
    if (!loaded.data) {
      ui_.showError((template_plot ? "No lines loaded from file " : "No lines read from file ") + path,
                    "File can not be plotted!");
      continue;
    }
    const bool from_object = loaded.owner.has_value();
    bool ask_setup = false;
    Plot* plot = create_plot(std::move(loaded), &ask_setup);
    if (!plot) continue;
    if (model) {
      ask_setup = false;
      if (!from_object) {
        plot->window.definition = without_points(model->window.definition);
        plot->window.setup_from = model->window.setup_from;
      }
    } else if (ask_setup && !face_.plotSetup(*plot)) {
      close_now(*plot);
      return;  // cancelling the first setup ends the whole drop
    }
    Plot* shown = finish_plot(*plot, false);
    if (!shown) {
      ui_.showError("File " + path + " not plotted successfully, aborting operation!", "Abort!");
      return;
    }
    if (!model) model = shown;
  }
}

void Shell::drop_on_plot(Plot& plot, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (plot.calculating || plot.closed || busy()) {
    ui_.beep();
    return;
  }
  Operation operation(*this);
  BusyScope busy(*this);
  DataFile& data = *plot.window.data;
  if (data.update_interval() != 0) {
    data.set_update_interval(0, ui_);
    plot.window.update_interval = 0;
    ui_.message("Auto-updates have been disabled.", "Auto-updates Stopped");
  }
  face_.activatePlot(plot);
  // One plot object opens in its own window without asking.
  bool one_object = false;
  if (paths.size() == 1) {
    std::string first_line;
    if (!read_first_line(paths.front(), first_line, ui_)) return;  // the user has been told why
    one_object = has_plot_object_signature(first_line);
  }
  const DropChoice choice = one_object ? DropChoice::SeparatePlots : face_.multiFileDropOptions();
  if (choice == DropChoice::SeparatePlots) {
    drop_separately(paths, &plot);
    return;
  }
  if (choice != DropChoice::ConcatenateFiles && choice != DropChoice::ConcatenateLines) return;
  if (plot.object) plot.window.object_modified = plot.object->modified = true;
  const int32_t how = choice == DropChoice::ConcatenateLines ? kConcatenateLines : kConcatenateFiles;
  for (const std::string& path : paths)
    if (!add_file(data, path, how, ui_)) break;
  face_.plotSetup(plot);
  // The lines changed under every plot of this data set.
  for (Plot* other : plots_of(data)) {
    for (Formula& formula : other->window.definition.formulas) formula.needs_recalc = formula.changed = 1;
    if (recalculate(*other, true) != Recalculation::Closed && other->shown) face_.plotReady(*other);
  }
}

void Shell::drop_concatenated(const std::vector<std::string>& paths, DropChoice choice) {
  Loaded loaded = load(paths.front());
  if (!loaded.data) return;
  const int32_t how = choice == DropChoice::ConcatenateLines ? kConcatenateLines : kConcatenateFiles;
  for (std::size_t i = 1; i < paths.size(); ++i)
    if (!add_file(*loaded.data, paths[i], how, ui_)) return;
  plot_data_file(std::move(loaded));
}

// --- computing ---

std::vector<Plot*> Shell::plots_of(const DataFile& data) {
  std::vector<Plot*> found;
  for (const auto& plot : plots_)
    if (!plot->closed && plot->window.data == &data) found.push_back(plot.get());
  return found;
}

Plot* Shell::plot_of(const PlotWindow& window) {
  for (const auto& plot : plots_)
    if (&plot->window == &window) return plot.get();
  return nullptr;
}

Recalculation Shell::recalculate(Plot& plot, bool rescale, bool quiet) {
  if (plot.closed) return Recalculation::Closed;
  if (plot.calculating) {
    plot.recalc_pending = true;  // the calculation running now takes it up when it ends
    return Recalculation::Done;
  }
  Operation operation(*this);
  BusyScope busy(*this);
  plot.calculating = true;
  plot.lines_changed = false;
  const Recalculation result = recalculate_loop(plot, rescale, quiet);
  plot.calculating = false;
  if (result == Recalculation::Closed) close_now(plot);
  return result;
}

Recalculation Shell::recalculate_loop(Plot& plot, bool rescale, bool quiet) {
  for (;;) {
    plot.recalc_pending = false;
    prepare_calculation(plot.window);
    CalculationEnvironment env{ui_};
    for (Plot* other : plots_of(*plot.window.data))
      if (other != &plot) env.other_windows.push_back(&other->window);
    env.recalculate = [this](PlotWindow& window) { recalculate_other(window); };
    env.view_file = face_.viewFile(plot);
    env.show_progress = !quiet;
    switch (calculatePoints(plot.window, env)) {
      case CalculationOutcome::BackToSetup:
        face_.plotSetup(plot);
        continue;
      case CalculationOutcome::WindowClosed:
      case CalculationOutcome::NotEnoughData:
        return Recalculation::Closed;
      case CalculationOutcome::Done:
        break;
    }
    // Lines excluded by the answers may leave too little: the next calculation asks
    // whether to include everything again, and closes the plot on No.
    if (plot.window.data->included_count() < 2) continue;
    ScalingEnvironment scaling{ui_, config_.default_plot, !quiet};
    const ScaleResult scaled = scale(plot.window, rescale, scaling);
    if (plot.recalc_pending) continue;
    return scaled == ScaleResult::NoPoints ? Recalculation::NoPoints : Recalculation::Done;
  }
}

void Shell::recalculate_other(PlotWindow& window) {
  Plot* plot = plot_of(window);
  if (!plot || plot->closed) return;
  if (recalculate(*plot, window.auto_scaled) != Recalculation::Closed && plot->shown) face_.plotReady(*plot);
}

void Shell::plot_setup_command(Plot& plot) {
  Operation operation(*this);
  for (;;) {
    const bool committed = face_.plotSetup(plot);
    // Lines included or excluded from the dialog count even when it is cancelled.
    if (plot.lines_changed) mark_for_exclusions(plot.window);
    if (!committed) {
      if (plot.lines_changed && recalculate(plot, plot.window.auto_scaled) != Recalculation::Closed)
        face_.plotReady(plot);
      return;
    }
    if (plot.object) plot.window.object_modified = plot.object->modified = true;
    const Recalculation result = recalculate(plot, true);
    if (result == Recalculation::Closed) return;
    face_.plotReady(plot);
    if (result == Recalculation::Done) return;
    ui_.showError("Boolean conditions resulted in not enough data for a valid plot!", "Error!");
  }
}

// --- more windows ---

Plot& Shell::add_plot(PlotWindow window) {
  auto plot = std::make_unique<Plot>();
  plot->number = next_window_number();
  plot->window = std::move(window);
  if (plot->window.data) ++plot->window.data->plot_count;
  plots_.push_back(std::move(plot));
  return *plots_.back();
}

Plot* Shell::duplicate_plot(Plot& source) {
  if (source.closed || source.calculating || busy()) {
    ui_.beep();
    return nullptr;
  }
  Operation operation(*this);
  BusyScope busy(*this);
  ui_.progressShow("\nCopying...", false);
  PlotWindow copy = source.window;
  // A step right of and below the source, so that both can be seen.
  constexpr int kStep = 30;
  copy.rect = WindowRect{copy.rect.left + kStep, copy.rect.top + kStep, copy.rect.right + kStep,
                         copy.rect.bottom + kStep};
  // The copy belongs to no plot object and computes its own points.
  copy.object_path.clear();
  copy.object_modified = false;
  copy.cancelled = false;
  for (Formula& formula : copy.definition.formulas) {
    formula.points.reset();
    formula.bins.clear();
    formula.needs_recalc = formula.changed = 1;
  }
  Plot& plot = add_plot(std::move(copy));
  ui_.progressHide();
  if (recalculate(plot, plot.window.auto_scaled) == Recalculation::Closed) return nullptr;
  plot.shown = true;
  face_.plotReady(plot);
  return &plot;
}

Plot* Shell::zoom_plot(Plot& source, const ZoomBox& box) {
  if (source.closed || source.calculating) return nullptr;
  Operation operation(*this);
  BusyScope busy(*this);
  ui_.setWaitCursor(true);
  std::optional<PlotWindow> zoom = make_zoom_window(source.window, box, ui_);
  ui_.setWaitCursor(false);
  if (!zoom) return nullptr;
  Plot& plot = add_plot(std::move(*zoom));
  scale_plot(plot);
  return &plot;
}

void Shell::scale_plot(Plot& plot) {
  if (plot.closed) return;
  ScalingEnvironment scaling{ui_, config_.default_plot};
  scale(plot.window, true, scaling);
  plot.shown = true;
  face_.plotReady(plot);
}

void Shell::redraw(Plot& plot) {
  if (!plot.closed && plot.shown) face_.plotReady(plot);
}

void Shell::box_pass(Plot& plot, const ZoomBox& box, bool exclude) {
  if (plot.closed || plot.calculating) return;
  Operation operation(*this);
  BusyScope busy(*this);
  ui_.setWaitCursor(true);
  BoxPassEnvironment env{ui_};
  env.object_keeps_exclude_list = !plot.object || plot.object->exclude_lines != 0;
  const BoxPassResult result = exclude ? exclude_in_box(plot.window, box, env) : ignore_in_box(plot.window, box, env);
  ui_.setWaitCursor(false);
  if (plot.object && plot.window.object_modified) plot.object->modified = true;
  if (exclude && result.lines_excluded > 0) {
    for (Plot* other : plots_of(*plot.window.data)) {
      if (other == &plot) continue;
      mark_for_exclusions(other->window);
      if (recalculate(*other, other->window.auto_scaled) != Recalculation::Closed && other->shown)
        face_.plotReady(*other);
    }
  }
  if (recalculate(plot, plot.window.auto_scaled) != Recalculation::Closed) face_.plotReady(plot);
}

// --- closing ---

bool Shell::close_plot(Plot& plot) {
  if (plot.closed) return true;
  if (plot.calculating) {
    ui_.beep();
    return false;
  }
  Operation operation(*this);
  if (plot.object && plot.window.object_modified) {
    const std::string name = plot.object->object_file;
    if (ui_.message("Save changes to plot object " + name + "?", "Save changes?", Buttons::YesNo) == Answer::Yes)
      WritePlotObject(name, plot.window, plot.object, approval_, ui_);
  }
  close_now(plot);
  return true;
}

void Shell::close_all_plots() {
  Operation operation(*this);
  for (const auto& plot : plots_)
    if (!plot->closed) close_now(*plot);
}

void Shell::close_now(Plot& plot) {
  if (plot.closed) return;
  plot.closed = true;
  if (plot.window.data && plot.window.data->plot_count > 0) --plot.window.data->plot_count;
  face_.plotClosing(plot);
}

void Shell::collect() {
  std::erase_if(plots_, [](const std::unique_ptr<Plot>& plot) { return plot->closed; });
  // A data set being reloaded is freed by a later collection, once its reload is over.
  std::erase_if(data_files_, [this](const std::unique_ptr<DataFile>& data) {
    if (data->plot_count != 0 || data->reloading()) return false;
    face_.dataClosing(*data);
    return true;
  });
}

}  // namespace zentrik
