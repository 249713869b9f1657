// The main window in the headless host against real floppy images: the
// information panel, the button switch and the command table.
#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/archiver_app.h"
#include "app/disk_info_panel.h"
#include "support/floppy_images.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/headless/headless_host.h"

namespace pelko::app {
namespace {

using test::MakeFloppyImage;
using ui::headless::HeadlessHost;
using ui::headless::HeadlessWindow;
using ui::headless::ScriptedUser;

std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

constexpr int kSevenButtons[] = {1000, 1007, 1001, 1002, 1004, 1009, 2};

class MainDialogTest : public ::testing::Test {
 protected:
  // Runs the main window until the script is done; the transcript is kept.
  int Run(ScriptedUser& user, MainCommands commands = {}) {
    user.SetMainWindow(templates::IDD_MAIN);
    HeadlessHost host(user);
    host.WatchText(templates::IDD_MAIN, IDC_DISK_INFO);
    CMainDialog mainWindow(std::move(commands));
    return mainWindow.DoModal();
  }
  std::string Image(const char* name = "A.img") const { return home_.Sub(name); }

  test::TempFolder home_{"pelko-main"};
  test::ScopedEnv programFolder_{"PELKO_HOME", home_.Path()};
  test::ScopedEnv driveA_{"PELKO_DRIVE_A", home_.Sub("A.img")};
};

TEST_F(MainDialogTest, PanelDescribesALabelledFloppy) {
  MakeFloppyImage(Image(), "BACKUP1", 0x1234ABCD);
  ScriptedUser user;
  user.ExpectText(1003, J("ボリュームラベル： BACKUP1\nシリアルナンバー： 305441741\n"
                          "空きディスク容量： 362496/362496(ﾊﾞｲﾄ)\nファイルシステム： FAT\n"));
  Run(user);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript()[1],
            "text 1003: ボリュームラベル： BACKUP1\\nシリアルナンバー： 305441741\\n"
            "空きディスク容量： 362496/362496(ﾊﾞｲﾄ)\\nファイルシステム： FAT\\n");
}

TEST_F(MainDialogTest, FreeSpaceIsTheProductOfTheDrivesOwnCounts) {
  MakeFloppyImage(Image(), "DATA", 1);
  test::WriteHostFile(home_.Sub("three.bin"), std::string(3000, 'x'));  // three 1024-byte clusters
  ASSERT_EQ(test::RunCommand("mcopy -i " + test::ShellQuote(Image()) + " " +
                             test::ShellQuote(home_.Sub("three.bin")) + " ::/THREE.BIN")
                .exitCode,
            0);
  EXPECT_EQ(DiskInfoText(), J("ボリュームラベル： DATA\nシリアルナンバー： 1\n"
                              "空きディスク容量： 359424/362496(ﾊﾞｲﾄ)\nファイルシステム： FAT\n"));
}

TEST_F(MainDialogTest, AnUnlabelledFloppyLeavesTheLabelLineEmpty) {
  MakeFloppyImage(Image(), "", 0x00000010);
  std::string text = DiskInfoText();
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), J("ボリュームラベル： \n"));
  EXPECT_NE(text.find(J("シリアルナンバー： 16\n")), std::string::npos);
}

TEST_F(MainDialogTest, ASerialWithItsHighBitSetIsNegative) {
  MakeFloppyImage(Image(), "NEG", 0xFFFFFFFE);
  EXPECT_NE(DiskInfoText().find(J("シリアルナンバー： -2\n")), std::string::npos) << DiskInfoText();
}

TEST_F(MainDialogTest, NoDiskSaysSoAndTheWindowStillOpens) {
  ScriptedUser user;
  user.ExpectText(1003, J("ディスクがありません。"));
  EXPECT_EQ(Run(user), ui::IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript(),
            (std::vector<std::string>{"dialog 102 open", "text 1003: ディスクがありません。",
                                      "dialog 102 closed CANCEL"}));
}

TEST(DiskInfoFormat, FiguresAreSignedThirtyTwoBitProducts) {
  win::VolumeInformation volume{"BIG", 0x80000000u, "FAT"};
  win::DiskFreeSpace space{128, 512, 65535, 65535};  // 4 294 901 760 bytes wraps to -65536
  EXPECT_EQ(FormatDiskInfo(volume, space),
            J("ボリュームラベル： BIG\nシリアルナンバー： -2147483648\n"
              "空きディスク容量： -65536/-65536(ﾊﾞｲﾄ)\nファイルシステム： FAT\n"));
  win::DiskFreeSpace wraps{64, 512, 131072, 131073};  // 2^32 wraps to 0, one more cluster to 32768
  EXPECT_NE(FormatDiskInfo(volume, wraps).find("0/32768("), std::string::npos);
}

TEST_F(MainDialogTest, TheWindowOpensAsPelkoWithItsIconAndFocusOnRefresh) {
  ScriptedUser user;
  user.InDialog([](ui::Dialog& dialog) {
    EXPECT_EQ(dialog.GetWindowText(), "PELKO");
    auto* window = static_cast<HeadlessWindow*>(dialog.Window());
    EXPECT_EQ(window->Icon(), templates::IDI_MAIN);
    EXPECT_EQ(window->FocusedControl(), 1004);
  });
  Run(user);
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST_F(MainDialogTest, ChangingTheFloppyShowsOnlyAfterRefresh) {
  MakeFloppyImage(Image(), "FIRST", 1);
  MakeFloppyImage(Image("second.img"), "SECOND", 2);
  std::string first = DiskInfoText();
  ScriptedUser user;
  user.Run([&] { std::filesystem::rename(Image("second.img"), Image()); })
      .Press(1009)  // an unwired command refreshes nothing
      .ExpectText(1003, first)
      .Press(1004)
      .InDialog([](ui::Dialog& dialog) {
        EXPECT_NE(dialog.GetDlgItemText(1003).find("SECOND"), std::string::npos);
      })
      .Run([&] { std::filesystem::remove(Image()); })
      .Press(1004)
      .ExpectText(1003, J("ディスクがありません。"));
  Run(user);
  EXPECT_TRUE(user.Done()) << user.Report();
  ASSERT_EQ(user.Transcript().size(), 5u) << user.Report();
  EXPECT_NE(user.Transcript()[2].find("SECOND"), std::string::npos);
  EXPECT_EQ(user.Transcript()[3], "text 1003: ディスクがありません。");
}

TEST_F(MainDialogTest, EnableMainButtonsSwitchesTheSevenButtonsAndNeverThePanel) {
  ScriptedUser user;
  user.InDialog([](ui::Dialog& dialog) {
        auto& mainWindow = static_cast<CMainDialog&>(dialog);
        mainWindow.EnableMainButtons(false);
        for (int id : kSevenButtons) EXPECT_FALSE(dialog.IsDlgItemEnabled(id)) << id;
        EXPECT_TRUE(dialog.IsDlgItemEnabled(1003));
        mainWindow.EnableMainButtons(true);
        for (int id : kSevenButtons) EXPECT_TRUE(dialog.IsDlgItemEnabled(id)) << id;
        EXPECT_TRUE(dialog.IsDlgItemEnabled(1003));
        mainWindow.EnableMainButtons(false);
      })
      .Press(2);
  Run(user);
  ASSERT_TRUE(user.Failure());
  EXPECT_EQ(*user.Failure(), "press 2: control 2 of dialog 102 is disabled");
}

TEST_F(MainDialogTest, EachButtonRunsItsCommandWithTheMainWindow) {
  std::vector<std::string> ran;
  MainCommands commands;
  auto record = [&](const char* name) {
    return [&ran, name](shell::MainWindow& mainWindow) {
      auto* dialog = dynamic_cast<CMainDialog*>(&mainWindow);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->TemplateId(), 102);
      ran.push_back(name);
    };
  };
  commands.associate = record("associate");
  commands.volumeLabel = record("volumeLabel");
  commands.compress = record("compress");
  commands.expand = record("expand");
  commands.options = record("options");
  ScriptedUser user;
  for (int id : {1001, 1002, 1000, 1007, 1009}) user.Press(id);
  Run(user, std::move(commands));
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(
      ran, (std::vector<std::string>{"compress", "expand", "associate", "volumeLabel", "options"}));
}

TEST_F(MainDialogTest, UnwiredCommandsDoNothing) {
  ScriptedUser user;
  for (int id : {1001, 1002, 1000, 1007, 1009}) user.Press(id);
  Run(user);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(user.Transcript().size(), 3u) << user.Report();
}

TEST_F(MainDialogTest, QuitClosesTheWindowAndEnterPressesTheFocusedButton) {
  MakeFloppyImage(Image(), "ENTER", 3);
  ScriptedUser user;
  user.Run([&] { std::filesystem::remove(Image()); })
      .Ok()  // Enter on 1004: a refresh, not the end
      .ExpectText(1003, J("ディスクがありません。"))
      .Press(2);
  EXPECT_EQ(Run(user), ui::IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
}

TEST_F(MainDialogTest, StartUpRunsTheMainWindowAndNeverReportsSuccess) {
  std::vector<int> ran;
  MainCommands commands;
  commands.compress = [&](shell::MainWindow&) { ran.push_back(1001); };
  ScriptedUser user;
  user.SetMainWindow(templates::IDD_MAIN);
  user.Press(1001).Press(2);
  HeadlessHost host(user);
  CArchiverApp app(commands);
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(app.MainWindowResult(), ui::IDCANCEL);
  EXPECT_TRUE(user.Done()) << user.Report();
  EXPECT_EQ(ran, std::vector<int>{1001});
}

}  // namespace
}  // namespace pelko::app
