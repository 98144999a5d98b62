// The answer of the Multi-File Drop Options dialog when several files are dropped:
// join their lines side by side, append them one after another, plot each in a
// window of its own, or nothing. The values are the dialog's button identifiers.
#pragma once

namespace zentrik {

enum class DropChoice {
  Cancel = 2,
  SeparatePlots = 4,      // "&Separate Plot For Each File"
  ConcatenateFiles = 5,   // "Concatenate &Files"
  ConcatenateLines = 6,   // "Concatenate &Lines", the default
};

}  // namespace zentrik
