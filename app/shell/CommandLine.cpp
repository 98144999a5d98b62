#include "app/shell/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "data/Loader.h"

namespace zentrik {

namespace {

bool is_blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool is_url(std::string_view name) {
  auto starts = [&](std::string_view prefix) {
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
  };
  return starts("http://") || starts("https://");
}

std::string absolute_name(const std::string& name) {
  if (name.empty() || name.front() == '/' || is_url(name)) return name;
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(name, error);
  if (error) return name;
  return full.lexically_normal().string();
}

}  // namespace

std::vector<std::string> command_line_names(std::string_view text) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at < text.size() && is_blank(text[at])) ++at;
  while (at < text.size()) {
    std::size_t end;
    std::string_view name;
    if (text[at] == '"') {
      end = text.find('"', at + 1);
      if (end == std::string_view::npos) end = text.size();
      name = text.substr(at + 1, end - at - 1);
      if (end < text.size()) ++end;  // past the closing quote
    } else {
      end = text.find(' ', at);
      if (end == std::string_view::npos) end = text.size();
      name = text.substr(at, end - at);
    }
    if (!name.empty()) names.emplace_back(name);
    at = end;
    while (at < text.size() && is_blank(text[at])) ++at;
  }
  return names;
}

bool file_name_fits(const std::string& name, Ui& ui) {
  if (name.size() <= kMaxFileName) return true;
  ui.showError("The filename\n\n" + name + "\n\nis too long (" + std::to_string(kMaxFileName) + " characters max).",
               "Filename too long!");
  return false;
}

std::string command_line_text(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (!argv[i] || !*argv[i]) continue;
    std::string name = absolute_name(argv[i]);
    if (!text.empty()) text += ' ';
    if (std::any_of(name.begin(), name.end(), is_blank))
      text += '"' + name + '"';
    else
      text += name;
  }
  return text;
}

}  // namespace zentrik
