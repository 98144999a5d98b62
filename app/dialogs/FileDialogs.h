// The open and save file dialogs of the program: a request (title, "Name|*.ext||"
// filters, folder, proposed name) becomes a QFileDialog. Tests and scripts put a
// chooser of their own in its place, so that no modal dialog waits for a person.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QString>

#include "persist/SetupFile.h"

class QWidget;

namespace zentrik {

// "All Files|*.*|Setups|*.psu;*.zko||" as Qt's filter list: "All Files (*.*);;Setups (*.psu *.zko)".
QString qt_file_filter(const std::string& filter);

enum class FileDialogKind { Open, Save };

// Shows the dialog; the chosen path, or nothing on Cancel. An open dialog takes only
// an existing file; a save dialog adds the default extension to a name without one
// and asks before overwriting when the request says so.
using FileChooser = std::function<std::optional<std::string>(const FileDialogRequest&, FileDialogKind)>;

// The chooser every dialog uses unless one is set: the toolkit's file dialog.
std::optional<std::string> choose_file_with_dialog(QWidget* parent, const FileDialogRequest& request,
                                                   FileDialogKind kind);

// The chooser in use; set_file_chooser replaces it (an empty one restores the dialog).
std::optional<std::string> choose_file(QWidget* parent, const FileDialogRequest& request, FileDialogKind kind);
void set_file_chooser(FileChooser chooser);

}  // namespace zentrik
