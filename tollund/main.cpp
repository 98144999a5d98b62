// tollund3: given the installation folder, it prepares the configuration of a new
// installation (the setup program starts it so); given nothing, it is the sample
// pre-load command of the sample object and only shows what it is. It ends with
// status 0 either way, whatever went wrong.
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "tollund/Installer.h"

namespace {

using namespace zentrik;

constexpr std::string_view kSampleCaption = "Sample Program (tollund3)";
constexpr std::string_view kSampleText =
    "This message is displayed by a sample program that is automatically run when the SAMPLE_4.ZKO plot object is "
    "opened.  "
    "In a real object, this program might be querying a database or performing some other task to prepare the data "
    "file before Zentrik loads it for plotting."
    "\n\nThis program is also used by the setup program during installation to create a rudimentary Zentrik.ini "
    "file by passing it the Zentrik installation directory as a command line argument."
    "\n\nClick the OK button to continue.";

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The installation folder comes as one argument; a folder with blanks given unquoted
// comes as several and is joined again.
std::string command_line(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

// Without a display the toolkit would end the program; the windows are then left out.
bool display_available() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

// The toolkit is started only when a window is shown: an installation without an old
// configuration file needs none. Its options are not taken from the command line,
// which is the installation folder and nothing else.
void start_toolkit(std::unique_ptr<QApplication>& application) {
  static int argc = 1;
  static char name[] = "tollund3";
  static char* argv[] = {name, nullptr};
  if (!application) application = std::make_unique<QApplication>(argc, argv);
}

std::optional<OldConfigurationChoice> ask_in_dialog(const std::string& old_path) {
  QDialog dialog;
  dialog.setWindowTitle(qt(kOldConfigurationCaption));
  auto* layout = new QVBoxLayout(&dialog);
  auto* text = new QLabel(qt(kOldConfigurationText), &dialog);
  text->setTextFormat(Qt::PlainText);
  layout->addWidget(text);
  auto* choices = new QButtonGroup(&dialog);
  for (std::size_t i = 0; i < kOldConfigurationChoiceLabels.size(); ++i) {
    auto* choice = new QRadioButton(qt(kOldConfigurationChoiceLabels[i]), &dialog);
    choices->addButton(choice, static_cast<int>(i));
    layout->addWidget(choice);
  }
  choices->button(static_cast<int>(OldConfigurationChoice::MoveToInstallation))->setChecked(true);
  // Which file was found, in small print under the choices.
  auto* path = new QLabel(QString::fromStdString(old_path), &dialog);
  path->setTextFormat(Qt::PlainText);
  path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  path->setEnabled(false);
  layout->addSpacing(6);
  layout->addWidget(path);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return static_cast<OldConfigurationChoice>(choices->checkedId());
}

void show_sample_message(std::unique_ptr<QApplication>& application) {
  if (!display_available()) {
    std::fprintf(stderr, "%s: %s\n", std::string(kSampleCaption).c_str(), std::string(kSampleText).c_str());
    return;
  }
  start_toolkit(application);
  QMessageBox::information(nullptr, qt(kSampleCaption), qt(kSampleText), QMessageBox::Ok);
}

void run(int argc, char** argv) {
  std::unique_ptr<QApplication> application;
  const std::string install_dir = command_line(argc, argv);
  if (install_dir.empty()) {
    show_sample_message(application);
    return;
  }
  run_installer(install_dir, [&](const std::string& old_path) -> std::optional<OldConfigurationChoice> {
    if (!display_available()) return std::nullopt;  // as if closed: a copy is made
    start_toolkit(application);
    return ask_in_dialog(old_path);
  });
}

}  // namespace

int main(int argc, char** argv) {
  try {
    run(argc, argv);
  } catch (...) {
    // Nothing is left to do: the installer waits for the end, not for a result.
  }
  return 0;
}
