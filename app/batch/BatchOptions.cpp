#include "app/batch/BatchOptions.h"

#include <charconv>
#include <functional>
#include <map>
#include <string_view>

namespace zentrik {
namespace {

bool read_int(std::string_view text, int32_t& value) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool read_size(std::string_view text, BatchOptions& options) {
  auto cross = text.find_first_of("xX");
  int32_t width = 0, height = 0;
  if (cross == std::string_view::npos || !read_int(text.substr(0, cross), width) ||
      !read_int(text.substr(cross + 1), height))
    return false;
  if (width < 16 || height < 16 || width > 16000 || height > 16000) return false;  // what can be drawn
  options.width = width;
  options.height = height;
  return true;
}

bool read_switch(std::string_view text, std::optional<bool>& value) {
  if (text == "on") value = true;
  else if (text == "off") value = false;
  else return false;
  return true;
}

bool read_on_error(std::string_view text, CalculationAction& action) {
  static const std::map<std::string_view, CalculationAction> actions = {
      {"exclude", CalculationAction::ExcludeLine},
      {"ignore", CalculationAction::IgnorePoint},
      {"truncate", CalculationAction::PlotToHere},
      {"stop", CalculationAction::CancelAndClose}};
  auto known = actions.find(text);
  if (known == actions.end()) return false;
  action = known->second;
  return true;
}

using ValueReader = std::function<bool(std::string_view, BatchOptions&)>;

// Options that take a value, and how each value is read.
const std::map<std::string_view, ValueReader>& value_options() {
  auto text = [](std::optional<std::string> BatchOptions::*member) {
    return [member](std::string_view value, BatchOptions& o) {
      o.*member = std::string(value);
      return true;
    };
  };
  // A count of lines: a whole number, 0 or more.
  auto count = [](std::optional<int32_t> BatchOptions::*member) {
    return [member](std::string_view value, BatchOptions& o) {
      int32_t n = 0;
      if (!read_int(value, n) || n < 0) return false;
      o.*member = n;
      return true;
    };
  };
  // A time limit: a whole number of seconds, 1 or more.
  auto seconds = [](std::optional<int32_t> BatchOptions::*member) {
    return [member](std::string_view value, BatchOptions& o) {
      int32_t n = 0;
      if (!read_int(value, n) || n < 1) return false;
      o.*member = n;
      return true;
    };
  };
  // A formula to check: something to check.
  auto formula = [](std::optional<std::string> BatchOptions::*member) {
    return [member](std::string_view value, BatchOptions& o) {
      if (value.find_first_not_of(" \t") == std::string_view::npos) return false;
      o.*member = std::string(value);
      return true;
    };
  };
  auto on_off = [](std::optional<bool> BatchOptions::*member) {
    return [member](std::string_view value, BatchOptions& o) { return read_switch(value, o.*member); };
  };
  static const std::map<std::string_view, ValueReader> options = {
      {"--export", text(&BatchOptions::export_path)},
      {"--size", [](std::string_view v, BatchOptions& o) { return read_size(v, o); }},
      {"--title", text(&BatchOptions::title)},
      {"--output-data", text(&BatchOptions::output_data)},
      {"--report", text(&BatchOptions::report)},
      {"--check", formula(&BatchOptions::check)},
      {"--setup", text(&BatchOptions::setup)},
      {"--x", text(&BatchOptions::x)},
      {"--y", [](std::string_view v, BatchOptions& o) {
         o.y.emplace_back(v);
         return true;
       }},
      {"--skip", count(&BatchOptions::skip)},
      {"--every", count(&BatchOptions::every)},
      {"--keep", count(&BatchOptions::keep)},
      {"--where", text(&BatchOptions::where)},
      {"--stats", on_off(&BatchOptions::stats)},
      {"--legend", on_off(&BatchOptions::legend)},
      {"--regress", on_off(&BatchOptions::regress)},
      {"--on-error", [](std::string_view v, BatchOptions& o) { return read_on_error(v, o.on_error); }},
      {"--config", text(&BatchOptions::config)},
      {"--timeout", seconds(&BatchOptions::timeout)},
      {"--concatenate", [](std::string_view v, BatchOptions& o) {
         if (v == "lines") o.how_added = kConcatenateLines;
         else if (v == "files") o.how_added = kConcatenateFiles;
         else return false;
         return true;
       }},
  };
  return options;
}

bool read_flag(std::string_view name, BatchOptions& options) {
  if (name == "--histogram") options.histogram = true;
  else if (name == "--allow-commands") options.allow_commands = true;
  else if (name == "--help" || name == "-h") options.help = true;
  else if (name == "--version") options.version = true;
  else return false;
  return true;
}

// The picture format a file name asks for by its extension, in any case.
bool read_picture_format(const std::string& path, PictureFormat& format) {
  auto dot = path.rfind('.');
  std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  static const std::map<std::string_view, PictureFormat> formats = {
      {"png", PictureFormat::Png}, {"svg", PictureFormat::Svg}, {"pdf", PictureFormat::Pdf}};
  auto known = formats.find(extension);
  if (known == formats.end()) return false;
  format = known->second;
  return true;
}

bool check_combination(BatchOptions& options, std::string& error) {
  if (options.help || options.version) return true;
  if (!options.batch()) {
    bool batch_only = options.width || options.title || options.setup || options.x || !options.y.empty() ||
                      options.skip || options.every || options.keep || options.where || options.histogram ||
                      options.stats || options.legend || options.regress || options.config ||
                      options.allow_commands || options.how_added != kFirstFile || options.timeout;
    if (batch_only) error = "these options need one of --export, --output-data, --report or --check";
    return !batch_only;
  }
  if (options.files.empty()) {
    error = "no data file, plot object or URL given";
    return false;
  }
  if (options.files.size() > 1 && options.how_added == kFirstFile) {
    error = "several files need --concatenate lines or --concatenate files";
    return false;
  }
  if (options.export_path && !read_picture_format(*options.export_path, options.export_format)) {
    error = "--export: the file name must end in .png, .svg or .pdf: " + *options.export_path;
    return false;
  }
  return true;
}

}  // namespace

bool parse_batch_options(int argc, const char* const* argv, BatchOptions& options, std::string& error) {
  bool only_files = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (only_files || argument.empty() || argument[0] != '-' || argument == "-") {
      options.files.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      only_files = true;
      continue;
    }
    std::string_view name = argument, value;
    bool has_value = false;
    if (auto equals = argument.find('='); equals != std::string_view::npos && argument.substr(0, 2) == "--") {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      has_value = true;
    }
    if (!has_value && read_flag(name, options)) continue;
    auto reader = value_options().find(name);
    if (reader == value_options().end()) {
      error = "unknown option " + std::string(name);
      return false;
    }
    if (!has_value) {
      if (i + 1 >= argc) {
        error = std::string(name) + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!reader->second(value, options)) {
      error = "bad value for " + std::string(name) + ": " + std::string(value);
      return false;
    }
  }
  return check_combination(options, error);
}

std::string batch_usage() {
  return R"(Usage: zentrik3 [OPTION...] FILE...
Plots data files, plot objects (.zko) and http(s) URLs. With any of --export,
--output-data, --report or --check it runs without windows.

Output:
  --export OUT          the plot as PNG, SVG or PDF, by OUT's extension
  --size WxH            picture size in pixels (default: the new-window size)
  --title TEXT          the title above the plot
  --output-data OUT     the points as Output To File writes them ("-": stdout)
  --report OUT          ranges, scale marks, statistics and bins as JSON ("-": stdout)
  --check FORMULA       check a formula against the first included line
Plot:
  --setup PSU           take the plot setup from a .psu file
  --x FORMULA           the X formula
  --y FORMULA           a Y formula (repeatable; the first replaces the setup's)
  --histogram           histograms instead of an X-Y plot
  --stats on|off        the statistics table under the plot
  --legend on|off       the legend under the plot
  --regress on|off      regression lines
  --on-error exclude|ignore|truncate|stop
                        the answer to every calculation error (default stop)
Loading:
  --skip N              skip the first N lines
  --every K --keep M    load M lines out of every K
  --where CONDITION     load only lines where the condition is true
  --concatenate lines|files
                        join several files side by side or one after another
  --allow-commands      run a plot object's pre-load command
  --config INI          read this configuration file instead of the recorded one
  --timeout SECONDS     fail a download (of a URL) that takes longer than this;
                        without it a download only fails when it stalls: less
                        than 1 KB a second over a minute
  --help, --version

Exit status: 0 when every output was written, 1 when the plot could not be made,
2 for bad usage.
)";
}

}  // namespace zentrik
