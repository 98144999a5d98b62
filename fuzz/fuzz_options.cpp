// Any command line (the input cut at NUL bytes into arguments) through the batch
// options parser: a refusal names its reason; accepted options keep their bounds
// and their combination rules; the options written back as a command line, in
// either form of the value options, parse to the same options.
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "app/batch/BatchOptions.h"
#include "fuzz/FuzzSupport.h"

using namespace zentrik;
using zentrik::fuzz::expect;

namespace {

auto fields(const BatchOptions& o) {
  return std::tie(o.files, o.how_added, o.export_path, o.export_format, o.width, o.height, o.title, o.output_data,
                  o.report, o.check, o.setup, o.x, o.y, o.skip, o.every, o.keep, o.where, o.histogram, o.stats,
                  o.legend, o.regress, o.on_error, o.config, o.allow_commands, o.timeout, o.help, o.version);
}

std::string_view on_error_name(CalculationAction action) {
  switch (action) {
    case CalculationAction::ExcludeLine: return "exclude";
    case CalculationAction::IgnorePoint: return "ignore";
    case CalculationAction::PlotToHere: return "truncate";
    default: return "stop";
  }
}

// The options as a command line: "--name=value" with joined, else "--name" "value".
std::vector<std::string> command_line(const BatchOptions& o, bool joined) {
  std::vector<std::string> args = {"zentrik3"};
  auto value = [&](std::string_view name, const std::string& text) {
    if (joined) {
      args.push_back(std::string(name) + "=" + text);
    } else {
      args.emplace_back(name);
      args.push_back(text);
    }
  };
  auto text = [&](std::string_view name, const std::optional<std::string>& option) {
    if (option) value(name, *option);
  };
  auto number = [&](std::string_view name, const std::optional<int32_t>& option) {
    if (option) value(name, std::to_string(*option));
  };
  auto on_off = [&](std::string_view name, const std::optional<bool>& option) {
    if (option) value(name, *option ? "on" : "off");
  };
  text("--export", o.export_path);
  if (o.width) value("--size", std::to_string(*o.width) + "x" + std::to_string(*o.height));
  text("--title", o.title);
  text("--output-data", o.output_data);
  text("--report", o.report);
  text("--check", o.check);
  text("--setup", o.setup);
  text("--x", o.x);
  for (const std::string& y : o.y) value("--y", y);
  number("--skip", o.skip);
  number("--every", o.every);
  number("--keep", o.keep);
  text("--where", o.where);
  on_off("--stats", o.stats);
  on_off("--legend", o.legend);
  on_off("--regress", o.regress);
  if (o.on_error != CalculationAction::CancelAndClose) value("--on-error", std::string(on_error_name(o.on_error)));
  text("--config", o.config);
  if (o.how_added) value("--concatenate", o.how_added == 6 ? "lines" : "files");
  if (o.histogram) args.emplace_back("--histogram");
  number("--timeout", o.timeout);
  if (o.allow_commands) args.emplace_back("--allow-commands");
  if (o.help) args.emplace_back("--help");
  if (o.version) args.emplace_back("--version");
  args.emplace_back("--");
  for (const std::string& file : o.files) args.push_back(file);
  return args;
}

bool parse(const std::vector<std::string>& args, BatchOptions& options, std::string& error) {
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return parse_batch_options(static_cast<int>(argv.size()), argv.data(), options, error);
}

void check_bounds(const BatchOptions& o) {
  expect(o.width.has_value() == o.height.has_value(), "a size has both sides");
  if (o.width)
    expect(*o.width >= 16 && *o.width <= 16000 && *o.height >= 16 && *o.height <= 16000, "a size that can be drawn");
  for (const auto* count : {&o.skip, &o.every, &o.keep})
    expect(!*count || **count >= 0, "line counts are not negative");
  expect(!o.timeout || *o.timeout >= 1, "a time limit of a second or more");
  expect(o.how_added == 0 || o.how_added == 5 || o.how_added == 6, "files are joined one of two ways");
  if (o.help || o.version) return;
  expect(!o.batch() || !o.files.empty(), "the batch mode has a file");
  expect(!o.batch() || o.files.size() < 2 || o.how_added != 0, "several files say how they join");
  if (o.check) expect(o.check->find_first_not_of(" \t") != std::string::npos, "a formula to check is not blank");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  std::vector<std::string> args = {"zentrik3"};
  std::string_view input(reinterpret_cast<const char*>(bytes), size);
  while (!input.empty()) {
    const std::size_t nul = input.find('\0');
    args.emplace_back(input.substr(0, nul));
    input.remove_prefix(nul == std::string_view::npos ? input.size() : nul + 1);
  }

  BatchOptions first;
  std::string error;
  if (!parse(args, first, error)) {
    expect(!error.empty(), "a refused command line says why");
    return 0;
  }
  expect(error.empty(), "an accepted command line has no error");
  check_bounds(first);
  for (bool joined : {true, false}) {
    BatchOptions again;
    std::string again_error;
    expect(parse(command_line(first, joined), again, again_error), "the options written back are accepted");
    expect(fields(again) == fields(first), "the options written back parse the same");
  }
  return 0;
}
