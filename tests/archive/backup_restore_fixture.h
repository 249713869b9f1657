// What the backup and restore tests stand on: a program folder of their own
// (C:\PELKO\ on a temporary drive C:), real FAT images made by mformat as the
// floppies in drive A:, the main window with "圧縮" and "展開" on its buttons
// in the headless host, and a scripted user. What lands on a floppy is read
// back with mtools; trees on C: are compared byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/main_dialog.h"
#include "archive/backup_restore.h"
#include "store/options_record.h"
#include "support/run_command.h"
#include "support/temp_folder.h"
#include "support/test_program_folder.h"
#include "templates/templates.h"
#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/headless/headless_host.h"
#include "ui/headless/scripted_user.h"

namespace pelko::archive::testing {

using win::DialogResult;
using win::MessageBoxButtons;

// The tool's texts are CP932; the tests are written in UTF-8.
inline std::string J(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

inline std::string Noise(std::size_t size, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

inline std::string WithMtools(const std::string& command) {
  return "MTOOLS_SKIP_CHECK=1 MTOOLS_NO_VFAT=1 " + command;
}

// A folder's content: relative path (UTF-8, '/' separated) to the file's
// bytes, or to nullopt for a folder.
using Tree = std::map<std::string, std::optional<std::string>>;

inline Tree Snapshot(const std::string& hostFolder) {
  Tree tree;
  if (!std::filesystem::exists(hostFolder)) return tree;
  for (const auto& item : std::filesystem::recursive_directory_iterator(hostFolder)) {
    std::string relative = item.path().lexically_relative(hostFolder).generic_string();
    if (item.is_directory()) {
      tree[relative] = std::nullopt;
    } else {
      tree[relative] = test::ReadHostFile(item.path().string());
    }
  }
  return tree;
}

// Paths alone, for failure messages that must not print megabytes.
inline std::vector<std::string> Paths(const Tree& tree) {
  std::vector<std::string> paths;
  for (const auto& [path, bytes] : tree) paths.push_back(path + (bytes ? "" : "/"));
  return paths;
}

inline ::testing::AssertionResult SameTree(const Tree& actual, const Tree& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  if (Paths(actual) != Paths(expected)) {
    failure << "paths differ:\n  got:";
    for (const std::string& path : Paths(actual)) failure << " " << path;
    failure << "\n  expected:";
    for (const std::string& path : Paths(expected)) failure << " " << path;
    return failure;
  }
  for (const auto& [path, bytes] : expected) {
    if (actual.at(path) != bytes) failure << "bytes of " << path << " differ; ";
  }
  return failure;
}

class BackupRestoreTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t k360KFreeBytes = 362496;  // 354 clusters of 1024 bytes

  // --- Floppies ---

  // A blank floppy image (360 or 1440 KB) made by mformat; "" leaves it unlabelled.
  std::string MakeFloppy(const std::string& name, const std::string& label, int kilobytes = 360,
                         std::uint32_t serial = 0x12345678) {
    std::string path = images_.Sub(name);
    char serialHex[9];
    std::snprintf(serialHex, sizeof serialHex, "%08X", static_cast<unsigned>(serial));
    std::string command = "mformat -C -f " + std::to_string(kilobytes) + " -N " + serialHex +
                          " -i " + test::ShellQuote(path);
    if (!label.empty()) command += " -v " + test::ShellQuote(label);
    RunTool(command + " ::");
    return path;
  }

  // A very small floppy: 12 data sectors of 512 bytes.
  std::string MakeTinyFloppy(const std::string& name, const std::string& label) {
    std::string path = images_.Sub(name);
    RunTool("mformat -C -T 16 -h 1 -s 16 -c 1 -r 1 -N 0000BEEF -v " + test::ShellQuote(label) +
            " -i " + test::ShellQuote(path) + " ::");
    return path;
  }

  // Puts the image in drive A: (A.img in the program folder links to it).
  void Insert(const std::string& image) const {
    std::filesystem::path drive = home_.FloppyImageHostPath();
    std::filesystem::remove(drive);
    std::filesystem::create_symlink(image, drive);
  }
  void Eject() const { std::filesystem::remove(home_.FloppyImageHostPath()); }

  void PutOnFloppy(const std::string& image, const std::string& name, const std::string& bytes) {
    std::string source = images_.Sub("put-" + std::to_string(counter_++));
    test::WriteHostFile(source, bytes);
    RunTool("mcopy -o -i " + test::ShellQuote(image) + " " + test::ShellQuote(source) +
            " ::" + name);
  }

  // A file of the floppy as mtools reads it; nullopt when it is not there.
  std::optional<std::string> ReadFromFloppy(const std::string& image, const std::string& name) {
    std::string target = images_.Sub("got-" + std::to_string(counter_++));
    test::CommandResult result = test::RunCommand(WithMtools(
        "mcopy -n -i " + test::ShellQuote(image) + " ::" + name + " " + test::ShellQuote(target)));
    if (result.exitCode != 0 || !test::HostPathExists(target)) return std::nullopt;
    return test::ReadHostFile(target);
  }

  // The floppy's file names as mdir lists them, upper-cased (FAT ignores case).
  std::vector<std::string> FloppyFiles(const std::string& image) {
    test::CommandResult listed =
        test::RunCommand(WithMtools("mdir -b -i " + test::ShellQuote(image) + " ::"));
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < listed.output.size()) {
      std::size_t end = listed.output.find('\n', at);
      if (end == std::string::npos) end = listed.output.size();
      std::string line = listed.output.substr(at, end - at);
      if (line.rfind("::/", 0) == 0) names.push_back(cp932::UpperCase(line.substr(3)));
      at = end + 1;
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // Free bytes of the floppy by mtools' count.
  std::uint64_t FloppyFreeBytes(const std::string& image) {
    test::CommandResult listed =
        test::RunCommand(WithMtools("mdir -i " + test::ShellQuote(image) + " ::"));
    std::size_t at = listed.output.find(" bytes free");
    EXPECT_NE(at, std::string::npos) << listed.output;
    if (at == std::string::npos) return 0;
    std::size_t start = listed.output.rfind('\n', at);
    std::string figure;
    for (std::size_t i = start + 1; i < at; ++i) {
      if (listed.output[i] >= '0' && listed.output[i] <= '9') figure += listed.output[i];
    }
    return std::stoull(figure);
  }

  void ExpectFloppySound(const std::string& image) {
    test::CommandResult check = test::RunCommand("fsck.fat -n " + test::ShellQuote(image));
    EXPECT_EQ(check.exitCode, 0) << check.output;
  }

  static std::string ImageBytes(const std::string& image) { return test::ReadHostFile(image); }

  // --- Drive C: and the program folder ---

  std::string OnC(const std::string& utf8Path) const {
    return home_.CDriveHostPath() + "/" + utf8Path;
  }
  void WriteOnC(const std::string& utf8Path, const std::string& bytes) const {
    std::filesystem::path path = OnC(utf8Path);
    std::filesystem::create_directories(path.parent_path());
    test::WriteHostFile(path.string(), bytes);
  }
  void MakeFolderOnC(const std::string& utf8Path) const {
    std::filesystem::create_directories(OnC(utf8Path));
  }
  void RemoveOnC(const std::string& utf8Path) const { std::filesystem::remove_all(OnC(utf8Path)); }
  Tree TreeOnC(const std::string& utf8Path) const { return Snapshot(OnC(utf8Path)); }
  // Everything on C: but the program folder.
  Tree UserFolders() const {
    Tree tree = Snapshot(home_.CDriveHostPath());
    std::erase_if(tree, [](const auto& item) { return item.first.rfind("PELKO", 0) == 0; });
    return tree;
  }

  // The label's association list, entries in CP932, each ended with CR LF.
  void WriteList(const std::string& label, const std::vector<std::string>& entries) const {
    std::string content;
    for (const std::string& entry : entries) content += entry + "\r\n";
    test::WriteHostFile(home_.HostPathOf(label + ".txt"), content);
  }
  std::optional<std::string> ReadStored(const std::string& utf8Name) const {
    std::string path = home_.HostPathOf(utf8Name);
    if (!std::filesystem::is_regular_file(path)) return std::nullopt;
    return test::ReadHostFile(path);
  }
  bool WorkingCopyExists() const { return ReadStored("archive.lzh").has_value(); }

  // Options that bring everything back without asking: overwrite and create
  // folders always, no time comparison.
  static store::OptionsRecord RestoreEverything() {
    store::OptionsRecord record;
    record.overwriteMode = 0;
    record.directoryMode = 0;
    record.keepNewer = 0;
    record.extractUnassociated = 0;
    return record;
  }
  void WriteOptions(const store::OptionsRecord& record) const {
    ASSERT_TRUE(store::WriteOptionsRecord(record));
  }

  // The program folder's files, the floppy's link left out.
  Tree ProgramFolder() const {
    Tree tree = Snapshot(home_.HostPath());
    tree.erase("A.img");
    return tree;
  }

  // --- The main window and the user ---

  // The main window with both commands on their buttons, run until the
  // script is done; the script ends by checking that the buttons are on.
  void RunMainWindow() {
    ExpectButtons(true);
    app::MainCommands commands;
    commands.compress = archive::OnCompress;
    commands.expand = archive::OnExpand;
    app::CMainDialog mainWindow(std::move(commands));
    mainWindow_ = &mainWindow;
    user_.SetMainWindow(templates::IDD_MAIN);
    mainWindow.DoModal();
    mainWindow_ = nullptr;
  }

  void PressCompress() { user_.Press(app::IDC_COMPRESS); }
  void PressExpand() { user_.Press(app::IDC_EXPAND); }

  // A step that checks the seven buttons at the moment the next thing is shown.
  void ExpectButtons(bool enabled) {
    user_.Run([this, enabled] {
      ASSERT_NE(mainWindow_, nullptr);
      for (int id : {1000, 1007, 1001, 1002, 1004, 1009, 2}) {
        EXPECT_EQ(mainWindow_->IsDlgItemEnabled(id), enabled) << "button " << id;
      }
    });
  }

  void Answer(std::string_view utf8Text, MessageBoxButtons buttons, DialogResult answer) {
    user_.AnswerMessageBox(J(utf8Text), buttons, answer);
  }
  void AnswerCp932(const std::string& text, MessageBoxButtons buttons, DialogResult answer) {
    user_.AnswerMessageBox(text, buttons, answer);
  }

  void ExpectScriptDone() const { EXPECT_TRUE(user_.Done()) << user_.Report(); }

  // Message boxes as the transcript recorded them (UTF-8).
  std::vector<std::string> MessagesShown() const {
    std::vector<std::string> shown;
    for (const std::string& line : user_.Transcript()) {
      if (line.rfind("message ", 0) == 0) shown.push_back(line);
    }
    return shown;
  }

  void RunTool(const std::string& command) {
    test::CommandResult result = test::RunCommand(WithMtools(command));
    ASSERT_EQ(result.exitCode, 0) << command << "\n" << result.output;
  }

  test::TestProgramFolder home_;
  test::TempFolder images_{"pelko-br-floppies"};
  ui::headless::ScriptedUser user_;
  ui::headless::HeadlessHost host_{user_};
  app::CMainDialog* mainWindow_ = nullptr;
  int counter_ = 0;
};

}  // namespace pelko::archive::testing
