// The test binary's main: a QApplication prepared as pelko prepares its own,
// but only when tests run, so that listing them needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "qt_user.h"
#include "ui/qt/japanese_application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<QApplication> application;
  if (!GTEST_FLAG_GET(list_tests)) {
    application = std::make_unique<QApplication>(argc, argv);
    pelko::ui::qt::PrepareJapaneseApplication(*application);
    ::testing::UnitTest::GetInstance()->listeners().Append(new pelko::test::qt::WatchesEndWithTheTest);
  }
  return RUN_ALL_TESTS();
}
