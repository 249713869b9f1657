// Qt's file dialog as a Japanese Windows user expects it. Qt's Japanese
// translation names the buttons, headings and types, but the file list takes
// its dates and sizes from the host's locale, so the list shows them here:
// dates as "2024/03/01 9:05", sizes in whole kilobytes ("2 KB"). Its columns
// are as wide as what they hold, and the sidebar offers every mapped drive
// under its letter.
#pragma once

#include <QIdentityProxyModel>
#include <QList>
#include <QStyledItemDelegate>
#include <QUrl>
#include <utility>

class QFileDialog;

namespace pelko::ui::qt {

// The file list's size and date columns in Japanese.
class JapaneseFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override;
};

// Shows a sidebar entry of a drive's folder as its letter ("C:").
class DriveLetterLabels : public QStyledItemDelegate {
 public:
  using Drives = QList<std::pair<QUrl, QString>>;
  DriveLetterLabels(Drives drives, QObject* parent);
  // What the sidebar entry at `index` reads.
  QString Shown(const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  QString Letter(const QUrl& url) const;  // empty when `url` is no drive

  Drives drives_;
};

// The mapped drives C: to Z: as (host folder, "X:").
DriveLetterLabels::Drives MappedDrives();

// Dresses a file dialog that uses Qt's own widgets; call before it shows.
void ShowTheJapaneseWay(QFileDialog& dialog);

}  // namespace pelko::ui::qt
