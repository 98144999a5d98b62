#include "tollund/Installer.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "data/AtomicFile.h"
#include "persist/ConfigLocation.h"

namespace zentrik {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kConfigurationName = "zentrik.ini";
constexpr std::string_view kInstallLogName = "INSTALL.LOG";
constexpr std::string_view kObjectExtension = ".zko";

std::string lower_case(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// An entry of that name that is not a folder: the one test a recorded path must pass.
bool names_existing_entry(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::exists(path, error) && !fs::is_directory(path, error);
}

bool is_regular_file(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error);
}

std::string in_folder(const std::string& folder, std::string_view name) {
  if (!folder.empty() && folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

// The account's home folder; the root folder when the account names none.
std::string account_home_folder() {
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir && *account->pw_dir)
    return account->pw_dir;
  return "/";
}

// Replaces the file at to by a copy of from; a failed copy leaves to as it was, and a
// copy onto itself changes nothing.
bool copy_over(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  if (!in) return false;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return false;
  std::string error;
  return write_file_atomically(to, text, error);
}

// A rename replaces a file already at to in one step; between file systems the file
// is copied and the original removed only once the copy is complete.
void move_over(const std::string& from, const std::string& to) {
  if (same_file(from, to)) return;  // removing "the file already there" would remove the only copy
  std::error_code error;
  fs::rename(from, to, error);
  if (error && copy_over(from, to)) fs::remove(from, error);
}

// The path a new installation uses, after dealing with a file at the old location.
std::string choose_new_configuration_path(const std::string& install_dir, const AskOldConfiguration& ask) {
  const std::string in_installation = install_dir + "/" + std::string(kConfigurationName);
  const std::string old_path = old_location_configuration_path();
  if (!is_regular_file(old_path)) return in_installation;
  std::error_code error;
  switch (ask(old_path).value_or(OldConfigurationChoice::CopyToInstallation)) {
    case OldConfigurationChoice::MoveToInstallation:
      move_over(old_path, in_installation);
      break;
    case OldConfigurationChoice::CopyToInstallation:
      copy_over(old_path, in_installation);
      break;
    case OldConfigurationChoice::UseInPlace:
      return old_path;
    case OldConfigurationChoice::DeleteAndCreateNew:
      fs::remove(old_path, error);
      break;
  }
  return in_installation;
}

std::string first_configuration_text(const std::string& install_dir) {
  return "filters All Files|*.*|Frequency|*.frq||\n"
         "psu_files\n"
         ".frq freqency\n"
         "~end_psu_files~\n"
         "freeze_dirs 1\n"
         "plotfiledir " + install_dir + "/plotdata\n"
         "settingsdir " + install_dir + "/psu\n"
         "outputdir " + install_dir + "/plotdata\n"
         "objdir " + install_dir + "/objects\n";
}

bool has_object_extension(const std::string& name) {
  return name.size() >= kObjectExtension.size() &&
         lower_case(std::string_view(name).substr(name.size() - kObjectExtension.size())) == kObjectExtension;
}

// Every object file of the folder, listed before any is rewritten; in name order.
std::vector<std::string> sample_object_paths(const std::string& install_dir) {
  std::vector<std::string> paths;
  std::error_code error;
  for (fs::directory_iterator entry(install_dir + "/objects", error), end; !error && entry != end;
       entry.increment(error))
    if (has_object_extension(entry->path().filename().string()) && is_regular_file(entry->path().string()))
      paths.push_back(entry->path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The next piece of a line: up to and including its line feed, or kObjectPieceLength
// characters of a longer line. False at the end of the file.
bool read_piece(std::FILE* in, std::string& piece) {
  piece.clear();
  for (int c; piece.size() < kObjectPieceLength && (c = std::getc(in)) != EOF;) {
    piece += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !piece.empty();
}

std::string with_installation_folder(const std::string& piece, std::string_view shipped_prefix,
                                     const std::string& install_dir) {
  const std::size_t at = lower_case(piece).find(shipped_prefix);
  if (at == std::string::npos) return piece;
  return piece.substr(0, at) + install_dir + piece.substr(at + shipped_prefix.size());
}

// The object is replaced only when every piece was read and written.
void rewrite_object(const std::string& path, std::string_view shipped_prefix, const std::string& install_dir) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!in) return;
  ReplacingFile out(path);
  if (!out.ok()) return;
  bool written = true;
  for (std::string piece; written && read_piece(in.get(), piece);)
    written = out.write(with_installation_folder(piece, shipped_prefix, install_dir));
  if (written && !std::ferror(in.get())) out.commit();
}

}  // namespace

std::string old_location_configuration_path() {
  // The root folder is nobody's home: a home setting of "/" is as good as none.
  const char* home = std::getenv("HOME");
  const std::string folder = home && *home && std::string_view(home) != "/" ? home : account_home_folder();
  return in_folder(folder, kConfigurationName);
}

std::string settle_configuration_path(const std::string& install_dir, const AskOldConfiguration& ask) {
  const std::string stored = read_stored_configpath();
  const std::string path = names_existing_entry(stored) ? stored : choose_new_configuration_path(install_dir, ask);
  store_configpath(path);
  return path;
}

void write_first_configuration(const std::string& path, const std::string& install_dir) {
  if (names_existing_entry(path)) {
    append_install_log(install_dir, "File Overwrite: " + path + "\n");
    return;
  }
  // A folder of that name can't be replaced by a file: the write fails.
  std::string error;
  if (write_file_atomically(path, first_configuration_text(install_dir), error))
    append_install_log(install_dir, "File Create: " + path + "\n");
}

void append_install_log(const std::string& install_dir, const std::string& line) {
  const std::string log = install_dir + "/" + std::string(kInstallLogName);
  const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return;
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  ::close(fd);
}

void rewrite_sample_objects(const std::string& install_dir, std::string_view shipped_prefix) {
  if (shipped_prefix.empty() || lower_case(install_dir) == shipped_prefix) return;
  for (const std::string& path : sample_object_paths(install_dir)) rewrite_object(path, shipped_prefix, install_dir);
}

void run_installer(const std::string& install_dir, const AskOldConfiguration& ask) {
  write_first_configuration(settle_configuration_path(install_dir, ask), install_dir);
  rewrite_sample_objects(install_dir);
}

}  // namespace zentrik
