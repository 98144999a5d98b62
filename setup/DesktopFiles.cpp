#include "setup/DesktopFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDesktopEntryGroup = "[Desktop Entry]";
constexpr std::string_view kDefaultApplicationsGroup = "[Default Applications]";
constexpr int kDatabaseToolWaitMs = 30000;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::string lower_case(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The lines of a text without their line feeds; a last line without one counts.
std::vector<std::string> lines_of(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string joined_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool is_group_header(std::string_view line) {
  const std::string_view text = trimmed(line);
  return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

// The key of a "key=value" line, without the blanks around it; empty for comments
// and lines without "=".
std::string_view key_of(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || trimmed(line).starts_with('#')) return {};
  return trimmed(line.substr(0, equals));
}

std::string_view value_of(std::string_view line) { return trimmed(line.substr(line.find('=') + 1)); }

// The lines of the first group with that header, header excluded.
std::vector<std::string> group_lines(std::string_view text, std::string_view header) {
  std::vector<std::string> group;
  bool inside = false;
  for (const std::string& line : lines_of(text)) {
    if (is_group_header(line)) {
      if (inside) break;
      inside = trimmed(line) == header;
      continue;
    }
    if (inside && !trimmed(line).empty()) group.push_back(line);
  }
  return group;
}

std::string xml_text(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default:
        // XML has no place for control characters: they become blanks.
        escaped += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return escaped;
}

std::vector<std::string> split_list(std::string_view value) {
  std::vector<std::string> items;
  for (std::size_t start = 0; start < value.size();) {
    const std::size_t end = std::min(value.find(';', start), value.size());
    if (end > start) items.emplace_back(value.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

}  // namespace

const std::vector<std::string>& main_menu_categories() {
  static const std::vector<std::string> categories = {"AudioVideo", "Development", "Education", "Game",
                                                      "Graphics",   "Network",     "Office",    "Science",
                                                      "Settings",   "System",      "Utility"};
  return categories;
}

std::optional<std::string> main_menu_category(std::string_view name) {
  const std::string wanted = lower_case(trimmed(name));
  for (const std::string& category : main_menu_categories())
    if (lower_case(category) == wanted) return category;
  return std::nullopt;
}

std::string exec_argument(std::string_view argument) {
  const bool plain = !argument.empty() && std::all_of(argument.begin(), argument.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/._+-").find(c) != std::string_view::npos;
  });
  std::string quoted = plain ? "" : "\"";
  for (char c : argument) {
    if (!plain && std::string_view("\"`$\\").find(c) != std::string_view::npos) quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';
  }
  if (!plain) quoted += '"';
  return quoted;
}

std::string desktop_entry_value(std::string_view text) {
  std::string value;
  for (char c : text) {
    switch (c) {
      case '\\': value += "\\\\"; break;
      case '\n': value += "\\n"; break;
      case '\t': value += "\\t"; break;
      case '\r': value += "\\r"; break;
      default: value += c;
    }
  }
  return value;
}

std::string desktop_entry_key(std::string_view entry, std::string_view key) {
  for (const std::string& line : group_lines(entry, kDesktopEntryGroup))
    if (key_of(line) == key) return std::string(value_of(line));
  return "";
}

std::string desktop_entry_text(std::string_view shipped_entry, const DesktopEntryKeys& keys) {
  std::vector<std::string> decided = {"Exec", "TryExec", "Categories", "MimeType", "NoDisplay"};
  if (!keys.icon.empty()) decided.push_back("Icon");
  if (!keys.name.empty()) decided.push_back("Name");
  if (!keys.comment.empty()) decided.push_back("Comment");

  std::vector<std::string> lines = group_lines(shipped_entry, kDesktopEntryGroup);
  if (lines.empty()) lines = {"Type=Application", "Name=Zentrik", "Comment=Data plotting", "Terminal=false"};
  std::erase_if(lines, [&](const std::string& line) {
    return std::find(decided.begin(), decided.end(), key_of(line)) != decided.end();
  });
  if (!keys.name.empty()) lines.push_back("Name=" + desktop_entry_value(keys.name));
  if (!keys.comment.empty()) lines.push_back("Comment=" + desktop_entry_value(keys.comment));
  lines.push_back("Exec=" + desktop_entry_value(keys.exec));
  if (!keys.try_exec.empty()) lines.push_back("TryExec=" + desktop_entry_value(keys.try_exec));
  if (!keys.icon.empty()) lines.push_back("Icon=" + desktop_entry_value(keys.icon));
  lines.push_back("Categories=" + keys.categories);
  if (!keys.mime_types.empty()) lines.push_back("MimeType=" + keys.mime_types);
  lines.push_back(std::string("NoDisplay=") + (keys.no_display ? "true" : "false"));
  lines.insert(lines.begin(), std::string(kDesktopEntryGroup));
  return joined_lines(lines);
}

std::string submenu_menu_text(std::string_view submenu, std::string_view directory_file,
                              const std::vector<std::string>& entries) {
  std::string text =
      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
      " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
      "<Menu>\n"
      "  <Name>Applications</Name>\n"
      "  <Menu>\n"
      "    <Name>" + xml_text(submenu) + "</Name>\n"
      "    <Directory>" + xml_text(directory_file) + "</Directory>\n"
      "    <Include>\n";
  for (const std::string& entry : entries) text += "      <Filename>" + xml_text(entry) + "</Filename>\n";
  text +=
      "    </Include>\n"
      "  </Menu>\n"
      "</Menu>\n";
  return text;
}

std::string submenu_directory_text(std::string_view submenu, std::string_view icon) {
  return std::string(kDesktopEntryGroup) + "\nType=Directory\nName=" + desktop_entry_value(submenu) +
         "\nIcon=" + desktop_entry_value(icon) + "\n";
}

std::string default_application(std::string_view mimeapps_text, std::string_view mime_type) {
  for (const std::string& line : group_lines(mimeapps_text, kDefaultApplicationsGroup))
    if (key_of(line) == mime_type) return std::string(value_of(line));
  return "";
}

std::string with_default_application(std::string_view mimeapps_text, std::string_view mime_type,
                                     std::string_view entry_id) {
  const std::string setting = std::string(mime_type) + "=" + std::string(entry_id) + ";";
  std::vector<std::string> lines = lines_of(mimeapps_text);
  bool inside = false;
  std::optional<std::size_t> header;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (is_group_header(lines[i])) {
      inside = trimmed(lines[i]) == kDefaultApplicationsGroup;
      if (inside && !header) header = i;
    } else if (inside && key_of(lines[i]) == mime_type) {
      lines[i] = setting;
      return joined_lines(lines);
    }
  }
  if (header) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*header) + 1, setting);
  } else {
    if (!lines.empty() && !trimmed(lines.back()).empty()) lines.emplace_back();
    lines.emplace_back(kDefaultApplicationsGroup);
    lines.push_back(setting);
  }
  return joined_lines(lines);
}

std::string without_default_application(std::string_view mimeapps_text, std::string_view mime_type,
                                        std::string_view entry_id) {
  std::vector<std::string> lines = lines_of(mimeapps_text);
  bool inside = false;
  for (auto line = lines.begin(); line != lines.end();) {
    if (is_group_header(*line)) inside = trimmed(*line) == kDefaultApplicationsGroup;
    if (!inside || key_of(*line) != mime_type) {
      ++line;
      continue;
    }
    std::vector<std::string> ids = split_list(value_of(*line));
    std::erase(ids, std::string(entry_id));
    if (ids.empty()) {
      line = lines.erase(line);
      continue;
    }
    std::string rest;
    for (const std::string& id : ids) rest += id + ";";
    *line++ = std::string(mime_type) + "=" + rest;
  }
  // A group header followed by nothing but blank lines up to the next group or the end.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (trimmed(lines[i]) != kDefaultApplicationsGroup) continue;
    std::size_t next = i + 1;
    while (next < lines.size() && trimmed(lines[next]).empty()) ++next;
    if (next == lines.size() || is_group_header(lines[next]))
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i), lines.begin() + static_cast<std::ptrdiff_t>(next));
  }
  return joined_lines(lines);
}

std::string application_name(std::string_view entry_id, const std::vector<std::string>& folders) {
  if (entry_id.find('/') != std::string_view::npos) return std::string(entry_id);
  for (const std::string& folder : folders) {
    std::ifstream in(fs::path(folder) / entry_id, std::ios::binary);
    if (!in) continue;
    std::stringstream text;
    text << in.rdbuf();
    if (std::string name = desktop_entry_key(text.str(), "Name"); !name.empty()) return name;
  }
  return std::string(entry_id);
}

void refresh_mime_database(const std::string& mime_folder, const WaitStep& wait) {
  std::error_code error;
  if (fs::is_directory(fs::path(mime_folder) / "packages", error))
    run_and_wait("update-mime-database", {mime_folder}, kDatabaseToolWaitMs, wait);
}

void refresh_desktop_database(const std::string& applications_folder, const WaitStep& wait) {
  std::error_code error;
  if (fs::is_directory(applications_folder, error))
    run_and_wait("update-desktop-database", {applications_folder}, kDatabaseToolWaitMs, wait);
}

}  // namespace zentrik
