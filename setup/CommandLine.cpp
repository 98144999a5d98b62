#include "setup/CommandLine.h"

#include <cctype>
#include <string_view>

#include "setup/InstallLog.h"

namespace zentrik {
namespace {

constexpr std::size_t kLongestInstallArgument = 11;

bool ends_with_log_name(const std::string& text) {
  if (text.size() < kInstallLogName.size()) return false;
  const std::string_view end = std::string_view(text).substr(text.size() - kInstallLogName.size());
  for (std::size_t i = 0; i < end.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(end[i])) != kInstallLogName[i]) return false;
  return true;
}

}  // namespace

SetupCommand parse_setup_command(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  if (line.size() <= kLongestInstallArgument) return {};
  if (ends_with_log_name(line)) return {SetupCommand::Kind::Uninstall, line, ""};
  return {SetupCommand::Kind::Unknown, "", "Unknown command line argument: \"" + line + "\""};
}

}  // namespace zentrik
