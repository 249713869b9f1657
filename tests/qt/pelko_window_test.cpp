// The pelko executable: it refuses to start without a usable program folder
// or without a display, each time with one line; on a display (Xvfb with a
// window manager) it shows the main window titled "PELKO".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_command.h"
#include "support/temp_folder.h"

namespace pelko::test {
namespace {

const std::string kPelko = std::string(PELKO_BIN_DIR) + "/pelko";

std::size_t LineCount(const std::string& text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

TEST(PelkoStartUp, AProgramFolderWithNoWindowsFormStopsWithOneLine) {
  TempFolder root("pelko-qt-start");
  const std::string home = root.Sub("\xF0\x9F\x98\x80");  // an emoji: no CP932 form
  std::filesystem::create_directories(home);
  const CommandResult result =
      RunCommand("PELKO_HOME=" + ShellQuote(home) + " QT_QPA_PLATFORM=offscreen timeout 100 " +
                 ShellQuote(kPelko));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(LineCount(result.output), 1u) << result.output;
  EXPECT_NE(result.output.find(home), std::string::npos) << result.output;
}

TEST(PelkoStartUp, NoDisplayStopsWithOneLineNamingTheScreenshotWay) {
  TempFolder home("pelko-qt-start");
  const CommandResult result = RunCommand(
      "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PELKO_HOME=" + ShellQuote(home.Path()) +
      " timeout 100 " + ShellQuote(kPelko));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(LineCount(result.output), 1u) << result.output;
  EXPECT_NE(result.output.find("--screenshot"), std::string::npos) << result.output;
}

TEST(PelkoOnXvfb, ShowsTheMainWindowTitledPelkoWithAPicture) {
  TempFolder home("pelko-qt-shot");
  const CommandResult made =
      RunCommand("mkfs.fat -C " + ShellQuote(home.Sub("A.img")) + " 1440 -n SHOT -i 0BADF00D");
  ASSERT_EQ(made.exitCode, 0) << made.output;
  // Kept beside the test binary for a look.
  const std::string png = std::string(PELKO_QT_TEST_OUTPUT_DIR) + "/pelko-window.png";
  const std::string info = home.Sub("window.txt");
  const CommandResult shot =
      RunCommand("PELKO_HOME=" + ShellQuote(home.Path()) + " timeout 110 " +
                 ShellQuote(std::string(PELKO_SOURCE_DIR) + "/tests/qt/xvfb_screenshot.sh") + " " +
                 ShellQuote(kPelko) + " " + ShellQuote(png) + " " + ShellQuote(info));
  ASSERT_EQ(shot.exitCode, 0) << "the PELKO window never showed: " << shot.output;

  const std::string x = ReadHostFile(info);
  EXPECT_NE(x.find("_NET_WM_NAME(UTF8_STRING) = \"PELKO\""), std::string::npos) << x;
  EXPECT_NE(x.find("WM_NAME"), std::string::npos) << x;

  const CommandResult colours = RunCommand("identify -format %k " + ShellQuote(png));
  ASSERT_EQ(colours.exitCode, 0) << colours.output;
  EXPECT_GT(std::stoi(colours.output), 16) << "the screen is blank";
  // The window itself: its top-left corner sits at the screen's, the title
  // bar above the client area; that part of the picture holds text and buttons.
  const CommandResult window =
      RunCommand("convert " + ShellQuote(png) + " -crop 320x280+0+0 +repage -format %k info:");
  ASSERT_EQ(window.exitCode, 0) << window.output;
  EXPECT_GT(std::stoi(window.output), 16) << "the window area is blank";
}

}  // namespace
}  // namespace pelko::test
