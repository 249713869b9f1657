// Qt's file dialog as a Japanese Windows user expects it: Qt's own texts in
// Japanese and the Japanese locale for the whole application; the file list
// with Japanese dates, sizes and types in columns as wide as what they hold;
// the mapped drives in the sidebar under their letters.
#include "ui/qt/file_dialog_look.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <filesystem>
#include <map>

#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"

namespace pelko::ui::qt {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Joined(const QStringList& texts) {
  return texts.join(QStringLiteral(" | ")).toStdString();
}

TEST(JapaneseApplication, QtsOwnTextsAndFormatsAreJapanese) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_EQ(
      QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms")
          .toStdString(),
      "ファイル フォルダー");
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);
  EXPECT_EQ(QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat).toStdString(),
            "2024/03/01");
}

TEST(FileDialogLook, ListsJapaneseDatesSizesAndTypesInColumnsThatFit) {
  test::TestProgramFolder folder;
  test::TempFolder place("pelko-list");
  const std::string report = "とても長い名前の報告書_二〇二四年度版_最終稿.txt";
  test::WriteHostFile(place.Sub(report), std::string(1500, 'x'));
  std::filesystem::create_directories(place.Sub("資料"));

  QFileDialog dialog(nullptr, QStringLiteral("開く"), Q(place.Path()));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setViewMode(QFileDialog::Detail);
  ShowTheJapaneseWay(dialog);
  auto* files = dialog.findChild<QFileSystemModel*>();
  auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(files, nullptr);
  ASSERT_NE(list, nullptr);
  bool loaded = false;
  QObject::connect(files, &QFileSystemModel::directoryLoaded, &dialog, [&](const QString& path) {
    loaded |= QFileInfo(path) == QFileInfo(Q(place.Path()));
  });
  dialog.show();
  while (!loaded) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

  // The rows as shown, and the columns that cut what they hold.
  std::map<std::string, QStringList> rows;
  QStringList cut;
  auto look = [&] {
    rows.clear();
    cut.clear();
    const QModelIndex root = list->rootIndex();
    const QFontMetrics metrics(list->font());
    for (int row = 0; row < list->model()->rowCount(root); ++row) {
      QStringList cells;
      for (int column = 0; column < 4; ++column) {
        cells.push_back(list->model()->index(row, column, root).data().toString());
        if (list->header()->sectionSize(column) < metrics.horizontalAdvance(cells.back()))
          cut.push_back(cells.back());
      }
      rows[cells.front().toStdString()] = cells;
    }
  };
  // Once the rows are in, the columns take their widths when the events
  // queued meanwhile have run: a few rounds of the event loop, not a time.
  look();
  for (int round = 0; round < 20 && !cut.isEmpty(); ++round) {
    QCoreApplication::processEvents();
    look();
  }

  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text().toStdString(),
            "ファイル名(&N):");
  EXPECT_TRUE(cut.isEmpty()) << "columns cut " << Joined(cut);
  ASSERT_EQ(rows.size(), 2u);
  // 1500 bytes are 2 KB; the date reads like "2024/03/01 9:05"; the file's
  // type is the MIME database's Japanese name, the folder's Explorer's.
  const QDateTime written = QFileInfo(Q(place.Sub(report))).lastModified();
  EXPECT_EQ(Joined(rows[report].mid(1, 1) + rows[report].mid(3)),
            "2 KB | " + written.toString(QStringLiteral("yyyy/MM/dd H:mm")).toStdString());
  EXPECT_FALSE(rows[report][2].contains(QStringLiteral("text"))) << rows[report][2].toStdString();
  EXPECT_EQ(Joined(rows["資料"].mid(1, 2)), " | ファイル フォルダー");
}

TEST(FileDialogLook, OffersEveryMappedDriveInTheSidebarUnderItsLetter) {
  test::TestProgramFolder folder;
  test::TempFolder d("pelko-d"), q("pelko-q");
  test::ScopedEnv mapD("PELKO_DRIVE_D", d.Path());
  test::ScopedEnv mapQ("PELKO_DRIVE_Q", q.Path());
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowTheJapaneseWay(dialog);

  // Qt's two places (the computer, the home folder), then the drives.
  const QList<QUrl> places = dialog.sidebarUrls();
  EXPECT_EQ(places.mid(2),
            (QList<QUrl>{QUrl::fromLocalFile(Q(folder.CDriveHostPath())),
                         QUrl::fromLocalFile(Q(d.Path())), QUrl::fromLocalFile(Q(q.Path()))}));
  auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
  auto* labels = dynamic_cast<DriveLetterLabels*>(sidebar->itemDelegate());
  ASSERT_NE(labels, nullptr);
  QStringList shown;
  for (int row = 0; row < sidebar->model()->rowCount(); ++row)
    shown.push_back(labels->Shown(sidebar->model()->index(row, 0)));
  EXPECT_EQ(Joined(shown.mid(2)), "C: | D: | Q:");
}

}  // namespace
}  // namespace pelko::ui::qt
