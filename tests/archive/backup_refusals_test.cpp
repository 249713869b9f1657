// "圧縮" where it ends before the floppy is written: every refusal and every
// No leaves the floppy, the folders and the program folder as they were.
#include <gtest/gtest.h>

#include "backup_restore_fixture.h"
#include "res/texts_backup_restore.h"
#include "res/texts_main.h"
#include "support/scoped_env.h"
#include "text/win_error.h"

namespace pelko::archive::testing {
namespace {

class BackupRefusalTest : public BackupRestoreTest {
 protected:
  // A floppy DISK1 with an earlier archive, and a tree on C: that its list names.
  void SetUpFloppyAndTree() {
    floppy_ = MakeFloppy("disk1.img", "DISK1");
    PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(5000, 1));
    Insert(floppy_);
    WriteOnC("data/a/memo.txt", "first memo");
    WriteOnC("data/b/memo.txt", "second memo");
    WriteOnC("data/docs/report.doc", Noise(3000, 2));
    floppyBefore_ = ImageBytes(floppy_);
    treeBefore_ = TreeOnC("data");
  }

  void ExpectNothingChanged(const Tree& programFolderBefore) {
    EXPECT_EQ(ImageBytes(floppy_), floppyBefore_);
    EXPECT_TRUE(SameTree(TreeOnC("data"), treeBefore_));
    EXPECT_TRUE(SameTree(ProgramFolder(), programFolderBefore));
  }

  std::string floppy_;
  std::string floppyBefore_;
  Tree treeBefore_;
};

TEST_F(BackupRefusalTest, NoDiskAsksUntilCancelAndTouchesNothing) {
  WriteList("DISK1", {"C:\\data\\docs"});
  Tree before = ProgramFolder();
  PressCompress();
  Answer(res::kInsertDisk, MessageBoxButtons::RetryCancel, DialogResult::Retry);
  Answer(res::kInsertDisk, MessageBoxButtons::RetryCancel, DialogResult::Cancel);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(BackupRefusalTest, LabelWithoutListIsReportedAndNothingIsBuilt) {
  SetUpFloppyAndTree();
  WriteList("DISK2", {"C:\\data\\docs"});
  Tree before = ProgramFolder();
  PressCompress();
  Answer(res::kSettingsNotFound, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectNothingChanged(before);
}

TEST_F(BackupRefusalTest, NoToTheQuestionKeepsTheOldArchive) {
  SetUpFloppyAndTree();
  WriteList("DISK1", {"C:\\data\\docs", "C:\\data\\a\\memo.txt"});
  Tree before = ProgramFolder();
  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::No);
  RunMainWindow();
  ExpectScriptDone();
  ExpectNothingChanged(before);
}

TEST_F(BackupRefusalTest, EntriesSharingANameAreNamedAndNothingIsBuilt) {
  // Both would be "memo.txt" in the archive: the second add would replace
  // the first and a restore would write one file over both places.
  SetUpFloppyAndTree();
  WriteList("DISK1", {"C:\\data\\a\\memo.txt", "C:\\data\\docs", "C:\\data\\b\\MEMO.TXT"});
  Tree before = ProgramFolder();
  PressCompress();
  AnswerCp932(J(res::kEntryNamesClash) + "\n\nC:\\data\\a\\memo.txt\nC:\\data\\b\\MEMO.TXT",
              MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectNothingChanged(before);
}

TEST_F(BackupRefusalTest, DriveRootBesideAnEntryOfANameItHoldsIsNamedAndNothingIsBuilt) {
  // "d:" stores D:'s content with no folder before it: its docs and F:'s docs
  // would be one name in the archive, and a restore would write F's over D's.
  test::TempFolder driveD("drive-d"), driveF("drive-f");
  test::ScopedEnv mapD("PELKO_DRIVE_D", driveD.Path()), mapF("PELKO_DRIVE_F", driveF.Path());
  for (const test::TempFolder* drive : {&driveD, &driveF}) {
    std::filesystem::create_directories(drive->Sub("docs"));
    test::WriteHostFile(drive->Sub("docs/o.txt"), drive == &driveD ? "D version" : "F version");
  }
  SetUpFloppyAndTree();
  WriteList("DISK1", {"d:", "F:\\docs"});
  Tree before = ProgramFolder();
  PressCompress();
  AnswerCp932(J(res::kEntryNamesClash) + "\n\nd:\nF:\\docs", MessageBoxButtons::Ok,
              DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectNothingChanged(before);
}

TEST_F(BackupRefusalTest, EmptyListShowsTheSystemTextAndKeepsTheOldArchive) {
  SetUpFloppyAndTree();
  WriteList("DISK1", {});
  Tree before = ProgramFolder();
  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  AnswerCp932(win::SystemErrorText(win::ERROR_FILE_NOT_FOUND), MessageBoxButtons::Ok,
              DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectNothingChanged(before);
}

TEST_F(BackupRefusalTest, WriteProtectedFloppyShowsTheSystemTextWithButtonsOff) {
  SetUpFloppyAndTree();
  floppy_ = MakeFloppy("protected.img", "DISK1");  // no old archive in the move's way
  Insert(floppy_);
  floppyBefore_ = ImageBytes(floppy_);
  WriteList("DISK1", {"C:\\data\\docs"});
  std::filesystem::permissions(floppy_, std::filesystem::perms::owner_read);
  PressCompress();
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectButtons(false);
  AnswerCp932(win::SystemErrorText(win::ERROR_WRITE_PROTECT), MessageBoxButtons::Ok,
              DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ImageBytes(floppy_), floppyBefore_);
  EXPECT_TRUE(SameTree(TreeOnC("data"), treeBefore_));
  EXPECT_TRUE(WorkingCopyExists());  // left in the program folder
}

TEST_F(BackupRefusalTest, FloppyTakenOutBeforeTheSpaceQueryEndsWithTheSystemText) {
  // The space query then fails: no capacity to count floppies by.
  SetUpFloppyAndTree();
  WriteList("DISK1", {"C:\\data\\docs"});
  PressCompress();
  user_.Run([this] { Eject(); });
  Answer(res::kConfirmBackup, MessageBoxButtons::YesNo, DialogResult::Yes);
  AnswerCp932(win::SystemErrorText(win::ERROR_NOT_READY), MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_EQ(ImageBytes(floppy_), floppyBefore_);
  EXPECT_TRUE(WorkingCopyExists());
}

}  // namespace
}  // namespace pelko::archive::testing
