// The installation log INSTALL.LOG in the installation folder: setup writes a line
// for every folder, file and association it creates, tollund3 appends its own, and
// the uninstaller reads the lines back and undoes them from the last to the first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik {

inline constexpr std::string_view kInstallLogName = "INSTALL.LOG";
// The uninstaller reads a longer line as several.
inline constexpr std::size_t kInstallLogLineLength = 780;

// What a line records: the text before its first ":".
inline constexpr std::string_view kMadeDir = "Made Dir";
inline constexpr std::string_view kFileCreate = "File Create";
inline constexpr std::string_view kFileCopy = "File Copy";
inline constexpr std::string_view kFileOverwrite = "File Overwrite";
// "Association: TYPE=ENTRY in MIMEAPPS": the default application set for a type in a
// mimeapps.list; the uninstaller takes ENTRY out of it again.
inline constexpr std::string_view kAssociation = "Association";

class InstallLog {
 public:
  explicit InstallLog(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // Appends text, opening the log for appending (it is made when missing, a link is
  // not followed) and closing it again. False with the system's reason in error().
  bool append(std::string_view text);
  // "WHAT: PATH\n".
  bool record(std::string_view what, const std::string& path);
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
};

struct Association {
  std::string mime_type;
  std::string entry_id;
  std::string mimeapps_list;
};
// "TYPE=ENTRY in MIMEAPPS" for the log, and back; nothing for another text.
std::string association_text(const Association& association);
std::optional<Association> parse_association(std::string_view text);

// The log's lines without their line feeds, a longer line cut into pieces of
// kInstallLogLineLength characters. Nothing with the system's reason in error when
// the log can't be read.
std::optional<std::vector<std::string>> read_install_log(const std::string& path, std::string& error);

}  // namespace zentrik
