#include "data/download/LocalCopy.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>

namespace zentrik {
namespace {

// FNV-1a: stable across runs and builds, unlike std::hash.
uint64_t url_hash(std::string_view url) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : url) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

std::string hex16(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7f; }

void remove_double_dots(std::string& name) {
  for (std::size_t dots = name.find(".."); dots != std::string::npos; dots = name.find(".."))
    name.erase(dots, 2);
}

// Cuts at max bytes without leaving half of a UTF-8 character.
void cut_to(std::string& name, std::size_t max) {
  if (name.size() <= max) return;
  std::size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
}

}  // namespace

std::filesystem::path download_cache_folder(const DownloadSettings& settings) {
  if (!settings.cache_dir.empty()) return settings.cache_dir;
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "zentrik" / "downloads";
  const char* home = std::getenv("HOME");
  std::filesystem::path base = home && home[0] ? home : "/tmp";
  return base / ".cache" / "zentrik" / "downloads";
}

std::string local_file_name(std::string_view display_name) {
  std::string name;
  for (char c : display_name)
    if (c != '/' && c != '\\' && !is_control(static_cast<unsigned char>(c))) name += c;
  remove_double_dots(name);
  cut_to(name, kMaxLocalName);
  if (name.empty() || name == ".") return "download";
  return name;
}

std::filesystem::path local_copy_path(const std::filesystem::path& cache_folder, std::string_view url,
                                      std::string_view display_name) {
  return cache_folder / hex16(url_hash(url)) / local_file_name(display_name);
}

}  // namespace zentrik
