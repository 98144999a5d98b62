// The one-field prompt of the main window's commands ("Date Filename", "Download
// URL", "Default Histogram Bins"): a caption, a label and a text field, which
// becomes an editable drop-down when entries are offered (the recent URLs). Tests
// and scripts answer prompts through a prompter of their own.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zentrik {

class PromptDialog : public QDialog {
 public:
  PromptDialog(QWidget* parent, const QString& caption, const QString& label, const QString& initial,
               const QStringList& offered = {});

  QString text() const;
  void setText(const QString& text);
  // The field typed into: the drop-down's editor when entries are offered.
  QLineEdit* field() const { return field_; }
  QComboBox* offeredEntries() const { return combo_; }  // nullptr without offered entries
  QLabel* label() const { return label_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QLabel* label_ = nullptr;
  QComboBox* combo_ = nullptr;
  QLineEdit* field_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

struct PromptRequest {
  std::string caption;
  std::string label;
  std::string initial;
  std::vector<std::string> offered;
};

// Answers a prompt in place of the dialog: the text for OK, nothing for Cancel.
using TextPrompter = std::function<std::optional<std::string>(const PromptRequest&)>;

// Shows the prompt with initial in its field (selected, so typing replaces it); the
// text on OK, nothing on Cancel. offered (when not empty) fills the drop-down.
std::optional<std::string> prompt_for_text(QWidget* parent, const std::string& caption, const std::string& label,
                                           const std::string& initial, const std::vector<std::string>& offered = {});

// Puts a prompter in the dialog's place for every later prompt; an empty one
// restores the dialog.
void set_text_prompter(TextPrompter prompter);

}  // namespace zentrik
