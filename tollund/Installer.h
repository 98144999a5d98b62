// The installer mode of tollund3: where the configuration file lives after an
// installation, the first Zentrik.ini, tollund3's lines in INSTALL.LOG and the sample
// plot objects moved to the real installation folder. Plain C++: tollund3's main asks
// the one question through a Qt dialog, the tests answer it themselves.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zentrik {

// The folder the sample objects name in their paths: they are written for a default
// installation and rewritten for any other one. Compared without regard to case.
inline constexpr std::string_view kShippedInstallationPrefix = "/opt/zentrik3";

// "Use Existing Configuration File?": what to do with a configuration file that an
// older version left in the home folder.
enum class OldConfigurationChoice {
  MoveToInstallation = 0,  // preselected
  CopyToInstallation = 1,  // also what closing the dialog without OK means
  UseInPlace = 2,
  DeleteAndCreateNew = 3,
};

inline constexpr std::string_view kOldConfigurationCaption = "Use Existing Configuration File?";
inline constexpr std::string_view kOldConfigurationText =
    "A Zentrik configuration file was found in your home folder where previous versions of Zentrik used to put "
    "it. \n\nPlease choose one of the following options:";
// The choices' labels, in the order of OldConfigurationChoice.
inline constexpr std::array<std::string_view, 4> kOldConfigurationChoiceLabels = {
    "Move the file to the new installation folder", "Create a copy of the file in the new installation folder",
    "Use the file and leave it where it is", "Delete the file and create a new one"};

// Shows the question for the file at old_path; no choice when it was closed without OK.
using AskOldConfiguration = std::function<std::optional<OldConfigurationChoice>(const std::string& old_path)>;

// The file older versions kept: zentrik.ini in $HOME, or in the home folder of the
// user's account when $HOME is empty or the root folder.
std::string old_location_configuration_path();

// Decides where the configuration file lives for an installation into install_dir
// and records it as "Configpath". A recorded path naming an existing file stays;
// otherwise a file at the old location is moved, copied, used or deleted as ask
// answers (asked only when there is one), and a new file goes into install_dir.
std::string settle_configuration_path(const std::string& install_dir, const AskOldConfiguration& ask);

// Leaves an existing configuration file as it is and logs "File Overwrite:"; else
// writes the first configuration for install_dir and logs "File Create:". Nothing is
// logged when the file can be neither read nor created.
void write_first_configuration(const std::string& path, const std::string& install_dir);

// Appends one line to install_dir's INSTALL.LOG; a log that can't be opened is skipped.
void append_install_log(const std::string& install_dir, const std::string& line);

// Rewrites the shipped installation prefix (in lower case) in the plot objects of
// install_dir's "objects" folder (*.zko in any case) to install_dir, the first
// occurrence in each piece of at most kObjectPieceLength characters. An installation
// into the shipped prefix itself leaves them as they are, as does any failure to read
// or write one.
inline constexpr std::size_t kObjectPieceLength = 387;
void rewrite_sample_objects(const std::string& install_dir,
                            std::string_view shipped_prefix = kShippedInstallationPrefix);

// The whole installer mode, in the order above.
void run_installer(const std::string& install_dir, const AskOldConfiguration& ask);

}  // namespace zentrik
