// "展開" where it ends before anything is extracted: every refusal and every
// No leaves the floppy and the folders as they were, and the buttons are off
// only from the copy of the archive to the end of the command.
#include <gtest/gtest.h>

#include "archive/archive_commands.h"
#include "backup_restore_fixture.h"
#include "lzh/command/archiver_command.h"
#include "res/texts_backup_restore.h"
#include "res/texts_main.h"
#include "text/win_error.h"

namespace pelko::archive::testing {
namespace {

class RestoreRefusalTest : public BackupRestoreTest {
 protected:
  void SetUpFloppy(const std::string& label) {
    floppy_ = MakeFloppy("disk.img", label);
    Insert(floppy_);
    WriteOnC("data/docs/report.doc", Noise(3000, 2));
    MakeFolderOnC("restore");
    floppyBefore_ = ImageBytes(floppy_);
    treeBefore_ = UserFolders();
  }

  void ExpectFloppyAndFoldersUnchanged() {
    EXPECT_EQ(ImageBytes(floppy_), floppyBefore_);
    EXPECT_TRUE(SameTree(UserFolders(), treeBefore_));
  }

  // Replaces the 11 label bytes `from` in the image (boot sector and root
  // folder) with `to`: labels no FAT tool would write.
  void PatchLabel(const std::string& from, const std::string& to) {
    ASSERT_EQ(from.size(), 11u);
    ASSERT_EQ(to.size(), 11u);
    std::string bytes = ImageBytes(floppy_);
    int patched = 0;
    for (std::size_t at = bytes.find(from); at != std::string::npos;
         at = bytes.find(from, at + 1)) {
      bytes.replace(at, 11, to);
      ++patched;
    }
    ASSERT_GE(patched, 1);
    test::WriteHostFile(floppy_, bytes);
    floppyBefore_ = bytes;
  }

  // A real archive of one small file, made by the library.
  std::string SmallArchive() {
    WriteOnC("made/small.txt", "small");
    const std::string made = home_.WindowsPathOf("made.lzh");
    lzh::ArchiverCommand(nullptr, AddCommand(made, "C:\\made\\small.txt", "").c_str(), nullptr, 0);
    std::optional<std::string> archive = ReadStored("made.lzh");
    std::filesystem::remove(home_.HostPathOf("made.lzh"));
    RemoveOnC("made");
    EXPECT_TRUE(archive);
    return archive.value_or("");
  }

  store::OptionsRecord WithDestination(const std::string& folder) {
    store::OptionsRecord record = RestoreEverything();
    record.extractUnassociated = 1;
    record.destinationFolder = folder;
    return record;
  }

  std::string floppy_;
  std::string floppyBefore_;
  Tree treeBefore_;
};

TEST_F(RestoreRefusalTest, NoDiskAsksUntilCancelAndTouchesNothing) {
  WriteList("DISK1", {"C:\\data\\docs"});
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kInsertDisk, MessageBoxButtons::RetryCancel, DialogResult::Cancel);
  RunMainWindow();
  ExpectScriptDone();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(RestoreRefusalTest, UnlabelledFloppyIsRefused) {
  SetUpFloppy("");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(100, 3));
  floppyBefore_ = ImageBytes(floppy_);
  WriteList("", {"C:\\data\\docs"});  // even a list named ".txt" is not used
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kEmptyVolumeLabel, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(RestoreRefusalTest, NoToTheOfferChangesNothing) {
  SetUpFloppy("DISK1");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(100, 3));
  floppyBefore_ = ImageBytes(floppy_);
  WriteOptions(WithDestination("C:\\restore\\"));
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::No);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(RestoreRefusalTest, FloppyWithoutArchiveIsReportedWithButtonsOff) {
  SetUpFloppy("DISK1");
  WriteList("DISK1", {"C:\\data\\docs"});
  Tree before = ProgramFolder();
  PressExpand();
  ExpectButtons(false);
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

// An empty archive.lzh, as an interrupted backup once left, or one with no
// sound entry, is a failed copy: nothing is extracted, and the working copy
// stays for a look.
TEST_F(RestoreRefusalTest, ArchiveWithoutASoundEntryIsAFailedCopy) {
  SetUpFloppy("DISK1");
  WriteList("DISK1", {"C:\\data\\docs"});
  PutOnFloppy(floppy_, "ARCHIVE.LZH", "");
  PressExpand();
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  user_.Run([this] {
    EXPECT_EQ(ReadStored("archive.lzh"), "");
    PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(700, 4));
    floppyBefore_ = ImageBytes(floppy_);
  });
  PressExpand();
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("archive.lzh"), Noise(700, 4));
}

TEST_F(RestoreRefusalTest, NoAtTheJoinersPromptIsReportedAndChangesNoFolder) {
  SetUpFloppy("DISK1");
  PutOnFloppy(floppy_, "ARCH.DIV", Noise(1024, 5));  // the first piece of a set
  floppyBefore_ = ImageBytes(floppy_);
  WriteList("DISK1", {"C:\\data\\docs"});
  PressExpand();
  ExpectButtons(false);
  Answer("2 枚目のディスクを入れてください。", MessageBoxButtons::YesNo, DialogResult::No);
  ExpectButtons(false);
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
}

TEST_F(RestoreRefusalTest, ExtractAndAssociateWithoutArchiveIsReportedWithButtonsOff) {
  SetUpFloppy("DISK1");
  WriteOptions(WithDestination("C:\\restore\\"));
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectButtons(false);
  Answer(res::kArchiveCopyFailed, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(RestoreRefusalTest, ExtractAndAssociateWithoutDestinationKeepsOnlyTheWorkingCopy) {
  SetUpFloppy("DISK1");
  std::string archive = SmallArchive();
  PutOnFloppy(floppy_, "ARCHIVE.LZH", archive);
  floppyBefore_ = ImageBytes(floppy_);
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  ExpectButtons(false);
  Answer(res::kNoDestinationFolder, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("archive.lzh"), archive);  // left behind, as the tool always has
  EXPECT_EQ(ReadStored("DISK1.txt"), std::nullopt);
}

TEST_F(RestoreRefusalTest, EmptyDestinationCountsAsNotSet) {
  SetUpFloppy("DISK1");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", SmallArchive());
  floppyBefore_ = ImageBytes(floppy_);
  WriteOptions(WithDestination(""));
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  Answer(res::kNoDestinationFolder, MessageBoxButtons::Ok, DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_EQ(ReadStored("DISK1.txt"), std::nullopt);
}

TEST_F(RestoreRefusalTest, LabelThatCannotNameAFolderIsRefusedBeforeAnyCopy) {
  // "..": the target folder would be the destination's parent.
  SetUpFloppy("LABELXXXXXX");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(700, 4));
  floppyBefore_ = ImageBytes(floppy_);
  PatchLabel("LABELXXXXXX", "..         ");
  WriteOptions(WithDestination("C:\\restore\\inner\\"));
  MakeFolderOnC("restore/inner");
  treeBefore_ = UserFolders();
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  AnswerCp932(win::SystemErrorText(win::ERROR_INVALID_NAME), MessageBoxButtons::Ok,
              DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

TEST_F(RestoreRefusalTest, LabelWithABackslashIsRefused) {
  SetUpFloppy("LABELXXXXXX");
  PutOnFloppy(floppy_, "ARCHIVE.LZH", Noise(700, 4));
  floppyBefore_ = ImageBytes(floppy_);
  PatchLabel("LABELXXXXXX", "..\\UP      ");
  WriteOptions(WithDestination("C:\\restore\\"));
  Tree before = ProgramFolder();
  PressExpand();
  Answer(res::kOfferExtractAndAssociate, MessageBoxButtons::YesNo, DialogResult::Yes);
  AnswerCp932(win::SystemErrorText(win::ERROR_INVALID_NAME), MessageBoxButtons::Ok,
              DialogResult::Ok);
  RunMainWindow();
  ExpectScriptDone();
  ExpectFloppyAndFoldersUnchanged();
  EXPECT_TRUE(SameTree(ProgramFolder(), before));
}

}  // namespace
}  // namespace pelko::archive::testing
