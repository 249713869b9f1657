// Qt's file dialog as a Japanese Windows user expects it: Qt's own texts in
// Japanese and the Japanese locale for the whole application; the file list
// with Japanese dates, sizes and types in columns as wide as what they hold;
// the mapped drives in the sidebar under their letters.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTreeView>
#include <filesystem>
#include <map>

#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "ui/qt/file_dialog_look.h"

namespace pelko::ui::qt {
namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Joined(const QStringList& texts) { return texts.join(QStringLiteral(" | ")).toStdString(); }

TEST(JapaneseApplication, QtsOwnTextsAndFormatsAreJapanese) {
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), "キャンセル");
  EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms").toStdString(),
            "ファイル フォルダー");
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);
  EXPECT_EQ(QLocale().toString(QDate(2024, 3, 1), QLocale::ShortFormat).toStdString(), "2024/03/01");
}

TEST(FileDialogLook, ListsJapaneseDatesSizesAndTypesInColumnsThatFit) {
  test::TestProgramFolder folder;
  test::TempFolder place("pelko-list");
  const std::string report = "とても長い名前の報告書_二〇二四年度版_最終稿.txt";
  test::WriteHostFile(place.Sub(report), std::string(1500, 'x'));
  test::WriteHostFile(place.Sub("README"), "x");
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
        if (list->header()->sectionSize(column) < metrics.horizontalAdvance(cells.back())) cut.push_back(cells.back());
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

  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text().toStdString(), "ファイル名(&N):");
  EXPECT_TRUE(cut.isEmpty()) << "columns cut " << Joined(cut);
  ASSERT_EQ(rows.size(), 3u);
  const QString reportDate =
      QLocale().toString(QFileInfo(Q(place.Sub(report))).lastModified(), QLocale::ShortFormat);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}$")).match(reportDate).hasMatch())
      << reportDate.toStdString();
  EXPECT_EQ(Joined(rows[report].mid(1, 1) + rows[report].mid(3)), "2 KB | " + reportDate.toStdString());
  EXPECT_EQ(rows["README"][1].toStdString(), "1 KB");
  EXPECT_EQ(Joined(rows["資料"].mid(1, 2)), " | ファイル フォルダー");
  // The file types are the shared MIME database's Japanese names.
  EXPECT_FALSE(rows[report][2].contains(QStringLiteral("File")) || rows[report][2].contains(QStringLiteral("text")))
      << rows[report][2].toStdString();
}

TEST(FileDialogLook, OffersEveryMappedDriveInTheSidebarUnderItsLetter) {
  test::TestProgramFolder folder;
  test::TempFolder d("pelko-d"), q("pelko-q");
  test::ScopedEnv mapD("PELKO_DRIVE_D", d.Path());
  test::ScopedEnv mapQ("PELKO_DRIVE_Q", q.Path());
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowTheJapaneseWay(dialog);

  const QList<QUrl> places = dialog.sidebarUrls();
  ASSERT_GE(places.size(), 3);
  EXPECT_EQ(places.mid(places.size() - 3),
            (QList<QUrl>{QUrl::fromLocalFile(Q(folder.CDriveHostPath())), QUrl::fromLocalFile(Q(d.Path())),
                         QUrl::fromLocalFile(Q(q.Path()))}));
  auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
  ASSERT_NE(sidebar, nullptr);
  auto* labels = dynamic_cast<DriveLetterLabels*>(sidebar->itemDelegate());
  ASSERT_NE(labels, nullptr);
  QStringList shown;
  for (int row = 0; row < sidebar->model()->rowCount(); ++row) shown.push_back(labels->Shown(sidebar->model()->index(row, 0)));
  ASSERT_EQ(shown.size(), places.size());
  EXPECT_EQ(Joined(shown.mid(shown.size() - 3)), "C: | D: | Q:");
  EXPECT_FALSE(shown.mid(0, shown.size() - 3).contains(QStringLiteral("E:")));
}

}  // namespace
}  // namespace pelko::ui::qt
