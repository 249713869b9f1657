#include "ui/qt/open_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/drive_table.h"
#include "platform/program_folder.h"
#include "ui/qt/file_dialog_look.h"
#include "ui/qt/message_box.h"
#include "ui/qt/qt_text.h"

namespace pelko::ui::qt {

QString OpenFileDialog::NoWindowsFormMessage(const QString& hostPath) {
  return hostPath + QStringLiteral(
                        "\nこのファイルはドライブ文字のパスで表せないため選べません。\n"
                        "割り当てられたドライブの中のファイルを選んでください。");
}

std::optional<std::string> OpenFileDialog::Ask(QWidget* parent) {
  if (folder_.isEmpty()) folder_ = QDir::currentPath();
  for (;;) {
    QFileDialog dialog(parent, QStringLiteral("開く"), folder_);
    dialog.setObjectName(QStringLiteral("open-file"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Existence is the framework's question (it may offer to create the file).
    dialog.setFileMode(QFileDialog::AnyFile);
    ShowTheJapaneseWay(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = QDir::cleanPath(dialog.selectedFiles().front());
    folder_ = QFileInfo(chosen).absolutePath();
    const QByteArray hostPath = chosen.toUtf8();
    if (auto windowsPath = win::ToWindowsPath(
            std::string_view(hostPath.constData(), static_cast<std::size_t>(hostPath.size())))) {
      return windowsPath;
    }
    RunMessageBox(parent, NoWindowsFormMessage(chosen), FromCp932(win::ApplicationTitle()),
                  win::MessageBoxButtons::Ok, win::MessageBoxIcon::Warning);
  }
}

}  // namespace pelko::ui::qt
