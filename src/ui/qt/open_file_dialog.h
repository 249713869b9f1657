// The open-file dialog of the Qt host: Qt's own file dialog (in Japanese,
// with the dialog font) over the host's folders; the chosen name comes back
// in its drive-letter form. A name that lies under no drive, or that has no
// CP932 form, is refused with a message and the dialog opens again.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace pelko::ui::qt {

class OpenFileDialog {
 public:
  // The drive-letter path (CP932) of the file the user chose; nullopt when cancelled.
  std::optional<std::string> Ask(QWidget* parent);

  // The message shown for a host path with no drive-letter form.
  static QString NoWindowsFormMessage(const QString& hostPath);

 private:
  QString folder_;  // where the dialog opens: the folder of the last choice
};

}  // namespace pelko::ui::qt
