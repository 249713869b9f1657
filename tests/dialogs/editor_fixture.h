// What every editor test stands on: a program folder of its own (C:\PELKO\ on
// a temporary drive C:), a real FAT image as the floppy in drive A:, and the
// headless host with a scripted user. The floppy's label is judged by mtools,
// not by our own FAT code.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/main_dialog.h"
#include "dialogs/editor_commands.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"
#include "ui/headless/scripted_user.h"

namespace pelko::dialogs::testing {

using win::DialogResult;
using win::MessageBoxButtons;

// The tool's texts are CP932; the tests are written in UTF-8.
inline std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

// The items of a list or combo box, top to bottom.
inline std::vector<std::string> Items(const ui::ListControl& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.GetCount(); ++i) items.push_back(list.GetItemText(i));
  return items;
}

class EditorTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kSerial = 0x1234ABCD;

  // A blank 1.44M floppy made by mformat; "" gives an unlabelled one. A
  // write-protected floppy is an image file nobody may write.
  void InsertFloppy(const std::string& label, bool writeProtected = false) {
    std::string image = home_.FloppyImageHostPath();
    std::string command = "rm -f " + test::ShellQuote(image) +
                          " && mformat -C -f 1440 -N 1234ABCD -i " + test::ShellQuote(image);
    if (!label.empty()) command += " -v " + test::ShellQuote(label);
    command += " ::";
    test::CommandResult made = test::RunCommand(command);
    ASSERT_EQ(made.exitCode, 0) << made.output;
    if (writeProtected) {
      std::filesystem::permissions(image, std::filesystem::perms::owner_read |
                                              std::filesystem::perms::group_read |
                                              std::filesystem::perms::others_read);
    }
  }

  // The floppy's label as mtools reads it; "" when it has none.
  std::string FloppyLabel() const {
    test::CommandResult read =
        test::RunCommand("mlabel -s -i " + test::ShellQuote(home_.FloppyImageHostPath()) + " ::");
    EXPECT_EQ(read.exitCode, 0) << read.output;
    constexpr std::string_view kPrefix = " Volume label is ";
    std::size_t at = read.output.find(kPrefix);
    if (at == std::string::npos) return std::string();
    std::string label = read.output.substr(at + kPrefix.size());
    while (!label.empty() && (label.back() == '\n' || label.back() == ' ')) label.pop_back();
    return label;
  }

  // fsck.fat's verdict on the floppy after the tool has written it.
  void ExpectFloppySound() const {
    test::CommandResult check =
        test::RunCommand("fsck.fat -n " + test::ShellQuote(home_.FloppyImageHostPath()));
    EXPECT_EQ(check.exitCode, 0) << check.output;
  }

  // Files of the program folder (UTF-8 names), the floppy image left out.
  std::vector<std::string> StoredFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(home_.HostPath())) {
      std::string name = entry.path().filename().string();
      if (name != "A.img") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void WriteStored(const std::string& utf8Name, std::string_view bytes) const {
    test::WriteHostFile(home_.HostPathOf(utf8Name), bytes);
  }
  std::optional<std::string> ReadStored(const std::string& utf8Name) const {
    std::string path = home_.HostPathOf(utf8Name);
    if (!std::filesystem::is_regular_file(path)) return std::nullopt;
    return test::ReadHostFile(path);
  }
  // A folder in place of a stored file: creating that file fails.
  void BlockStored(const std::string& utf8Name) const {
    std::filesystem::create_directory(home_.HostPathOf(utf8Name));
  }
  void UnblockStored(const std::string& utf8Name) const {
    std::filesystem::remove(home_.HostPathOf(utf8Name));
  }

  // A folder or file on drive C: (UTF-8 path relative to its root).
  void MakeFolderOnC(const std::string& utf8Path) const {
    std::filesystem::create_directories(home_.CDriveHostPath() + "/" + utf8Path);
  }
  void MakeFileOnC(const std::string& utf8Path) const {
    std::filesystem::path path = home_.CDriveHostPath() + "/" + utf8Path;
    std::filesystem::create_directories(path.parent_path());
    test::WriteHostFile(path.string(), "x");
  }

  // The main window with the three editor commands on its buttons, run until
  // the script is done. Its panel is watched, so the transcript shows each
  // refresh that changes it.
  void RunMainWindow() {
    app::MainCommands commands;
    commands.associate = dialogs::OnAssociate;
    commands.volumeLabel = dialogs::OnVolumeLabel;
    commands.options = dialogs::OnOptions;
    app::CMainDialog mainWindow(std::move(commands));
    mainWindow_ = &mainWindow;
    user_.SetMainWindow(templates::IDD_MAIN);
    host_.WatchText(templates::IDD_MAIN, app::IDC_DISK_INFO);
    mainWindow.DoModal();
    mainWindow_ = nullptr;
  }

  // A script step that blots out the panel, so that a later refresh shows.
  std::function<void()> BlotPanel() {
    return [this] {
      if (mainWindow_) mainWindow_->SetDlgItemText(app::IDC_DISK_INFO, "(stale)");
    };
  }

  // The panel's last text as the transcript recorded it (UTF-8, "\n" written
  // as the two characters \ and n).
  std::string LastPanelText() const {
    std::string last;
    constexpr std::string_view kPrefix = "text 1003: ";
    for (const std::string& line : user_.Transcript()) {
      if (line.rfind(kPrefix, 0) == 0) last = line.substr(kPrefix.size());
    }
    return last;
  }
  bool PanelRefreshedAfterBlot() const { return LastPanelText() != "(stale)"; }

  // Whether a message box showed a text holding `utf8Part`.
  bool MessageShown(std::string_view utf8Part) const {
    for (const std::string& line : user_.Transcript()) {
      if (line.rfind("message ", 0) == 0 && line.find(utf8Part) != std::string::npos) return true;
    }
    return false;
  }

  void ExpectScriptDone() const { EXPECT_TRUE(user_.Done()) << user_.Report(); }

  test::TestProgramFolder home_;
  ui::headless::ScriptedUser user_;
  ui::headless::HeadlessHost host_{user_};
  app::CMainDialog* mainWindow_ = nullptr;
};

}  // namespace pelko::dialogs::testing
