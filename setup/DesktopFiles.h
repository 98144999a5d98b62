// The texts of the freedesktop files an installation writes (desktop entries, a
// submenu's menu and directory files), the default application in mimeapps.list,
// and the refresh of the desktop's databases afterwards. Plain text work for the
// installer's registration and shortcuts and for the uninstaller.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/ChildProcess.h"

namespace zentrik {

// The applications menu's main categories: the "folders" that exist in every menu.
const std::vector<std::string>& main_menu_categories();
// The category of that name in any case, or nothing.
std::optional<std::string> main_menu_category(std::string_view name);

// One argument of an Exec line: quoted when it holds anything but letters, digits
// and "/._+-", with the characters the quotes keep special escaped, and every "%"
// doubled. Not yet escaped as a desktop entry value (see desktop_entry_value).
std::string exec_argument(std::string_view argument);
// A string value as a desktop entry stores it: "\\", line feeds, tabs and carriage
// returns escaped.
std::string desktop_entry_value(std::string_view text);

// The keys setup decides in a desktop entry; the other keys come from the shipped
// entry as they are.
struct DesktopEntryKeys {
  std::string exec;        // the whole Exec line, arguments already quoted
  std::string try_exec;    // the program's path; empty: no TryExec line
  std::string icon;        // empty: the shipped Icon stays
  std::string categories;  // "A;B;"
  std::string mime_types;  // "a/b;c/d;"; empty: no MimeType line
  bool no_display = false;
  std::string name;        // empty: the shipped Name stays
  std::string comment;     // empty: the shipped Comment stays
};
// The value of key in a desktop entry's [Desktop Entry] group; empty when it has none.
std::string desktop_entry_key(std::string_view entry, std::string_view key);

// The shipped entry's [Desktop Entry] group (or a minimal one naming Zentrik when it
// is empty or has none) with the decided keys set; other groups are dropped.
std::string desktop_entry_text(std::string_view shipped_entry, const DesktopEntryKeys& keys);

// The menu file that puts the named entries into a submenu of the applications menu,
// and the directory file that names the submenu.
std::string submenu_menu_text(std::string_view submenu, std::string_view directory_file,
                              const std::vector<std::string>& entries);
std::string submenu_directory_text(std::string_view submenu, std::string_view icon);

// [Default Applications] in a mimeapps.list: the value recorded for mime_type
// (empty when none), the text with it set, and the text with entry_id taken out of
// it (the key goes when nothing is left, the group when it is left empty). Other
// lines stay as they were.
std::string default_application(std::string_view mimeapps_text, std::string_view mime_type);
std::string with_default_application(std::string_view mimeapps_text, std::string_view mime_type,
                                     std::string_view entry_id);
std::string without_default_application(std::string_view mimeapps_text, std::string_view mime_type,
                                        std::string_view entry_id);

// The Name of the desktop entry id in the first of folders that has it; the id
// itself when none does.
std::string application_name(std::string_view entry_id, const std::vector<std::string>& folders);

// update-mime-database on the MIME folder (when it has its packages/ folder) and
// update-desktop-database on the applications folder (when it exists), each only
// when it is on PATH and waited for at most 30 seconds through wait. Neither missing
// tools nor their failures are errors: the desktop then finds the files later.
void refresh_mime_database(const std::string& mime_folder, const WaitStep& wait);
void refresh_desktop_database(const std::string& applications_folder, const WaitStep& wait);

}  // namespace zentrik
