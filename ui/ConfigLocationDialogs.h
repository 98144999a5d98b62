// The two dialogs of choosing where the configuration file lives, as the start-up
// asks them: what to do with a configuration file found at the old default place,
// and which path to use for a new one.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zentrik {

// "Use Existing Configuration File?"
enum class ExistingConfigurationChoice {
  MoveToNewLocation = 0,  // the default
  CopyToNewLocation = 1,
  UseInPlace = 2,
  DeleteAndChooseNew = 3,
};

inline constexpr std::string_view kExistingConfigurationCaption = "Use Existing Configuration File?";
inline constexpr std::string_view kExistingConfigurationText =
    "A Zentrik configuration file was found in your home folder. \n\nWould you like to . . .";
// The choices' labels, in the order of ExistingConfigurationChoice.
inline constexpr std::array<std::string_view, 4> kExistingConfigurationChoiceLabels = {
    "Use the file but move it to a new location", "Create and use a copy of the file in a new location",
    "Use the file and leave it where it is", "Delete the file and specify a different location"};

struct ExistingConfigurationRequest {
  std::string old_path;  // the file that was found
  ExistingConfigurationChoice choice = ExistingConfigurationChoice::MoveToNewLocation;
};

// "Enter Configuration Filename"
inline constexpr std::string_view kConfigurationFilenameCaption = "Enter Configuration Filename";
inline constexpr std::string_view kConfigurationFilenameText =
    "Please enter a path and filename for the Zentrik configuration file:";
// "&Browse . . ." chooses a folder and puts the folder, "/" and kConfigurationFileName
// into the path field.
inline constexpr std::string_view kConfigurationBrowseLabel = "&Browse . . .";
inline constexpr std::string_view kConfigurationBrowseTitle = "Choose the configuration file destination folder";
inline constexpr std::string_view kConfigurationFileName = "zentrik.ini";

struct ConfigurationFilenameRequest {
  std::string path;  // shown in the field when the dialog opens; what was entered on OK
};

}  // namespace zentrik
