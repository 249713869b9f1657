// "展開" of a floppy's archive: associated paths back to where they came from,
// the rest into the destination folder with the library's report, and a
// floppy without a list extracted into a folder named after its label.
#include <gtest/gtest.h>

#include "archive/archive_commands.h"
#include "archive/output_dialog.h"
#include "backup_restore_fixture.h"
#include "lzh/command/archiver_command.h"
#include "platform/file_services.h"
#include "res/texts_backup_restore.h"

namespace pelko::archive::testing {
namespace {

class RestoreTest : public BackupRestoreTest {
 protected:
  // A floppy DISK1 whose archive holds the folder docs and the file memo.txt,
  // made by the library from C:, after which both are removed from C:.
  void SetUp() override {
    WriteOnC("data/docs/readme.txt", "read me");
    WriteOnC("data/docs/sub/notes.bin", Noise(9000, 41));
    WriteOnC("data/memo.txt", "memo");
    docs_ = TreeOnC("data/docs");
    floppy_ = MakeFloppy("disk1.img", "DISK1");
    std::string made = home_.WindowsPathOf("made.lzh");
    for (const char* entry : {"C:\\data\\docs", "C:\\data\\memo.txt"}) {
      lzh::ArchiverCommand(nullptr, AddCommand(made, entry, "").c_str(), nullptr, 0);
    }
    std::optional<std::string> archive = ReadStored("made.lzh");
    ASSERT_TRUE(archive);
    std::filesystem::remove(home_.HostPathOf("made.lzh"));
    PutOnFloppy(floppy_, "ARCHIVE.LZH", *archive);
    Insert(floppy_);
    floppyBefore_ = ImageBytes(floppy_);
    RemoveOnC("data/docs");
    RemoveOnC("data/memo.txt");
  }

  store::OptionsRecord Options(bool extractUnassociated, const std::string& destination) {
    store::OptionsRecord record = RestoreEverything();
    record.extractUnassociated = extractUnassociated ? 1 : 0;
    record.destinationFolder = destination;
    return record;
  }

  // The report window: its text names every one of `utf8Parts`, the buttons
  // are off meanwhile.
  void ExpectReportNaming(std::initializer_list<std::string> utf8Parts) {
    const std::vector<std::string> parts(utf8Parts);
    user_.ExpectDialog(templates::IDD_OUTPUT).InDialog([this, parts](ui::Dialog& dialog) {
      std::string report = dialog.GetDlgItemText(IDC_OUTPUT_TEXT);
      for (const std::string& part : parts) {
        EXPECT_NE(report.find(J(part)), std::string::npos) << cp932::ToUtf8(report).value_or("?");
      }
      EXPECT_FALSE(mainWindow_->IsDlgItemEnabled(app::IDC_EXPAND));
    });
    user_.Ok();
  }
  void ExpectReportNaming(const std::string& utf8Part) { ExpectReportNaming({utf8Part}); }

  // The archive on the floppy replaced by `archive`.
  void ReplaceFloppyArchive(const std::string& archive) {
    PutOnFloppy(floppy_, "ARCHIVE.LZH", archive);
    floppyBefore_ = ImageBytes(floppy_);
  }

  void ExpectFloppyUnchanged() { EXPECT_EQ(ImageBytes(floppy_), floppyBefore_); }

  std::string floppy_;
  std::string floppyBefore_;
  Tree docs_;
};

TEST_F(RestoreTest, WithoutExtractUnassociatedOnlyAssociatedPathsComeBack) {
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(false, "C:\\my restore\\"));
  MakeFolderOnC("my restore");
  PressExpand();
  RunMainWindow();  // no report window, no message
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_FALSE(test::HostPathExists(OnC("data/memo.txt")));
  EXPECT_TRUE(SameTree(TreeOnC("my restore"), {}));
  EXPECT_FALSE(WorkingCopyExists());
  ExpectFloppyUnchanged();
}

TEST_F(RestoreTest, WithExtractUnassociatedTheRestGoesToTheDestinationWithAReport) {
  // The destination has a blank and no trailing backslash: it is quoted and
  // completed, not split into two arguments or joined to the next name.
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(true, "C:\\my restore"));
  MakeFolderOnC("my restore");
  PressExpand();
  ExpectReportNaming("memo.txt");
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_FALSE(test::HostPathExists(OnC("data/memo.txt")));
  EXPECT_TRUE(SameTree(TreeOnC("my restore"), (Tree{{"memo.txt", "memo"}})));
  EXPECT_FALSE(test::HostPathExists(OnC("my")));
  EXPECT_FALSE(WorkingCopyExists());
  ExpectFloppyUnchanged();  // the associated entries were dropped from the copy only
}

TEST_F(RestoreTest, DestinationTypedWithQuotesIsUsedWithoutThem) {
  // Typing the quotes was once the only way to give a folder with a blank.
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(true, "\"C:\\my restore\\\""));
  MakeFolderOnC("my restore");
  PressExpand();
  ExpectReportNaming("memo.txt");
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_TRUE(SameTree(TreeOnC("my restore"), (Tree{{"memo.txt", "memo"}})));
}

TEST_F(RestoreTest, NulInALineEndsThatEntryAndTheOtherLinesStillRestore) {
  WriteList("DISK1", {"C:\\data\\docs", std::string("C:\\data\\gone") + '\0' + "junk\\x",
                      "C:\\data\\memo.txt"});
  WriteOptions(Options(false, ""));
  PressExpand();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_EQ(test::ReadHostFile(OnC("data/memo.txt")), "memo");
  EXPECT_FALSE(WorkingCopyExists());
}

TEST_F(RestoreTest, EmptyDestinationRestoresTheAssociatedPathsThenSaysItIsNotSet) {
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(true, ""));
  PressExpand();
  ExpectButtons(false);
  Answer(res::kNoDestinationFolder, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_FALSE(test::HostPathExists(OnC("data/memo.txt")));
  EXPECT_FALSE(WorkingCopyExists());
}

TEST_F(RestoreTest, EmptyListStillRestoresNothingAndEnds) {
  WriteList("DISK1", {});
  WriteOptions(Options(false, ""));
  PressExpand();
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_FALSE(test::HostPathExists(OnC("data/docs")));
  EXPECT_FALSE(WorkingCopyExists());
}

TEST_F(RestoreTest, FloppyWithoutListIsExtractedIntoItsLabelFolderAndAssociated) {
  WriteOptions(Options(true, "C:\\my restore"));
  MakeFolderOnC("my restore");
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectReportNaming("memo.txt");
  RunMainWindow();
  ExpectScriptDone();
  Tree expected;
  expected["DISK1"] = std::nullopt;
  expected["DISK1/memo.txt"] = "memo";
  for (const auto& [path, bytes] : docs_) expected["DISK1/docs/" + path] = bytes;
  expected["DISK1/docs"] = std::nullopt;
  EXPECT_TRUE(SameTree(TreeOnC("my restore"), expected));
  EXPECT_EQ(ReadStored("DISK1.txt"), "C:\\my restore\\DISK1\r\n");
  EXPECT_FALSE(WorkingCopyExists());
  ExpectFloppyUnchanged();
}

TEST_F(RestoreTest, ListThatCannotBeCreatedIsReportedWithTheFileErrorText) {
  WriteOptions(Options(true, "C:\\restore\\"));
  MakeFolderOnC("restore");
  std::filesystem::create_directory(home_.HostPathOf("DISK1.txt"));  // in the list's way
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectReportNaming("memo.txt");
  ExpectButtons(false);
  user_.AnswerMessageBox(DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  std::vector<std::string> shown = MessagesShown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[1].find("C:\\PELKO\\DISK1.txt"), std::string::npos) << shown[1];
  EXPECT_NE(shown[1].find("ファイル"), std::string::npos) << shown[1];
  EXPECT_EQ(TreeOnC("restore/DISK1").count("memo.txt"), 1u);
}

// A damaged entry is named in the report window; the sound ones come back.
TEST_F(RestoreTest, EntryThatCannotBeRestoredIsNamedAndTheRestComeBack) {
  std::string archive = ReadFromFloppy(floppy_, "ARCHIVE.LZH").value_or("");
  const std::size_t stored =
      archive.find(Noise(9000, 41).substr(0, 64));  // notes.bin, stored as it is
  ASSERT_NE(stored, std::string::npos);
  archive[stored + 100] ^= 0x5A;
  ReplaceFloppyArchive(archive);
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(false, ""));
  PressExpand();
  ExpectReportNaming({"エラー（データが壊れています）: docs\\sub\\notes.bin"});
  RunMainWindow();
  ExpectScriptDone();
  Tree expected = docs_;
  expected.erase("sub/notes.bin");
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), expected));
  EXPECT_FALSE(WorkingCopyExists());
}

// An archive whose tail is cut off cannot lose its associated entries: the
// rest is then not extracted into the destination, where they would come
// back a second time, and both reports say why.
TEST_F(RestoreTest, FailedDeleteStopsTheExtractionIntoTheDestination) {
  std::string archive = ReadFromFloppy(floppy_, "ARCHIVE.LZH").value_or("");
  ASSERT_GT(archive.size(), 10u);
  ReplaceFloppyArchive(archive.substr(0, archive.size() - 10));  // into memo.txt's header
  WriteList("DISK1", {"C:\\data\\docs"});
  WriteOptions(Options(true, "C:\\my restore\\"));
  MakeFolderOnC("my restore");
  PressExpand();
  ExpectReportNaming({"エラー（壊れたヘッダのため読み込みを中止しました"});
  ExpectReportNaming({"エラー（書庫が壊れているため変更しませんでした）"});
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(TreeOnC("data/docs"), docs_));
  EXPECT_TRUE(SameTree(TreeOnC("my restore"), {}));
}

TEST_F(RestoreTest, NeitherBackupNorRestoreRefreshesThePanel) {
  WriteList("DISK1", {"C:\\data\\memo.txt"});
  WriteOnC("data/memo.txt", "memo");
  WriteOptions(Options(false, ""));
  user_.Run([this] { mainWindow_->SetDlgItemText(app::IDC_DISK_INFO, "(stale)"); });
  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  PressExpand();
  user_.Run([this] { EXPECT_EQ(mainWindow_->GetDlgItemText(app::IDC_DISK_INFO), "(stale)"); });
  RunMainWindow();
  ExpectScriptDone();
}

}  // namespace
}  // namespace pelko::archive::testing
