// The test binary's main: a QApplication prepared as pelko prepares its own,
// but only when tests run, so that listing them needs no display. Qt's own
// settings (the file dialog remembers its places and columns) go to a folder
// of this run, so no test sees what another run, or the user, left there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "qt_user.h"
#include "ui/qt/japanese_application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<QApplication> application;
  QTemporaryDir settings;
  if (!GTEST_FLAG_GET(list_tests)) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    application = std::make_unique<QApplication>(argc, argv);
    pelko::ui::qt::PrepareJapaneseApplication(*application);
    ::testing::UnitTest::GetInstance()->listeners().Append(
        new pelko::test::qt::WatchesEndWithTheTest);
  }
  return RUN_ALL_TESTS();
}
