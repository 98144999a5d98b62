#include "app/batch/Batch.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include <QImage>
#include <QPainter>

#include "app/batch/MeasuringSurface.h"
#include "app/batch/Report.h"
#include "app/shell/RenderSettings.h"
#include "app/shell/Shell.h"
#include "data/AtomicFile.h"
#include "data/DataFile.h"
#include "data/FileAccess.h"
#include "data/Loader.h"
#include "data/MultiFile.h"
#include "data/download/Download.h"
#include "display/Output.h"
#include "display/Render.h"
#include "display/qt/PlotFiles.h"
#include "formula/FormulaCheck.h"
#include "persist/ConfigLocation.h"
#include "persist/Configuration.h"
#include "persist/PlotObject.h"
#include "persist/SetupFile.h"
#include "plot/Calculation.h"
#include "plot/Scaling.h"
#include "plot/Statistics.h"

namespace zentrik {
namespace {

constexpr int kMinPictureSide = 16;
constexpr const char* kSetupErrorsCaption = "Error(s) in plot setup!";

// The recorded configuration, or the one named by --config; batch mode never asks
// where it is and never writes it.
std::optional<Configuration> batch_configuration(const BatchOptions& options, std::FILE* err) {
  if (options.config) {
    ConfigReader reader(*options.config);
    if (!reader.is_open()) {
      std::fprintf(err, "zentrik3: cannot read the configuration file %s: %s\n", options.config->c_str(),
                   reader.error().c_str());
      return std::nullopt;
    }
    return read_configuration(reader);
  }
  const std::string recorded = read_stored_configpath();
  std::error_code error;
  if (!recorded.empty() && std::filesystem::is_regular_file(recorded, error)) return read_configuration(recorded);
  return Configuration();
}

// The batch mode's face of the shell: no windows, no dialogs; the plot setup dialog
// is never there to mend a setup, so a plot that needs it is not made.
class BatchRun : public ShellFace {
 public:
  BatchRun(const BatchOptions& options, BatchUi& ui, Configuration config, std::FILE* out, std::FILE* err)
      : options_(options),
        ui_(ui),
        config_(without_prompts(std::move(config))),
        out_(out),
        err_(err),
        shell_(config_, ui, *this, options.allow_commands ? CommandPolicy::Always : CommandPolicy::Never) {}

  int run() {
    StreamScope streams;  // a pipe named on the command line is read once for the whole run
    if (!load()) return 1;
    if (!set_up()) return 1;
    if (options_.check && !check_formula()) return 1;
    if (!options_.export_path && !options_.output_data && !options_.report) return 0;
    if (!calculate()) return 1;
    bool written = true;
    if (options_.export_path || options_.report) written = draw() && written;
    if (options_.output_data) written = write_points() && written;
    if (options_.report) written = write_report() && written;
    return written ? 0 : 1;
  }

  bool plotSetup(Plot&) override { return false; }
  DropChoice multiFileDropOptions() override { return DropChoice::Cancel; }
  ScreenSize screen() const override { return ScreenSize{1 << 20, 1 << 20}; }
  void plotReady(Plot&) override {}
  void plotClosing(Plot&) override {}
  void busyChanged(bool) override {}

 private:
  // The command line says what to load and how; no dialog opens before a load or a plot.
  static Configuration without_prompts(Configuration config) {
    config.load_prompt = 0;
    return config;
  }

  bool load() {
    ui_.setErrorBeep(false);
    BatchUi::LoadOptions load_options{options_.skip, options_.every, options_.keep, options_.where};
    ui_.setLoadOptions(load_options);
    ui_.setCalculationAnswer(options_.on_error);
    ui_.setAllowCommands(options_.allow_commands);
    config_.drop_prompt = 1;  // the command line's options enter through the dialog
    loaded_ = shell_.load(options_.files[0]);
    if (!loaded_.data) return false;
    for (std::size_t i = 1; i < options_.files.size(); ++i)
      if (!add_file(*loaded_.data, options_.files[i], options_.how_added, ui_)) return false;
    return true;
  }

  bool set_up() {
    std::optional<PlotDefinition> setup;
    if (options_.setup && !loaded_.owner && !(setup = read_setup(*options_.setup))) return false;
    // Formulas the command line replaces are checked after the replacement only.
    const bool replaces = options_.x || !options_.y.empty();
    if (loaded_.owner && replaces) ui_.setSilenced(kSetupErrorsCaption);
    bool ask_setup = false;
    plot_ = shell_.create_plot(std::move(loaded_), &ask_setup, [&](PlotWindow& window) {
      ui_.setSilenced("");
      if (setup) {
        window.definition = std::move(*setup);
        window.setup_from = "Setup From:  " + std::filesystem::path(*options_.setup).filename().string();
      }
      apply_command_line(window);
      return replaces;
    });
    ui_.setSilenced("");
    if (!plot_ || ask_setup) return false;
    return set_picture_size();
  }

  // --size, else an object's window size, else the configuration's new-window size.
  bool set_picture_size() {
    const WindowRect& rect = window().rect;
    const int width = options_.width.value_or(rect.right - rect.left);
    const int height = options_.height.value_or(rect.bottom - rect.top);
    if (width < kMinPictureSide || height < kMinPictureSide || width > kMaxPictureSide ||
        height > kMaxPictureSide) {
      std::fprintf(err_, "zentrik3: a picture of %d x %d pixels cannot be drawn (%d to %d pixels a side)\n", width,
                   height, kMinPictureSide, kMaxPictureSide);
      return false;
    }
    window().rect = WindowRect{0, 0, width, height};
    return true;
  }

  std::optional<PlotDefinition> read_setup(const std::string& path) {
    ConfigReader reader(path);
    if (!reader.is_open()) {
      ui_.message("Can't open " + path, "File Open Error!");
      return std::nullopt;
    }
    PlotDefinition definition;
    read_plot_setup(reader, definition);
    return definition;
  }

  // --x, --y, --histogram, --title and the display switches over what the setup gave.
  void apply_command_line(PlotWindow& window) {
    FormulaList& formulas = window.definition.formulas;
    if (options_.x) formulas[0].set_text(normalizeFormulaText(*options_.x));
    if (!options_.y.empty()) {
      formulas.resize(1);
      for (const std::string& y : options_.y)
        formulas.push_back(new_y_formula(normalizeFormulaText(y), formulas, config_.default_plot));
    }
    if (options_.histogram) window.definition.xy_or_histo = 1;
    if (options_.title) window.title = *options_.title;
    if (options_.stats) window.showstats = *options_.stats;
    if (options_.legend) window.legend = *options_.legend;
    if (options_.regress) window.regress = *options_.regress;
  }

  bool check_formula() {
    const DataLine* first = window().data->first_included();
    return checkFormula(normalizeFormulaText(*options_.check), "new Y formula", nullptr,
                        SampleLine{first->text(), first->number}, ui_);
  }

  bool calculate() {
    if (!shell_.finish_plot(*plot_, false)) return false;
    // The report gives every deviation, whether the statistics table is shown or not.
    if (options_.report) finish_statistics(window(), true);
    return true;
  }

  PlotWindow& window() { return plot_->window; }

  // A screen paint first: the picture takes its statistics texts and quantity band
  // from it, as a window's recorded picture does. Then the picture itself, into the
  // file asked for or only onto an image, for the report.
  bool draw() {
    const int width = window().rect.right, height = window().rect.bottom;
    PaintMemory memory;
    measure_paint(width, height, render_options(config_, OutputMode::Screen), memory);
    statistics_ = memory.statistics;
    const RenderOptions picture = render_options(config_, OutputMode::Picture);
    if (!options_.export_path) {
      drawn_ = measure_paint(width, height, picture, memory);
      return true;
    }
    const std::string& path = *options_.export_path;
    std::string reason;
    bool written;
    switch (options_.export_format) {
      case PictureFormat::Svg:
        written = write_plot_svg(path, width, height, window(), picture, memory, reason, &drawn_);
        break;
      case PictureFormat::Pdf:
        written = write_plot_pdf(path, width, height, window(), picture, memory, reason, &drawn_);
        break;
      default:
        written = write_plot_png(path, width, height, window(), picture, memory, reason, &drawn_);
    }
    if (!written) std::fprintf(err_, "zentrik3: %s not written: %s\n", path.c_str(), reason.c_str());
    return written;
  }

  // Renders onto an image of the picture's size without drawing: the layout, the marks
  // and the band as they would be drawn, without walking the points.
  RenderResult measure_paint(int width, int height, RenderOptions render_options, PaintMemory& memory) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    MeasuringSurface surface(painter);
    render_options.layout_only = true;
    return render(surface, width, height, window(), render_options, memory);
  }

  bool write_points() {
    const std::string& path = *options_.output_data;
    if (path == "-") {
      if (write_plot_data(window(), output_options(config_), out_, ui_, false)) return true;
      std::fprintf(err_, "zentrik3: the points could not be written: %s\n", std::strerror(errno));
      return false;
    }
    return output_to_file(window(), output_options(config_), path, ui_);
  }

  bool write_report() {
    const std::string text = report_json(window(), drawn_, statistics_) + "\n";
    const std::string& path = *options_.report;
    if (path == "-") {
      if (std::fwrite(text.data(), 1, text.size(), out_) == text.size() && std::fflush(out_) == 0) return true;
      std::fprintf(err_, "zentrik3: the report could not be written: %s\n", std::strerror(errno));
      return false;
    }
    std::string reason;
    if (write_file_atomically(path, text, reason)) return true;
    std::fprintf(err_, "zentrik3: %s not written: %s\n", path.c_str(), reason.c_str());
    return false;
  }

  const BatchOptions& options_;
  BatchUi& ui_;
  Configuration config_;
  std::FILE* out_;
  std::FILE* err_;
  Shell shell_;
  Shell::Loaded loaded_;
  Plot* plot_ = nullptr;
  RenderResult drawn_;
  std::optional<StatisticsBox> statistics_;
};

}  // namespace

int run_batch(const BatchOptions& options, BatchUi& ui, std::FILE* out, std::FILE* err) {
  std::optional<Configuration> config = batch_configuration(options, err);
  if (!config) return 1;
  download_settings().total_seconds = options.timeout.value_or(0);
  return BatchRun(options, ui, std::move(*config), out, err).run();
}

}  // namespace zentrik
