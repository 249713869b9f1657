#include "ui/qt/file_dialog_look.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

#include "platform/drive_table.h"

namespace pelko::ui::qt {
namespace {

enum Column { kSize = 1, kDate = 3 };

// Whole kilobytes, rounded up, as Explorer counts them.
QString SizeText(qint64 bytes) {
  return QLocale().toString((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

}  // namespace

QVariant JapaneseFileColumns::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (role != Qt::DisplayRole || !files || (index.column() != kSize && index.column() != kDate)) {
    return QIdentityProxyModel::data(index, role);
  }
  const QFileInfo info = files->fileInfo(mapToSource(index));
  if (info.filePath().isEmpty()) return {};  // not looked at yet: the model tells when it has
  switch (index.column()) {
    case kSize:
      return info.isDir() ? QString() : SizeText(info.size());
    case kDate:
      return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
    default:
      return QIdentityProxyModel::data(index, role);
  }
}

DriveLetterLabels::DriveLetterLabels(Drives drives, QObject* parent)
    : QStyledItemDelegate(parent), drives_(std::move(drives)) {}

QString DriveLetterLabels::Letter(const QUrl& url) const {
  for (const auto& [folder, letter] : drives_) {
    if (folder.matches(url, QUrl::StripTrailingSlash | QUrl::NormalizePathSegments)) return letter;
  }
  return {};
}

QString DriveLetterLabels::Shown(const QModelIndex& index) const {
  // The sidebar keeps each entry's address in the role after the user's.
  const QString letter = Letter(index.data(Qt::UserRole + 1).toUrl());
  return letter.isEmpty() ? index.data(Qt::DisplayRole).toString() : letter;
}

void DriveLetterLabels::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->text = Shown(index);
}

DriveLetterLabels::Drives MappedDrives() {
  DriveLetterLabels::Drives drives;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (auto folder = win::HostFolderOfDrive(letter)) {
      drives.push_back(
          {QUrl::fromLocalFile(QString::fromStdString(*folder)), QString(QChar(letter)) + ':'});
    }
  }
  return drives;
}

void ShowTheJapaneseWay(QFileDialog& dialog) {
  dialog.setProxyModel(new JapaneseFileColumns(&dialog));
  if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  }
  // Qt's own places, then the drives. The list is built afresh each time:
  // the dialog would otherwise bring back the drives of earlier sessions.
  const DriveLetterLabels::Drives drives = MappedDrives();
  QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
  for (const auto& drive : drives) {
    if (!places.contains(drive.first)) places.push_back(drive.first);
  }
  dialog.setSidebarUrls(places);
  if (auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"))) {
    sidebar->setItemDelegate(new DriveLetterLabels(drives, sidebar));
  }
}

}  // namespace pelko::ui::qt
